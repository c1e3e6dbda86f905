"""The orientation statistics of `kelvane-cli fabric` written with numpy,
vectorized: numpy.loadtxt reads the planes (dip_direction,dip,set), then for
the whole file and each set (in order of first appearance) the poles, the
orientation tensor (summed in long double) and its eigenvectors
(numpy.linalg.eigh), the Fisher mean
of the poles taken into the hemisphere of the largest eigenvector, R, R/N,
kappa, alpha at 95 %, Woodcock's K and C and the girdle; the rows written as
CSV. It does not search for the density maximum (over a million poles a
search over the net is out of reach for plain numpy): in the check it
evaluates the exponential Kamb density (k = 3) at the point kelvane-cli
reports, compares the value and checks that no point around it is higher.
Usage: numpy_fabric.py PLANES.csv [--out ROWS.csv] [--check CLI_OUTPUT.csv]
The check compares every number to 1e-9: relative to its size for R, R/N,
kappa, alpha, K, C and the density, absolute for the eigenvalues (in
[0, 1]) and for angles in degrees (trends modulo 360)."""
import sys

import numpy as np

CONFIDENCE = 0.95
K = 3.0
COLUMNS = ("set,count,mean_trend,mean_plunge,mean_dip_direction,mean_dip,resultant_length,"
           "mean_resultant_length,kappa,alpha,eigenvalue1,eigenvalue2,eigenvalue3,eigen1_trend,"
           "eigen1_plunge,eigen2_trend,eigen2_plunge,eigen3_trend,eigen3_plunge,woodcock_k,"
           "woodcock_c,girdle_dip_direction,girdle_dip").split(",")


def read(path):
    data = np.loadtxt(path, delimiter=",", skiprows=1, encoding="utf-8",
                      dtype=[("dd", "f8"), ("dip", "f8"), ("set", "U32")])
    dd, dip = np.radians(data["dd"]), np.radians(data["dip"])
    sd = np.sin(dip)
    poles = np.stack([-sd * np.sin(dd), -sd * np.cos(dd), -np.cos(dip)], axis=1)
    names, first, labels = np.unique(data["set"], return_index=True, return_inverse=True)
    order = np.argsort(first)
    return poles, [(names[k], labels == k) for k in order if names[k] != ""]


def lower(v):
    return -v if v[2] > 0 or (v[2] == 0 and (v[0] < 0 or (v[0] == 0 and v[1] < 0))) else v


def line(v):
    v = lower(v)
    return np.degrees(np.arctan2(v[0], v[1])) % 360.0, np.degrees(np.arctan2(-v[2], np.hypot(v[0], v[1])))


def plane(v):
    trend, plunge = line(v)
    return (trend + 180.0) % 360.0, 90.0 - plunge


def statistics(x):
    # Sums in long double, the results as doubles, as kelvane-cli forms them:
    # a million terms summed in double would move the axes of close
    # eigenvalues by more than 1e-9 degrees.
    n = len(x)
    xl = x.astype(np.longdouble)
    t = np.empty((3, 3))
    for i in range(3):
        for j in range(i, 3):
            t[i, j] = t[j, i] = np.sum(xl[:, i] * xl[:, j]) / n
    values, vectors = np.linalg.eigh(t)
    values, vectors = values[::-1], vectors[:, ::-1]
    flip = np.where(x @ vectors[:, 0] < 0.0, -1.0, 1.0).astype(np.longdouble)
    total = flip @ xl
    rl = np.sqrt(np.sum(total * total))
    r = float(rl)
    mean = (total / rl).astype(np.float64)
    kappa = float((n - 1) / (n - rl))
    t = float((n - rl) / rl) * np.expm1(-np.log(1.0 - CONFIDENCE) / (n - 1))
    alpha = np.degrees(2.0 * np.arcsin(np.sqrt(t / 2.0))) if t <= 2.0 else np.nan
    s1, s2, s3 = np.maximum(values, 0.0)
    c = np.log(s1 / s3) if s3 > 1e-12 else np.nan
    k = np.log(s1 / s2) / np.log(s2 / s3) if s3 > 1e-12 and s2 - s3 > 1e-12 else np.nan
    row = [*line(mean), *plane(mean), r, r / n, kappa, alpha, s1, s2, s3]
    for i in range(3):
        row += line(vectors[:, i])
    return row + [k, c, *plane(vectors[:, 2])]


