#!/usr/bin/env python3
"""Compares two outputs of abi_host (tests/windows/abi_host.c) line by line.

Every result line must be identical, bit for bit. The two "runtime" lines
(hashes of the platform's own atan and sqrt over fixed arguments) only
inform: the platforms' atan differ in the last bit for some arguments, which
is why the library computes MAMA's arc tangent itself; they are reported, not
compared.
"""
import argparse
import sys


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("reference")
    parser.add_argument("other")
    args = parser.parse_args()

    with open(args.reference) as f:
        reference = f.read().splitlines()
    with open(args.other) as f:
        other = f.read().splitlines()
    if len(reference) != len(other):
        print(f"error: {len(reference)} lines in {args.reference}, {len(other)} in {args.other}")
        return 1

    identical, runtime_differs, mismatches = 0, [], []
    for expected, actual in zip(reference, other):
        if expected.startswith("runtime ") and actual.startswith("runtime "):
            if expected != actual:
                runtime_differs.append(expected.split()[1])
        elif expected == actual:
            identical += 1
        else:
            mismatches.append((expected, actual))

    for expected, actual in mismatches[:10]:
        print(f"error: expected {expected}\n          got {actual}")
    results = sum(1 for line in reference if not line.startswith("runtime "))
    runtimes = f"the runtimes' {', '.join(runtime_differs)} differ" if runtime_differs else "the runtimes agree"
    print(f"{identical} of {results} result lines identical, {len(mismatches)} mismatches ({runtimes})")
    return 1 if mismatches else 0


if __name__ == "__main__":
    sys.exit(main())
