#!/usr/bin/env python3
"""Builds corvane.chm from this folder with chmcmd, outside the source tree.

    make_chm.py --source help/chm --stage BUILD/help/chm --output BUILD/corvane.chm

1. Copies the project into the stage folder (which it empties first).
2. Makes one small page per control, cNNNN.htm, from the pop-up texts in cshelp.txt, titled
   like the control's section (<dt id="cNNNN">) in the page of its tab or dialog. An alias of
   chmcmd can name a file only, not an anchor, and one file carries one context id, so every
   control topic needs a file of its own.
3. Checks that [MAP] and [ALIAS] name the same topics and that every alias names a file.
4. Compiles the stage with chmcmd, naming the project as /proc/self/cwd/corvane.hhp with the
   stage as chmcmd's current folder: chmcmd writes the project's absolute folder in front of
   every topic of the context map, and this name is the same in every build folder, so the
   file holds no path of the builder and two builds from two folders are the same.
5. Repairs the context map: the help viewer looks for "/proc/self/cwd/files.htm" inside the
   file and does not find it. The correct name is the tail of that string, so a new #IVB whose
   offsets point at the tails is added to the uncompressed section and the directory entry of
   #IVB is pointed at it. #STRINGS stays as it is.
6. Zeroes the times of day that chmcmd writes into the file header and into #SYSTEM.
7. Copies the result to the output path.
"""

import argparse
import html
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

PAGES = ["files.htm", "range.htm", "style.htm", "dvips.htm", "pdf.htm", "confirm.htm"]
CHUNK_HEADER = 20  # "PMGL", free space, 0, previous chunk, next chunk
QUICKREF_EVERY = 5  # chmcmd's quickref density: one entry for every fifth item
PROJECT_FOLDER = "/proc/self/cwd/"
ITSF_TIME_STAMP = 0x10  # in the file header
SYSTEM_TIME_STAMP = 10  # entry code in #SYSTEM


def fail(message):
    sys.exit("make_chm: " + message)


# ----------------------------------------------------------------------------------------
# Project


def read_popups(path):
    """The .topic blocks of a text-popup file, as {number: text}."""
    topics, current, lines = {}, None, []
    with open(path, encoding="latin-1") as f:
        for raw in f.read().splitlines() + [".topic end"]:
            line = raw.strip()
            if line.startswith(".topic"):
                if current is not None:
                    text = " ".join(l for l in lines if l)
                    if not text:
                        fail(f"topic {current} of {path} has no text")
                    topics[current] = text
                word = line.split(None, 1)[1] if len(line.split()) > 1 else ""
                if word == "end":
                    break
                if not word.isdigit():
                    fail(f"{path}: topic '{word}' is not a number")
                current, lines = int(word), []
            elif current is not None:
                lines.append(line)
    return topics


def read_sections(stage):
    """Control sections of the pages: {number: (page, page title, control title)}."""
    sections = {}
    for page in PAGES:
        with open(os.path.join(stage, page), encoding="latin-1") as f:
            text = f.read()
        title = re.search(r"<title>(.*?)</title>", text, re.S).group(1).strip()
        for number, caption in re.findall(r'<dt id="c(\d+)">(.*?)</dt>', text, re.S):
            if int(number) in sections:
                fail(f"control {number} has a section in {page} and elsewhere")
            sections[int(number)] = (page, title, " ".join(caption.split()))
    return sections