def density(x, u):
    """The exponential Kamb density at the unit u, in sigma above uniform."""
    n = len(x)
    f = 2.0 * (1.0 + n / K**2)
    m1, m2 = -np.expm1(-f) / f, -np.expm1(-2.0 * f) / (2.0 * f)
    w = np.exp(f * (np.abs(x @ u) - 1.0)).sum()
    return (w - n * m1) / np.sqrt((m2 - m1 * m1) * n)


def axis(trend, plunge):
    t, p = np.radians(trend), np.radians(plunge)
    return np.array([np.cos(p) * np.sin(t), np.cos(p) * np.cos(t), -np.sin(p)])


def check(poles, sets, rows, path):
    with open(path) as f:
        header = f.readline().strip().split(",")
        got = [line.rstrip("\n").split(",") for line in f]
    worst = 0.0
    ok = len(got) == len(rows)
    if not ok:
        print(f"{len(got)} rows where numpy has {len(rows)}")
    masks = [None] + [mask for _, mask in sets]
    for row, fields, mask in zip(rows, got, masks):
        name = row[0]
        ok &= fields[0] == name and int(fields[1]) == row[1]
        for k, want in enumerate(row[2:], start=2):
            column = header[k]
            if fields[k] == "" or np.isnan(want):
                ok &= fields[k] == "" and np.isnan(want)
                continue
            value = float(fields[k])
            if column.startswith("eigenvalue"):
                error = abs(value - want)
            elif "trend" in column or "plunge" in column or "dip" in column:
                error = abs(value - want)
                if "trend" in column or "direction" in column:
                    error = min(error, 360.0 - error)
            else:
                error = abs(value - want) / max(abs(want), 1e-300)
            if error > 1e-9:
                print(f"{name} {column}: {value!r} against numpy's {want!r}")
            worst = max(worst, error)
        # The density at the reported maximum, and around it at a quarter of
        # the kernel's width (1 / sqrt(f) radians).
        x = poles if mask is None else poles[mask]
        top = header.index("density_max")
        reported = float(fields[top])
        trend, plunge = float(fields[top + 1]), float(fields[top + 2])
        value = density(x, axis(trend, plunge))
        error = abs(value - reported) / max(abs(reported), 1.0)
        worst = max(worst, error)
        if error > 1e-9:
            print(f"{name} density_max: {reported!r} where numpy has {value!r} at the same point")
            ok = False
        width = np.degrees(1.0 / np.sqrt(2.0 * (1.0 + len(x) / K**2)))
        step = 0.25 * width
        around = [density(x, axis(trend + dt / max(np.cos(np.radians(plunge)), 1e-3), plunge + dp))
                  for dt, dp in ((step, 0), (-step, 0), (0, step), (0, -step))]
        if max(around) > value + 1e-9 * max(abs(value), 1.0):
            print(f"{name} density_max: a point {step:.3g} degrees away is higher "
                  f"({max(around)!r} > {value!r})")
            ok = False
    ok &= worst <= 1e-9
    print(f"largest difference from numpy: {worst:.3g} (goal <= 1e-9); density maxima checked "
          f"at their points and a quarter kernel width around")
    return ok


def text(value):
    if isinstance(value, (float, np.floating)):
        return "" if np.isnan(value) else repr(float(value))
    return str(value)


def main():
    args = sys.argv[1:]
    path = args[0]
    out = args[args.index("--out") + 1] if "--out" in args else None
    poles, sets = read(path)
    rows = [["all", len(poles), *statistics(poles)]]
    rows += [[name, int(mask.sum()), *statistics(poles[mask])] for name, mask in sets]
    if out:
        with open(out, "w") as f:
            f.write(",".join(COLUMNS) + "\n")
            for row in rows:
                f.write(",".join(text(v) for v in row) + "\n")
    if "--check" in args:
        sys.exit(0 if check(poles, sets, rows, args[args.index("--check") + 1]) else 1)


if __name__ == "__main__":
    main()
