#!/usr/bin/env python3
"""Packs files into a zip that depends on their content alone.

    make_zip.py OUTPUT.zip FOLDER NAME...

Each NAME is a file under FOLDER and becomes an entry of that name, in the order given, each
folder on the way as an entry of its own before its first file. Every entry carries the same
date, no owner, no access or change times and fixed permissions, so two builds of the same
sources give the same zip wherever and whenever they are made.
"""

import os
import sys
import zipfile

ENTRY_DATE = (2026, 1, 1, 0, 0, 0)
FROM_UNIX = 3  # creator system: the high word of the attributes is a Unix mode
FOLDER_ATTRIBUTES = 0o40755 << 16 | 0x10  # and MS-DOS "directory"
FILE_ATTRIBUTES = 0o100644 << 16 | 0x20  # and MS-DOS "archive"


def entry(name):
    info = zipfile.ZipInfo(name, ENTRY_DATE)
    info.create_system = FROM_UNIX
    is_folder = name.endswith("/")
    info.external_attr = FOLDER_ATTRIBUTES if is_folder else FILE_ATTRIBUTES
    info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: make_zip.py OUTPUT.zip FOLDER NAME...")
    output, folder, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    temporary = output + ".tmp"
    folders = set()
    with zipfile.ZipFile(temporary, "w") as archive:
        for name in names:
            parts = name.split("/")[:-1]
            for depth in range(1, len(parts) + 1):
                path = "/".join(parts[:depth]) + "/"
                if path not in folders:
                    folders.add(path)
                    archive.writestr(entry(path), b"")
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(entry(name), f.read(), compresslevel=9)
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
