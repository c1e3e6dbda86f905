#include "analysis/orientation_statistics.h"
#include "numeric/counter_random.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "stress/principal_axes.h"
#include "stress/principal_values.h"

namespace analysis {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadian = kPi / 180.0;
constexpr int kMostRounds = 100;

double Dot(const stress::Vector3& a, const stress::Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

/// `degrees` taken into [0, 360).
double Azimuth360(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0.0)
    a += 360.0;
  // A tiny negative angle rounds to 360 when 360 is added.
  return a >= 360.0 ? 0.0 : a + 0.0;
}

void CheckAxes(std::span<const WeightedAxis> axes) {
  if (axes.size() < 2)
    throw std::invalid_argument("At least 2 axes are needed.");
  for (const WeightedAxis& a : axes)
    if (!(a.weight > 0.0) || !std::isfinite(a.weight))
      throw std::invalid_argument("Every weight must be finite and above 0.");
}

/// Sums of w x x^T: xx, yy, zz, xy, yz, zx; in long double for the
/// statistics, in double for the rounds of k-means, whose centres need no
/// more and which run them many times.
template <typename Real>
using TensorSums = std::array<Real, 6>;

template <typename Real>
void AddOuter(TensorSums<Real>& t, const stress::Vector3& v, double w) {
  const Real x = v.x;
  const Real y = v.y;
  const Real z = v.z;
  t[0] += w * x * x;
  t[1] += w * y * y;
  t[2] += w * z * z;
  t[3] += w * x * y;
  t[4] += w * y * z;
  t[5] += w * z * x;
}

/// The tensor of sums divided by `total`, as a symmetric state for the
/// principal-value solver (every entry at most 1 in magnitude).
template <typename Real>
stress::StressState TensorOf(const TensorSums<Real>& t, Real total) {
  return {static_cast<double>(t[0] / total), static_cast<double>(t[1] / total),
          static_cast<double>(t[2] / total), static_cast<double>(t[3] / total),
          static_cast<double>(t[4] / total), static_cast<double>(t[5] / total)};
}

/// Draw `counter` of the stream of `seed`: uniform in (0, 1).
double Uniform(std::uint64_t seed, std::uint64_t counter) {
  return numeric::OpenUnit(numeric::Mix(seed ^ numeric::Mix(counter)));
}

/// The index i whose share of the running sum of `odds` holds u * total.
std::size_t DrawIndex(const std::vector<double>& odds, double total, double u) {
  const double target = u * total;
  double sum = 0.0;
  std::size_t last = 0;
  for (std::size_t i = 0; i < odds.size(); ++i) {
    if (odds[i] <= 0.0)
      continue;
    sum += odds[i];
    last = i;
    if (sum > target)
      return i;
  }
  return last;  // rounding left the target at the very end
}

}  // namespace

stress::Vector3 PoleOfPlane(double dipDirection, double dip) {
  const double b = dipDirection * kRadian;
  const double p = dip * kRadian;
  return LowerAxis({-std::sin(p) * std::sin(b), -std::sin(p) * std::cos(b), -std::cos(p)});
}

stress::Vector3 AxisOfLine(double trend, double plunge) {
  const double t = trend * kRadian;
  const double p = plunge * kRadian;
  return LowerAxis({std::cos(p) * std::sin(t), std::cos(p) * std::cos(t), -std::sin(p)});
}

stress::Vector3 LowerAxis(const stress::Vector3& axis) {
  bool flip = axis.z > 0.0;
  if (axis.z == 0.0)
    flip = axis.x < 0.0 || (axis.x == 0.0 && axis.y < 0.0);
  if (flip)
    return {-axis.x, -axis.y, -axis.z};
  return {axis.x, axis.y, axis.z + 0.0};
}

