// CheckStress: the computation of a pass against a long double reference
// solver and the documented ranges of its results.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "byte_input.h"
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
  const int angleMode = input.Byte();
  for (const double x :
       {s.sx, s.sy, s.sz, s.txy, s.tyz, s.tzx, joint.beta, joint.psi, joint.phi, joint.c}) {
    if (!std::isfinite(x))
      return {};
  }
  const std::string tensor = stress::testing::Describe(s);

  // The pass's steps in its order; an error ends them.
  stress::PrincipalValues values;
  stress::PrincipalAxes axes{};
  std::array<stress::AxisAngles, 3> angles{};
  std::array<stress::PlaneAngles, 3> planes{};
  double handedness = 0.0;
  try {
    values = stress::ComputePrincipalValues(s);
    for (int i = 0; i < 3; ++i) {
      axes[i] = stress::PrincipalAxis(s, values, i);
      angles[i] = stress::AxisOrientation(axes[i], angleMode);
      planes[i] = stress::PrincipalPlane(angles[i]);
    }
    handedness = stress::HandednessFactor(axes);
  } catch (const numeric::FloatingPointError& e) {
    return IsFloatingPointError(e.what()) ? std::string() : tensor + ": threw " + e.what();
  } catch (const std::exception& e) {
    return tensor + ": threw an unexpected exception: " + e.what();
  }

  const LongMatrix m = stress::testing::ToMatrix(s);
  const long double size = stress::testing::MaxComponent(s);
  for (int i = 0; i < 3; ++i) {
    for (const double x :
         {values[i], axes[i].x, axes[i].y, axes[i].z, angles[i].dip, angles[i].eastAngle,
          angles[i].azimuth, planes[i].dipDirection, planes[i].dip}) {
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
  using numeric::kPi;
  using numeric::kTwoPi;
  for (int i = 0; i < 3; ++i) {
    const stress::AxisAngles& a = angles[i];
    const stress::PlaneAngles& p = planes[i];
    const bool same = a.lower.x == axes[i].x && a.lower.y == axes[i].y && a.lower.z == axes[i].z;
    const bool opposite =
        a.lower.x == -axes[i].x && a.lower.y == -axes[i].y && a.lower.z == -axes[i].z;
    const std::string angleText =
        Number("dip", a.dip) + Number("east", a.eastAngle) + Number("azimuth", a.azimuth) +
        Number("dip direction", p.dipDirection) + Number("plane dip", p.dip);
    if (!(a.lower.z <= 0.0) || !(same || opposite))
      return tensor + ": lower axis " + std::to_string(i + 1) + " is not the axis pointing down";
    if (!Within(a.dip, 0.0L, kHalfPi) || !Within(a.azimuth, 0.0L, kTwoPi) ||
        !(a.eastAngle > static_cast<double>(-kHalfPi)) ||
        !Within(a.eastAngle, -kHalfPi, 3 * kHalfPi) || !Within(p.dip, 0.0L, kHalfPi) ||
        !(p.dipDirection < 0.0) || !Within(p.dipDirection, -kTwoPi, 0.0L))
      return tensor + ": angles of axis " + std::to_string(i + 1) + " out of range" + angleText;
  }
  if (handedness != 1.0 && handedness != -1.0)
    return tensor + Number(": handedness factor", handedness);

  // The joint, from the axes pointing down.
  stress::JointStresses result;
  try {
    const stress::PrincipalAxes lower = {angles[0].lower, angles[1].lower, angles[2].lower};
    result = stress::ComputeJointStresses(values, lower, joint);
  } catch (const numeric::FloatingPointError& e) {
    return IsFloatingPointError(e.what()) ? std::string() : tensor + ": joint threw " + e.what();
  } catch (const std::exception& e) {
    return tensor + ": joint threw an unexpected exception: " + e.what();
  }
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
