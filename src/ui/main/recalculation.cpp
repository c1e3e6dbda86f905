// The recalculation pass: read the input boxes, run the engine, show what it
// computed. Every box is read with ReadNumber and written with FormatNumber.
// An error ends the pass where the engine stopped and nothing is undone: what
// the engine filled is shown, the rest keeps the previous pass's content.

#include <QCheckBox>
#include <QLineEdit>
#include <exception>

#include "engine/pass.h"
#include "numeric/floating_point_error.h"
#include "text/shown_fields.h"
#include "ui/charts/net_chart.h"
#include "ui/main/main_window.h"
#include "ui/mohr/mohr_window.h"
#include "ui/planes/plane_study.h"

namespace ui {
namespace {

using engine::Input;
using projection::PointOrder;
using text::Field;

// Chart series by role; principal value i draws its plane into series 4 + i.
constexpr int kCircleSeries = 1;
constexpr int kJointSeries = 2;
constexpr int kPoleSeries = 3;
constexpr int kFirstPrincipalSeries = 4;

constexpr Input kStressInputs[] = {Input::kSx,  Input::kSy,  Input::kSz,
                                   Input::kTxy, Input::kTyz, Input::kTzx};
constexpr Input kJointInputs[] = {Input::kJointDipDirection, Input::kJointDip,
                                  Input::kJointCohesion, Input::kJointFriction};

}  // namespace

QLineEdit* TFrmMorvane::Box(Field field) const {
  return Box(text::ObjectName(field));
}

void TFrmMorvane::WriteBox(Field field, double value) {
  QLineEdit* box = Box(field);
  box->setText(text::FormatNumber(value, text::FieldOf(field).decimals, separators_));
  box->setCursorPosition(0);  // a text wider than its box shows its leading digits
}

void TFrmMorvane::Recalculate() {
  // The boxes the pass reads: the joint's only when it is active. A text that
  // is no number leaves its input empty, and its error waits for the engine
  // to reach that input.
  engine::PassInputs inputs;
  inputs.azimuth = azimuth_;
  inputs.jointActive = chkJoint_->isChecked();
  inputs.porePressure = porePressure_;
  std::array<std::exception_ptr, engine::kInputCount> readErrors;
  const auto read = [&](Input input) {
    try {
      inputs[input] = text::ReadNumber(Box(text::InputField(input))->text(), separators_);
    } catch (const std::exception&) {
      readErrors[static_cast<int>(input)] = std::current_exception();
    }
  };
  for (const Input input : kStressInputs)
    read(input);
  if (inputs.jointActive) {
    for (const Input input : kJointInputs)
      read(input);
  }

  results_ = engine::RunPass(inputs);
  planes_->Assess(results_, PlaneDefaultsFromBoxes());
  DrawNet();
  WriteResults();
  mohr_->Update(results_);

  if (!results_.stop.has_value())
    return;
  if (const std::optional<Input> unread = results_.stop->unread) {
    const std::exception_ptr error = readErrors[static_cast<int>(*unread)];
    try {
      std::rethrow_exception(error);
    } catch (const text::ConversionError&) {
      unreadBox_ = Box(text::InputField(*unread));  // the error goes on to the guard unchanged
      throw;
    }
  }
  throw numeric::FloatingPointError(results_.stop->message);
}

// The circle, and every plane the engine found with its pole; also after a
// pass that stopped early.
void TFrmMorvane::DrawNet() {
  chart_->Series(kPoleSeries).ClearPoints();
  projection::PointSeries& circle = chart_->Series(kCircleSeries);
  circle.SetOrder(PointOrder::Insertion);
  traces_.DrawPrimitiveCircle(circle);

  projection::PointSeries& joint = chart_->Series(kJointSeries);
  joint.SetOrder(PointOrder::Insertion);
  if (results_.jointPlane.has_value()) {
    PlotPlane(joint, projection::kBlack, results_.jointPlane->dipDirection,
              results_.jointPlane->dip, "joint");
  } else {
    joint.ClearPoints();  // inactive, or its angles could not be read
  }

  for (int i = 0; i < 3; ++i) {
    const std::optional<engine::PrincipalDirection>& direction = results_.directions[i];
    if (!direction.has_value())
      break;
    directionCosines_[i] = direction->axis;
    const text::ShownField& value = text::FieldOf(text::ValueField(i));
    projection::PointSeries& series = chart_->Series(kFirstPrincipalSeries + i);
    series.SetOrder(PointOrder::Insertion);
    PlotPlane(series, value.colour, direction->plane.dipDirection, direction->plane.dip,
              value.name);
  }
  chart_->Publish();
  chart_->DrawMap();
}

// Every box the engine filled; the others keep their text.
void TFrmMorvane::WriteResults() {
  for (int i = 0; i < text::kResultCount; ++i) {
    const Field field = text::ResultField(i);
    if (const std::optional<double> value = text::ShownValue(results_, field))
      WriteBox(field, *value);
  }
}

// Drawn again only when the plane or its series changed since the last pass.
void TFrmMorvane::PlotPlane(projection::PointSeries& series, projection::Colour colour,
                            double dipDirection, double dip, std::string_view label) {
  traces_.PlotPlane(series, chart_->Series(kPoleSeries), colour, dipDirection, dip, label);
}

}  // namespace ui