LineAngles LineOf(const stress::Vector3& axis) {
  const stress::Vector3 a = LowerAxis(axis);
  const double horizontal = std::hypot(a.x, a.y);
  const double trend = horizontal > 0.0 ? Azimuth360(std::atan2(a.x, a.y) / kRadian) : 0.0;
  // + 0.0: a horizontal axis plunges 0, not -0.
  return {trend, std::atan2(-a.z, horizontal) / kRadian + 0.0};
}

PlaneOrientation PlaneNormalTo(const stress::Vector3& axis) {
  const LineAngles pole = LineOf(axis);
  return {Azimuth360(pole.trend + 180.0), 90.0 - pole.plunge};
}

double TerzaghiWeight(const stress::Vector3& pole, const stress::Vector3& line, double cap) {
  if (!(cap >= 1.0))
    throw std::invalid_argument("The largest weight must be 1 or more.");
  const double c = std::fabs(Dot(pole, line));
  return c * cap > 1.0 ? 1.0 / c : cap;
}

std::vector<WeightedAxis> MakeAxes(std::span<const AnglePair> pairs, Reading reading,
                                   const std::optional<SamplingLine>& line) {
  std::optional<stress::Vector3> along;
  if (line)
    along = AxisOfLine(line->trend, line->plunge);
  std::vector<WeightedAxis> axes;
  axes.reserve(pairs.size());
  for (const AnglePair& p : pairs) {
    if (!std::isfinite(p.azimuth) || !std::isfinite(p.dip))
      throw std::invalid_argument("Every angle must be a finite number.");
    stress::Vector3 axis;
    switch (reading) {
      case Reading::kDipDirectionDip:
        axis = PoleOfPlane(p.azimuth, p.dip);
        break;
      case Reading::kStrikeDip:
        axis = PoleOfPlane(p.azimuth + 90.0, p.dip);
        break;
      case Reading::kTrendPlunge:
        axis = AxisOfLine(p.azimuth, p.dip);
        break;
    }
    axes.push_back({axis, along ? TerzaghiWeight(axis, *along, line->cap) : 1.0});
  }
  return axes;
}

EigenAnalysis ComputeEigenAnalysis(std::span<const WeightedAxis> axes) {
  CheckAxes(axes);
  TensorSums<long double> sums{};
  long double total = 0.0L;
  for (const WeightedAxis& a : axes) {
    AddOuter(sums, a.axis, a.weight);
    total += a.weight;
  }
  const stress::StressState t = TensorOf(sums, total);
  const stress::PrincipalValues values = stress::ComputePrincipalValues(t);
  const stress::PrincipalAxes principal = stress::ComputePrincipalAxes(t, values);

  EigenAnalysis e;
  for (int i = 0; i < 3; ++i) {
    e.values[i] = std::max(0.0, values[i]);
    e.axes[i] = LowerAxis(principal[i]);
    e.lines[i] = LineOf(e.axes[i]);
  }
  const double s1 = e.values[0];
  const double s2 = e.values[1];
  const double s3 = e.values[2];
  if (s3 > kZeroEigenvalue) {
    e.woodcockC = std::log(s1 / s3);
    if (s2 - s3 > kZeroEigenvalue)
      e.woodcockK = std::log(s1 / s2) / std::log(s2 / s3);
  }
  e.girdle = PlaneNormalTo(e.axes[2]);
  return e;
}

FisherStatistics ComputeFisherStatistics(std::span<const WeightedAxis> axes, double confidence) {
  return ComputeFisherStatistics(axes, ComputeEigenAnalysis(axes).axes[0], confidence);
}

