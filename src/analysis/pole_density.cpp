#include "analysis/pole_density.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace analysis {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
/// The Schmidt cap: |cos theta| >= 0.99 is 1 % of the hemisphere.
constexpr double kSchmidtCap = 0.99;
/// Most cubes along an edge of the grid: 1024^2 column starts at most.
constexpr int kMostCubes = 1024;
/// The peak search: the net's points along an edge, the best points climbed
/// from, the most steps of a climb, and the step at which it stops (radians).
constexpr int kFewestPeakPoints = 90;
constexpr int kMostPeakPoints = 256;
constexpr std::size_t kPeakStarts = 6;
constexpr int kMostShifts = 500;
constexpr double kPeakStep = 1e-8;
/// Where the counting methods' compass search stops.
constexpr double kFlatPeakStep = 1e-7;

double Dot(const stress::Vector3& a, const stress::Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

stress::Vector3 Normalized(const stress::Vector3& v) {
  const double length = std::sqrt(Dot(v, v));
  return {v.x / length, v.y / length, v.z / length};
}

stress::Vector3 Cross(const stress::Vector3& a, const stress::Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

/// A unit vector at right angles to the unit u.
stress::Vector3 Across(const stress::Vector3& u) {
  const stress::Vector3 other =
      std::fabs(u.x) < 0.6 ? stress::Vector3{1.0, 0.0, 0.0} : stress::Vector3{0.0, 1.0, 0.0};
  return Normalized(Cross(u, other));
}

/// e^t for -708 <= t <= 0 (the kernel's range is -kKernelCut to 0), to a few
/// units of the last place: t = n ln 2 + r with |r| <= ln 2 / 2, e^r by its
/// Taylor series to r^12 (the first term left out is below 1.7e-16), and 2^n
/// put into the exponent's bits. No branch and no call, unlike std::exp, so
/// that the compiler runs a loop of them side by side.
inline double Kernel(double t) {
  constexpr double kLog2e = 1.4426950408889634;
  constexpr double kLn2High = 6.93147180369123816490e-01;  // n * kLn2High exact for |n| < 2^11
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  constexpr double kShift = 0x1.8p52;  // adding it rounds to an integer, kept in the low bits
  const double shifted = t * kLog2e + kShift;
  const double n = shifted - kShift;
  const double r = t - n * kLn2High - n * kLn2Low;
  double p = 1.0 / 479001600.0;  // 1 / 12!
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  // n = bits(shifted) - bits(kShift) in the low bits; 2^n has exponent field n + 1023.
  const std::uint64_t exponent =
      std::bit_cast<std::uint64_t>(shifted) - std::bit_cast<std::uint64_t>(kShift) + 1023;
  return p * std::bit_cast<double>(exponent << 52);
}

}  // namespace

PoleDensity::PoleDensity(std::span<const WeightedAxis> axes, DensityMethod method, double k)
    : method_(method) {
  if (axes.empty())
    throw std::invalid_argument("A density needs at least one axis.");
  if (!(k > 0.0) || !std::isfinite(k))
    throw std::invalid_argument("k must be a finite number above 0.");
  long double sum = 0.0L;
  long double squares = 0.0L;
  for (const WeightedAxis& a : axes) {
    if (!(a.weight > 0.0) || !std::isfinite(a.weight))
      throw std::invalid_argument("Every weight must be finite and above 0.");
    const double length = std::sqrt(Dot(a.axis, a.axis));
    if (!(length > 0.0) || !std::isfinite(length))
      throw std::invalid_argument("Every axis must be a finite vector other than 0.");
    sum += a.weight;
    squares += static_cast<long double>(a.weight) * a.weight;
  }
  weightSum_ = static_cast<double>(sum);
  const double n = weightSum_;
  const double w2 = static_cast<double>(squares);
  switch (method) {
    case DensityMethod::kExponentialKamb: {
      f_ = 2.0 * (1.0 + n / (k * k));
      const double m1 = -std::expm1(-f_) / f_;
      const double m2 = -std::expm1(-2.0 * f_) / (2.0 * f_);
      expected_ = n * m1;
      sigma_ = std::sqrt((m2 - m1 * m1) * w2);
      capCosine_ = 1.0 - kKernelCut / f_;
      break;
    }
    case DensityMethod::kKamb: {
      const double area = k * k / (n + k * k);
      expected_ = n * area;
      sigma_ = std::sqrt(area * (1.0 - area) * w2);
      capCosine_ = 1.0 - area;
      break;
    }
    case DensityMethod::kSchmidt:
      expected_ = n * (1.0 - kSchmidtCap);
      sigma_ = std::sqrt((1.0 - kSchmidtCap) * kSchmidtCap * w2);
      capCosine_ = kSchmidtCap;
      break;
  }

  // Each axis as a unit vector, downward (of either end when `downward` is
  // false), computed again where needed rather than kept.
  const auto unit = [&axes](std::size_t i, bool downward) {
    const stress::Vector3& a = axes[i].axis;
    const double length = std::sqrt(Dot(a, a));
    const double side = downward && a.z > 0.0 ? -1.0 : 1.0;
    return stress::Vector3{side * a.x / length, side * a.y / length, side * a.z / length};
  };
  const std::size_t size = axes.size();
  if (capCosine_ <= 0.0) {  // every axis counts at every direction
    everywhere_ = true;
    xs_.resize(size);
    ys_.resize(size);
    zs_.resize(size);
    ws_.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
      const stress::Vector3 u = unit(i, false);
      xs_[i] = u.x;
      ys_[i] = u.y;
      zs_[i] = u.z;
      ws_[i] = axes[i].weight;
    }
    return;
  }
  // Cubes of side 2 / n_ >= 2 reach_ / 3: the ball of radius reach_ about a
  // direction meets at most four along each edge. (Larger cubes visit more
  // entries outside the cap, smaller ones more columns; this measured best.)
  reach_ = std::sqrt(2.0 * (1.0 - capCosine_)) * (1.0 + 1e-9) + 1e-12;
  n_ = std::clamp(static_cast<int>(3.0 / reach_), 1, kMostCubes);
  // Sums are taken about a downward direction (an upward one is turned
  // over first), whose cap holds an axis's downward end or, for an axis
  // within reach_ of the horizon, maybe its upward end: the downward ends are
  // kept, and the upward ends of those near the horizon.
  const auto column = [this](const stress::Vector3& v) {
    return static_cast<std::size_t>(Cube(v.x)) * n_ + Cube(v.y);
  };
  // A counting sort by column, then each column (a few dozen entries) by
  // its cubes along z.
  columns_.assign(static_cast<std::size_t>(n_) * n_ + 1, 0);
  for (std::size_t i = 0; i < size; ++i) {
    const stress::Vector3 u = unit(i, true);
    ++columns_[column(u) + 1];
    if (u.z >= -reach_)
      ++columns_[column({-u.x, -u.y, -u.z}) + 1];
  }
  for (std::size_t c = 1; c < columns_.size(); ++c)
    columns_[c] += columns_[c - 1];
  const std::size_t count = columns_.back();
  cubes_.resize(count);
  xs_.resize(count);
  ys_.resize(count);
  zs_.resize(count);
  ws_.resize(count);
  std::vector<std::uint32_t> next(columns_.begin(), columns_.end() - 1);
  const auto place = [&](const stress::Vector3& v, double w) {
    const std::uint32_t e = next[column(v)]++;
    cubes_[e] = static_cast<std::uint32_t>(Cube(v.z));
    xs_[e] = v.x;
    ys_[e] = v.y;
    zs_[e] = v.z;
    ws_[e] = w;
  };
  for (std::size_t i = 0; i < size; ++i) {
    const stress::Vector3 u = unit(i, true);
    place(u, axes[i].weight);
    if (u.z >= -reach_)
      place({-u.x, -u.y, -u.z}, axes[i].weight);
  }
  struct Entry {
    std::uint32_t iz;
    double x, y, z, w;
  };
  std::vector<Entry> sorting;
  for (std::size_t c = 0; c + 1 < columns_.size(); ++c) {
    const std::size_t first = columns_[c], last = columns_[c + 1];
    if (std::is_sorted(cubes_.begin() + first, cubes_.begin() + last))
      continue;
    sorting.clear();
    for (std::size_t e = first; e < last; ++e)
      sorting.push_back({cubes_[e], xs_[e], ys_[e], zs_[e], ws_[e]});
    std::stable_sort(sorting.begin(), sorting.end(),
                     [](const Entry& a, const Entry& b) { return a.iz < b.iz; });
    for (std::size_t e = first; e < last; ++e) {
      const Entry& entry = sorting[e - first];
      cubes_[e] = entry.iz;
      xs_[e] = entry.x;
      ys_[e] = entry.y;
      zs_[e] = entry.z;
      ws_[e] = entry.w;
    }
  }
}

