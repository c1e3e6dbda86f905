// CheckStress: the computation of a pass against a long double reference
// solver and the documented ranges of its results.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "byte_input.h"
#include "engine/pass.h"
#include "fuzz_checks.h"
#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "stress/joint_stresses.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "stress/tensor_families.h"

namespace fuzz {
namespace {

using stress::Vector3;
using stress::testing::LongColumn;
using stress::testing::LongMatrix;

LongColumn Column(const Vector3& v) {
  return {v.x, v.y, v.z};
}

bool IsFloatingPointError(const std::string& message) {
  return message == numeric::kOverflowMessage || message == numeric::kInvalidOperationMessage ||
         message == numeric::kDivisionByZeroMessage;
}

std::string Number(const char* name, long double value) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, " %s=%.17Lg", name, value);
  return buffer;
}

/// `value` within [low, high], the bounds rounded to double as stored results are.
bool Within(double value, long double low, long double high) {
  return value >= static_cast<double>(low) && value <= static_cast<double>(high);
}

}  // namespace

std::string CheckStress(std::span<const std::uint8_t> bytes) {
  ByteInput input(bytes);
  stress::StressState s;
  for (double* component : {&s.sx, &s.sy, &s.sz, &s.txy, &s.tyz, &s.tzx})
    *component = input.Double();
  stress::JointPlane joint;
  for (double* angle : {&joint.beta, &joint.psi, &joint.phi, &joint.c})
    *angle = input.Double();
  const stress::Azimuth azimuth = input.Byte() % 2 == 0 ? stress::Azimuth::kCounterClockwiseFromEast
                                                        : stress::Azimuth::kClockwiseFromNorth;
  for (const double x :
       {s.sx, s.sy, s.sz, s.txy, s.tyz, s.tzx, joint.beta, joint.psi, joint.phi, joint.c}) {
    if (!std::isfinite(x))
      return {};
  }
  const std::string tensor = stress::testing::Describe(s);

  // The whole pass, as the window and the command line run it.
  engine::PassResults pass;
  try {
    pass = engine::RunPass(engine::PassInputs::Of(s, azimuth, joint));
  } catch (const std::exception& e) {
    return tensor + ": the pass threw " + e.what();
  }
  if (pass.stop.has_value()) {
    if (pass.stop->unread.has_value() || !IsFloatingPointError(pass.stop->message))
      return tensor + ": stopped by " + pass.stop->message;
  }
  if (!pass.jointPlane.has_value() || !pass.state.has_value())
    return tensor + ": the joint's plane or the state missing";
  if (!pass.values.has_value())
    return {};  // an overflow of the values
  if (!pass.HasDirections() || !pass.cosines.has_value()) {
    if (pass.directions[0].has_value() || pass.cosines.has_value())
      return tensor + ": the axes were filled in part";
    return {};  // an error while seeking the axes
  }
  const stress::PrincipalValues values = *pass.values;
  stress::PrincipalAxes axes{};
  for (int i = 0; i < 3; ++i)
    axes[i] = pass.directions[i]->axis;

  const LongMatrix m = stress::testing::ToMatrix(s);
  const long double size = stress::testing::MaxComponent(s);
  for (int i = 0; i < 3; ++i) {
    const engine::PrincipalDirection& d = *pass.directions[i];
    for (const double x : {values[i], axes[i].x, axes[i].y, axes[i].z, d.azimuth, d.dip,
                           d.plane.dipDirection, d.plane.dip}) {
      if (std::isnan(x))
        return tensor + ": a NaN result";
    }
  }
  if (!(values.s1 >= values.s2 && values.s2 >= values.s3))
    return tensor + ": values not sorted" + Number("s1", values.s1) + Number("s2", values.s2) +
           Number("s3", values.s3);

  // The sum of magnitudes decides an all-but-zero tensor; near 1e-9 its own
  // rounding may go either way.
  const long double sum = stress::testing::SumOfMagnitudes(s);
  const bool zeros = values.s1 == 0.0 && values.s2 == 0.0 && values.s3 == 0.0 &&
                     !std::signbit(values.s1) && !std::signbit(values.s2) &&
                     !std::signbit(values.s3);
  const bool allButZero = sum < 1e-9L * (1 - 1e-12L) || (sum < 1e-9L * (1 + 1e-12L) && zeros);
  if (allButZero && !zeros)
    return tensor + ": an all-but-zero tensor without three zeros";
  if (!allButZero) {
    const stress::testing::Reference reference = stress::testing::Solve(s);
    for (int i = 0; i < 3; ++i) {
      const long double error =
          std::fabs(values[i] - reference.values[static_cast<std::size_t>(i)]);
      if (error > 1e-12L * size)
        return tensor + ": value " + std::to_string(i + 1) + Number("error", error) +
               Number("max|S|", size);
      const LongColumn u = Column(axes[i]);
      const long double residual = (m * u - values[i] * u).norm();
      if (residual > 1e-9L * size)
        return tensor + ": axis " + std::to_string(i + 1) + Number("residual", residual) +
               Number("max|S|", size);
    }
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const long double dot = Column(axes[i]).dot(Column(axes[j]));
      if (std::fabs(dot - (i == j ? 1.0L : 0.0L)) > 1e-9L)
        return tensor + ": axes " + std::to_string(i + 1) + " and " + std::to_string(j + 1) +
               Number("dot", dot);
    }
  }

  using numeric::kHalfPi;
  using numeric::kTwoPi;
  for (int i = 0; i < 3; ++i) {
    const engine::PrincipalDirection& d = *pass.directions[i];
    const bool same = d.lower.x == axes[i].x && d.lower.y == axes[i].y && d.lower.z == axes[i].z;
    const bool opposite =
        d.lower.x == -axes[i].x && d.lower.y == -axes[i].y && d.lower.z == -axes[i].z;
    const std::string angleText = Number("dip", d.dip) + Number("azimuth", d.azimuth) +
                                  Number("dip direction", d.plane.dipDirection) +
                                  Number("plane dip", d.plane.dip);
    if (!(d.lower.z <= 0.0) || !(same || opposite))
      return tensor + ": lower axis " + std::to_string(i + 1) + " is not the axis pointing down";
    if (!Within(d.dip, 0.0L, 90.0L) || !Within(d.azimuth, 0.0L, 360.0L) ||
        !Within(d.plane.dip, 0.0L, kHalfPi) || !(d.plane.dipDirection < 0.0) ||
        !Within(d.plane.dipDirection, -kTwoPi, 0.0L))
      return tensor + ": angles of axis " + std::to_string(i + 1) + " out of range" + angleText;
  }
  // The shown first column is the stored axis times the handedness factor.
  const stress::Vector3& shown = (*pass.cosines)[0];
  const bool kept = shown.x == axes[0].x && shown.y == axes[0].y && shown.z == axes[0].z;
  const bool turned = shown.x == -axes[0].x && shown.y == -axes[0].y && shown.z == -axes[0].z;
  if (!kept && !turned)
    return tensor + ": the shown s1 cosines are not the axis times +-1";

  // The joint, from the axes pointing down.
  if (!pass.jointStresses.has_value())
    return {};  // a floating-point error on the joint
  const stress::JointStresses result = *pass.jointStresses;
  char jointText[160];
  std::snprintf(jointText, sizeof jointText, " joint beta=%.17g psi=%.17g phi=%.17g c=%.17g",
                joint.beta, joint.psi, joint.phi, joint.c);
  const std::string where = tensor + jointText;
  if (std::isnan(result.sigma) || std::isnan(result.tau) || std::isnan(result.tauLim))
    return where + ": a NaN joint result";
  if (!(result.tau >= 0.0) || (result.sigma < 0.0 && result.tauLim != 0.0))
    return where + Number(": tau", result.tau) + Number("sigma", result.sigma) +
           Number("tauLim", result.tauLim);
  // With a unit normal (angles below 2^63 rad) the joint's stresses are those
  // of the tensor itself, up to the axes' residuals: sigma = n.S.n and
  // tau^2 = |S n|^2 - sigma^2.
  const LongColumn n = Column(stress::JointNormal(joint.beta, joint.psi));
  if (!allButZero && std::fabs(n.squaredNorm() - 1.0L) < 1e-12L) {
    const LongColumn sn = m * n;
    const long double sigma = n.dot(sn);
    const long double tau2 = (sn - sigma * n).squaredNorm();
    const long double tau = result.tau;
    if (std::fabs(result.sigma - sigma) > 1e-8L * size ||
        std::fabs(tau * tau - tau2) > 1e-8L * size * size)
      return where + Number(": sigma", result.sigma) + Number("reference", sigma) +
             Number("tau^2", tau * tau) + Number("reference", tau2);
  }
  return {};
}

}  // namespace fuzz
