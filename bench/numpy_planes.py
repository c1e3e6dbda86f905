"""The plane assessment of `kelvane-cli planes` written with numpy, vectorized:
numpy.loadtxt reads the planes, then every quantity for all planes at once.
Usage: numpy_planes.py PLANES.csv [CLI_OUTPUT.csv]
With the CLI's output, checks that each number agrees to 1e-12 relative: to
its own size, or for a difference (cff, delta_pc, the dilation tendency) to
the size of its terms, and for the rake to 180 degrees, modulo 360."""
import sys

import numpy as np

STRESS = np.array([[60.0, 5.0, 3.0], [5.0, 40.0, -4.0], [3.0, -4.0, 25.0]])
PP, PHI, C = 10.0, 31.0, 0.5


def assess(path):
    def optional(text):
        return float(text) if text else np.nan

    data = np.loadtxt(path, delimiter=",", skiprows=1, usecols=(1, 2, 3),
                      converters={3: optional}, encoding="utf-8")
    dd, dip, phi = np.radians(data[:, 0]), np.radians(data[:, 1]), data[:, 2]
    phi = np.where(np.isnan(phi), PHI, phi)
    n = np.stack([np.sin(dd) * np.sin(dip), np.cos(dd) * np.sin(dip), np.cos(dip)], axis=1)
    t = n @ STRESS
    sigma = np.einsum("ij,ij->i", n, t)
    shear = t - sigma[:, None] * n
    tau = np.linalg.norm(shear, axis=1)
    values = np.linalg.eigvalsh(STRESS)
    s1, s3 = values[2], values[0]
    se = sigma - PP
    tan = np.tan(np.radians(phi))
    lim = np.where(se < 0, 0.0, C + se * tan)
    ts = np.where(se > 0, tau / np.where(se > 0, se, 1), np.nan)
    tsmax = ((s1 - PP) - (s3 - PP)) / (2 * np.sqrt((s1 - PP) * (s3 - PP)))
    td = (s1 - sigma) / (s1 - s3)
    v = -shear / tau[:, None]
    strike = np.stack([-np.cos(dd), np.sin(dd), np.zeros_like(dd)], axis=1)
    up = np.stack([-np.sin(dd) * np.cos(dip), -np.cos(dd) * np.cos(dip), np.sin(dip)], axis=1)
    rake = np.degrees(np.arctan2(np.einsum("ij,ij->i", v, up), np.einsum("ij,ij->i", v, strike)))
    # Where a quantity is a difference, its error is relative to the terms.
    terms = {"cff": np.maximum(tau, lim), "delta_pc": np.maximum(np.abs(se), np.abs((tau - C) / tan)),
             "dilation_tendency": np.ones_like(td), "rake": np.full_like(rake, 180.0)}
    return terms, {"sigma": sigma, "tau": tau, "sigma_eff": se, "tau_lim": lim, "slip_tendency": ts,
            "slip_tendency_normalized": ts / tsmax, "dilation_tendency": td,
            "factor_of_safety": lim / tau, "cff": tau - lim, "delta_pc": se - (tau - C) / tan,
            "rake": rake}


def check(terms, expected, path):
    with open(path) as f:
        header = f.readline().strip().split(",")
    cols = [header.index(name) for name in expected]
    got = np.genfromtxt(path, delimiter=",", skip_header=1, usecols=cols, dtype=float)
    worst = 0.0
    for k, name in enumerate(expected):
        a, b = got[:, k], expected[name]
        scale = np.maximum(np.abs(b), terms[name]) if name in terms else np.abs(b)
        diff = np.abs(a - b)
        if name == "rake":
            diff = np.minimum(diff, 360 - diff)
        rel = np.nanmax(diff / scale)
        worst = max(worst, rel)
        if rel > 1e-12:
            print(f"{name}: differs by {rel:.3g} relative")
    print(f"largest relative difference from numpy: {worst:.3g} (goal <= 1e-12)")
    return worst <= 1e-12


if __name__ == "__main__":
    terms, results = assess(sys.argv[1])
    if len(sys.argv) > 2:
        sys.exit(0 if check(terms, results, sys.argv[2]) else 1)
