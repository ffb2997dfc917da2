#!/usr/bin/env python3
"""Counts where the settings' value names are spelled in a source tree.

Usage: scripts/count-setting-names.py [SRC]   (SRC defaults to this checkout's src/)

The names come from the settings schema of SRC itself (a small program built
with the host C++ compiler prints them). A name counts where it stands as a
whole string literal, comments left out, as the setting-name test reads the
sources. Prints the number of names, the occurrences outside the schema's two
files, how many names are spelled only there, and each name still spelled
elsewhere with its files. Works on any checkout, e.g. an older commit
unpacked with `git archive COMMIT src | tar -x -C DIR`.
"""
import collections
import os
import subprocess
import sys
import tempfile

PRINTER = r"""
#include <cstdio>
#include "config/settings_schema.h"
int main() {
  for (std::size_t i = 0; i < kv::kSettingsSchemaSize; ++i)
    if (*kv::kSettingsSchema[i].name) std::printf("%s\n", kv::kSettingsSchema[i].name);
}
"""
SCHEMA_FILES = ("config/settings_schema.cpp", "config/settings_schema.h")


def schema_names(src):
    with tempfile.TemporaryDirectory() as tmp:
        main = os.path.join(tmp, "names.cpp")
        exe = os.path.join(tmp, "names")
        with open(main, "w") as f:
            f.write(PRINTER)
        compiler = os.environ.get("CXX", "c++")
        subprocess.run([compiler, "-std=c++17", "-I", src, main,
                        os.path.join(src, SCHEMA_FILES[0]), "-o", exe], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    return set(out.split("\n")) - {""}


def string_literals(text):
    """The string literals of C++ text; comments and character literals left out."""
    found, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            i = text.find("\n", i)
            if i < 0:
                break
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2)
            if i < 0:
                break
            i += 2
        elif text[i] in "\"'":
            quote, j, literal = text[i], i + 1, []
            while j < n and text[j] != quote:
                if text[j] == "\\" and j + 1 < n:
                    literal.append(text[j])
                    j += 1
                literal.append(text[j])
                j += 1
            if quote == '"':
                found.append("".join(literal))
            i = j + 1
        else:
            i += 1
    return found


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    src = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "src"))
    names = schema_names(src)
    count = collections.Counter()
    files = collections.defaultdict(set)
    for folder, _, entries in os.walk(src):
        for entry in entries:
            if not entry.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, entry)
            relative = os.path.relpath(path, src).replace(os.sep, "/")
            if relative in SCHEMA_FILES:
                continue
            with open(path, encoding="utf-8", errors="replace") as f:
                for literal in string_literals(f.read()):
                    if literal in names:
                        count[literal] += 1
                        files[literal].add(relative)
    only = sum(1 for name in names if count[name] == 0)
    print(f"value names in the schema: {len(names)}")
    print(f"occurrences as literals outside the schema: {sum(count.values())}")
    print(f"names spelled only in the schema: {only} of {len(names)}")
    for name in sorted(count, key=lambda k: (-count[k], k)):
        print(f"  {count[name]:3} {name!r}: {', '.join(sorted(files[name]))}")


if __name__ == "__main__":
    main()
