#!/usr/bin/env python3
"""Where the time of a run goes, from Wine's trace (+timestamp,+pid,+loaddll,+process) of it.

    time_split.py TRACE_LOG

The log holds runs between lines "trace: NAME" and "trace end" (bench/measure_pdf.cpp writes
them). For each run it prints the milestones with the milliseconds since the run's first line
and since the milestone before: each program started, the last library a program loaded before
it started another, a converter's end (its parent reading the exit code), the last line. Then
the time outside the converters (dvips, Ghostscript), which is what the front end costs. The
trace slows every program a little; the figures say where the time goes, not how much a run
takes without it.
"""

import re
import sys

LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):[0-9a-f]+:trace:(\w+):(.*)$")
OWN = {"cmd.exe", "corvane.com", "corvane.exe"}


def name_of(path):
    return path.replace("\\\\", "\\").rsplit("\\", 1)[-1].strip('"').lower()


def milestones(lines):
    """(ms, text) of one run's trace, and the ms outside the converters."""
    first = last = None
    names, handles, events, loaded, libraries = {}, {}, [], {}, {}
    running = {}  # a converter's start, by its parent's handle
    outside_lost = 0.0
    for line in lines:
        match = LINE.match(line)
        if not match:
            continue
        stamp, pid, channel, text = match.groups()
        ms = float(stamp) * 1000
        first = ms if first is None else first
        last = ms
        pid = int(pid, 16)
        if channel == "loaddll" and "Loaded" in text:
            count, _ = loaded.get(pid, (0, 0))
            loaded[pid] = (count + 1, ms)
            found = re.search(r'Loaded L"([^"]+)"', text)
            if pid not in names:
                names[pid] = name_of(found.group(1)) if found else hex(pid)
            elif found:
                libraries.setdefault(pid, []).append(name_of(found.group(1)))
        started = re.search(r'NtCreateUserProcess L"[^"]*" pid ([0-9a-f]+) tid \S+ handles (0x[0-9a-f]+)', text)
        if channel == "process" and started:
            child = int(started.group(1), 16)
            image = re.search(r'NtCreateUserProcess L"([^"]+)"', text).group(1)
            names[child] = name_of(image)
            parent = names.get(pid, hex(pid))
            if pid in loaded:
                count, at = loaded.pop(pid)
                events.append((at, f"{parent}: {count} libraries loaded"))
            events.append((ms, f"{parent} starts {names[child]}"))
            handles[(pid, started.group(2))] = child
            if names[child] not in OWN:
                running[(pid, started.group(2))] = ms
        queried = re.search(r"NtQueryInformationProcess \((0x[0-9a-f]+),0x00000000,", text)
        if channel == "process" and queried and (pid, queried.group(1)) in running:
            began = running.pop((pid, queried.group(1)))
            outside_lost += ms - began
            child = names[handles[(pid, queried.group(1))]]
            events.append((ms, f"{child} has ended ({names.get(pid, hex(pid))} reads its exit code)"))
    if first is None:
        return [], 0.0
    for pid, loads in libraries.items():
        if names.get(pid) == "corvane.exe":
            loads = [name for name in dict.fromkeys(loads) if name != "corvane.exe"]
            events.append((last, "corvane.exe loaded " + ", ".join(loads)))
    events = [(first, "first line")] + sorted(events) + [(last, "last line")]
    return [(at - first, text) for at, text in events], (last - first) - outside_lost


def main():
    runs, name, lines = [], None, []
    with open(sys.argv[1], errors="replace") as log:
        for line in log:
            if line.startswith("trace: "):
                name, lines = line[7:].strip(), []
            elif line.startswith("trace end") and name is not None:
                runs.append((name, milestones(lines)))
                name = None
            elif name is not None:
                lines.append(line)
    for name, (events, outside) in runs:
        print(f"{name}, traced:")
        before = 0.0
        for at, text in events:
            print(f"  {at:7.0f} ms  (+{at - before:5.0f})  {text}")
            before = at
        print(f"  outside dvips and Ghostscript: {outside:.0f} ms")


if __name__ == "__main__":
    main()
