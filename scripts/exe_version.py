#!/usr/bin/env python3
"""The version resource of a Windows exe, read from the file itself.

  scripts/exe_version.py EXE              the file version: major.minor[.build]
  scripts/exe_version.py EXE NAME         a value of its string table (ProductName, FileVersion, ...)

The release script names and checks its packages by it; the end-to-end tests
take the product title and the version under test from it.
"""
import struct
import sys

FIXED_SIGNATURE = struct.pack("<I", 0xFEEF04BD)  # VS_FIXEDFILEINFO


def file_version(data):
    """major.minor, with .build when it is not 0, from VS_FIXEDFILEINFO."""
    at = data.find(FIXED_SIGNATURE)
    if at < 0:
        raise ValueError("no version resource")
    most, least = struct.unpack_from("<2I", data, at + 8)
    build = least >> 16
    return f"{most >> 16}.{most & 0xFFFF}" + (f".{build}" if build else "")


def string_value(data, name):
    """A value of the StringFileInfo table: the key in UTF-16, padded to 32 bits, then the text."""
    key = (name + "\0").encode("utf-16-le")
    at = data.find(key)
    if at < 0:
        raise ValueError(f"no {name} in the version resource")
    at += len(key)
    at += -at % 4
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        data = f.read()
    try:
        print(file_version(data) if len(argv) == 2 else string_value(data, argv[2]))
    except ValueError as problem:
        print(f"{argv[1]}: {problem}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
