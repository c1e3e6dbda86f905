#pragma once
// Planes down a well, each assessed at its own depth: under the tensor and
// pore pressure a stress profile gives there, by the same functions as a set
// under one state (engine/plane_results.h), so that a plane's numbers are
// those it gets under the state built at its depth, to the bit.
// Conventions: see engine/plane_results.h and analysis/stress_profile.h;
// depths in the profile's unit, NaN for a plane without one.

#include <cstddef>
#include <cstdint>
#include <span>

#include "analysis/stress_profile.h"
#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"

namespace engine {

/// Where a plane's stresses came from.
enum class DepthSource : std::uint8_t {
  kState,    ///< no depth: the set's one state
  kProfile,  ///< the profile at the plane's depth
  kOutside,  ///< a depth the profile does not reach: no numbers
};

/// The stresses a plane was assessed under: the profile's at its depth (NaN
/// for the others, and the depth NaN without one).
struct LocalStresses {
  double depth;
  double sv;
  double shMax;
  double shMin;
  double porePressure;
  double shMaxAzimuth;
  DepthSource source;
};

/// The planes [first, last) of `planes`, plane i at depth `depths[i]` (as
/// many depths as planes), into `out` and, unless null, `local` from index
/// `first`. A plane with a depth is assessed as AssessPlanes assesses it
/// under RunPass of analysis::TensorOf(the profile's row at that depth), in
/// the azimuth convention of `results`, with the row's Pp; planes in a row at
/// one depth share that pass. A plane without a depth is assessed under
/// `results` (NaN throughout unless CanAssessPlanes(results)). A plane whose
/// depth the profile refuses (outside a table, above the surface) has NaN
/// throughout and state kNone; analysis::StressProfile::At says why. Safe to
/// run on disjoint ranges at once.
void AssessPlanesAtDepth(const PassResults& results, const PlaneSet& planes,
                         std::span<const double> depths, const analysis::StressProfile& profile,
                         const PlaneDefaults& defaults, std::size_t first, std::size_t last,
                         PlaneResult* out, LocalStresses* local);

}  // namespace engine
