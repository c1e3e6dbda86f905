#pragma once
// Studies and edits drawn at random for the study's tests, and a comparison
// of two studies field by field (planes to the bit).

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "study/study.h"

namespace study::testing {

inline bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SamePlanes(const engine::PlaneSet& a, const engine::PlaneSet& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const engine::Plane& p = a.planes[i];
    const engine::Plane& q = b.planes[i];
    if (!SameBits(p.dipDirection, q.dipDirection) || !SameBits(p.dip, q.dip) ||
        !SameBits(p.phi, q.phi) || !SameBits(p.cohesion, q.cohesion) || a.ids[i] != b.ids[i])
      return false;
  }
  return true;
}

inline bool SameUncertainty(const std::optional<engine::UncertaintySettings>& a,
                            const std::optional<engine::UncertaintySettings>& b) {
  return a.has_value() == b.has_value() && (!a || engine::SameSettings(*a, *b));
}

/// Whether two studies hold the same, field by field.
inline bool SameStudy(const Study& a, const Study& b) {
  return a.texts == b.texts && a.values == b.values && a.azimuth == b.azimuth &&
         a.jointActive == b.jointActive && a.cosinesShown == b.cosinesShown &&
         a.porePressureText == b.porePressureText && SameBits(a.porePressure, b.porePressure) &&
         a.stressUnit == b.stressUnit && a.depth == b.depth && a.depthInPsi == b.depthInPsi &&
         a.svFromDensity == b.svFromDensity && a.principal == b.principal &&
         SamePlanes(a.planes, b.planes) &&
         a.importReading.has_value() == b.importReading.has_value() &&
         SameUncertainty(a.uncertainty, b.uncertainty) && a.map == b.map &&
         a.dotColouring == b.dotColouring;
}

/// `count` random planes with ids "p0"... (some without), some with their
/// own friction or cohesion.
inline engine::PlaneSet RandomPlanes(std::mt19937_64& random, std::size_t count) {
  std::uniform_real_distribution<double> direction(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  engine::PlaneSet set;
  for (std::size_t i = 0; i < count; ++i) {
    engine::Plane plane{direction(random), dip(random)};
    if (random() % 3 == 0)
      plane.phi = dip(random) / 2.0;
    if (random() % 4 == 0)
      plane.cohesion = dip(random) / 10.0;
    // Written into a buffer: g++ 12 warns falsely of overlap on "p" + text.
    char id[16] = "";
    if (random() % 5 != 0)
      std::snprintf(id, sizeof id, "p%u", static_cast<unsigned>(random() % 1000));
    set.push_back(plane, id);
  }
  return set;
}

}  // namespace study::testing
