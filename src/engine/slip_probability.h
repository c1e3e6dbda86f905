#pragma once
// The probability that each plane slips when the inputs of its assessment
// are uncertain, by Monte Carlo: in each realization the principal stresses'
// magnitudes, the principal frame (turned about the vertical, or about a
// random axis), Pp, the friction, the cohesion and each plane's dip direction
// and dip are drawn from their distributions, and the plane is assessed as
// in engine/plane_results.h (effective stress, compression positive, angles
// in degrees). A plane slips in a realization when it is at or past the
// Coulomb line, dPc <= 0 (the pore-pressure increase to slip; with mu 0,
// tau >= c), and opens when sigma' < 0. The friction and cohesion follow
// truncated laws: a draw that gives mu <= 0, phi outside (0, 90) or c < 0 is
// drawn again (a realization-wide draw in the realization's stream, a
// plane's own friction or cohesion in the plane's).
//
// Each realization's random numbers come from a stream derived from the seed
// and the realization's index (and, for a plane's own draws, the plane's
// index in its set), so a run gives the same bits on any number of threads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"

namespace engine {

/// The inputs that may be uncertain, in the command line's names.
enum class Uncertain {
  kS1,
  kS2,
  kS3,
  kAzimuth,  ///< the state turned about the vertical, degrees clockwise from above
  kFrame,    ///< the principal frame turned about a random axis, degrees
  kPorePressure,
  kPhi,  ///< degrees, added to every plane's friction angle
  kMu,   ///< added to every plane's friction coefficient
  kCohesion,
  kDipDirection,  ///< each plane's own, degrees
  kDip,           ///< each plane's own, degrees
};
inline constexpr int kUncertainCount = 11;

/// "s1", "s2", "s3", "azimuth", "frame", "pp", "phi", "mu", "c",
/// "dip_direction", "dip".
const char* UncertainName(Uncertain input);

/// A distribution of an input's error: none, uniform on [-width, width], or
/// normal with standard deviation `width`.
struct Spread {
  enum class Shape { kNone, kUniform, kNormal };
  Shape shape = Shape::kNone;
  double width = 0.0;
};

struct UncertaintySettings {
  std::array<Spread, kUncertainCount> spreads{};
  int realizations = 10000;  ///< 1 to SlipSampler::kMostRealizations
  std::uint64_t seed = 1;

  Spread& operator[](Uncertain input) { return spreads[static_cast<int>(input)]; }
  const Spread& operator[](Uncertain input) const { return spreads[static_cast<int>(input)]; }
};

/// Whether two settings draw the same realizations: the same spreads (widths
/// to the bit), realizations and seed.
bool SameSettings(const UncertaintySettings& a, const UncertaintySettings& b);

/// Reads "KEY=SPREAD,KEY=SPREAD" (SPREAD "uniform:H" or "normal:SD", H and SD
/// finite and >= 0) into `settings`; false with `error` naming the first
/// fault. phi and mu exclude each other.
bool ReadUncertainties(const std::string& text, UncertaintySettings& settings, std::string& error);

/// What the realizations say of one plane. NaN where there is no value (no
/// friction, or not computed).
struct SlipOdds {
  double pSlip;  ///< the share of realizations with dPc <= 0
  double deltaPcP10;
  double deltaPcP50;
  double deltaPcP90;
  double pOpen = std::numeric_limits<double>::quiet_NaN();  ///< the share with sigma' < 0
};

/// The realizations of one stress state, drawn once; planes are then
/// assessed under all of them.
class SlipSampler {
 public:
  /// The most realizations a run may have: each keeps its draws (144 bytes).
  static constexpr int kMostRealizations = 1000000;

  /// `results` must satisfy CanAssessPlanes. Throws std::invalid_argument for
  /// fewer than 1 or more than kMostRealizations realizations. `keepGoing` is asked
  /// every few thousand realizations; when it says stop, the draws end there
  /// (Realizations() is then short).
  SlipSampler(const PassResults& results, const PlaneDefaults& defaults,
              const UncertaintySettings& settings, const std::function<bool()>& keepGoing = {});

  int Realizations() const { return static_cast<int>(draws_.size()); }
  /// How many realizations drew principal stresses out of order (they are
  /// kept: each magnitude stays on its axis, and s1 >= s2 >= s3 is their
  /// order once sorted).
  std::size_t Resorted() const { return resorted_; }

  /// The pore-pressure increase to slip of `plane` (index `index` of its
  /// set) in every realization, in realization order; NaN where it has none.
  void PressuresToSlip(const Plane& plane, std::size_t index, std::vector<double>& out) const;
  /// The plane's odds; `scratch` is reused between calls.
  SlipOdds Odds(const Plane& plane, std::size_t index, std::vector<double>& scratch) const;

 private:
  struct Draw {
    std::array<stress::Vector3, 3> axes;  ///< the principal axes, turned
    std::array<double, 3> values;
    double porePressure;
    double phiShift;  ///< degrees
    double muShift;
    double cohesionShift;
    double tanPhi;    ///< of the defaults' friction, shifted; NaN without
    double cohesion;  ///< the defaults' cohesion, shifted; NaN without
  };
  /// Calls each(slips, deltaPc, sigmaEff) for the plane in every realization,
  /// in order: slips 1 at or past the Coulomb line, 0 short of it, -1 without
  /// a friction or cohesion.
  template <typename Each>
  void EachRealization(const Plane& plane, std::size_t index, const Each& each) const;

  PlaneDefaults defaults_;
  UncertaintySettings settings_;
  std::vector<Draw> draws_;
  std::size_t resorted_ = 0;
};

/// The odds of planes [first, last) of `planes` into out[first...]; stops
/// early (leaving the rest) when `keepGoing` returns false, asked once per
/// plane. Safe to run on disjoint ranges at once.
void AssessSlipOdds(const SlipSampler& sampler, const PlaneSet& planes, std::size_t first,
                    std::size_t last, SlipOdds* out, const std::function<bool()>& keepGoing = {});

}  // namespace engine
