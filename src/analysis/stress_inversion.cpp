#include "analysis/stress_inversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "numeric/counter_random.h"
#include "numeric/extended_math.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"

namespace analysis {
namespace {

// The normal equations and the fits run in double: the data's angles carry a
// degree or so of error, far above double rounding, and a bootstrap repeats
// them hundreds of thousands of times.

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// An eigenvalue of the normal equations below this share of the largest
/// leaves its direction undetermined: planes of one orientation give an
/// exact zero (rounding leaves about 1e-16), and planes spread by 0.001
/// degrees only still reach about 1e-10.
constexpr double kRankTolerance = 1e-10;

using Vec = std::array<double, 3>;

double Dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec ToVec(const stress::Vector3& v) {
  return {v.x, v.y, v.z};
}

/// One plane's share of the normal equations AtA x = Atb, A the 3 x 5 map
/// from the unknowns x = (sx, txy, tzx, sy, tyz) (sz = -sx - sy) to the shear
/// traction S n - (n.S.n) n, b = -u.
struct PlaneEquations {
  Vec normal;
  Vec slip;
  /// AtA's upper triangle row by row (15), then Atb (5): one run that a
  /// weighted sum adds at once.
  std::array<double, 20> terms;
};

PlaneEquations EquationsOf(const FaultSlip& plane) {
  PlaneEquations e;
  e.normal = ToVec(NormalOf(plane));
  e.slip = ToVec(plane.slip);
  const Vec& n = e.normal;
  // E_k n for the five unit tensors of the unknowns.
  std::array<Vec, 5> a = {Vec{n[0], 0.0, -n[2]}, Vec{n[1], n[0], 0.0}, Vec{n[2], 0.0, n[0]},
                          Vec{0.0, n[1], -n[2]}, Vec{0.0, n[2], n[1]}};
  for (Vec& column : a) {
    const double along = Dot(n, column);
    for (int k = 0; k < 3; ++k)
      column[k] -= along * n[k];
  }
  int index = 0;
  for (int i = 0; i < 5; ++i) {
    for (int j = i; j < 5; ++j)
      e.terms[index++] = Dot(a[i], a[j]);
    e.terms[15 + i] = -Dot(a[i], e.slip);
  }
  return e;
}

/// The usable data with their nodal planes.
struct Prepared {
  FaultData kind = FaultData::kFaults;
  std::vector<std::size_t> source;     ///< the data's index of each usable datum
  std::vector<FaultSlip> planes;       ///< per usable datum: plane 1 [, plane 2]
  std::vector<PlaneEquations> system;  ///< as `planes`
  std::vector<std::string> problems;   ///< per datum; empty for usable ones
  /// The planes' normals by component, for loops the compiler vectorizes.
  std::array<std::vector<double>, 3> normals;

