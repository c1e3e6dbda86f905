"""Writes N focal mechanisms as a CSV for `kelvane-cli invert`: strike, dip,
rake of random planes slipping as a known stress drives them (the forward
model: the slip along minus the shear traction), with noise on the plane and
the rake, and each mechanism given by either nodal plane at random (fixed
seed). The stress: s1 trending 300 and plunging 5, s3 near 30/10, Phi 0.4.
Usage: make_mechanisms.py N FILE"""
import sys

import numpy as np


def line(trend, plunge):
    t, p = np.radians(trend), np.radians(plunge)
    return np.array([np.sin(t) * np.cos(p), np.cos(t) * np.cos(p), -np.sin(p)])


def angles(n, u):
    """Strike (right-hand rule), dip and Aki-Richards rake of upward normal n, slip u."""
    dd = np.degrees(np.arctan2(n[0], n[1])) % 360.0
    dip = np.degrees(np.arccos(np.clip(n[2], -1.0, 1.0)))
    strike = (dd - 90.0) % 360.0
    s = np.array([np.sin(np.radians(strike)), np.cos(np.radians(strike)), 0.0])
    rake = np.degrees(np.arctan2(u @ np.cross(n, s), u @ s))
    return strike, dip, rake


def main():
    count, path = int(sys.argv[1]), sys.argv[2]
    rng = np.random.default_rng(33)
    a1 = line(300.0, 5.0)
    a3 = line(30.0, 10.0)
    a3 = a3 - (a3 @ a1) * a1
    a3 /= np.linalg.norm(a3)
    a2 = np.cross(a3, a1)
    axes = np.stack([a1, a2, a3])
    stress = axes.T @ np.diag([1.0, 2.0 * 0.4 - 1.0, -1.0]) @ axes
    with open(path, "w") as out:
        out.write("strike,dip,rake\n")
        written = 0
        while written < count:
            n = rng.normal(size=3)
            n /= np.linalg.norm(n)
            if n[2] < 0:
                n = -n
            t = stress @ n
            shear = t - (t @ n) * n
            if np.linalg.norm(shear) < 0.3:  # planes of little shear record little
                continue
            u = -shear / np.linalg.norm(shear)
            if rng.random() < 0.5:  # the auxiliary plane as the one written
                n, u = (u, n) if u[2] >= 0 else (-u, -n)
            strike, dip, rake = angles(n, u)
            strike += rng.normal(0.0, 3.0)
            dip = float(np.clip(dip + rng.normal(0.0, 3.0), 0.0, 90.0))
            rake = (rake + rng.normal(0.0, 8.0) + 180.0) % 360.0 - 180.0
            out.write(f"{strike % 360.0:.2f},{dip:.2f},{rake:.2f}\n")
            written += 1


main()