int PoleDensity::Cube(double v) const {
  return std::clamp(static_cast<int>((v + 1.0) * 0.5 * n_), 0, n_ - 1);
}

template <bool kKernel>
double PoleDensity::SumRange(const stress::Vector3& u, std::size_t begin, std::size_t end) const {
  // The entries go by in blocks through buffers: loops without a branch on
  // the cap (about a third of the entries visited lie in it, an unpredictable
  // test that costs more than the arithmetic) and without a running sum, so
  // that the compiler runs them side by side; the kernel only for the
  // entries in the cap; the sum then in four parts.
  constexpr std::size_t kBlock = 256;
  const double* xs = xs_.data();
  const double* ys = ys_.data();
  const double* zs = zs_.data();
  const double* ws = ws_.data();
  const double c0 = everywhere_ ? -1.0 : capCosine_;
  double terms[kBlock];
  double cosines[kBlock];
  double weights[kBlock];
  double sums[4] = {0.0, 0.0, 0.0, 0.0};
  for (std::size_t first = begin; first < end; first += kBlock) {
    const std::size_t count = std::min(kBlock, end - first);
    std::size_t kept = count;
    if constexpr (kKernel) {
      kept = 0;
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = first + i;
        const double c = std::fabs(u.x * xs[e] + u.y * ys[e] + u.z * zs[e]);
        cosines[kept] = c;
        weights[kept] = ws[e];
        kept += c >= c0 ? 1 : 0;
      }
      for (std::size_t i = 0; i < kept; ++i)
        terms[i] = weights[i] * Kernel(f_ * (cosines[i] - 1.0));
    } else {
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = first + i;
        const double c = u.x * xs[e] + u.y * ys[e] + u.z * zs[e];
        const double w = ws[e];
        terms[i] = c >= c0 ? w : 0.0;
      }
    }
    std::size_t i = 0;
    for (; i + 4 <= kept; i += 4)
      for (std::size_t k = 0; k < 4; ++k)
        sums[k] += terms[i + k];
    for (; i < kept; ++i)
      sums[0] += terms[i];
  }
  return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