  int PerDatum() const { return kind == FaultData::kMechanisms ? 2 : 1; }
  std::size_t Used() const { return source.size(); }
};

Prepared Prepare(const std::vector<FaultSlip>& data, FaultData kind) {
  Prepared p;
  p.kind = kind;
  p.problems.resize(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    p.problems[i] = FaultSlipProblem(data[i]);
    if (!p.problems[i].empty())
      continue;
    p.source.push_back(i);
    p.planes.push_back(data[i]);
    if (kind == FaultData::kMechanisms)
      p.planes.push_back(AuxiliaryPlane(data[i]));
  }
  p.system.reserve(p.planes.size());
  for (const FaultSlip& plane : p.planes) {
    p.system.push_back(EquationsOf(plane));
    for (int k = 0; k < 3; ++k)
      p.normals[k].push_back(p.system.back().normal[k]);
  }
  return p;
}

/// The solution of the symmetric positive semi-definite system M x = r by
/// Jacobi's eigenvalue method, or the rank of M when it is below 5.
struct NormalSolution {
  std::array<double, 5> x{};
  int rank = 5;
};

NormalSolution SolveNormalEquations(const std::array<double, 15>& m,
                                    const std::array<double, 5>& r) {
  double a[5][5];
  double v[5][5] = {};
  int index = 0;
  for (int i = 0; i < 5; ++i) {
    v[i][i] = 1.0;
    for (int j = i; j < 5; ++j)
      a[i][j] = a[j][i] = m[index++];
  }
  for (int sweep = 0; sweep < 50; ++sweep) {
    double off = 0.0;
    double diagonal = 0.0;
    for (int i = 0; i < 5; ++i) {
      diagonal += a[i][i] * a[i][i];
      for (int j = i + 1; j < 5; ++j)
        off += a[i][j] * a[i][j];
    }
    if (!(off > 1e-34 * diagonal))
      break;
    for (int p = 0; p < 4; ++p) {
      for (int q = p + 1; q < 5; ++q) {
        if (a[p][q] == 0.0)
          continue;
        // The rotation that zeroes a[p][q], of angle at most 45 degrees.
        const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
        const double t =
            (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double s = t * c;
        for (int k = 0; k < 5; ++k) {
          const double kp = a[k][p];
          const double kq = a[k][q];
          a[k][p] = c * kp - s * kq;
          a[k][q] = s * kp + c * kq;
        }
        for (int k = 0; k < 5; ++k) {
          const double pk = a[p][k];
          const double qk = a[q][k];
          a[p][k] = c * pk - s * qk;
          a[q][k] = s * pk + c * qk;
          const double vp = v[k][p];
          const double vq = v[k][q];
          v[k][p] = c * vp - s * vq;
          v[k][q] = s * vp + c * vq;
        }
        a[p][q] = a[q][p] = 0.0;
      }
    }
  }
  double largest = 0.0;
  for (int i = 0; i < 5; ++i)
    largest = std::max(largest, a[i][i]);
  NormalSolution solution;
  solution.rank = 0;
  for (int i = 0; i < 5; ++i)
    solution.rank += a[i][i] > kRankTolerance * largest ? 1 : 0;
  if (solution.rank < 5)
    return solution;
  for (int i = 0; i < 5; ++i) {
    double projection = 0.0;
    for (int k = 0; k < 5; ++k)
      projection += v[k][i] * r[k];
    projection /= a[i][i];
    for (int k = 0; k < 5; ++k)
      solution.x[k] += projection * v[k][i];
  }
  return solution;
}

/// A stress as the inversion uses it.
struct Fit {
  stress::StressState reduced;  ///< s1 = 1, s3 = -1
  double stressRatio = 0.0;
  stress::PrincipalAxes axes{};
};

/// The fit of `s`; empty when it has no deviatoric part.
std::optional<Fit> FitOfTensor(const stress::StressState& s) {
  const stress::PrincipalValues values = stress::ComputePrincipalValues(s);
  const double spread = values.s1 - values.s3;
  const double size = std::max({std::fabs(s.sx), std::fabs(s.sy), std::fabs(s.sz), std::fabs(s.txy),
                                std::fabs(s.tyz), std::fabs(s.tzx)});
  if (!(spread > 1e-12 * size) || !std::isfinite(spread))
    return std::nullopt;
  Fit fit;
  fit.axes = stress::ComputePrincipalAxes(s, values);
  fit.stressRatio = std::clamp((values.s2 - values.s3) / spread, 0.0, 1.0);
  const double mean = (values.s1 + values.s3) / 2.0;
  const double scale = 2.0 / spread;
  fit.reduced = {(s.sx - mean) * scale, (s.sy - mean) * scale, (s.sz - mean) * scale,
                 s.txy * scale,         s.tyz * scale,         s.tzx * scale};
  return fit;
}

/// The normal, the shear traction's magnitude and its direction's opposite
/// (the predicted slip) on a plane.
struct PlaneStress {
  double sigma = 0.0;
  double tau = 0.0;
  Vec slip{};
};

PlaneStress StressOnPlane(const stress::StressState& t, const Vec& n) {
  const Vec traction{t.sx * n[0] + t.txy * n[1] + t.tzx * n[2],
                     t.txy * n[0] + t.sy * n[1] + t.tyz * n[2],
                     t.tzx * n[0] + t.tyz * n[1] + t.sz * n[2]};
  PlaneStress p;
  p.sigma = Dot(traction, n);
  for (int k = 0; k < 3; ++k)
    p.slip[k] = p.sigma * n[k] - traction[k];
  p.tau = std::sqrt(Dot(p.slip, p.slip));
  return p;
}

double Instability(const PlaneStress& p, double mu) {
  return (p.tau - mu * (p.sigma - 1.0)) / (mu + std::sqrt(1.0 + mu * mu));
}

/// The angle between the observed and the predicted slip, degrees.
double Misfit(const PlaneStress& p, const Vec& observed) {
  if (!(p.tau > 1e-12))
    return kNaN;
  const Vec& q = p.slip;
  const Vec& u = observed;
  const Vec cross{q[1] * u[2] - q[2] * u[1], q[2] * u[0] - q[0] * u[2], q[0] * u[1] - q[1] * u[0]};
  return static_cast<double>(
      numeric::RadiansToDegrees(std::atan2(std::sqrt(Dot(cross, cross)), Dot(q, u))));
}

/// The instability of every plane under the reduced tensor `t`, into `out`:
/// StressOnPlane and Instability in one pass, to the same bits.
void Instabilities(const Prepared& p, const stress::StressState& t, double mu,
                   std::vector<double>& out) {
  const std::size_t count = p.normals[0].size();
  out.resize(count);
  const double* nx = p.normals[0].data();
  const double* ny = p.normals[1].data();
  const double* nz = p.normals[2].data();
  const double denominator = mu + std::sqrt(1.0 + mu * mu);
  for (std::size_t k = 0; k < count; ++k) {
    const double tx = t.sx * nx[k] + t.txy * ny[k] + t.tzx * nz[k];
    const double ty = t.txy * nx[k] + t.sy * ny[k] + t.tyz * nz[k];
    const double tz = t.tzx * nx[k] + t.tyz * ny[k] + t.sz * nz[k];
    const double sigma = tx * nx[k] + ty * ny[k] + tz * nz[k];
    const double sx = sigma * nx[k] - tx;
    const double sy = sigma * ny[k] - ty;
    const double sz = sigma * nz[k] - tz;
    const double tau = std::sqrt(sx * sx + sy * sy + sz * sz);
    out[k] = (tau - mu * (sigma - 1.0)) / denominator;
  }
}

/// Per usable datum, the nodal plane (0 or 1) of larger instability under
/// `fit` (for faults the one plane), and the mean instability over the data
/// weighted by `counts`. `scratch` holds the planes' instabilities.
double Choose(const Prepared& p, const Fit& fit, double mu, std::span<const int> counts,
              std::vector<int>& choice, std::vector<double>& scratch) {
  Instabilities(p, fit.reduced, mu, scratch);
  choice.assign(p.Used(), 0);
  double sum = 0.0;
  int total = 0;
  const bool mechanisms = p.kind == FaultData::kMechanisms;
  for (std::size_t i = 0; i < p.Used(); ++i) {
    double best = scratch[mechanisms ? 2 * i : i];
    if (mechanisms && scratch[2 * i + 1] > best) {
      best = scratch[2 * i + 1];
      choice[i] = 1;
    }
    sum += counts[i] * best;
    total += counts[i];
  }
  return sum / total;
}

/// The linear step over the planes with weight > 0; empty, with `problem`
/// set, when they determine no stress.
std::optional<Fit> SolveLinear(const Prepared& p, std::span<const int> planeWeights,
                               std::string& problem) {
  std::array<double, 20> sum{};
  for (std::size_t k = 0; k < p.system.size(); ++k) {
    if (planeWeights[k] == 0)
      continue;
    const double w = planeWeights[k];
    const std::array<double, 20>& terms = p.system[k].terms;
    for (int i = 0; i < 20; ++i)
      sum[i] += w * terms[i];
  }
  std::array<double, 15> m;
  std::array<double, 5> r;
  std::copy(sum.begin(), sum.begin() + 15, m.begin());
  std::copy(sum.begin() + 15, sum.end(), r.begin());
  const NormalSolution solution = SolveNormalEquations(m, r);
  if (solution.rank < 5) {
    problem = "the planes determine no stress: their equations have rank " +
              std::to_string(solution.rank) +
              " of 5 (too few distinct orientations, as when all planes are parallel)";
    return std::nullopt;
  }
  const std::array<double, 5>& x = solution.x;
  std::optional<Fit> fit = FitOfTensor({x[0], x[3], -x[0] - x[3], x[1], x[4], x[2]});
  if (!fit)
    problem = "the slips fit no deviatoric stress";
  return fit;
}

/// A key of the set of mechanisms whose plane 2 is chosen.
std::uint64_t ChoiceKey(const std::vector<int>& choice) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < choice.size(); ++i)
    if (choice[i] == 1)
      key ^= numeric::Mix(i);
  return key;
}

struct Solution {
  Fit fit;
  double friction = 0.0;
  std::vector<int> choice;
  double instabilityMean = 0.0;
  int iterations = 0;
  bool converged = true;
};

struct Solved {
  std::optional<Solution> solution;
  std::string problem;
};

/// The inversion of the usable data, datum i taken counts[i] times.
Solved Solve(const Prepared& p, std::span<const int> counts, const InversionSettings& settings) {
  Solved solved;
  const auto distinct = static_cast<std::size_t>(
      std::count_if(counts.begin(), counts.end(), [](int c) { return c > 0; }));
  if (distinct < kFewestFaults) {
    const char* what = p.kind == FaultData::kMechanisms ? "mechanisms" : "faults";
    solved.problem = std::to_string(distinct) + " usable " + what +
                     ": an inversion needs at least " + std::to_string(kFewestFaults) +
                     " (three angles and the stress ratio)";
    return solved;
  }
  if (settings.friction && !(*settings.friction > 0.0 && std::isfinite(*settings.friction))) {
    solved.problem = "the friction must be a positive number";
    return solved;
  }
  const int perDatum = p.PerDatum();
  std::vector<int> weights(p.system.size());
  for (std::size_t i = 0; i < p.Used(); ++i)
    for (int k = 0; k < perDatum; ++k)
      weights[i * perDatum + k] = counts[i];
  const std::optional<Fit> start = SolveLinear(p, weights, solved.problem);
  if (!start)
    return solved;

  std::vector<double> frictions;
  if (settings.friction) {
    frictions.push_back(*settings.friction);
  } else {
    for (int k = 0; k < kAutoFrictionCount; ++k)
      frictions.push_back(kLeastAutoFriction + kFrictionStep * k);
  }
  const bool iterate =
      settings.method == InversionMethod::kIterative && p.kind == FaultData::kMechanisms;
  std::vector<int> next;
  std::vector<double> scratch;
  for (const double mu : frictions) {
    Solution s;
    s.fit = *start;
    s.friction = mu;
    s.instabilityMean = Choose(p, s.fit, mu, counts, s.choice, scratch);
    if (iterate) {
      s.converged = false;
      // The choices inverted so far: a choice met again is a cycle (a few
      // mechanisms near a tie that turn each other over), which no further
      // step leaves; the state of largest mean instability met is then kept.
      std::vector<std::uint64_t> seen;
      std::optional<Solution> best;
      bool failed = false;
      while (s.iterations < settings.maxIterations) {
        const std::uint64_t key = ChoiceKey(s.choice);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
          break;
        seen.push_back(key);
        for (std::size_t i = 0; i < p.Used(); ++i) {
          weights[2 * i] = s.choice[i] == 0 ? counts[i] : 0;
          weights[2 * i + 1] = s.choice[i] == 1 ? counts[i] : 0;
        }
        std::optional<Fit> fit = SolveLinear(p, weights, solved.problem);
        if (!fit) {
          failed = true;
          break;
        }
        ++s.iterations;
        s.fit = *fit;
        s.instabilityMean = Choose(p, s.fit, mu, counts, next, scratch);
        if (next == s.choice) {
          s.converged = true;
          break;
        }
        s.choice.swap(next);
        if (!best || s.instabilityMean > best->instabilityMean)
          best = s;
      }
      if (failed)
        continue;
      if (!s.converged && best) {
        best->iterations = s.iterations;
        best->converged = false;
        s = std::move(*best);
      }
    }
    if (!solved.solution || s.instabilityMean > solved.solution->instabilityMean)
      solved.solution = std::move(s);
  }
  if (solved.solution)
    solved.problem.clear();
  return solved;
}

double Median(std::vector<double> values) {
  if (values.empty())
    return kNaN;
  const std::size_t half = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + half, values.end());
  const double upper = values[half];
  if (values.size() % 2 == 1)
    return upper;
  return (*std::max_element(values.begin(), values.begin() + half) + upper) / 2.0;
}

