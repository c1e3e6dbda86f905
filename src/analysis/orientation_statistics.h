#pragma once
// Statistics of a set of orientations: poles of planes and lines, all taken
// as axes (a direction and its opposite are the same axis).
// Frame: x East, y North, z up. Angles in degrees clockwise from North at the
// interface; a line plunges below the horizontal, and an axis is reported
// pointing into the lower hemisphere (z <= 0; a horizontal one with its trend
// in [0, 180)). A plane's pole is its normal taken downward: trend dip
// direction + 180, plunge 90 - dip.
//
// Axes may carry weights (the Terzaghi correction of a sampling line's bias,
// or any positive weight). Every statistic is then formed with weighted sums,
// N being the sum of the weights: T = (1/N) sum w x x^T, the resultant
// sum w x, kappa = (N - 1) / (N - R) and the cone with the same N. With unit
// weights these are the usual formulas of the unweighted sample.
// Sums are carried in long double and the results stored as doubles. A set
// of fewer than 2 axes, a weight that is not finite and positive, and a
// confidence outside (0, 1) throw std::invalid_argument.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stress/stress_state.h"

namespace analysis {

/// A unit axis with its weight (> 0).
struct WeightedAxis {
  stress::Vector3 axis;
  double weight = 1.0;
};

/// Two angles in degrees as a file gives them: a plane's dip direction (or
/// strike) and dip, or a line's trend and plunge.
struct AnglePair {
  double azimuth = 0.0;
  double dip = 0.0;
};

/// What the pairs of a set hold.
enum class Reading {
  kDipDirectionDip,  ///< planes by dip direction and dip
  kStrikeDip,        ///< planes by strike (right-hand rule: dip direction = strike + 90) and dip
  kTrendPlunge,      ///< lines by trend and plunge
};

/// An axis as trend and plunge (degrees), and a plane as dip direction and dip.
struct LineAngles {
  double trend = 0.0;
  double plunge = 0.0;
};
struct PlaneOrientation {
  double dipDirection = 0.0;
  double dip = 0.0;
};

/// The unit pole of the plane dipping `dip` towards `dipDirection`, downward.
stress::Vector3 PoleOfPlane(double dipDirection, double dip);
/// The unit vector of the line of `trend` and `plunge`, downward (a negative
/// plunge, a line pointing up, gives the same axis as its opposite).
stress::Vector3 AxisOfLine(double trend, double plunge);
/// `axis` negated when it points up; a horizontal axis with its trend in [0, 180).
stress::Vector3 LowerAxis(const stress::Vector3& axis);
/// Trend in [0, 360) and plunge in [0, 90] of the unit `axis` taken downward.
LineAngles LineOf(const stress::Vector3& axis);
/// The plane whose pole is the unit `axis`: dip direction in [0, 360), dip in [0, 90].
PlaneOrientation PlaneNormalTo(const stress::Vector3& axis);

/// A scanline or well along which planes were sampled, and the largest weight
/// a plane may take (>= 1).
struct SamplingLine {
  double trend = 0.0;
  double plunge = 0.0;
  double cap = 10.0;
};

/// The Terzaghi weight of a plane with unit pole `pole` sampled along the
/// unit direction `line`: 1 / |cos theta|, theta the angle between them, at
/// most `cap` (a plane parallel to the line takes the cap).
double TerzaghiWeight(const stress::Vector3& pole, const stress::Vector3& line, double cap);

/// The axes of `pairs` read as `reading`, downward, each of weight 1, or of its
/// Terzaghi weight when `line` is given (a line's axis is weighted as a pole is).
std::vector<WeightedAxis> MakeAxes(std::span<const AnglePair> pairs, Reading reading,
                                   const std::optional<SamplingLine>& line = std::nullopt);

/// Eigen analysis of the orientation tensor T = (1/N) sum w x x^T.
struct EigenAnalysis {
  /// S1 >= S2 >= S3 >= 0, summing to 1 (to rounding).
  std::array<double, 3> values{};
  /// Their unit axes, an orthonormal set, each downward.
  std::array<stress::Vector3, 3> axes{};
  std::array<LineAngles, 3> lines{};
  /// Woodcock's shape K = ln(S1/S2) / ln(S2/S3): above 1 a cluster, below 1 a
  /// girdle. Empty where an eigenvalue counts as 0 (below kZeroEigenvalue) or
  /// S2 == S3.
  std::optional<double> woodcockK;
  /// Woodcock's strength C = ln(S1/S3); empty where S3 counts as 0.
  std::optional<double> woodcockC;
  /// The best-fit great circle of the axes: the plane normal to the axis of
  /// S3, whose pole (the pi-axis of a fold) is axes[2] (lines[2]).
  PlaneOrientation girdle;
};

/// Eigenvalues of T are accurate to a few 1e-16 (T's entries are at most 1),
/// so one below this says nothing but that it is 0: the axes lie on a great
/// circle (S3), or on one axis (S2 and S3), as far as doubles tell.
inline constexpr double kZeroEigenvalue = 1e-12;

EigenAnalysis ComputeEigenAnalysis(std::span<const WeightedAxis> axes);

/// Fisher statistics of axes: each axis is first taken into the hemisphere
/// of `reference` (x . reference >= 0), then treated as a direction.
struct FisherStatistics {
  std::size_t count = 0;
  /// N: the sum of the weights (the count with unit weights).
  double weightSum = 0.0;
  /// The unit mean direction, downward, and its trend and plunge.
  stress::Vector3 mean;
  LineAngles meanLine;
  /// The plane whose pole is the mean: the mean plane of a set of poles.
  PlaneOrientation meanPlane;
  /// R = |sum w x|, and R / N in (0, 1].
  double resultantLength = 0.0;
  double meanResultantLength = 0.0;
  /// kappa = (N - 1) / (N - R); +infinity where R == N (to rounding).
  double kappa = 0.0;
  /// The half-angle of the cone of confidence around the mean (degrees):
  /// cos alpha = 1 - ((N - R) / R) ((1 / p)^(1 / (N - 1)) - 1),
  /// p = 1 - confidence. Empty where the right side is below -1 (the cone
  /// would cover the sphere) or N <= 1.
  std::optional<double> alpha;
};

/// The statistics with the axes taken into the hemisphere of the orientation
/// tensor's largest eigenvector (`ComputeEigenAnalysis(axes).axes[0]`).
FisherStatistics ComputeFisherStatistics(std::span<const WeightedAxis> axes,
                                         double confidence = 0.95);
/// The same with the hemisphere of a given unit `reference`. Throws
/// std::invalid_argument where the axes so taken cancel out (R = 0, as
/// opposite axes at right angles to the reference do).
FisherStatistics ComputeFisherStatistics(std::span<const WeightedAxis> axes,
                                         const stress::Vector3& reference,
                                         double confidence = 0.95);

/// Axes grouped into k sets by k-means on the sphere with the axial distance
/// 1 - (x . c)^2 (the squared sine of the angle between axes): each axis goes
/// to the centre it is nearest as an axis (of equal distances the first),
/// each centre is the largest eigenvector of its set's weighted orientation
/// tensor, until no axis changes set (at most 100 rounds). Centres start by
/// k-means++ (each new one drawn with odds w d, d the distance to the nearest
/// centre so far), drawn from a counter-based hash of `seed`: the same seed
/// and axes give the same sets. A set left empty takes the axis farthest from
/// its centre. Sets are numbered by decreasing weight (of equal weights, by
/// their first axis). With fewer than k distinct axes some sets stay empty.
struct AxisSets {
  std::vector<int> labels;               ///< 0 to k - 1, one per axis
  std::vector<stress::Vector3> centres;  ///< k unit axes, downward
  int rounds = 0;                        ///< assignment rounds run
};
/// Throws std::invalid_argument unless 1 <= k <= the number of axes.
AxisSets ClusterAxes(std::span<const WeightedAxis> axes, int k, std::uint64_t seed);

/// What a rose diagram counts.
enum class RoseOf {
  /// Strikes, each counted at s and at s + 180 (lines: trends, both ways).
  kStrikes,
  /// Dip directions (lines: trends), each counted once.
  kDipDirections,
};

/// Counts of azimuths in bins of `binWidth` degrees: bin i holds [i w, (i + 1) w).
struct RoseDiagram {
  double binWidth = 10.0;
  std::vector<int> counts;
  /// Whether the painter draws a petal's radius as sqrt(count) (its area
  /// then in proportion to the count) rather than as the count.
  bool areaTrue = false;

  int LargestCount() const;
  /// Petal i's radius as a fraction of the largest petal's: count / largest,
  /// or sqrt(count / largest) when area-true; 0 when every bin is empty.
  double Radius(std::size_t bin) const;
};

/// The rose of `pairs` read as `reading`. Throws std::invalid_argument unless
/// binWidth lies in (0, 360] and divides 360 (to 1e-9 of a bin).
RoseDiagram BinRose(std::span<const AnglePair> pairs, Reading reading, RoseOf what,
                    double binWidth = 10.0, bool areaTrue = false);

}  // namespace analysis