template <typename Visit>
void PoleDensity::ForEachNear(const stress::Vector3& u, const Visit& visit) const {
  if (everywhere_) {
    visit(std::size_t{0}, xs_.size());
    return;
  }
  const int x0 = Cube(u.x - reach_), x1 = Cube(u.x + reach_);
  const int y0 = Cube(u.y - reach_), y1 = Cube(u.y + reach_);
  const auto z0 = static_cast<std::uint32_t>(Cube(u.z - reach_));
  const auto z1 = static_cast<std::uint32_t>(Cube(u.z + reach_));
  for (int ix = x0; ix <= x1; ++ix) {
    for (int iy = y0; iy <= y1; ++iy) {
      const std::size_t column = static_cast<std::size_t>(ix) * n_ + iy;
      const auto first = cubes_.begin() + columns_[column];
      const auto last = cubes_.begin() + columns_[column + 1];
      const auto from = std::lower_bound(first, last, z0);
      const auto to = std::upper_bound(from, last, z1);
      if (from != to)
        visit(static_cast<std::size_t>(from - cubes_.begin()),
              static_cast<std::size_t>(to - cubes_.begin()));
    }
  }
}

double PoleDensity::Sum(const stress::Vector3& up) const {
  const bool kernel = method_ == DensityMethod::kExponentialKamb;
  // The same sum about the opposite direction: the entries kept are about
  // downward ones.
  const stress::Vector3 u = up.z > 0.0 ? stress::Vector3{-up.x, -up.y, -up.z} : up;
  double sum = 0.0;
  ForEachNear(u, [&](std::size_t begin, std::size_t end) {
    sum += kernel ? SumRange<true>(u, begin, end) : SumRange<false>(u, begin, end);
  });
  return sum;
}

