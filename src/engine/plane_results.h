#pragma once
// Every plane of a set assessed as the joint is: total and effective
// stresses, the tendencies, the Mohr-Coulomb limit on effective stress, and
// the slip direction. A quantity without a value is NaN (the record is kept
// small: a window holds one per plane, hundreds of thousands of them).
// Conventions: see engine/pass_results.h and analysis/effective_stress.h.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/pass_results.h"
#include "engine/plane_set.h"

namespace engine {

/// What a plane does, as the joint's state line says it; kNone without a limit.
enum class PlaneState : std::uint8_t { kNone, kStable, kSlips, kOpens };

struct PlaneResult {
  double sigma;         ///< normal stress, total
  double tau;           ///< shear stress
  double sigmaEff;      ///< sigma - Pp
  double tauLimEff;     ///< c + sigma' tan(phi), 0 for sigma' < 0
  double ts;            ///< slip tendency tau / sigma'
  double tsNormalized;  ///< Ts / Ts,max
  double td;            ///< dilation tendency
  double factorOfSafety;
  double cff;         ///< tau - tauLim'
  double deltaPc;     ///< pore-pressure increase to slip
  double rake;        ///< degrees, (-180, 180]
  double slipTrend;   ///< degrees clockwise from North
  double slipPlunge;  ///< degrees below the horizontal
  PlaneState state;
};

/// The friction angle (degrees) and cohesion of the planes that give none.
/// Empty where the set has no value (its text is no number): the quantities
/// that need it are then NaN.
struct PlaneDefaults {
  std::optional<double> phi;
  std::optional<double> cohesion;
};

/// The friction angle and cohesion the plane is assessed with (NaN where
/// neither the plane nor the defaults give one).
double FrictionOf(const Plane& plane, const PlaneDefaults& defaults);
double CohesionOf(const Plane& plane, const PlaneDefaults& defaults);

/// Whether `results` went far enough for planes: the values and all three
/// axes found.
bool CanAssessPlanes(const PassResults& results);

/// Assesses single planes under one pass's state; what is common to all
/// planes is worked out once.
class PlaneAssessor {
 public:
  /// `results` must satisfy CanAssessPlanes and outlive the assessor.
  PlaneAssessor(const PassResults& results, const PlaneDefaults& defaults);
  /// The plane's numbers, as AssessPlanes gives them.
  PlaneResult operator()(const Plane& plane) const;

 private:
  const PassResults& results_;
  PlaneDefaults defaults_;
  stress::PrincipalAxes lowerAxes_;
  double zeroShear_;
};

/// The planes [first, last) of `planes` under the state of `results` (which
/// CanAssessPlanes) and its pore pressure, into `out` from `out[first]`. A
/// plane's numbers are those of the joint with its orientation, friction and
/// cohesion (RunPass and analysis::AssessEffective) to the bit; a plane whose
/// stresses leave the double range has NaN for each. Safe to run on disjoint
/// ranges at once.
void AssessPlanes(const PassResults& results, const PlaneSet& planes, const PlaneDefaults& defaults,
                  std::size_t first, std::size_t last, PlaneResult* out);

}  // namespace engine
