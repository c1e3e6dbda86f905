"""The stress inversion of `kelvane-cli invert` written with numpy from the
method's definitions, as the reference of bench/invert_vs_numpy.sh.

The forward model: a plane of upward normal n slips along -(S n - (n.S.n) n)
(x East, y North, z up, compression positive). The linear step (Michael's)
finds the deviatoric S (sx, txy, tzx, sy, tyz; sz = -sx - sy) whose shear
traction on every plane is minus its unit slip, by least squares through the
normal equations (solved through their eigenvectors; a rank below 5 means
the planes determine no stress). The iterative method keeps, for each
mechanism, the nodal plane of larger instability
I = (tau - mu (sigma - 1)) / (mu + sqrt(1 + mu^2)) in the tensor scaled to
s1 = 1, s3 = -1, inverts again on the chosen planes and repeats until no choice
changes; a choice met again is a cycle, and the step of largest mean
instability met is kept. Automatic friction tries mu = 0.20 to 1.00 by 0.05
(all seventeen at once, as stacks of 5 x 5 systems) and keeps the largest
mean instability. The bootstrap resamples the mechanisms with replacement
(numpy's own random stream) and runs the whole inversion on each resampling.

Usage: numpy_invert.py FILE [--data faults|mechanisms] [--method linear|iterative]
                       [--friction MU|auto] [--bootstrap N] [--confidence P] [--seed S]
                       [--output OUT]
       numpy_invert.py --compare FIRST.csv SECOND.csv
FILE has a header and the columns strike, dip, rake (right-hand rule,
Aki-Richards rake). Writes the same header and row as kelvane-cli invert,
to OUT or standard output.
--compare prints the largest angle between the axes of two such outputs and
the difference of their stress ratios."""
import argparse
import sys

import numpy as np

RANK_TOLERANCE = 1e-10
MAX_ITERATIONS = 50


def read(path):
    d = np.loadtxt(path, delimiter=",", skiprows=1, ndmin=2, usecols=(0, 1, 2))
    strike, dip, rake = (np.radians(d[:, k]) for k in range(3))
    dd = strike + np.pi / 2
    n = np.stack([np.sin(dd) * np.sin(dip), np.cos(dd) * np.sin(dip), np.cos(dip)], axis=1)
    s = np.stack([np.sin(strike), np.cos(strike), np.zeros_like(strike)], axis=1)
    up = np.cross(n, s)  # up the dip
    u = np.cos(rake)[:, None] * s + np.sin(rake)[:, None] * up
    return n, u


class Planes:
    """The planes that enter: per datum its own [and its auxiliary plane]."""

    def __init__(self, n, u, mechanisms):
        self.per = 2 if mechanisms else 1
        if mechanisms:
            sign = np.where(u[:, 2] < -1e-12, -1.0, 1.0)[:, None]
            n = np.stack([n, u * sign], axis=1).reshape(-1, 3)
            u = np.stack([u, n[0::2] * sign], axis=1).reshape(-1, 3)
        self.n, self.u = n, u
        x, y, z = n[:, 0], n[:, 1], n[:, 2]
        zero = np.zeros_like(x)
        # E_k n for the unknowns (sx, txy, tzx, sy, tyz), less their normal parts.
        a = np.stack([np.stack(c, axis=1) for c in (
            (x, zero, -z), (y, x, zero), (z, zero, x), (zero, y, -z), (zero, z, y))], axis=2)
        a -= n[:, :, None] * np.einsum("pi,pik->pk", n, a)[:, None, :]
        normal = np.einsum("pik,pil->pkl", a, a).reshape(-1, 25)
        right = -np.einsum("pik,pi->pk", a, u)
        self.terms = np.concatenate([normal, right], axis=1)  # (planes, 30)


