// The recalculation pass: DrawNet, then CalculateStresses.
// Every box is read with ReadNumber and written with FormatNumber, in a fixed
// order. An error ends the pass where it arises and nothing is undone: what
// was written before stays, the rest keeps the previous pass's content.

#include <QCheckBox>
#include <QLineEdit>
#include <QScopeGuard>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "projection/equal_area.h"
#include "projection/folded_plane.h"
#include "stress/joint_stresses.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "ui/main_window.h"
#include "ui/mohr_window.h"
#include "ui/net_chart.h"

namespace ui {
namespace {

using projection::PointOrder;

// Chart series by role.
constexpr int kCircleSeries = 1;
constexpr int kJointSeries = 2;
constexpr int kPoleSeries = 3;

/// What the window shows of one principal stress.
struct PrincipalOutput {
  const char* valueBox;
  const char* azimuthBox;
  const char* dipBox;
  int series;
  projection::Colour colour;
  const char* label;
  std::array<const char*, 3> cosineBoxes;  ///< L, M, N
};

constexpr std::array<PrincipalOutput, 3> kPrincipalOutputs{{
    {"input_s1",
     "input_s1_beta",
     "input_s1_psi",
     4,
     projection::kGreen,
     "s1",
     {"edtL1", "edtM1", "edtN1"}},
    {"input_s2",
     "input_s2_beta",
     "input_s2_psi",
     5,
     projection::kRed,
     "s2",
     {"edtL2", "edtM2", "edtN2"}},
    {"input_s3",
     "input_s3_beta",
     "input_s3_psi",
     6,
     projection::kBlue,
     "s3",
     {"edtL3", "edtM3", "edtN3"}},
}};

constexpr int kValueDecimals = 3;
constexpr int kAngleDecimals = 2;
constexpr int kCosineDecimals = 6;

double ToRadians(double degrees) {
  return numeric::Store(numeric::DegreesToRadians(degrees));
}
double ToDegrees(double radians) {
  return numeric::Store(numeric::RadiansToDegrees(radians));
}

stress::Vector3 Scaled(double factor, const stress::Vector3& v) {
  return {factor * v.x, factor * v.y, factor * v.z};
}

}  // namespace

double TFrmMorvane::ReadBox(QLineEdit* box) {
  try {
    return ReadNumber(box->text(), separators_);
  } catch (const ConversionError&) {
    unreadBox_ = box;  // the error goes on to the guard unchanged
    throw;
  }
}

void TFrmMorvane::WriteBox(QLineEdit* box, double value, int decimals) {
  box->setText(FormatNumber(value, decimals, separators_));
  box->setCursorPosition(0);  // a text wider than its box shows its leading digits
}

void TFrmMorvane::Recalculate() {
  results_ = PassResults{};
  results_.angleMode = angleMode_;
  results_.jointActive = chkJoint_->isChecked();
  // The Mohr window takes what the pass stored, also when the pass stops early.
  const auto handOver = qScopeGuard([this] { mohr_->Update(results_); });
  // The chart shows what the pass added, also when the pass stops early.
  const auto publish = qScopeGuard([this] { chart_->Publish(); });
  DrawNet();
  CalculateStresses();
}

void TFrmMorvane::DrawNet() {
  projection::PointSeries& joint = chart_->Series(kJointSeries);
  chart_->Series(kPoleSeries).ClearPoints();

  projection::PointSeries& circle = chart_->Series(kCircleSeries);
  circle.SetOrder(PointOrder::Insertion);
  traces_.DrawPrimitiveCircle(circle);

  joint.SetOrder(PointOrder::Insertion);
  if (!chkJoint_->isChecked()) {
    joint.ClearPoints();
    return;
  }
  // A joint whose angles cannot be read is not drawn.
  auto unreadable = qScopeGuard([&joint] { joint.ClearPoints(); });
  const double dipDirection = ToRadians(ReadBox(Box("input_joint_beta")));
  const double dip = ToRadians(ReadBox(Box("input_joint_psi")));
  // The joint's stresses take (beta, -psi) as the plane (beta + 180, psi); the
  // net draws that same plane.
  const projection::Plane plane = projection::FoldedPlane(dipDirection, dip);
  unreadable.dismiss();
  PlotPlane(joint, projection::kBlack, plane.dipDirection, plane.dip, "joint");
}

// Drawn again only when the plane or its series changed since the last pass.
void TFrmMorvane::PlotPlane(projection::PointSeries& series, projection::Colour colour,
                            double dipDirection, double dip, std::string_view label) {
  traces_.PlotPlane(series, chart_->Series(kPoleSeries), colour, dipDirection, dip, label);
}

void TFrmMorvane::CalculateStresses() {
  // All six are read before anything is written.
  stress::StressState state;
  state.sx = ReadBox(Box("input_sx"));
  state.sy = ReadBox(Box("input_sy"));
  state.sz = ReadBox(Box("input_sz"));
  state.txy = ReadBox(Box("input_txy"));
  state.tyz = ReadBox(Box("input_tyx"));  // the box named tyx holds tyz
  state.tzx = ReadBox(Box("input_tzx"));
  results_.state = state;

  const stress::PrincipalValues values = stress::ComputePrincipalValues(state);
  for (int i = 0; i < 3; ++i) {
    WriteBox(Box(kPrincipalOutputs[i].valueBox), values[i], kValueDecimals);
  }
  results_.values = values;

  // Each principal stress is shown completely before the next axis is sought.
  stress::PrincipalAxes lowerAxes{};
  for (int i = 0; i < 3; ++i) {
    const PrincipalOutput& out = kPrincipalOutputs[i];
    const stress::Vector3 axis = stress::PrincipalAxis(state, values, i);
    directionCosines_[i] = axis;
    const stress::AxisAngles angles = stress::AxisOrientation(axis, angleMode_);
    lowerAxes[i] = angles.lower;
    WriteBox(Box(out.azimuthBox), ToDegrees(angles.azimuth), kAngleDecimals);
    WriteBox(Box(out.dipBox), ToDegrees(angles.dip), kAngleDecimals);
    results_.directions[i] = {axis, angles.lower, ToDegrees(angles.azimuth), ToDegrees(angles.dip)};

    projection::PointSeries& series = chart_->Series(out.series);
    series.SetOrder(PointOrder::Insertion);
    const stress::PlaneAngles plane = stress::PrincipalPlane(angles);
    PlotPlane(series, out.colour, plane.dipDirection, plane.dip, out.label);
  }

  // Only what is shown of s1 takes the handedness factor; the stored axes stay.
  const double f = stress::HandednessFactor(directionCosines_);
  for (int i = 0; i < 3; ++i) {
    const stress::Vector3& axis = directionCosines_[i];
    const double factor = i == 0 ? f : 1.0;
    const auto& boxes = kPrincipalOutputs[i].cosineBoxes;
    WriteBox(Box(boxes[0]), factor * axis.x, kCosineDecimals);
    WriteBox(Box(boxes[1]), factor * axis.y, kCosineDecimals);
    WriteBox(Box(boxes[2]), factor * axis.z, kCosineDecimals);
  }
  results_.cosines = {
      {Scaled(f, directionCosines_[0]), directionCosines_[1], directionCosines_[2]}};

  if (!chkJoint_->isChecked())
    return;
  stress::JointPlane joint;
  joint.beta = ReadBox(Box("input_joint_beta"));
  joint.psi = ReadBox(Box("input_joint_psi"));
  joint.c = ReadBox(Box("input_joint_c"));
  joint.phi = ReadBox(Box("input_joint_phi"));
  results_.joint = joint;
  const stress::JointStresses result = stress::ComputeJointStresses(values, lowerAxes, joint);
  WriteBox(Box("input_sigma"), result.sigma, kValueDecimals);
  WriteBox(Box("input_tau"), result.tau, kValueDecimals);
  WriteBox(Box("input_taulim"), result.tauLim, kValueDecimals);
  results_.jointStresses = result;
}

}  // namespace ui
