#pragma once
// A plane given by any dip direction and dip, folded to the form the net
// draws. Angles in radians; the dip direction is an azimuth clockwise from
// North, the dip an angle below the horizontal. The plane (beta, psi) is the
// one whose normal is (sin beta sin psi, cos beta sin psi, cos psi) (x East,
// y North, z up), whichever way that normal points; sine and cosine are 0 at
// a magnitude of 2^63 or more.

namespace projection {

struct Plane {
  double dipDirection = 0.0;
  double dip = 0.0;
};

/// The plane (dipDirection, dip) with its dip in [0, pi/2].
/// A dip already in [0, pi/2] is returned as given, dip direction included,
/// bit for bit. Any other dip is replaced by the plane its normal describes:
/// the dip is the normal's angle from the vertical, the dip direction the
/// azimuth of the horizontal part of the normal taken upward; so (beta, -psi)
/// and (beta, pi - psi) become (beta + pi, psi) up to whole turns, and
/// (beta, psi + pi) becomes (beta, psi). A normal without a horizontal part (a
/// horizontal plane) keeps the dip direction given. A zero normal (sine and
/// cosine of the dip both 0) describes no plane: the input is returned as given.
Plane FoldedPlane(double dipDirection, double dip);

}  // namespace projection
