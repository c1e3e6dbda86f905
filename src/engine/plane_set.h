#pragma once
// A set of planes (faults, fractures) assessed together under one stress
// state. Angles in degrees, clockwise from North, as the joint's; stresses in
// the user's unit.

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace engine {

/// One plane of a set. A NaN friction angle or cohesion is one the plane does
/// not give: the set's own (the joint's) is used.
struct Plane {
  double dipDirection = 0.0;                                   ///< [0, 360)
  double dip = 0.0;                                            ///< [0, 90]
  double phi = std::numeric_limits<double>::quiet_NaN();       ///< friction angle
  double cohesion = std::numeric_limits<double>::quiet_NaN();  ///< cohesion

  bool HasOwnPhi() const { return !std::isnan(phi); }
  bool HasOwnCohesion() const { return !std::isnan(cohesion); }
};

/// The planes with their ids (an empty id is none), entry for entry.
struct PlaneSet {
  std::vector<Plane> planes;
  std::vector<std::string> ids;

  std::size_t size() const { return planes.size(); }
  bool empty() const { return planes.empty(); }
  void clear() {
    planes.clear();
    ids.clear();
  }
  void push_back(const Plane& plane, std::string id) {
    planes.push_back(plane);
    ids.push_back(std::move(id));
  }
  /// Appends every plane of `other`.
  void Append(const PlaneSet& other) {
    planes.insert(planes.end(), other.planes.begin(), other.planes.end());
    ids.insert(ids.end(), other.ids.begin(), other.ids.end());
  }
};

}  // namespace engine
