#!/usr/bin/env python3
"""Checks the export table of a Windows build of movlex-ta-dll.dll.

32-bit (--arch win32): every entry is exported twice, as its plain name and as
the stdcall-decorated alias name@N, both at the same address, and nothing else
is exported. N is the number of bytes of arguments the callee removes from the
stack: 4 per 32-bit slot, a double taking two.
64-bit (--arch win64): exactly the plain names.

The expected entries and their N follow from the core rows of the indicator
list (src/api/indicators.list) and the parameter declarations it names. By default all of them must be present; --partial
accepts missing entries (a build of only part of the library) but still
rejects unknown names, wrong N and unpaired names.

The table is read from the output of MinGW-w64's objdump -p.
"""
import argparse
import pathlib
import re
import subprocess
import sys

SOURCE = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(SOURCE / "src" / "api"))
import make_indicator_sources  # noqa: E402  (the indicator list's reader)


def core_entries():
    """Entry name and N of the core set's rows of the indicator list and of the
    lifecycle entries: 4 x (first_index, last_index, input arrays, parameters
    with a double counted twice, out_begin, out_count, output arrays)."""
    rows = make_indicator_sources.read_list(SOURCE / "src" / "api" / "indicators.list")
    declarations = make_indicator_sources.parameter_declarations(SOURCE / "src")
    entries = {"MOVLEX_INIT": 0, "MOVLEX_SHUTDOWN": 0}
    for row in rows:
        if row.set != "core":
            continue
        params = declarations(row.params_name) if row.params_name else []
        slots = 2 + len(row.inputs) + sum(2 if p.kind == "real" else 1 for p in params) + 2 + len(row.outputs)
        entries[row.entry] = 4 * slots
    return entries


ENTRIES = core_entries()

ARCHES = {
    "win32": {"format": "pei-i386", "objdump": "i686-w64-mingw32-objdump", "decorated": True},
    "win64": {"format": "pei-x86-64", "objdump": "x86_64-w64-mingw32-objdump", "decorated": False},
}

ADDRESS_LINE = re.compile(r"^\s*\[\s*(\d+)\]\s+\+base\[\s*\d+\]\s+([0-9a-fA-F]+)\s+Export RVA\s*$")
NAME_LINE = re.compile(r"^\s*\[\s*(\d+)\]\s+(?:\+base\[\s*\d+\]\s+[0-9a-fA-F]+\s+)?(\S+)\s*$")


def read_exports(objdump, dll):
    """Returns (file format, {exported name: address})."""
    text = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    file_format = re.search(r"file format (\S+)", text)
    addresses = {}
    names = {}
    section = None
    for line in text.splitlines():
        if line.startswith("Export Address Table"):
            section = "addresses"
        elif line.startswith("[Ordinal/Name Pointer] Table"):
            section = "names"
        elif not line.strip() or not line[0].isspace():
            section = None
        elif section == "addresses" and (match := ADDRESS_LINE.match(line)):
            addresses[int(match.group(1))] = int(match.group(2), 16)
        elif section == "names" and (match := NAME_LINE.match(line)):
            names[match.group(2)] = int(match.group(1))
    missing_address = [name for name, index in names.items() if index not in addresses]
    if missing_address:
        raise SystemExit(f"cannot read the export addresses of {', '.join(missing_address)}")
    return (file_format.group(1) if file_format else "unknown",
            {name: addresses[index] for name, index in names.items()})


def check(exports, decorated, partial):
    """Returns (problems, entries missing under --partial, verified rows)."""
    problems, notes, rows = [], [], []
    plain = {name for name in exports if "@" not in name}
    aliases = {name for name in exports if "@" in name}

    for name in sorted(plain - ENTRIES.keys()):
        problems.append(f"unexpected export {name}")
    for alias in sorted(aliases):
        base, _, number = alias.partition("@")
        if not decorated:
            problems.append(f"unexpected decorated export {alias} on a 64-bit DLL")
        elif base not in ENTRIES:
            problems.append(f"unexpected export {alias}")
        elif number != str(ENTRIES[base]):
            problems.append(f"{alias}: expected {base}@{ENTRIES[base]}")
        elif base not in plain:
            problems.append(f"{alias} has no plain name {base}")

    for name, size in ENTRIES.items():
        alias = f"{name}@{size}"
        if name not in plain and alias not in aliases:
            if partial:
                notes.append(name)
            else:
                problems.append(f"missing {name}" + (f" and {alias}" if decorated else ""))
            continue
        if name not in plain:
            continue  # reported with the alias above
        if not decorated:
            rows.append((name, "", exports[name]))
        elif alias not in aliases:
            problems.append(f"{name} has no decorated alias {alias}")
        elif exports[name] != exports[alias]:
            problems.append(f"{name} at {exports[name]:#x} but {alias} at {exports[alias]:#x}")
        else:
            rows.append((name, alias, exports[name]))
    return problems, notes, rows


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dll")
    parser.add_argument("--arch", choices=sorted(ARCHES), default="win32")
    parser.add_argument("--objdump", help="objdump to use (default: the MinGW-w64 one for --arch)")
    parser.add_argument("--partial", action="store_true",
                        help="accept missing entries; check only that no name is wrong, extra or unpaired")
    parser.add_argument("--quiet", action="store_true", help="print only problems and the summary")
    args = parser.parse_args()
    arch = ARCHES[args.arch]

    file_format, exports = read_exports(args.objdump or arch["objdump"], args.dll)
    if file_format != arch["format"]:
        print(f"{args.dll}: file format {file_format}, expected {arch['format']}")
        return 1
    problems, notes, rows = check(exports, arch["decorated"], args.partial)

    if not args.quiet:
        for name, alias, address in rows:
            print(f"  {name:<18} {alias:<22} RVA {address:#07x}")
    if notes:
        print(f"missing, accepted with --partial: {' '.join(notes)}")
    for problem in problems:
        print(f"error: {problem}")
    pairs = "name pairs" if arch["decorated"] else "names"
    print(f"{args.dll} ({args.arch}): {len(exports)} exports, {len(rows)} of {len(ENTRIES)} entries verified as "
          f"{pairs}, {len(notes)} missing{' (accepted with --partial)' if args.partial else ''}, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