FisherStatistics ComputeFisherStatistics(std::span<const WeightedAxis> axes,
                                         const stress::Vector3& reference, double confidence) {
  CheckAxes(axes);
  if (!(confidence > 0.0 && confidence < 1.0))
    throw std::invalid_argument("The confidence must lie between 0 and 1.");
  long double sx = 0.0L, sy = 0.0L, sz = 0.0L, total = 0.0L;
  for (const WeightedAxis& a : axes) {
    const long double w = Dot(a.axis, reference) < 0.0 ? -a.weight : a.weight;
    sx += w * a.axis.x;
    sy += w * a.axis.y;
    sz += w * a.axis.z;
    total += a.weight;
  }
  const long double r = std::sqrt(sx * sx + sy * sy + sz * sz);
  if (!(r > 0.0L))
    throw std::invalid_argument("The axes cancel out: they have no mean direction.");
  FisherStatistics f;
  f.count = axes.size();
  f.weightSum = static_cast<double>(total);
  f.mean = LowerAxis(
      {static_cast<double>(sx / r), static_cast<double>(sy / r), static_cast<double>(sz / r)});
  f.meanLine = LineOf(f.mean);
  f.meanPlane = PlaneNormalTo(f.mean);
  f.resultantLength = static_cast<double>(r);
  f.meanResultantLength = static_cast<double>(r / total);
  const long double spread = total - r;  // N - R
  if (!(total > 1.0L)) {
    f.kappa = std::numeric_limits<double>::quiet_NaN();
    return f;
  }
  f.kappa = spread > 0.0L ? static_cast<double>((total - 1.0L) / spread)
                          : std::numeric_limits<double>::infinity();
  // 1 - cos alpha = t, and alpha = 2 asin(sqrt(t / 2)) keeps its digits for
  // the small cones of tight clusters, where acos(1 - t) would lose them.
  const long double t =
      std::max(0.0L, spread) / r *
      std::expm1(-std::log(static_cast<long double>(1.0 - confidence)) / (total - 1.0L));
  if (t <= 2.0L)
    f.alpha = static_cast<double>(2.0L * std::asin(std::sqrt(t / 2.0L)) / kRadian);
  return f;
}

AxisSets ClusterAxes(std::span<const WeightedAxis> axes, int k, std::uint64_t seed) {
  if (k < 1 || static_cast<std::size_t>(k) > axes.size())
    throw std::invalid_argument("The number of sets must be from 1 to the number of axes.");
  for (const WeightedAxis& a : axes)
    if (!(a.weight > 0.0) || !std::isfinite(a.weight))
      throw std::invalid_argument("Every weight must be finite and above 0.");
  const std::size_t n = axes.size();
  const auto sets = static_cast<std::size_t>(k);
  const auto distance = [](const stress::Vector3& a, const stress::Vector3& c) {
    const double d = Dot(a, c);
    return std::max(0.0, 1.0 - d * d);
  };

  // k-means++: the first centre drawn with odds w, each next with odds w d.
  std::vector<stress::Vector3> centres;
  std::vector<double> odds(n);
  std::vector<double> nearest(n, 1.0);
  double weightTotal = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    odds[i] = axes[i].weight;
    weightTotal += odds[i];
  }
  centres.push_back(axes[DrawIndex(odds, weightTotal, Uniform(seed, 0))].axis);
  for (std::size_t j = 1; j < sets; ++j) {
    double total = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      nearest[i] = std::min(nearest[i], distance(axes[i].axis, centres.back()));
      odds[i] = axes[i].weight * nearest[i];
      total += odds[i];
    }
    if (!(total > 0.0)) {  // every axis lies on a centre: fewer distinct axes than sets
      for (std::size_t i = 0; i < n; ++i)
        odds[i] = axes[i].weight;
      total = weightTotal;
    }
    centres.push_back(axes[DrawIndex(odds, total, Uniform(seed, j))].axis);
  }

  AxisSets result;
  result.labels.assign(n, -1);
  std::vector<TensorSums<double>> sums(sets);
  std::vector<double> weights(sets);
  std::vector<std::size_t> firsts(sets);
  for (result.rounds = 1; result.rounds <= kMostRounds; ++result.rounds) {
    bool changed = false;
    std::fill(sums.begin(), sums.end(), TensorSums<double>{});
    std::fill(weights.begin(), weights.end(), 0.0);
    std::fill(firsts.begin(), firsts.end(), n);
    for (std::size_t i = 0; i < n; ++i) {
      int best = 0;
      double bestCos = -1.0;
      for (std::size_t j = 0; j < sets; ++j) {
        const double c = std::fabs(Dot(axes[i].axis, centres[j]));
        if (c > bestCos) {
          bestCos = c;
          best = static_cast<int>(j);
        }
      }
      changed = changed || result.labels[i] != best;
      result.labels[i] = best;
      AddOuter(sums[best], axes[i].axis, axes[i].weight);
      weights[best] += axes[i].weight;
      firsts[best] = std::min(firsts[best], i);
    }
    if (!changed)
      break;
    std::vector<bool> taken(n, false);
    for (std::size_t j = 0; j < sets; ++j) {
      if (weights[j] > 0.0) {
        const stress::StressState t = TensorOf(sums[j], weights[j]);
        centres[j] = stress::PrincipalAxis(t, stress::ComputePrincipalValues(t), 0);
        continue;
      }
      // An empty set restarts at the axis farthest from its own centre.
      std::size_t farthest = n;
      double far = -1.0;
      for (std::size_t i = 0; i < n; ++i) {
        const double d = distance(axes[i].axis, centres[result.labels[i]]);
        if (!taken[i] && d > far) {
          far = d;
          farthest = i;
        }
      }
      if (farthest < n) {
        taken[farthest] = true;
        centres[j] = axes[farthest].axis;
      }
    }
  }
  result.rounds = std::min(result.rounds, kMostRounds);

  // Sets by decreasing weight, then by their first axis; empty sets last.
  std::vector<int> order(sets);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (weights[a] != weights[b])
      return weights[a] > weights[b];
    return firsts[a] < firsts[b];
  });
  std::vector<int> renamed(sets);
  result.centres.resize(sets);
  for (std::size_t j = 0; j < sets; ++j) {
    renamed[order[j]] = static_cast<int>(j);
    result.centres[j] = LowerAxis(centres[order[j]]);
  }
  for (int& label : result.labels)
    label = renamed[label];
  return result;
}