def solve(planes, weights):
    """The linear step for each row of weights (F, planes): whether it has a
    solution, the reduced tensors (F, 3, 3), the ratios and the axes."""
    sums = weights @ planes.terms
    m, r = sums[:, :25].reshape(-1, 5, 5), sums[:, 25:]
    w, v = np.linalg.eigh(m)
    ok = w[:, 0] > RANK_TOLERANCE * w[:, -1]
    x = np.einsum("fij,fj->fi", v, np.einsum("fji,fj->fi", v, r) / np.where(ok[:, None], w, 1.0))
    s = np.empty((len(x), 3, 3))
    s[:, 0, 0], s[:, 0, 1], s[:, 0, 2] = x[:, 0], x[:, 1], x[:, 2]
    s[:, 1, 1], s[:, 1, 2], s[:, 2, 2] = x[:, 3], x[:, 4], -x[:, 0] - x[:, 3]
    s[:, 1, 0], s[:, 2, 0], s[:, 2, 1] = x[:, 1], x[:, 2], x[:, 4]
    values, vectors = np.linalg.eigh(s)  # ascending: s3, s2, s1
    spread = values[:, 2] - values[:, 0]
    ok &= spread > 1e-12 * np.abs(x).max(axis=1)
    spread = np.where(ok, spread, 1.0)
    ratio = np.clip((values[:, 1] - values[:, 0]) / spread, 0.0, 1.0)
    mean = (values[:, 2] + values[:, 0]) / 2
    reduced = (s - mean[:, None, None] * np.eye(3)) * (2 / spread)[:, None, None]
    return ok, reduced, ratio, vectors[:, :, ::-1]  # axes as columns s1, s2, s3


def stresses(planes, reduced):
    """Normal stress, shear magnitude and predicted slip of every plane (F, planes)."""
    t = np.einsum("fij,pj->fpi", reduced, planes.n)
    sigma = np.einsum("fpi,pi->fp", t, planes.n)
    slip = sigma[:, :, None] * planes.n - t
    return sigma, np.linalg.norm(slip, axis=2), slip


def instabilities(planes, reduced, mu):
    sigma, tau, _ = stresses(planes, reduced)
    return (tau - mu[:, None] * (sigma - 1)) / (mu + np.sqrt(1 + mu * mu))[:, None]


def choose(planes, reduced, mu, counts):
    """Per friction, each datum's plane (0 or 1) and the weighted mean instability."""
    i = instabilities(planes, reduced, mu).reshape(len(mu), -1, planes.per)
    choice = i[:, :, 1] > i[:, :, 0] if planes.per == 2 else np.zeros(i.shape[:2], bool)
    best = np.where(choice, i[:, :, -1], i[:, :, 0])
    return choice, (best * counts).sum(axis=1) / counts.sum()


def invert(planes, counts, iterative, frictions):
    """The inversion with datum i taken counts[i] times: (mu, reduced, ratio,
    axes, choice, mean instability), or None when the data determine no stress."""
    if np.count_nonzero(counts) < 4:
        return None
    ok, reduced, ratio, axes = solve(planes, np.repeat(counts, planes.per)[None, :].astype(float))
    if not ok[0]:
        return None
    f = len(frictions)
    state = {"reduced": np.repeat(reduced, f, 0), "ratio": np.repeat(ratio, f),
             "axes": np.repeat(axes, f, 0)}
    choice, mean = choose(planes, state["reduced"], frictions, counts)
    failed = np.zeros(f, bool)
    if iterative and planes.per == 2:
        converged = np.zeros(f, bool)
        seen = [set() for _ in range(f)]
        steps = np.zeros(f, int)
        best = [None] * f
        active = np.arange(f)
        while active.size:
            going = []
            for k in active:
                key = choice[k].tobytes()
                if steps[k] < MAX_ITERATIONS and key not in seen[k]:
                    seen[k].add(key)
                    going.append(k)
            active = np.array(going, int)
            if not active.size:
                break
            weights = np.empty((active.size, len(counts), 2))
            weights[:, :, 0] = np.where(choice[active], 0, counts)
            weights[:, :, 1] = np.where(choice[active], counts, 0)
            ok, reduced, ratio, axes = solve(planes, weights.reshape(active.size, -1))
            failed[active[~ok]] = True
            active, reduced, ratio, axes = active[ok], reduced[ok], ratio[ok], axes[ok]
            steps[active] += 1
            state["reduced"][active], state["ratio"][active] = reduced, ratio
            state["axes"][active] = axes
            following, mean[active] = choose(planes, reduced, frictions[active], counts)
            same = (following == choice[active]).all(axis=1)
            converged[active[same]] = True
            moving = active[~same]
            choice[moving] = following[~same]
            for k in moving:
                if best[k] is None or mean[k] > best[k][4]:
                    best[k] = (state["reduced"][k].copy(), state["ratio"][k],
                               state["axes"][k].copy(), choice[k].copy(), mean[k])
            active = moving
        for k in range(f):
            if not converged[k] and best[k] is not None:
                (state["reduced"][k], state["ratio"][k], state["axes"][k], choice[k],
                 mean[k]) = best[k]
    if failed.all():
        return None
    k = int(np.argmax(np.where(failed, -np.inf, mean)))
    return (frictions[k], state["reduced"][k], state["ratio"][k], state["axes"][k], choice[k],
            mean[k])


