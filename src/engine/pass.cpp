#include "engine/pass.h"

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "projection/folded_plane.h"
#include "stress/principal_values.h"

namespace engine {
namespace {

/// An input reached without a value ends the pass there.
struct Unread {
  Input input;
};

double Read(const PassInputs& inputs, Input input) {
  const std::optional<double>& value = inputs[input];
  if (!value.has_value())
    throw Unread{input};
  return *value;
}

double ToRadians(double degrees) {
  return numeric::Store(numeric::DegreesToRadians(degrees));
}
double ToDegrees(double radians) {
  return numeric::Store(numeric::RadiansToDegrees(radians));
}

stress::Vector3 Scaled(double factor, const stress::Vector3& v) {
  return {factor * v.x, factor * v.y, factor * v.z};
}

void Run(const PassInputs& inputs, PassResults& results) {
  double beta = 0.0;
  double psi = 0.0;
  if (inputs.jointActive) {
    beta = Read(inputs, Input::kJointDipDirection);
    psi = Read(inputs, Input::kJointDip);
    // The joint's stresses take (beta, -psi) as the plane (beta + 180, psi);
    // the net draws that same plane.
    const projection::Plane plane = projection::FoldedPlane(ToRadians(beta), ToRadians(psi));
    results.jointPlane = stress::PlaneAngles{plane.dipDirection, plane.dip};
  }

  // All six are read before anything is computed.
  stress::StressState state;
  state.sx = Read(inputs, Input::kSx);
  state.sy = Read(inputs, Input::kSy);
  state.sz = Read(inputs, Input::kSz);
  state.txy = Read(inputs, Input::kTxy);
  state.tyz = Read(inputs, Input::kTyz);
  state.tzx = Read(inputs, Input::kTzx);
  results.state = state;

  const stress::PrincipalValues values = stress::ComputePrincipalValues(state);
  results.values = values;

  // The three axes are found together (one orthonormal set); an error there
  // leaves no direction.
  const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(state, values);
  stress::PrincipalAxes lowerAxes{};
  for (int i = 0; i < 3; ++i) {
    const stress::AxisAngles angles = stress::AxisOrientation(axes[i], inputs.azimuth);
    lowerAxes[i] = angles.lower;
    results.directions[i] =
        PrincipalDirection{axes[i], angles.lower, ToDegrees(angles.azimuth), ToDegrees(angles.dip),
                           stress::PrincipalPlane(angles)};
  }

  // Only what is shown of s1 takes the handedness factor; the stored axes stay.
  const double f = stress::HandednessFactor(axes);
  results.cosines = {{Scaled(f, axes[0]), axes[1], axes[2]}};

  if (!inputs.jointActive)
    return;
  stress::JointPlane joint;
  joint.beta = beta;
  joint.psi = psi;
  joint.c = Read(inputs, Input::kJointCohesion);
  joint.phi = Read(inputs, Input::kJointFriction);
  results.joint = joint;
  results.jointStresses = stress::ComputeJointStresses(values, lowerAxes, joint);
}

}  // namespace

PassInputs PassInputs::Of(const stress::StressState& state, stress::Azimuth azimuth,
                          const std::optional<stress::JointPlane>& joint) {
  PassInputs inputs;
  inputs.azimuth = azimuth;
  inputs[Input::kSx] = state.sx;
  inputs[Input::kSy] = state.sy;
  inputs[Input::kSz] = state.sz;
  inputs[Input::kTxy] = state.txy;
  inputs[Input::kTyz] = state.tyz;
  inputs[Input::kTzx] = state.tzx;
  if (joint.has_value()) {
    inputs.jointActive = true;
    inputs[Input::kJointDipDirection] = joint->beta;
    inputs[Input::kJointDip] = joint->psi;
    inputs[Input::kJointCohesion] = joint->c;
    inputs[Input::kJointFriction] = joint->phi;
  }
  return inputs;
}

PassResults RunPass(const PassInputs& inputs) {
  PassResults results;
  results.azimuth = inputs.azimuth;
  results.jointActive = inputs.jointActive;
  results.porePressure = inputs.porePressure;
  try {
    Run(inputs, results);
  } catch (const Unread& unread) {
    results.stop = PassStop{unread.input, {}};
  } catch (const numeric::FloatingPointError& error) {
    results.stop = PassStop{std::nullopt, error.what()};
  }
  return results;
}

}  // namespace engine
