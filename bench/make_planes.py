"""Writes N random planes as a CSV for `kelvane-cli planes`: id, dip direction,
dip, and on every third row the plane's own friction angle (fixed seed)."""
import sys

import numpy as np

n, path = int(sys.argv[1]), sys.argv[2]
rng = np.random.default_rng(22)
dd = rng.uniform(0.0, 360.0, n)
dip = rng.uniform(0.0, 90.0, n)
phi = rng.uniform(20.0, 40.0, n)
with open(path, "w") as out:
    out.write("id,dip_direction,dip,phi\n")
    for i in range(n):
        own = f"{phi[i]!r}" if i % 3 == 0 else ""
        out.write(f"p{i},{dd[i]!r},{dip[i]!r},{own}\n")