def downward(v):
    v = np.where(v[..., 2:3] > 0, -v, v)
    return v


def axis_angles(v):
    v = downward(v)
    azimuth = np.degrees(np.arctan2(v[0], v[1])) % 360.0
    return azimuth, np.degrees(np.arcsin(np.clip(-v[2], -1, 1)))


def run(args):
    n, u = read(args.file)
    planes = Planes(n, u, args.data == "mechanisms")
    frictions = (0.2 + 0.05 * np.arange(17) if args.friction == "auto"
                 else np.array([float(args.friction)]))
    iterative = args.method == "iterative"
    counts = np.ones(len(n))
    result = invert(planes, counts, iterative, frictions)
    if result is None:
        print("numpy_invert: the data determine no stress", file=sys.stderr)
        return 1
    mu, reduced, ratio, axes, choice, _ = result
    rows = np.arange(len(n)) * planes.per + choice.astype(int)
    sigma, tau, slip = stresses(planes, reduced[None])
    sigma, tau, slip = sigma[0, rows], tau[0, rows], slip[0, rows]
    observed = planes.u[rows]
    misfit = np.degrees(np.arctan2(np.linalg.norm(np.cross(slip, observed), axis=1),
                                   np.einsum("pi,pi->p", slip, observed)))
    misfit = misfit[tau > 1e-12]
    instability = (tau - mu * (sigma - 1)) / (mu + np.sqrt(1 + mu * mu))
    header = ("method,friction,faults,stress_ratio,s1_azimuth,s1_dip,s2_azimuth,s2_dip,"
              "s3_azimuth,s3_dip,misfit_mean,misfit_median,instability_mean")
    row = [args.method, repr(float(mu)), str(len(n)), repr(float(ratio))]
    for k in range(3):
        row += [repr(float(a)) for a in axis_angles(axes[:, k])]
    row += [repr(float(v)) for v in (misfit.mean(), np.median(misfit), instability.mean())]
    if args.bootstrap > 0:
        rng = np.random.default_rng(args.seed)
        ratios, lines = [], []
        for _ in range(args.bootstrap):
            drawn = np.bincount(rng.integers(0, len(n), len(n)), minlength=len(n)).astype(float)
            replicate = invert(planes, drawn, iterative, frictions)
            if replicate is not None:
                ratios.append(replicate[2])
                lines.append(replicate[3].T)
        q = args.confidence / 100
        low, high = np.quantile(ratios, [(1 - q) / 2, (1 + q) / 2])
        lines = np.array(lines)  # replicates x axis x component
        cos = np.abs(np.einsum("rkc,ck->rk", lines, axes))
        cones = np.quantile(np.degrees(np.arccos(np.clip(cos, 0, 1))), q, axis=0)
        header += ",stress_ratio_low,stress_ratio_high,s1_cone,s2_cone,s3_cone"
        row += [repr(float(v)) for v in (low, high, *cones)]
    with open(args.output, "w") if args.output != "-" else sys.stdout as out:
        out.write(header + "\n" + ",".join(row) + "\n")
    return 0


def compare(first, second):
    """The largest angle between the axes of two outputs and the difference of Phi."""
    a = np.genfromtxt(first, delimiter=",", names=True, dtype=None, encoding="utf-8")
    b = np.genfromtxt(second, delimiter=",", names=True, dtype=None, encoding="utf-8")

    def vector(row, k):
        t, p = np.radians(row[f"s{k}_azimuth"]), np.radians(row[f"s{k}_dip"])
        return np.array([np.sin(t) * np.cos(p), np.cos(t) * np.cos(p), -np.sin(p)])

    angle = max(np.degrees(np.arctan2(np.linalg.norm(np.cross(vector(a, k), vector(b, k))),
                                      abs(vector(a, k) @ vector(b, k)))) for k in (1, 2, 3))
    ratio = abs(float(a["stress_ratio"]) - float(b["stress_ratio"]))
    friction = abs(float(a["friction"]) - float(b["friction"]))
    print(f"{angle:.3g} {ratio:.3g} {friction:.3g}")
    return 0


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--compare":
        return compare(sys.argv[2], sys.argv[3])
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--data", default="faults", choices=("faults", "mechanisms"))
    parser.add_argument("--method", default="iterative", choices=("linear", "iterative"))
    parser.add_argument("--friction", default="auto")
    parser.add_argument("--bootstrap", type=int, default=0)
    parser.add_argument("--confidence", type=float, default=95.0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--output", default="-")
    return run(parser.parse_args())


sys.exit(main())