CONTROL_PAGE = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1">
<title>{caption}</title>
<link rel="stylesheet" type="text/css" href="corvane.css">
</head>
<body>
<div class="popup">
<p><b>{caption}</b></p>
<p>{text}</p>
</div>
<p class="nav">More in <a href="{page}#c{number}">{page_title}</a>.</p>
</body>
</html>
"""


def make_control_pages(stage):
    popups = read_popups(os.path.join(stage, "cshelp.txt"))
    sections = read_sections(stage)
    if set(popups) != set(sections):
        fail("pop-up texts and page sections differ: only texts "
             f"{sorted(set(popups) - set(sections))}, only sections "
             f"{sorted(set(sections) - set(popups))}")
    for number, text in popups.items():
        page, page_title, caption = sections[number]
        # The caption heads the page, so a pop-up text that starts with it ("Offset: ...")
        # loses that start here.
        lead = re.match(r"[^:]{1,40}: (.)", text)
        if lead:
            text = lead.group(1).upper() + text[lead.end():]
        with open(os.path.join(stage, f"c{number}.htm"), "w", encoding="latin-1") as f:
            f.write(CONTROL_PAGE.format(caption=caption, text=html.escape(text, quote=False),
                                        page=page, number=number, page_title=page_title))
    return popups


def read_project_section(hhp, name):
    lines, inside = [], False
    with open(hhp, encoding="latin-1") as f:
        for raw in f.read().splitlines():
            line = raw.strip()
            if line.startswith("["):
                inside = line.upper() == f"[{name}]"
            elif inside and line and not line.startswith(";"):
                lines.append(line)
    return lines


def check_project(stage, popups):
    hhp = os.path.join(stage, "corvane.hhp")
    files = {l.replace("\\", "/").lower() for l in read_project_section(hhp, "FILES")}
    defines = {}
    for line in read_project_section(hhp, "MAP"):
        match = re.fullmatch(r"#define\s+(\w+)\s+(\d+)", line)
        if not match:
            fail(f"[MAP]: '{line}' is not '#define NAME decimal-number'")
        defines[match.group(1).upper()] = int(match.group(2))
    aliases = {}
    for line in read_project_section(hhp, "ALIAS"):
        name, _, target = line.partition("=")
        aliases[name.strip().upper()] = target.strip()
    if set(defines) != set(aliases):
        fail(f"[MAP] and [ALIAS] name different topics: {sorted(set(defines) ^ set(aliases))}")
    targets = {}
    for name, target in aliases.items():
        if "#" in target:
            fail(f"[ALIAS] {name}: chmcmd drops an alias that names an anchor ({target})")
        if target.lower() not in files:
            fail(f"[ALIAS] {name}: {target} is not listed in [FILES]")
        if not os.path.isfile(os.path.join(stage, target)):
            fail(f"[ALIAS] {name}: {target} does not exist")
        if target.lower() in targets:
            fail(f"[ALIAS] {name} and {targets[target.lower()]} name the same file {target}; "
                 "chmcmd keeps only one context id per file")
        targets[target.lower()] = name
    numbers = set(defines.values())
    missing = sorted(set(popups) - numbers)
    if missing:
        fail(f"pop-up topics without a context id in [MAP]: {missing}")


# ----------------------------------------------------------------------------------------
# Compiled file


def read_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Chm:
    """The parts of an ITSF file that the repair touches: headers and directory listing."""

    def __init__(self, data):
        self.data = bytearray(data)
        if data[:4] != b"ITSF":
            fail("not an ITSF file")
        version = struct.unpack_from("<I", data, 4)[0]
        self.section0_header = struct.unpack_from("<Q", data, 0x38)[0]
        self.directory = struct.unpack_from("<Q", data, 0x48)[0]
        directory_length = struct.unpack_from("<Q", data, 0x50)[0]
        self.content = (struct.unpack_from("<Q", data, 0x58)[0] if version >= 3
                        else self.directory + directory_length)
        d = self.directory
        if data[d:d + 4] != b"ITSP":
            fail("no ITSP directory header")
        header_length, _, self.chunk_size = struct.unpack_from("<III", data, d + 8)
        self.chunk_count = struct.unpack_from("<I", data, d + 0x2C)[0]
        self.chunks = d + header_length

    def chunk(self, index):
        return self.chunks + index * self.chunk_size

    def listing(self):
        """Yields (chunk index, [(name, section, offset, length)]) for every PMGL chunk."""
        for index in range(self.chunk_count):
            start = self.chunk(index)
            block = self.data[start:start + self.chunk_size]
            if block[:4] != b"PMGL":
                continue
            count = struct.unpack_from("<H", block, self.chunk_size - 2)[0]
            entries, pos = [], CHUNK_HEADER
            for _ in range(count):
                length, pos = read_encint(block, pos)
                name = bytes(block[pos:pos + length]).decode("utf-8")
                pos += length
                section, pos = read_encint(block, pos)
                offset, pos = read_encint(block, pos)
                size, pos = read_encint(block, pos)
                entries.append((name, section, offset, size))
            yield index, entries

    def write_chunk(self, index, entries):
        """Writes a PMGL chunk anew with chmcmd's layout, keeping its header words."""
        start = self.chunk(index)
        size = self.chunk_size
        block = bytearray(size)
        block[:CHUNK_HEADER] = self.data[start:start + CHUNK_HEADER]
        pos, quickrefs = CHUNK_HEADER, 0
        for item, (name, section, offset, length) in enumerate(entries, 1):
            raw = encint(len(name.encode())) + name.encode() + encint(section) + \
                encint(offset) + encint(length)
            if pos + len(raw) >= size - 2 * (quickrefs + 2):
                fail("the directory chunk of #IVB has no room for the repaired entry")
            block[pos:pos + len(raw)] = raw
            pos += len(raw)
            if item % QUICKREF_EVERY == 0:
                quickrefs += 1
                struct.pack_into("<H", block, size - 2 - 2 * quickrefs,
                                 pos - len(raw) - CHUNK_HEADER)
        struct.pack_into("<I", block, 4, size - pos)
        struct.pack_into("<H", block, size - 2, len(entries))
        self.data[start:start + size] = block

    def append_uncompressed(self, payload):
        """Adds payload at the end of the file, inside section 0; returns its offset there."""
        if len(self.data) < self.content:
            fail("the file ends before its content section")
        offset = len(self.data) - self.content
        self.data += payload
        struct.pack_into("<Q", self.data, self.section0_header + 8, len(self.data))
        return offset