/// The fit of every datum under `fit`, the nodal planes as `choice` says.
std::vector<FaultFit> FitsOf(const Prepared& p, std::size_t dataCount, const Fit& fit, double mu,
                             const std::vector<int>& choice) {
  std::vector<FaultFit> fits(dataCount);
  for (std::size_t i = 0; i < dataCount; ++i) {
    fits[i].problem = p.problems[i];
    fits[i].dipDirection = fits[i].dip = fits[i].rake = kNaN;
    fits[i].misfit = fits[i].instability = kNaN;
  }
  for (std::size_t i = 0; i < p.Used(); ++i) {
    const std::size_t k = i * static_cast<std::size_t>(p.PerDatum()) + choice[i];
    const FaultSlip& plane = p.planes[k];
    const PlaneStress stress = StressOnPlane(fit.reduced, p.system[k].normal);
    FaultFit& f = fits[p.source[i]];
    f.plane = choice[i] + 1;
    f.dipDirection = plane.dipDirection;
    f.dip = plane.dip;
    f.rake = RakeOf(plane);
    f.misfit = Misfit(stress, p.system[k].slip);
    f.instability = Instability(stress, mu);
  }
  return fits;
}

std::array<AxisDirection, 3> DirectionsOf(const stress::PrincipalAxes& axes) {
  return {AxisDirectionOf(axes[0]), AxisDirectionOf(axes[1]), AxisDirectionOf(axes[2])};
}

