#!/usr/bin/env python3
"""The numpy side of bench/cli_vs_numpy.sh.

numpy_eigh.py TENSORS.csv
    numpy.loadtxt of the tensors and numpy.linalg.eigh of each: the work
    timed against kelvane-cli. Prints nothing.
numpy_eigh.py TENSORS.csv CLI_OUTPUT.csv
    Checks that the s1, s2, s3 columns kelvane-cli wrote agree with eigh's
    eigenvalues to 1e-12 * max|S| on every row; prints the worst row.
"""
import sys

import numpy


def eigenvalues(path):
    s = numpy.loadtxt(path, delimiter=",", skiprows=1)
    sx, sy, sz, txy, tyz, tzx = s.T
    m = numpy.empty((len(s), 3, 3))
    m[:, 0, 0], m[:, 1, 1], m[:, 2, 2] = sx, sy, sz
    m[:, 0, 1] = m[:, 1, 0] = txy
    m[:, 1, 2] = m[:, 2, 1] = tyz
    m[:, 0, 2] = m[:, 2, 0] = tzx
    values, _ = numpy.linalg.eigh(m)
    return s, values


def main():
    if len(sys.argv) == 2:
        eigenvalues(sys.argv[1])
        return
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    s, values = eigenvalues(sys.argv[1])
    header = open(sys.argv[2]).readline().strip().split(",")
    cols = [header.index(name) for name in ("s3", "s2", "s1")]  # ascending, as eigh
    cli = numpy.loadtxt(sys.argv[2], delimiter=",", skiprows=1, usecols=cols)
    if cli.shape != values.shape:
        sys.exit("row counts differ: %s against %s" % (cli.shape, values.shape))
    scale = numpy.abs(s).max(axis=1)
    error = numpy.abs(cli - values).max(axis=1) / scale
    worst = int(error.argmax())
    print("rows %d, worst |difference| / max|S| = %.3g (row %d)" % (len(s), error[worst], worst + 1))
    if error[worst] > 1e-12:
        sys.exit("eigenvalues disagree beyond 1e-12 * max|S|")


if __name__ == "__main__":
    main()