def extract(chmls, chm, name, folder):
    target = os.path.join(folder, name.strip("/").replace("#", "_"))
    subprocess.run([chmls, "extract", chm, name, target], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not os.path.isfile(target):
        fail(f"chmls could not extract {name}")
    with open(target, "rb") as f:
        return f.read()


def repair_context_map(chm_path, chmls, base):
    with open(chm_path, "rb") as f:
        chm = Chm(f.read())
    names, ivb_chunk, ivb_entries = set(), None, None
    for index, entries in chm.listing():
        names.update(e[0] for e in entries)
        if any(e[0] == "/#IVB" for e in entries):
            ivb_chunk, ivb_entries = index, entries
    if ivb_chunk is None:
        fail("the compiled file has no context map (#IVB): did chmcmd read [MAP]?")
    with tempfile.TemporaryDirectory() as folder:
        ivb = extract(chmls, chm_path, "/#IVB", folder)
        strings = extract(chmls, chm_path, "/#STRINGS", folder)
    words = struct.unpack_from(f"<{len(ivb) // 4}I", ivb)
    if words[0] != len(ivb) - 4 or len(words) % 2 == 0:
        fail("unexpected layout of #IVB")
    pairs, changed = [], False
    for context, offset in zip(words[1::2], words[2::2]):
        end = strings.index(b"\0", offset)
        topic = strings[offset:end].decode("utf-8")
        tail = topic
        if topic.startswith(base):
            tail = topic[len(base):]
        elif topic.startswith("/") and "/" + topic.lstrip("/") not in names:
            tails = [topic[i + 1:] for i, c in enumerate(topic) if c == "/"]
            tail = next((t for t in tails if "/" + t in names), topic)
        if "/" + tail.lstrip("/") not in names:
            fail(f"context {context} names {topic}, which is not in the file")
        changed |= tail != topic
        pairs.append((context, offset + len(topic.encode()) - len(tail.encode())))
    if not changed:
        return 0
    payload = struct.pack("<I", 8 * len(pairs)) + b"".join(
        struct.pack("<II", c, o) for c, o in pairs)
    where = chm.append_uncompressed(payload)
    entries = [(n, 0, where, len(payload)) if n == "/#IVB" else (n, s, o, l)
               for n, s, o, l in ivb_entries]
    chm.write_chunk(ivb_chunk, entries)
    with open(chm_path, "wb") as f:
        f.write(chm.data)
    return len(pairs)


def clear_build_times(chm_path):
    """Zeroes the two times of day at which chmcmd wrote the file, so that builds agree."""
    with open(chm_path, "rb") as f:
        chm = Chm(f.read())
    struct.pack_into("<I", chm.data, ITSF_TIME_STAMP, 0)
    system = next((e for _, entries in chm.listing() for e in entries if e[0] == "/#SYSTEM"),
                  None)
    if system is None or system[1] != 0:
        fail("no uncompressed #SYSTEM")
    start, end = chm.content + system[2] + 4, chm.content + system[2] + system[3]
    while start + 4 <= end:
        code, length = struct.unpack_from("<HH", chm.data, start)
        if code == SYSTEM_TIME_STAMP and length == 4:
            struct.pack_into("<I", chm.data, start + 4, 0)
            break
        start += 4 + length
    else:
        fail("#SYSTEM holds no time stamp")
    with open(chm_path, "wb") as f:
        f.write(chm.data)


# ----------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the help project folder")
    parser.add_argument("--stage", required=True, help="build folder for the project copy")
    parser.add_argument("--output", required=True, help="path of the corvane.chm to write")
    parser.add_argument("--chmcmd", default="chmcmd")
    parser.add_argument("--chmls", default="chmls")
    args = parser.parse_args()

    source = os.path.abspath(args.source)
    stage = os.path.abspath(args.stage)
    if os.path.commonpath([source, stage]) == source:
        fail("the stage folder must lie outside the project folder")
    shutil.rmtree(stage, ignore_errors=True)
    shutil.copytree(source, stage, ignore=shutil.ignore_patterns("*.py", "__pycache__"))

    popups = make_control_pages(stage)
    check_project(stage, popups)

    # chmcmd names the topics of the context map by the project's absolute folder in #STRINGS,
    # so the project is named through the link that stands for chmcmd's current folder: the
    # file then holds that same name wherever it is built, and no folder of the builder.
    result = subprocess.run([args.chmcmd, PROJECT_FOLDER + "corvane.hhp"], cwd=stage, text=True,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    report = [l for l in result.stdout.splitlines()
              if l.strip() and not l.startswith(("chmcmd, a CHM compiler", "Note:", "Writing"))]
    for line in report:
        print("chmcmd: " + line)
    compiled = os.path.join(stage, "corvane.chm")
    if result.returncode != 0 or not os.path.isfile(compiled) or any(
            "error" in l.lower() or "corrupt" in l.lower() or "warning" in l.lower()
            for l in report) or "Index items:0" in result.stdout:
        fail("chmcmd failed")

    repaired = repair_context_map(compiled, args.chmls, PROJECT_FOLDER)
    print(f"make_chm: {repaired} context ids point into the file")
    clear_build_times(compiled)

    temporary = args.output + ".tmp"
    shutil.copyfile(compiled, temporary)
    os.replace(temporary, args.output)


if __name__ == "__main__":
    main()
