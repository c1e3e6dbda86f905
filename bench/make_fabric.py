"""Writes N planes in three sets as a CSV for `kelvane-cli fabric`: dip
direction, dip and set, the poles of each set drawn from a Fisher
distribution about its own mean (fixed seed), the rows shuffled.
Usage: make_fabric.py N FILE"""
import sys

import numpy as np

n, path = int(sys.argv[1]), sys.argv[2]
rng = np.random.default_rng(34)
# name, share of the rows, mean pole trend and plunge, kappa
SETS = [("J1", 0.4, 120.0, 10.0, 40.0), ("J2", 0.3, 30.0, 5.0, 25.0),
        ("bedding", 0.3, 250.0, 70.0, 60.0)]
dd, dip, names = [], [], []
for name, share, trend, plunge, kappa in SETS:
    m = int(round(n * share)) if name != SETS[-1][0] else n - sum(len(d) for d in dd)
    # Angles from the mean: cos a = 1 + ln(u + (1 - u) e^-2k) / k, azimuths uniform.
    u = rng.uniform(0.0, 1.0, m)
    cos_a = 1.0 + np.log(u + (1.0 - u) * np.exp(-2.0 * kappa)) / kappa
    sin_a = np.sqrt(np.maximum(0.0, 1.0 - cos_a**2))
    phi = rng.uniform(0.0, 2.0 * np.pi, m)
    t, p = np.radians(trend), np.radians(plunge)
    mean = np.array([np.cos(p) * np.sin(t), np.cos(p) * np.cos(t), -np.sin(p)])
    e1 = np.cross(mean, [0.0, 0.0, 1.0])
    e1 /= np.linalg.norm(e1)
    e2 = np.cross(mean, e1)
    x = (cos_a[:, None] * mean + (sin_a * np.cos(phi))[:, None] * e1
         + (sin_a * np.sin(phi))[:, None] * e2)
    x[x[:, 2] > 0] *= -1.0  # poles point down
    pole_trend = np.degrees(np.arctan2(x[:, 0], x[:, 1])) % 360.0
    pole_plunge = np.degrees(np.arcsin(np.clip(-x[:, 2], -1.0, 1.0)))
    dd.append((pole_trend + 180.0) % 360.0)
    dip.append(90.0 - pole_plunge)
    names += [name] * m
dd, dip = np.concatenate(dd), np.concatenate(dip)
order = rng.permutation(n)
with open(path, "w") as out:
    out.write("dip_direction,dip,set\n")
    out.writelines(f"{dd[i]!r},{dip[i]!r},{names[i]}\n" for i in order)
