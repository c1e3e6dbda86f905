#pragma once
// The reduced stress tensor that a set of faults or focal mechanisms records:
// the orientation of the principal axes and the stress ratio that best
// explain the observed slips, with their misfit and a bootstrap confidence.
// Conventions: see stress/stress_state.h (x East, y North, z up, compression
// positive). The forward model is the one of analysis/slip_direction.h: a
// plane of upward normal n slips parallel to -(S n - (n.S.n) n). Angles in
// degrees; axes as azimuth clockwise from North and dip of the axis taken
// pointing downward.
//
// The linear step finds the deviatoric S (trace 0: five unknowns) whose
// resolved shear traction on every plane equals minus its unit slip, in the
// least-squares sense: every plane is assumed to carry a shear of the same
// magnitude. The iterative method also finds which nodal plane of each focal
// mechanism slipped: the one of larger instability under the current stress,
// until the choice no longer changes. Instability, in the tensor scaled to
// s1 = 1, s3 = -1 (s2 = 2 Phi - 1 = 1 - 2R):
//   I = (tau - mu (sigma - 1)) / (mu + sqrt(1 + mu^2)),
// 1 on the plane of a Mohr-Coulomb envelope of slope mu tangent to the
// largest circle, 0 at s1.
//
// The bootstrap draws each replicate's resampling from a stream derived from
// the seed and the replicate's number alone, so that any split of the
// replicates over threads gives the same bytes.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/fault_slip.h"
#include "analysis/stress_builders.h"
#include "stress/stress_state.h"

