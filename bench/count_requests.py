#!/usr/bin/env python3
"""Counts the calls that a program makes to Wine's server, from the server's own log.

    count_requests.py LOG PROGRAM.exe

LOG is what a fresh wineserver wrote with WINEDEBUG=+server while PROGRAM.exe was started (by
measure_start.exe). Prints, for the last start of PROGRAM.exe, its requests up to the one that
showed its first top-level dialog window (the property sheet), and in all. Unlike a time, the
count is much the same from run to run whatever else the machine is doing, and each request is a
round trip to the server, which a busy machine makes slow.
"""

import re
import sys

REQUEST = re.compile(r"^([0-9a-f]{4,8}): (\w+)\((.*)$")
FIELD = re.compile(r"(\w+)=([0-9a-f]+)\b")
DIALOG_CLASS_ATOM = "8002"  # #32770
SWP_SHOWWINDOW = 0x0040


def fields(text):
    return dict(FIELD.findall(text))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: count_requests.py LOG PROGRAM.exe")
    log, program = sys.argv[1], sys.argv[2]
    image = f'\\\\{program}",'  # the end of imagepath=L"...\\PROGRAM.exe", as the log escapes it
    starter = None  # the thread that asked for a new process of the program
    threads = set()  # the threads of the program's last start
    windows = set()  # the windows it made
    dialogs = set()  # those of them that are top-level dialogs
    creating_dialog = False
    requests = 0
    to_visible = None
    with open(log, errors="replace") as lines:
        for line in lines:
            match = REQUEST.match(line)
            if not match:
                continue
            thread, name, rest = match.groups()
            is_reply = rest.startswith(") = ")
            if name == "new_process" and not is_reply and image in rest:
                starter = thread
                continue
            if name == "new_thread" and is_reply and thread == starter:
                # The reply names the new process's first thread: a new start begins.
                threads = {fields(rest)["tid"]}
                windows, dialogs, requests, to_visible, starter = set(), set(), 0, None, None
                continue
            if thread not in threads:
                continue
            values = fields(rest)
            if is_reply:
                if name == "new_thread":
                    threads.add(values["tid"])
                elif name == "create_window":
                    windows.add(values["handle"])
                    if creating_dialog:
                        dialogs.add(values["handle"])
                continue
            requests += 1
            if name == "create_window":
                creating_dialog = (values.get("atom") == DIALOG_CLASS_ATOM and
                                   values.get("parent") not in windows)
            elif (name == "set_window_pos" and to_visible is None and
                  values.get("handle") in dialogs and
                  int(values.get("swp_flags", "0"), 16) & SWP_SHOWWINDOW):
                to_visible = requests
    if not threads:
        sys.exit(f"count_requests: no start of {program} in {log}")
    shown = "?" if to_visible is None else to_visible
    print(f"{program:<40} {shown:>6} requests to a visible sheet, {requests:>6} in all")


if __name__ == "__main__":
    main()
