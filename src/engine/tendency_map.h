#pragma once
// A tendency map: one quantity of the plane-set assessment for every plane
// orientation at once, as a field over the lower-hemisphere equal-area net.
// A net point (x, y) inside the unit circle is the pole of one plane; its
// value is the quantity of that plane under the pass's state, pore pressure
// and the planes' default friction and cohesion, with the definitions of
// engine/plane_results.h (effective stress, compression positive). Net
// coordinates x East, y North, as projection/equal_area.h places poles.

#include <array>
#include <cstddef>
#include <optional>

#include "analysis/net_raster.h"
#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "stress/stress_state.h"

namespace engine {

/// The quantity a map shows.
enum class MapQuantity {
  kNone,
  kSlipTendency,        ///< Ts / Ts,max, 0 to 1
  kDilationTendency,    ///< Td, 0 to 1
  kPorePressureToSlip,  ///< dPc, in the stress unit
  kFactorOfSafety,      ///< F
};

/// The downward unit normal of the plane whose pole plots at net point
/// (x, y), x^2 + y^2 <= 1: the inverse of the equal-area projection, exact up
/// to rounding (no angle is formed).
stress::Vector3 PoleNormalAt(double x, double y);

/// The plane (degrees: dip direction clockwise from North, dip) whose pole
/// plots at (x, y), x^2 + y^2 <= 1.
Plane PlaneWithPoleAt(double x, double y);

/// Everything a map's values share, worked out once per pass.
class TendencyField {
 public:
  /// `results` must satisfy CanAssessPlanes.
  TendencyField(const PassResults& results, const PlaneDefaults& defaults, MapQuantity quantity);

  MapQuantity Quantity() const { return quantity_; }
  /// The value for the plane with downward unit normal `n` (frame x East,
  /// y North, z up): the PlaneResult member of the quantity, to within a few
  /// units of rounding of the stresses; NaN where it has no value.
  double At(const stress::Vector3& n) const;
  /// The same for the pole at net point (x, y); NaN outside the unit circle.
  double AtNetPoint(double x, double y) const;

 private:
  MapQuantity quantity_;
  std::array<stress::Vector3, 3> axes_{};
  std::array<double, 3> s_{};  ///< total principal values
  double porePressure_ = 0.0;
  double tsMax_ = 0.0;   ///< NaN unless s3' > 0
  double tanPhi_ = 0.0;  ///< NaN without a limit
  double cohesion_ = 0.0;
  double zeroShear_ = 0.0;
  bool tdDefined_ = false;  ///< s1 and s3 differ beyond rounding
};

/// A square raster over the net, pixels at their centres (analysis/net_raster.h).
using MapGrid = analysis::NetRaster;

/// The field at the centre of every pixel of rows [firstRow, lastRow) of
/// `grid`, row after row into `out` from out[firstRow * width]; NaN outside
/// the unit circle. Safe to run on disjoint row ranges at once.
void FillMapRows(const TendencyField& field, const MapGrid& grid, int firstRow, int lastRow,
                 float* out);

/// The net points of the poles of the two planes of largest slip tendency:
/// they contain the s2 axis and their normals make the angle theta with the
/// s1 axis, cos 2 theta = -(s1' - s3') / (s1' + s3'). Empty unless s3' > 0.
struct NetPoint {
  double x = 0.0;
  double y = 0.0;
};
std::optional<std::array<NetPoint, 2>> MaxSlipTendencyPoles(const PassResults& results);

}  // namespace engine