/// The resampling counts of replicate `index`: as many draws as data.
std::vector<int> ResampledCounts(std::size_t used, std::uint64_t seed, std::uint64_t index) {
  using numeric::Mix;
  std::vector<int> counts(used, 0);
  const std::uint64_t stream = Mix(index);
  for (std::size_t k = 0; k < used; ++k) {
    const double u = numeric::OpenUnit(Mix(seed ^ Mix(stream ^ k)));
    ++counts[std::min(used - 1, static_cast<std::size_t>(u * static_cast<double>(used)))];
  }
  return counts;
}

BootstrapReplicate Replicate(const Prepared& p, const InversionSettings& settings,
                             std::uint64_t seed, std::uint64_t index) {
  BootstrapReplicate replicate;
  const std::vector<int> counts = ResampledCounts(p.Used(), seed, index);
  const Solved solved = Solve(p, counts, settings);
  if (!solved.solution)
    return replicate;
  replicate.solved = true;
  replicate.stressRatio = solved.solution->fit.stressRatio;
  replicate.friction = solved.solution->friction;
  for (int k = 0; k < 3; ++k)
    replicate.axes[k] = AxisDirectionOf(solved.solution->fit.axes[k]).vector;
  return replicate;
}

/// The quantile `q` of sorted `values`, interpolated linearly between order
/// statistics.
double Quantile(const std::vector<double>& values, double q) {
  if (values.empty())
    return kNaN;
  const double h = (static_cast<double>(values.size()) - 1.0) * q;
  const auto low = static_cast<std::size_t>(std::floor(h));
  if (low + 1 >= values.size())
    return values.back();
  return values[low] + (h - static_cast<double>(low)) * (values[low + 1] - values[low]);
}

}  // namespace

