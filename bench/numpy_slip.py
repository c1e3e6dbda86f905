"""The Monte Carlo slip odds of `kelvane-cli planes --uncertainty` written with
numpy, vectorized over the planes and, in blocks, the realizations: the same
sampling (principal stresses normal, the state turned about the vertical
uniformly, Pp uniform, mu normal) and formulas, numpy's own random stream.
Usage: numpy_slip.py PLANES.csv REALIZATIONS [CLI_OUTPUT.csv]
With the CLI's output, checks each plane's p_slip against numpy's within 4
standard errors of their difference, and the dPc percentiles within 4 of
theirs (estimated from the two runs' spread)."""
import sys

import numpy as np

STRESS = np.array([[60.0, 5.0, 3.0], [5.0, 40.0, -4.0], [3.0, -4.0, 25.0]])
PP, MU = 10.0, 0.6
# The spreads of the CLI's --uncertainty in bench/slip_vs_numpy.sh.
SD_S, AZIMUTH, PP_HALF, SD_MU = 2.0, 10.0, 5.0, 0.05
BLOCK = 500  # realizations at a time
PLANES = 1000  # planes at a time: bounded memory


def odds(path, realizations, seed=7):
    def optional(text):
        return float(text) if text else np.nan

    data = np.loadtxt(path, delimiter=",", skiprows=1, usecols=(1, 2, 3),
                      converters={3: optional}, encoding="utf-8")
    dd, dip, phi = np.radians(data[:, 0]), np.radians(data[:, 1]), data[:, 2]
    mu0 = np.where(np.isnan(phi), MU, np.tan(np.radians(phi)))
    n = np.stack([np.sin(dd) * np.sin(dip), np.cos(dd) * np.sin(dip), np.cos(dip)], axis=1)
    values, vectors = np.linalg.eigh(STRESS)
    values, axes = values[::-1], vectors[:, ::-1].T  # rows: the axes of s1, s2, s3
    rng = np.random.default_rng(seed)
    # The realizations' draws, then the planes in blocks, each under all of them.
    s_all = values + rng.normal(0.0, SD_S, (realizations, 3))
    a_all = np.radians(rng.uniform(-AZIMUTH, AZIMUTH, realizations))
    pp_all = PP + rng.uniform(-PP_HALF, PP_HALF, realizations)
    dmu_all = rng.normal(0.0, SD_MU, realizations)
    p = np.empty(len(n))
    p10, p50, p90 = (np.empty(len(n)) for _ in range(3))
    for first in range(0, len(n), PLANES):
        nb = n[first:first + PLANES]
        dpc = np.empty((realizations, len(nb)))
        slips = np.zeros(len(nb))
        for start in range(0, realizations, BLOCK):
            m = slice(start, min(start + BLOCK, realizations))
            s, a, pp = s_all[m], a_all[m], pp_all[m]
            mu = mu0[first:first + PLANES] + dmu_all[m][:, None]
            c, si = np.cos(a), np.sin(a)
            # Clockwise from above: x' = x cos a + y sin a, y' = -x sin a + y cos a.
            turned = np.stack([axes[:, 0] * c[:, None] + axes[:, 1] * si[:, None],
                               -axes[:, 0] * si[:, None] + axes[:, 1] * c[:, None],
                               np.broadcast_to(axes[:, 2], (len(a), 3))], axis=2)
            l = np.einsum("pk,mak->mpa", nb, turned)  # realizations x planes x 3
            w = l * l
            sigma = np.einsum("mpa,ma->mp", w, s)
            d12, d23, d13 = s[:, 0] - s[:, 1], s[:, 1] - s[:, 2], s[:, 0] - s[:, 2]
            tau = np.sqrt(w[:, :, 0] * w[:, :, 1] * (d12 * d12)[:, None]
                          + w[:, :, 1] * w[:, :, 2] * (d23 * d23)[:, None]
                          + w[:, :, 0] * w[:, :, 2] * (d13 * d13)[:, None])
            se = sigma - pp[:, None]
            lim = np.where(se < 0, 0.0, se * mu)
            slips += np.count_nonzero(tau - lim >= 0, axis=0)
            dpc[m] = se - tau / mu
        p[first:first + PLANES] = slips / realizations
        q = np.percentile(dpc, [10, 50, 90], axis=0)
        p10[first:first + PLANES], p50[first:first + PLANES], p90[first:first + PLANES] = q
    return p, p10, p50, p90


def check(p, p10, p50, p90, realizations, cli_path):
    cli = np.genfromtxt(cli_path, delimiter=",", names=True, dtype=None, encoding="utf-8")
    q = cli["p_slip"]
    error = 4.0 * np.sqrt((p * (1 - p) + q * (1 - q)) / realizations) + 1.0 / realizations
    bad = np.count_nonzero(np.abs(p - q) > error)
    spread = (p90 - p10) / np.sqrt(realizations)  # about the percentiles' standard error
    worst = max(np.max(np.abs(cli["delta_pc_p" + k] - v) / np.maximum(spread, 1e-12))
                for k, v in (("10", p10), ("50", p50), ("90", p90)))
    print(f"p_slip: {bad} of {len(p)} planes beyond 4 standard errors; "
          f"percentiles: largest difference {worst:.2f} x (P90 - P10) / sqrt(N)")
    return bad == 0


if __name__ == "__main__":
    realizations = int(sys.argv[2])
    result = odds(sys.argv[1], realizations)
    if len(sys.argv) > 3:
        sys.exit(0 if check(*result, realizations, sys.argv[3]) else 1)
