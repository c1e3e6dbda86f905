"""The expected rows of kelvane-cli fabric's tests, computed apart from the
program in 40-digit arithmetic (mpmath): the axes from their angles, T and
its eigenvectors by Jacobi rotations (mpmath.eigsy), the Fisher mean and
cone from the formulas, and the exponential Kamb maximum by a compass
search on the sphere down to steps of 1e-15 radians. Prints C++ rows for
tests/cli/cli_test.cpp. Usage: python3 fabric_expected.py (with mpmath)"""
import mpmath as mp

mp.mp.dps = 40
D = mp.pi / 180


def pole(dd, dip):
    b, p = mp.mpf(dd) * D, mp.mpf(dip) * D
    return lower([-mp.sin(p) * mp.sin(b), -mp.sin(p) * mp.cos(b), -mp.cos(p)])


def line(trend, plunge):
    t, p = mp.mpf(trend) * D, mp.mpf(plunge) * D
    return lower([mp.cos(p) * mp.sin(t), mp.cos(p) * mp.cos(t), -mp.sin(p)])


def lower(v):
    return [-c for c in v] if v[2] > 0 else list(v)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def angles(v):
    v = lower(v)
    trend = mp.atan2(v[0], v[1]) / D % 360
    return trend, mp.atan2(-v[2], mp.hypot(v[0], v[1])) / D


def plane_of(v):
    t, p = angles(v)
    return (t + 180) % 360, 90 - p


def density_max(axes, weights, k=3):
    n = sum(weights)
    f = 2 * (1 + n / k**2)
    m1 = -mp.expm1(-f) / f
    m2 = -mp.expm1(-2 * f) / (2 * f)
    e, s = n * m1, mp.sqrt((m2 - m1**2) * sum(w * w for w in weights))

    def value(u):
        r = mp.sqrt(dot(u, u))
        u = [c / r for c in u]
        return (sum(w * mp.exp(f * (abs(dot(u, x)) - 1)) for x, w in zip(axes, weights)) - e) / s

    best = max((line(t, p) for t in range(0, 360, 5) for p in range(0, 91, 5)), key=value)
    u, v, step = best, value(best), mp.mpf("0.05")
    while step > mp.mpf("1e-15"):
        a = [1, 0, 0] if abs(u[0]) < 0.6 else [0, 1, 0]
        e1 = mp.matrix(u).T  # basis across u
        c1 = [u[1] * a[2] - u[2] * a[1], u[2] * a[0] - u[0] * a[2], u[0] * a[1] - u[1] * a[0]]
        r = mp.sqrt(dot(c1, c1))
        c1 = [c / r for c in c1]
        c2 = [u[1] * c1[2] - u[2] * c1[1], u[2] * c1[0] - u[0] * c1[2], u[0] * c1[1] - u[1] * c1[0]]
        moved = False
        for d in (c1, c2):
            for sign in (1, -1):
                t = [x + sign * step * y for x, y in zip(u, d)]
                r = mp.sqrt(dot(t, t))
                t = [x / r for x in t]
                if value(t) > v:
                    u, v, moved = t, value(t), True
        if not moved:
            step /= 2
    return v, angles(u)


def statistics(axes, weights=None, confidence=mp.mpf("0.95"), planes=True):
    weights = weights or [mp.mpf(1)] * len(axes)
    n = sum(weights)
    t = mp.matrix(3, 3)
    for x, w in zip(axes, weights):
        for i in range(3):
            for j in range(3):
                t[i, j] += w * x[i] * x[j] / n
    values, vectors = mp.eigsy(t)
    order = sorted(range(3), key=lambda i: -values[i])
    s = [values[i] for i in order]
    e = [[vectors[r, i] for r in range(3)] for i in order]
    flipped = [[w * c if dot(x, e[0]) >= 0 else -w * c for c in x] for x, w in zip(axes, weights)]
    total = [sum(v[i] for v in flipped) for i in range(3)]
    r = mp.sqrt(dot(total, total))
    mean = [c / r for c in total]
    kappa = (n - 1) / (n - r)
    p = 1 - confidence
    cos_alpha = 1 - (n - r) / r * ((1 / p) ** (1 / (n - 1)) - 1)
    alpha = mp.acos(cos_alpha) / D if cos_alpha >= -1 else None
    # An eigenvalue below 1e-12 is 0, as the program takes it: no K or C.
    k = mp.log(s[0] / s[1]) / mp.log(s[1] / s[2]) if s[1] - s[2] > 1e-12 < s[2] else None
    c = mp.log(s[0] / s[2]) if s[2] > 1e-12 else None
    dmax, (dt, dp) = density_max(axes, weights)
    mt, mpl = angles(mean)
    md, mdip = plane_of(mean)
    gd, gdip = plane_of(e[2])
    row = [mt, mpl, md if planes else None, mdip if planes else None, r, r / n, kappa, alpha]
    row += s
    for v in e:
        row += list(angles(v))
    row += [k, c, gd if planes else None, gdip if planes else None, dmax, dt, dp]
    return row


def show(name, count, row):
    text = ", ".join("kNone" if v is None else mp.nstr(v, 20, strip_zeros=False) for v in row)
    print(f'{{"{name}", {count}, {{{text}}}}},')


PLANES = [(120, 50, "a"), (135, 60, "a"), (110, 65, "a"), (300, 40, "b"), (315, 35, "b"),
          (20, 80, "")]
axes = [pole(d, p) for d, p, _ in PLANES]
print("// planes")
show("all", 6, statistics(axes))
show("a", 3, statistics(axes[:3]))
show("b", 2, statistics(axes[3:5]))
print("// planes with Terzaghi weights along 90/10, cap 3")
scan = line(90, 10)
weights = [min(mp.mpf(3), 1 / abs(dot(x, scan))) for x in axes]
print("// weights", [mp.nstr(w, 8) for w in weights])
show("all", 6, statistics(axes, weights))
show("a", 3, statistics(axes[:3], weights[:3]))
show("b", 2, statistics(axes[3:5], weights[3:5]))
LINES = [(200, 30), (215, 20), (190, 10), (230, 35)]
axes = [line(t, p) for t, p in LINES]
print("// lines")
show("all", 4, statistics(axes, planes=False))
print("// lines at 99 %")
show("all", 4, statistics(axes, confidence=mp.mpf("0.99"), planes=False))