PoleDensity::KernelTerms PoleDensity::KernelSum(const stress::Vector3& up) const {
  // About the opposite direction the sum and Hessian are the same and the
  // gradient turns over with it.
  const double side = up.z > 0.0 ? -1.0 : 1.0;
  const stress::Vector3 u{side * up.x, side * up.y, side * up.z};
  std::array<double, 10> t{};  // W, its gradient, its Hessian xx yy zz xy yz zx, over f and f^2
  const double c0 = everywhere_ ? -1.0 : capCosine_;
  ForEachNear(u, [&](std::size_t begin, std::size_t end) {
    for (std::size_t e = begin; e < end; ++e) {
      const double x = xs_[e], y = ys_[e], z = zs_[e];
      const double c = u.x * x + u.y * y + u.z * z;
      if (std::fabs(c) < c0)
        continue;
      const double k = ws_[e] * Kernel(f_ * (std::fabs(c) - 1.0));
      const double signedK = std::copysign(k, c);  // the axis taken on u's side
      t[0] += k;
      t[1] += signedK * x;
      t[2] += signedK * y;
      t[3] += signedK * z;
      t[4] += k * x * x;
      t[5] += k * y * y;
      t[6] += k * z * z;
      t[7] += k * x * y;
      t[8] += k * y * z;
      t[9] += k * z * x;
    }
  });
  const auto d = [&t](int i) { return t[i]; };
  const double f2 = f_ * f_;
  return {d(0),
          {side * f_ * d(1), side * f_ * d(2), side * f_ * d(3)},
          {f2 * d(4), f2 * d(5), f2 * d(6), f2 * d(7), f2 * d(8), f2 * d(9)}};
}

double PoleDensity::At(const stress::Vector3& u) const {
  const double sum = Sum(u);
  if (method_ == DensityMethod::kSchmidt)
    return 100.0 * sum / weightSum_;
  return (sum - expected_) / sigma_;
}

double PoleDensity::AtNetPoint(double x, double y) const {
  if (!(x * x + y * y <= 1.0))
    return kNone;
  return At(NetPointAxis(x, y));
}

void FillDensityRows(const PoleDensity& density, const NetRaster& raster, int firstRow, int lastRow,
                     float* out) {
  for (int j = firstRow; j < lastRow; ++j) {
    const double y = raster.Y(j);
    float* row = out + static_cast<std::ptrdiff_t>(j) * raster.width;
    for (int i = 0; i < raster.width; ++i)
      row[i] = static_cast<float>(density.AtNetPoint(raster.X(i), y));
  }
}