InversionOutcome InvertStress(const std::vector<FaultSlip>& data,
                              const InversionSettings& settings) {
  const Prepared p = Prepare(data, settings.data);
  const std::vector<int> counts(p.Used(), 1);
  Solved solved = Solve(p, counts, settings);
  if (!solved.solution)
    return {std::nullopt, std::move(solved.problem)};
  const Solution& s = *solved.solution;

  StressInversion result;
  result.reduced = s.fit.reduced;
  result.axes = DirectionsOf(s.fit.axes);
  result.stressRatio = s.fit.stressRatio;
  result.friction = s.friction;
  result.faults = FitsOf(p, data.size(), s.fit, s.friction, s.choice);
  result.used = p.Used();
  result.iterations = s.iterations;
  result.converged = s.converged;
  std::vector<double> misfits;
  double instabilities = 0.0;
  for (const FaultFit& f : result.faults) {
    if (f.plane == 0)
      continue;
    instabilities += f.instability;
    if (!std::isnan(f.misfit))
      misfits.push_back(f.misfit);
  }
  double misfitSum = 0.0;
  for (const double m : misfits)
    misfitSum += m;
  result.misfitMean = misfits.empty() ? kNaN : misfitSum / static_cast<double>(misfits.size());
  result.misfitMedian = Median(misfits);
  result.instabilityMean = instabilities / static_cast<double>(result.used);
  return {std::move(result), {}};
}

