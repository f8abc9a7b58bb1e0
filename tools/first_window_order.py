#!/usr/bin/env python3
"""Writes the linker script that gathers the program's start-up code (app/first_window_order.ld).

The functions a start runs until the first window is drawn lie spread over the whole program;
the kernel maps a program's code in blocks of 64 KiB around each page it first runs, so nearly
all of it ends up resident. Placed side by side they take a few blocks instead.

Usage, on a Release build of the program in its folder layout (startup_bench --layout=DIR);
%p keeps the profile of the program apart from those of the helpers it starts:
    valgrind --tool=callgrind --demangle=no --callgrind-out-file=start.cg.%p \
        DIR/Valdrome/Valdrome        (close the window once it is drawn)
    tools/first_window_order.py start.cg.<pid of the program> > app/first_window_order.ld
"""
import re
import sys

NAMED = re.compile(r"^(c?ob|c?fn|c?fi|fl|fe)=\((\d+)\)(?: (.*))?$")


def section_names(symbol):
    """The symbol, and for a constructor or destructor the variant its code is filed under:
    the complete-object one (C1, D1) the profile names is an alias of the base-object one
    (C2, D2), whose name the section takes."""
    names = [symbol]
    for alias, base in (("C1E", "C2E"), ("C1I", "C2I"), ("D1E", "D2E"), ("D1I", "D2I")):
        if alias in symbol:
            names.append(symbol.replace(alias, base))
    return names


def program_functions(profile, program):
    """The names of the functions of the program that ran, in the order first listed."""
    names = {"ob": {}, "fn": {}}
    current_object = None
    functions = []
    seen = set()
    with open(profile, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            match = NAMED.match(line.rstrip("\n"))
            if not match:
                continue
            kind, number, name = match.groups()
            table = names.get(kind.lstrip("c"))
            if table is None:
                continue
            if name:
                table[number] = name
            name = table.get(number)
            if kind == "ob":
                current_object = name
            elif kind == "fn" and current_object and (
                current_object.endswith("/" + program) or current_object == "???"
            ):
                # Code placed by an earlier order lies outside the section valgrind takes
                # for the program's code, and is reported under no object: a name of
                # another one matches no section of the program.
                # A section name holds the symbol as the compiler wrote it: only mangled
                # names and plain C names can be matched, the rest ("0x…") are skipped.
                if name and re.fullmatch(r"[A-Za-z_][A-Za-z0-9_.$]*", name):
                    for section in section_names(name):
                        if section not in seen:
                            seen.add(section)
                            functions.append(section)
    return functions


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    functions = program_functions(sys.argv[1], sys.argv[2] if len(sys.argv) == 3 else "Valdrome")
    if not functions:
        sys.exit("no function of the program in " + sys.argv[1])
    print("/* Written by tools/first_window_order.py: the program's functions that run until the")
    print("   first window is drawn, placed before the rest of its code (built with")
    print("   -ffunction-sections). A name that no longer exists matches nothing. */")
    print("SECTIONS")
    print("{")
    print("  .text.first_window :")
    print("  {")
    for name in functions:
        print(f"    *(.text.{name})")
    print("  }")
    print("}")
    print("INSERT BEFORE .text;")


if __name__ == "__main__":
    main()