DensityPeak FindDensityMaximum(const PoleDensity& density) {
  const bool smooth = density.Method() == DensityMethod::kExponentialKamb;
  // The width of what one axis adds: the kernel's standard angle 1 / sqrt(f)
  // (the cut lies at sqrt(2 kKernelCut) of them), or the cap's radius.
  const double c0 = density.CapCosine();
  double width = std::acos(std::clamp(c0, 0.0, 1.0));
  if (smooth)
    width /= std::sqrt(2.0 * kKernelCut);
  // A net step h spans at most 2h of angle (the equal-area radius grows by at
  // least half the angle), so a step of a quarter width keeps points at most
  // half a width apart.
  const int size =
      std::clamp(static_cast<int>(std::ceil(8.0 / width)), kFewestPeakPoints, kMostPeakPoints);
  const NetRaster grid{size, size, -1.0, 1.0, 2.0 / size};

  struct Point {
    double value;
    double x;
    double y;
  };
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(size) * size);
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      const double value = density.AtNetPoint(grid.X(i), grid.Y(j));
      if (!std::isnan(value))
        points.push_back({value, grid.X(i), grid.Y(j)});
    }
  std::stable_sort(points.begin(), points.end(),
                   [](const Point& a, const Point& b) { return a.value > b.value; });

  // The best few points that stand apart, each climbed.
  std::vector<Point> starts;
  for (const Point& p : points) {
    if (starts.size() == kPeakStarts)
      break;
    const bool apart = std::all_of(starts.begin(), starts.end(), [&](const Point& s) {
      return std::hypot(p.x - s.x, p.y - s.y) > 3.0 * grid.step;
    });
    if (apart)
      starts.push_back(p);
  }
  DensityPeak peak;
  peak.value = -std::numeric_limits<double>::infinity();
  std::vector<stress::Vector3> peaks;
  for (const Point& start : starts) {
    stress::Vector3 u = NetPointAxis(start.x, start.y);
    double value = start.value;
    if (smooth) {
      // Newton's method on the sphere: in the plane across u (basis e1, e2)
      // the sum's gradient g and Hessian H (the ambient Hessian less
      // u . gradient), the step -H^-1 g where H is negative definite, else
      // along g; a step that does not raise the sum is halved.
      for (int round = 0; round < kMostShifts; ++round) {
        const PoleDensity::KernelTerms t = density.KernelSum(u);
        const stress::Vector3 e1 = Across(u);
        const stress::Vector3 e2 = Cross(u, e1);
        const auto& h = t.hessian;
        const auto quadratic = [&h](const stress::Vector3& a, const stress::Vector3& b) {
          return a.x * (h[0] * b.x + h[3] * b.y + h[5] * b.z) +
                 a.y * (h[3] * b.x + h[1] * b.y + h[4] * b.z) +
                 a.z * (h[5] * b.x + h[4] * b.y + h[2] * b.z);
        };
        const double radial = Dot(u, t.gradient);
        const double g1 = Dot(e1, t.gradient);
        const double g2 = Dot(e2, t.gradient);
        const double h11 = quadratic(e1, e1) - radial;
        const double h22 = quadratic(e2, e2) - radial;
        const double h12 = quadratic(e1, e2);
        const double det = h11 * h22 - h12 * h12;
        double d1 = 0.0, d2 = 0.0;
        if (h11 < 0.0 && det > 0.0) {
          d1 = -(h22 * g1 - h12 * g2) / det;
          d2 = -(h11 * g2 - h12 * g1) / det;
        } else if (t.value > 0.0) {
          // Along the gradient by about the kernel's width.
          const double g = std::hypot(g1, g2);
          d1 = g > 0.0 ? width * g1 / g : 0.0;
          d2 = g > 0.0 ? width * g2 / g : 0.0;
        }
        bool raised = false;
        for (int halving = 0; halving < 12 && std::hypot(d1, d2) > kPeakStep; ++halving) {
          const stress::Vector3 trial =
              Normalized({u.x + d1 * e1.x + d2 * e2.x, u.y + d1 * e1.y + d2 * e2.y,
                          u.z + d1 * e1.z + d2 * e2.z});
          const double v = density.At(trial);
          if (v > value) {
            u = trial;
            value = v;
            raised = true;
            break;
          }
          d1 *= 0.5;
          d2 *= 0.5;
        }
        if (!raised || std::hypot(d1, d2) < kPeakStep)
          break;
        // A climb that comes near a peak already climbed ends there.
        const bool known = std::any_of(peaks.begin(), peaks.end(), [&](const stress::Vector3& p) {
          return 1.0 - std::fabs(Dot(p, u)) < 0.03 * width * width;
        });
        if (known)
          break;
      }
      peaks.push_back(u);
    }
    // A compass search, for the counting methods' steps: the four points a
    // step away along two directions across u; the step halves where none is
    // higher.
    int rounds = 0;
    for (double step = 2.0 * grid.step; !smooth && step > kFlatPeakStep && rounds < kMostShifts;
         ++rounds) {
      const stress::Vector3 e1 = Across(u);
      const stress::Vector3 e2 = Cross(u, e1);
      stress::Vector3 best = u;
      double bestValue = value;
      for (int t = 0; t < 4; ++t) {
        const double a = t % 2 == 0 ? step : -step;
        const stress::Vector3& e = t < 2 ? e1 : e2;
        const stress::Vector3 trial = Normalized({u.x + a * e.x, u.y + a * e.y, u.z + a * e.z});
        const double v = density.At(trial);
        if (v > bestValue) {
          bestValue = v;
          best = trial;
        }
      }
      if (bestValue > value) {
        u = best;
        value = bestValue;
      } else {
        step *= 0.5;
      }
    }
    if (value > peak.value) {
      peak.value = value;
      peak.axis = LowerAxis(u);
    }
  }
  peak.line = LineOf(peak.axis);
  return peak;
}

}  // namespace analysis