std::optional<std::vector<FaultFit>> FitFaults(const std::vector<FaultSlip>& data, FaultData kind,
                                               const stress::StressState& stress, double friction) {
  const std::optional<Fit> fit = FitOfTensor(stress);
  if (!fit)
    return std::nullopt;
  const Prepared p = Prepare(data, kind);
  const std::vector<int> counts(p.Used(), 1);
  std::vector<int> choice;
  std::vector<double> scratch;
  if (p.Used() > 0)
    Choose(p, *fit, friction, counts, choice, scratch);
  return FitsOf(p, data.size(), *fit, friction, choice);
}

BootstrapReplicate ComputeBootstrapReplicate(const std::vector<FaultSlip>& data,
                                             const InversionSettings& settings, std::uint64_t seed,
                                             std::uint64_t index) {
  return Replicate(Prepare(data, settings.data), settings, seed, index);
}

std::size_t RunBootstrap(const std::vector<FaultSlip>& data, const InversionSettings& settings,
                         std::uint64_t seed, std::uint64_t first, std::uint64_t last,
                         BootstrapReplicate* out, const std::atomic<bool>* cancel,
                         std::atomic<std::size_t>* done) {
  const Prepared p = Prepare(data, settings.data);
  std::size_t written = 0;
  for (std::uint64_t index = first; index < last; ++index) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
      break;
    out[written++] = Replicate(p, settings, seed, index);
    if (done != nullptr)
      done->fetch_add(1, std::memory_order_relaxed);
  }
  return written;
}

BootstrapSummary SummarizeBootstrap(const StressInversion& estimate,
                                    std::span<const BootstrapReplicate> replicates,
                                    double confidence) {
  BootstrapSummary summary;
  std::vector<double> ratios;
  std::array<std::vector<double>, 3> angles;
  for (const BootstrapReplicate& r : replicates) {
    if (!r.solved) {
      ++summary.unsolved;
      continue;
    }
    ++summary.solved;
    ratios.push_back(r.stressRatio);
    for (int k = 0; k < 3; ++k)
      angles[k].push_back(AngleBetweenAxes(r.axes[k], estimate.axes[k].vector));
  }
  std::sort(ratios.begin(), ratios.end());
  summary.stressRatioLow = Quantile(ratios, (1.0 - confidence) / 2.0);
  summary.stressRatioHigh = Quantile(ratios, (1.0 + confidence) / 2.0);
  for (int k = 0; k < 3; ++k) {
    std::sort(angles[k].begin(), angles[k].end());
    summary.cones[k] = Quantile(angles[k], confidence);
  }
  return summary;
}

PrincipalInput PrincipalInputOfInversion(const StressInversion& inversion, double s1, double s3) {
  PrincipalInput input;
  input.s1 = s1;
  // Clamped so that rounding cannot unsort the three.
  input.s2 = std::clamp(s3 + inversion.stressRatio * (s1 - s3), s3, std::max(s1, s3));
  input.s3 = s3;
  input.s1Azimuth = inversion.axes[0].azimuth;
  input.s1Dip = inversion.axes[0].dip;
  input.s3Azimuth = inversion.axes[2].azimuth;
  input.s3Dip = inversion.axes[2].dip;
  input.convention = stress::Azimuth::kClockwiseFromNorth;
  return input;
}

BuiltState StressStateOfInversion(const StressInversion& inversion, double s1, double s3) {
  if (!std::isfinite(s1) || !std::isfinite(s3))
    return {std::nullopt, "s1 and s3 must be finite numbers"};
  return BuildFromPrincipal(PrincipalInputOfInversion(inversion, s1, s3));
}

}  // namespace analysis
