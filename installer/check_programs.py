#!/usr/bin/env python3
"""The programs the setup ships, as the build leaves them in dist/programs/:
each carries no debug information, names its debug file in a .gnu_debuglink
section whose checksum is that file's, and a crash address inside our own code
still reads back as a source line of src/ through the shipped program.

    check_programs.py --tools PREFIX --dir DIST_PROGRAMS PROGRAM.exe...
PREFIX is the binutils prefix, e.g. /usr/bin/i686-w64-mingw32- ."""

import argparse
import os
import subprocess
import sys
import tempfile
import zlib


def run(*cmd):
    return subprocess.run(cmd, check=True, stdout=subprocess.PIPE, text=True).stdout


def sections(tools, path):
    out = run(tools + "objdump", "-h", path)
    return {line.split()[1] for line in out.splitlines() if line.strip()[:1].isdigit()}


def debuglink(tools, path):
    """The file name and the checksum the program's .gnu_debuglink holds."""
    with tempfile.TemporaryDirectory() as tmp:
        dump = os.path.join(tmp, "link")
        run(tools + "objcopy", "--dump-section", f".gnu_debuglink={dump}", path,
            os.path.join(tmp, "copy"))
        with open(dump, "rb") as f:
            data = f.read()
    return data.split(b"\0", 1)[0].decode(), int.from_bytes(data[-4:], "little")


def own_function(tools, debug_file):
    """The address of a function of ours (namespace kv) from the debug file."""
    for line in run(tools + "nm", "--defined-only", debug_file).splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] == "T" and "ZN2kv" in fields[2]:
            return fields[0]
    return None


def check(tools, folder, program):
    exe = os.path.join(folder, program)
    debug = exe + ".debug"
    problems = []
    left = sorted(s for s in sections(tools, exe) if s.startswith(".debug"))
    if left:
        problems.append(f"still carries {', '.join(left)}")
    if not os.path.exists(debug):
        return problems + [f"no {os.path.basename(debug)} beside it"]
    if ".debug_info" not in sections(tools, debug):
        problems.append(f"{os.path.basename(debug)} holds no debug information")
    if ".gnu_debuglink" not in sections(tools, exe):
        return problems + ["names no debug file"]
    name, crc = debuglink(tools, exe)
    with open(debug, "rb") as f:
        actual = zlib.crc32(f.read())
    if name != os.path.basename(debug) or crc != actual:
        problems.append(f"links {name} {crc:08x}, not {os.path.basename(debug)} {actual:08x}")
    address = own_function(tools, debug)
    if not address:
        problems.append("no function of ours in the debug file")
    else:
        where = run(tools + "addr2line", "-e", exe, "0x" + address).strip()
        if "/src/" not in where.replace("\\", "/"):
            problems.append(f"0x{address} reads as {where!r}, not a line of src/")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tools", required=True)
    parser.add_argument("--dir", required=True)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    failed = False
    for program in args.programs:
        problems = check(args.tools, args.dir, program)
        for p in problems:
            print(f"{program}: {p}")
        failed |= bool(problems)
        size = os.path.getsize(os.path.join(args.dir, program))
        print(f"{program}: {size} bytes shipped" + ("" if problems else ", debug file linked"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