namespace analysis {

/// What the data are: faults (the plane is the fault) or focal mechanisms
/// (either nodal plane may be; the datum's plane is nodal plane 1, its
/// auxiliary plane nodal plane 2).
enum class FaultData { kFaults, kMechanisms };

enum class InversionMethod {
  kLinear,     ///< one least-squares step; both nodal planes of mechanisms enter
  kIterative,  ///< nodal planes chosen by instability, then inverted again
};

/// The frictions that an automatic choice tries: 0.20 to 1.00 by 0.05.
inline constexpr double kLeastAutoFriction = 0.20;
inline constexpr double kFrictionStep = 0.05;
inline constexpr int kAutoFrictionCount = 17;

/// The fewest faults (or mechanisms) that an inversion takes: the reduced
/// tensor has four unknowns (three angles and the ratio).
inline constexpr std::size_t kFewestFaults = 4;

struct InversionSettings {
  FaultData data = FaultData::kFaults;
  InversionMethod method = InversionMethod::kIterative;
  /// The friction coefficient of the instability; empty: the one of the
  /// automatic frictions with the largest mean instability (the first of
  /// equal ones).
  std::optional<double> friction;
  /// The most times the iterative method inverts on chosen planes.
  int maxIterations = 50;
};

/// What the result says of one datum.
struct FaultFit {
  /// The nodal plane taken as the fault: 1 (the datum's own; always for
  /// faults) or 2 (its auxiliary plane); 0 when the datum was not used.
  int plane = 0;
  /// The chosen plane and its observed slip.
  double dipDirection = 0.0;
  double dip = 0.0;
  double rake = 0.0;
  /// The angle between the observed slip and the one the stress predicts on
  /// that plane, [0, 180]; NaN when the plane carries no shear.
  double misfit = 0.0;
  double instability = 0.0;
  /// Why the datum was not used (FaultSlipProblem); empty when used.
  std::string problem;
};

struct StressInversion {
  /// The reduced tensor, scaled so that s1 = 1 and s3 = -1.
  stress::StressState reduced;
  /// s1, s2, s3 axes, each pointing downward, with azimuth and dip.
  std::array<AxisDirection, 3> axes;
  /// Phi = (s2 - s3) / (s1 - s3) in [0, 1]; the shape ratio R is 1 - Phi.
  double stressRatio = 0.0;
  double friction = 0.0;
  /// One per datum, in the data's order.
  std::vector<FaultFit> faults;
  std::size_t used = 0;  ///< data that entered
  double misfitMean = 0.0;
  double misfitMedian = 0.0;
  double instabilityMean = 0.0;
  /// Inversions on chosen planes after the first linear step (0 for the
  /// linear method and for faults), and whether the choice came to rest
  /// within InversionSettings::maxIterations (for automatic friction: at the
  /// friction kept). When it did not (a few mechanisms near a tie can turn
  /// each other over in a cycle), the step of largest mean instability is
  /// the result.
  int iterations = 0;
  bool converged = true;
};

struct InversionOutcome {
  std::optional<StressInversion> result;
  /// Why there is none: fewer than kFewestFaults usable data, planes that
  /// determine no stress (too few distinct orientations), a fit without
  /// deviatoric stress, a friction that is no positive finite number.
  std::string problem;
};

/// The reduced stress that `data` record under `settings`.
InversionOutcome InvertStress(const std::vector<FaultSlip>& data,
                              const InversionSettings& settings);

/// The fits of `data` under a given stress (any tensor of the same
/// orientation and ratio gives the same fits): misfits, instabilities in the
/// tensor scaled to s1 = 1, s3 = -1, and for mechanisms the nodal plane of
/// larger instability. Empty when `stress` has no deviatoric part.
std::optional<std::vector<FaultFit>> FitFaults(const std::vector<FaultSlip>& data, FaultData kind,
                                               const stress::StressState& stress, double friction);

/// One bootstrap replicate: the whole inversion on the data resampled with
/// replacement.
struct BootstrapReplicate {
  bool solved = false;  ///< false: the resampled data determine no stress
  double stressRatio = 0.0;
  double friction = 0.0;
  std::array<stress::Vector3, 3> axes{};  ///< s1, s2, s3, pointing downward
};

/// Replicate number `index` (from 0) of the bootstrap of `data` under `seed`:
/// the usable data drawn with replacement, as many as there are, from a
/// stream that depends on `seed` and `index` only.
BootstrapReplicate ComputeBootstrapReplicate(const std::vector<FaultSlip>& data,
                                             const InversionSettings& settings, std::uint64_t seed,
                                             std::uint64_t index);

/// Replicates [first, last) into out[0 ... last - first), as
/// ComputeBootstrapReplicate gives them. Before each replicate it stops when
/// `cancel` is set; after each it adds one to `done`. Returns how many it
/// wrote. Safe to run on disjoint ranges at once, `cancel` and `done` shared.
std::size_t RunBootstrap(const std::vector<FaultSlip>& data, const InversionSettings& settings,
                         std::uint64_t seed, std::uint64_t first, std::uint64_t last,
                         BootstrapReplicate* out, const std::atomic<bool>* cancel = nullptr,
                         std::atomic<std::size_t>* done = nullptr);

inline constexpr double kDefaultConfidence = 0.95;

/// What the replicates say of the estimate's confidence.
struct BootstrapSummary {
  std::size_t solved = 0;    ///< replicates that entered
  std::size_t unsolved = 0;  ///< replicates whose data determined no stress
  /// The percentile interval of Phi: its quantiles (1 - confidence) / 2 and
  /// (1 + confidence) / 2, interpolated linearly between order statistics.
  double stressRatioLow = 0.0;
  double stressRatioHigh = 0.0;
  /// Per axis, the angle around the estimate's axis (as lines, [0, 90]) that
  /// holds the share `confidence` of the replicates' axes, its quantile
  /// interpolated as Phi's.
  std::array<double, 3> cones{};
};

/// The summary of `replicates` around `estimate` at `confidence`, a share in
/// (0, 1). Without solved replicates the interval and the cones are NaN.
BootstrapSummary SummarizeBootstrap(const StressInversion& estimate,
                                    std::span<const BootstrapReplicate> replicates,
                                    double confidence = kDefaultConfidence);

/// The full stress of the inversion's orientation and ratio with s1 and s3
/// given: s2 = s3 + Phi (s1 - s3). Refuses s1 < s3 and numbers that are not
/// finite.
BuiltState StressStateOfInversion(const StressInversion& inversion, double s1, double s3);

/// The same as the values and axes that the "From principal stresses" dialog
/// takes (azimuths clockwise from North).
PrincipalInput PrincipalInputOfInversion(const StressInversion& inversion, double s1, double s3);

}  // namespace analysis
