#pragma once
// Fault-slip data: a plane with the direction in which its hanging wall moved
// relative to its footwall (a slickenline with its sense, or a nodal plane of
// an earthquake's focal mechanism), and the notations geologists and
// seismologists write them in.
// Conventions: see stress/stress_state.h (x East, y North, z up). Angles in
// degrees, azimuths clockwise from North; a plane by its dip direction and dip
// (or its strike by the right-hand rule: dip direction = strike + 90), its
// upward normal pointing into the hanging wall. Rakes are Aki-Richards
// rakes: in the plane from the strike direction to the slip, positive
// up-dip: 0 left-lateral, 90 reverse, -90 normal, 180 right-lateral.
// Lines (striae, P and T axes) by trend and plunge, plunge positive
// downward, or, for axes, taken pointing downward as the main window shows
// them.

#include <optional>
#include <string>
#include <string_view>

#include "stress/stress_state.h"

namespace analysis {

/// One datum: a plane and the unit vector of its hanging wall's slip.
struct FaultSlip {
  std::string id;
  double dipDirection = 0.0;  ///< [0, 360)
  double dip = 0.0;           ///< [0, 90]
  /// Unit vector of the hanging wall's motion relative to the footwall, in
  /// the plane.
  stress::Vector3 slip;
  /// For measured striae, the angle between the line as measured and the
  /// plane (the line is projected onto the plane); empty otherwise.
  std::optional<double> striaeResidual;
};

/// A datum, or why the numbers give none.
struct FaultSlipOutcome {
  std::optional<FaultSlip> fault;
  std::string problem;  ///< empty when `fault` is set
};

/// The unit vectors of a plane: its upward normal, its strike (dip direction
/// - 90, so that the plane dips to the right) and its up-dip direction.
struct PlaneFrame {
  stress::Vector3 normal;
  stress::Vector3 strike;
  stress::Vector3 upDip;
};
PlaneFrame PlaneFrameOf(double dipDirection, double dip);

/// The plane at `strike` (right-hand rule) and `dip` with the slip of `rake`.
/// Azimuths are taken modulo 360. Refuses non-finite numbers, a dip outside
/// 0 to 90 and a rake outside -180 to 360 (both -180..180 and 0..360 are
/// read).
FaultSlipOutcome FaultFromStrikeDipRake(double strike, double dip, double rake);
FaultSlipOutcome FaultFromDipDirectionDipRake(double dipDirection, double dip, double rake);

/// The hanging wall's motion as a field geologist records it.
enum class SlipSense { kNormal, kReverse, kDextral, kSinistral };

/// "N"/"normal", "R"/"I"/"reverse"/"inverse"/"thrust", "D"/"dextral"/
/// "right-lateral", "S"/"sinistral"/"left-lateral", without case and blanks
/// around; empty for any other text.
std::optional<SlipSense> ReadSlipSense(std::string_view text);

/// Angle between measured striae and their plane beyond which a datum is
/// refused: a compass reading of plane and line errs by a few degrees each,
/// and a line further off is a wrong pairing of line and plane.
inline constexpr double kStriaeTolerance = 10.0;

/// The plane with striae of `trend` and `plunge`, projected onto the plane,
/// their direction chosen by `sense`: normal moves the hanging wall down the
/// dip, reverse up, dextral towards strike + 180, sinistral towards the
/// strike. The residual angle is kept in the datum. Refuses striae further
/// than `tolerance` degrees from the plane, striae at right angles to it, and
/// a sense that the projected line cannot show (a normal or reverse sense on
/// striae along the strike, a dextral or sinistral one on striae down the
/// dip).
FaultSlipOutcome FaultFromStriae(double dipDirection, double dip, double trend, double plunge,
                                 SlipSense sense, double tolerance = kStriaeTolerance);

/// The field notebook's quadrant notation, one text per field:
/// - strike: an azimuth ("045", "45.5") or a quadrant bearing ("N45E",
///   "S30W");
/// - dip: the dip and the quadrant it falls towards ("61S", "61 SE"), which
///   picks one of the two dip directions at right angles to the strike; a
///   dip without letters is read by the right-hand rule;
/// - rake: the pitch 0 to 90 in the plane, measured down from the end of the
///   strike line that the letters point to ("80E"); a number without letters
///   is the azimuth of the striae, which fixes a line in the plane.
/// The sense then chooses the direction along the line as FaultFromStriae
/// does. Refuses letters that point along the strike (neither side, neither
/// end, is nearer), a vertical plane with a striae azimuth across it, and
/// texts that are no such numbers.
FaultSlipOutcome FaultFromQuadrant(std::string_view strike, std::string_view dip,
                                   std::string_view rake, SlipSense sense);

/// `azimuth` taken into [0, 360).
double Azimuth360(double azimuth);

/// The upward normal of the datum's plane.
stress::Vector3 NormalOf(const FaultSlip& fault);

/// The datum's rake in (-180, 180].
double RakeOf(const FaultSlip& fault);

/// Empty when `fault` is a datum: finite angles, a dip from 0 to 90, a slip
/// of unit length within 1e-6 and within 1e-6 rad of the plane; otherwise
/// why not ("the slip is not in the plane").
std::string FaultSlipProblem(const FaultSlip& fault);

/// The other nodal plane of the focal mechanism that `fault` is a nodal
/// plane of: its normal is the slip and its slip the normal, both negated
/// when the slip points down, so that the new normal points up and the
/// mechanism (n u + u n) is the same. A slip exactly horizontal (to 1e-12)
/// gives a vertical plane with the slip as its normal. The auxiliary plane of
/// the auxiliary plane is `fault` again, to rounding. The id is kept; the
/// striae residual is not.
FaultSlip AuxiliaryPlane(const FaultSlip& fault);

/// An axis as trend and plunge of its downward-pointing direction, as the
/// main window shows principal axes: azimuth in [0, 360), dip in [0, 90].
struct AxisDirection {
  stress::Vector3 vector;  ///< unit, z <= 0
  double azimuth = 0.0;
  double dip = 0.0;
};
AxisDirection AxisDirectionOf(const stress::Vector3& axis);

/// The pressure and tension axes of the focal mechanism of which `fault` is
/// a nodal plane: P along n - u, T along n + u (n the upward normal, u the
/// slip), the same from either nodal plane.
struct MechanismAxes {
  AxisDirection p;
  AxisDirection t;
};
MechanismAxes PressureTensionAxes(const FaultSlip& fault);

}  // namespace analysis