int RoseDiagram::LargestCount() const {
  return counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
}

double RoseDiagram::Radius(std::size_t bin) const {
  const int largest = LargestCount();
  if (largest == 0)
    return 0.0;
  const double share = static_cast<double>(counts[bin]) / largest;
  return areaTrue ? std::sqrt(share) : share;
}

RoseDiagram BinRose(std::span<const AnglePair> pairs, Reading reading, RoseOf what, double binWidth,
                    bool areaTrue) {
  const double bins = 360.0 / binWidth;
  const double whole = std::round(bins);
  if (!(binWidth > 0.0 && binWidth <= 360.0) || std::fabs(bins - whole) > 1e-9)
    throw std::invalid_argument("The bin width must divide 360 degrees.");
  RoseDiagram rose;
  rose.binWidth = binWidth;
  rose.areaTrue = areaTrue;
  rose.counts.assign(static_cast<std::size_t>(whole), 0);
  const auto count = [&](double azimuth) {
    const double a = Azimuth360(azimuth);
    const auto bin = std::min(rose.counts.size() - 1, static_cast<std::size_t>(a / binWidth));
    ++rose.counts[bin];
  };
  for (const AnglePair& p : pairs) {
    if (!std::isfinite(p.azimuth))
      throw std::invalid_argument("Every angle must be a finite number.");
    // The azimuth a plane is counted at: its strike, else its dip direction;
    // a line's trend either way.
    double azimuth = p.azimuth;
    if (what == RoseOf::kStrikes && reading == Reading::kDipDirectionDip)
      azimuth -= 90.0;
    else if (what == RoseOf::kDipDirections && reading == Reading::kStrikeDip)
      azimuth += 90.0;
    count(azimuth);
    if (what == RoseOf::kStrikes)
      count(azimuth + 180.0);
  }
  return rose;
}

}  // namespace analysis
