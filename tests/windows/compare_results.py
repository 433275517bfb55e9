#!/usr/bin/env python3
"""Compares two outputs of abi_host (tests/windows/abi_host.c) line by line.

Every line must be identical, with one exception: a line marked " atan" (its
values depend on the runtime library's arc tangent) may differ in its values,
but not in its result code, out_begin or out_count, when the two runtimes'
atan differ (their "runtime atan" lines differ). Such lines are counted and
reported; with --strict-atan they are failures too.
"""
import argparse
import sys

ATAN_MARK = " atan"


def head(line):
    """The part of a result line before the output values: name, state, call, rc, begin, count."""
    return line.split(" out", 1)[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("reference")
    parser.add_argument("other")
    parser.add_argument("--strict-atan", action="store_true", help="values depending on atan must match too")
    args = parser.parse_args()

    with open(args.reference) as f:
        reference = f.read().splitlines()
    with open(args.other) as f:
        other = f.read().splitlines()
    if len(reference) != len(other):
        print(f"error: {len(reference)} lines in {args.reference}, {len(other)} in {args.other}")
        return 1

    runtime_atan = [line for line in reference if line.startswith("runtime atan ")]
    atan_differs = runtime_atan != [line for line in other if line.startswith("runtime atan ")]
    identical, atan_lines, mismatches = 0, [], []
    for expected, actual in zip(reference, other):
        if expected == actual:
            identical += 1
        elif expected.startswith("runtime atan ") and actual.startswith("runtime atan "):
            pass  # the runtimes themselves: decides whether atan lines may differ
        elif (atan_differs and not args.strict_atan and expected.endswith(ATAN_MARK) and actual.endswith(ATAN_MARK)
              and head(expected) == head(actual)):
            atan_lines.append(head(expected))
        else:
            mismatches.append((expected, actual))

    for expected, actual in mismatches[:10]:
        print(f"error: expected {expected}\n          got {actual}")
    if atan_lines:
        print(f"note: the runtime libraries' atan differ in the last bit for some arguments, and so do the values "
              f"of {len(atan_lines)} result lines that depend on it (codes, out_begin and out_count agree), "
              f"e.g. {atan_lines[0]}")
    print(f"{identical} of {len(reference)} lines identical, {len(atan_lines)} differing through atan, "
          f"{len(mismatches)} mismatches; the runtimes' atan {'differ' if atan_differs else 'agree'}")
    return 1 if mismatches else 0


if __name__ == "__main__":
    sys.exit(main())
