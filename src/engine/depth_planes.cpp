#include "engine/depth_planes.h"

#include <cmath>
#include <limits>
#include <optional>

#include "engine/pass.h"

namespace engine {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

constexpr PlaneResult kNoResult{kNone, kNone, kNone, kNone, kNone, kNone, kNone,
                                kNone, kNone, kNone, kNone, kNone, kNone, PlaneState::kNone};

}  // namespace

void AssessPlanesAtDepth(const PassResults& results, const PlaneSet& planes,
                         std::span<const double> depths, const analysis::StressProfile& profile,
                         const PlaneDefaults& defaults, std::size_t first, std::size_t last,
                         PlaneResult* out, LocalStresses* local) {
  std::optional<PlaneAssessor> underState;
  if (CanAssessPlanes(results))
    underState.emplace(results, defaults);
  // The pass of the last depth, kept while the planes stay at it.
  double passDepth = kNone;
  PassResults pass;
  std::optional<PlaneAssessor> atDepth;
  LocalStresses stresses{};
  for (std::size_t i = first; i < last; ++i) {
    const Plane& plane = planes.planes[i];
    const double depth = depths[i];
    if (std::isnan(depth)) {
      out[i] = underState ? (*underState)(plane) : kNoResult;
      if (local != nullptr)
        local[i] = {kNone, kNone, kNone, kNone, kNone, kNone, DepthSource::kState};
      continue;
    }
    if (!(depth == passDepth)) {
      passDepth = depth;
      atDepth.reset();
      const analysis::ProfileValue value = profile.At(depth);
      if (value.row) {
        const analysis::ProfileRow& r = *value.row;
        PassInputs inputs = PassInputs::Of(analysis::TensorOf(r), results.azimuth);
        inputs.porePressure = r.porePressure;
        pass = RunPass(inputs);
        if (CanAssessPlanes(pass))
          atDepth.emplace(pass, defaults);
        stresses = {
            depth, r.sv, r.shMax, r.shMin, r.porePressure, r.shMaxAzimuth, DepthSource::kProfile};
      } else {
        stresses = {depth, kNone, kNone, kNone, kNone, kNone, DepthSource::kOutside};
      }
    }
    out[i] = atDepth ? (*atDepth)(plane) : kNoResult;
    if (local != nullptr)
      local[i] = stresses;
  }
}

}  // namespace engine
