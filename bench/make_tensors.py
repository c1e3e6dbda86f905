#!/usr/bin/env python3
"""Writes N random stress tensors as a CSV with the header sx,sy,sz,txy,tyz,tzx.

Usage: make_tensors.py N [FILE]   (standard output without FILE)
The same N always gives the same file (fixed seed): normal stresses uniform in
[0, 100), shears uniform in [-30, 30), each written as the shortest text that
reads back to its double.
"""
import random
import sys


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    count = int(sys.argv[1])
    out = open(sys.argv[2], "w") if len(sys.argv) == 3 else sys.stdout
    rng = random.Random(20261207)
    uniform = rng.uniform
    lines = ["sx,sy,sz,txy,tyz,tzx"]
    for _ in range(count):
        lines.append("%r,%r,%r,%r,%r,%r" % (
            uniform(0, 100), uniform(0, 100), uniform(0, 100),
            uniform(-30, 30), uniform(-30, 30), uniform(-30, 30)))
        if len(lines) >= 100000:
            out.write("\n".join(lines) + "\n")
            lines = []
    if lines:
        out.write("\n".join(lines) + "\n")
    out.close()


if __name__ == "__main__":
    main()
