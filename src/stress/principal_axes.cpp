#include "stress/principal_axes.h"

namespace stress {

Vector3 PrincipalAxis(const StressState&, const PrincipalValues&, int) { return {}; }
AxisAngles AxisOrientation(const Vector3&, int) { return {}; }
double SignOf(double x) { return x >= 0.0 ? 1.0 : -1.0; }
PlaneAngles PrincipalPlane(const AxisAngles&) { return {}; }
double HandednessFactor(const PrincipalAxes&) { return 1.0; }

}  // namespace stress
