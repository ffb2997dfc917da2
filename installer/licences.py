#!/usr/bin/env python3
"""Writes Licences.txt, which the setup installs beside the programs: the
copyright and licence texts of every library linked into them. The programs
are built from the same releases as the Debian packages installed here, so
each package's copyright file is the text that goes with the code we ship.

    licences.py --arch win32|win64 OUT
The file is UTF-8 with a byte order mark and CRLF line ends, which every
Windows text viewer reads."""

import argparse
import os
import subprocess
import sys

# (what it is used for, package whose copyright file holds the text).
LIBRARIES = [
    ("JPEG pictures", "libjpeg62-turbo-dev"),
    ("PNG pictures", "libpng-dev"),
    ("GIF pictures", "libgif-dev"),
    ("TIFF pictures", "libtiff-dev"),
    ("WebP pictures", "libwebp-dev"),
    ("HEIC and AVIF pictures", "libheif-dev"),
    ("HEIC pictures (HEVC decoding)", "libde265-dev"),
    ("AVIF pictures (AV1 decoding)", "libdav1d-dev"),
    ("compressed data in PNG and TIFF pictures", "libz-mingw-w64-dev"),
    ("the Windows runtime and threads", "mingw-w64-{cpu}-dev"),
    ("the C and C++ runtime", "g++-mingw-w64-{cpu}-posix"),
]


def version(package):
    r = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL, text=True)
    return r.stdout.strip() if r.returncode == 0 else ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), required=True)
    parser.add_argument("out")
    args = parser.parse_args()
    cpu = "i686" if args.arch == "win32" else "x86-64"

    parts = ["The programs of this folder contain the libraries listed below. Each is used "
             "under the terms its authors give, reproduced here as they stand.", ""]
    missing = []
    for use, package in LIBRARIES:
        package = package.format(cpu=cpu)
        path = f"/usr/share/doc/{package}/copyright"
        if not os.path.isfile(path):
            missing.append(path)
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read().rstrip()
        title = f"{package.removesuffix('-dev')} {version(package)}, for {use}"
        parts += ["=" * 78, title, "=" * 78, "", text, ""]
    if missing:
        print("licences: no copyright file: " + ", ".join(missing), file=sys.stderr)
        return 1
    body = "\r\n".join(line.rstrip("\r") for line in "\n".join(parts).split("\n"))
    tmp = args.out + ".tmp"
    with open(tmp, "w", encoding="utf-8-sig", newline="") as f:
        f.write(body + "\r\n")
    os.replace(tmp, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
