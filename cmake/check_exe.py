#!/usr/bin/env python3
"""Checks a linked corvane.exe after the build.

    check_exe.py corvane.exe resources/corvane.manifest
    check_exe.py --icons corvane.exe      prints how many of the file's bytes are icons
    check_exe.py --console-twin corvane.com   the console twin: under 16 KiB, a console program,
                                              no build time, no DLL but kernel32

- It carries exactly one application manifest (resource type 24, one name, one language), and
  that manifest is the project's own: a second one, such as a linker's default manifest, would
  leave it to the loader which one counts.
- Its header carries no build time (time stamp 0), so that two builds of the same sources are
  the same file.
- It is no larger than 139 KiB, its icons (about 45 KiB at eight sizes) included.
"""

import re
import struct
import sys

RT_ICON = 3
RT_GROUP_ICON = 14
RT_MANIFEST = 24
SIZE_LIMIT = 139 * 1024


def fail(message):
    sys.exit(f"check_exe: {sys.argv[1]}: {message}")


def read_pe(data):
    if data[:2] != b"MZ":
        fail("not an MZ file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        fail("no PE header")
    sections, timestamp = struct.unpack_from("<HI", data, pe + 6)
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    layout = []
    for index in range(sections):
        at = table + 40 * index
        size, rva, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
        layout.append((rva, max(size, raw_size), raw))
    return timestamp, resource_rva, layout


def file_offset(layout, rva):
    for start, size, raw in layout:
        if start <= rva < start + size:
            return raw + rva - start
    fail(f"address {rva:#x} lies in no section")


def entries(data, base, offset):
    """(id or None for a name, is a directory, offset of the target) of a resource directory."""
    names, ids = struct.unpack_from("<HH", data, base + offset + 12)
    for index in range(names + ids):
        key, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * index)
        yield (None if key & 0x80000000 else key), bool(target & 0x80000000), target & 0x7FFFFFFF


def resources_of(data, resource_rva, layout, wanted):
    """The data of every resource of the type, one per name and language."""
    if resource_rva == 0:
        return []
    base = file_offset(layout, resource_rva)
    found = []
    for type_id, is_directory, names in entries(data, base, 0):
        if type_id != wanted or not is_directory:
            continue
        for _, named_directory, languages in entries(data, base, names):
            if not named_directory:
                fail(f"a resource of type {wanted} without a language level")
            for _, _, leaf in entries(data, base, languages):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                at = file_offset(layout, rva)
                found.append(bytes(data[at:at + size]))
    return found


def icon_bytes(data, resource_rva, layout):
    return sum(len(found) for kind in (RT_ICON, RT_GROUP_ICON)
               for found in resources_of(data, resource_rva, layout, kind))


def check_twin(path):
    with open(path, "rb") as f:
        data = f.read()
    timestamp, _, _ = read_pe(data)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
    if len(data) >= 16 * 1024:
        fail(f"{len(data)} bytes, not under 16 KiB")
    if subsystem != 3:
        fail(f"subsystem {subsystem}, not a console program (3)")
    if timestamp != 0:
        fail(f"the header holds a build time ({timestamp})")
    names = set(name.lower() for name in re.findall(rb"[A-Za-z0-9_.]+\.dll", data))
    if names - {b"kernel32.dll"}:
        fail(f"imports {sorted(names)}, more than kernel32.dll")


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--console-twin":
        check_twin(sys.argv[2])
        return
    if len(sys.argv) == 3 and sys.argv[1] == "--icons":
        sys.argv.pop(1)
        with open(sys.argv[1], "rb") as f:
            data = f.read()
        _, resource_rva, layout = read_pe(data)
        print(icon_bytes(data, resource_rva, layout))
        return
    if len(sys.argv) != 3:
        sys.exit("usage: check_exe.py corvane.exe corvane.manifest")
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    with open(sys.argv[2], "rb") as f:
        own = f.read()
    timestamp, resource_rva, layout = read_pe(data)
    if len(data) > SIZE_LIMIT:
        icons = icon_bytes(data, resource_rva, layout)
        fail(f"{len(data)} bytes, more than {SIZE_LIMIT} ({icons} of them icons)")
    found = resources_of(data, resource_rva, layout, RT_MANIFEST)
    if len(found) != 1:
        fail(f"{len(found)} manifest resources, not exactly one")
    if found[0] != own:
        fail(f"the manifest resource is not {sys.argv[2]}")
    if timestamp != 0:
        fail(f"the header holds a build time ({timestamp}); link with --no-insert-timestamp")


if __name__ == "__main__":
    main()
