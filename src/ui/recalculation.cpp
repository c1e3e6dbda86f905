// The recalculation pass: DrawNet, then CalculateStresses.

#include "ui/main_window.h"

namespace ui {

void TFrmMorvane::Recalculate() {
  DrawNet();
  CalculateStresses();
}

void TFrmMorvane::DrawNet() {}

void TFrmMorvane::CalculateStresses() {}

void TFrmMorvane::PlotPlane(projection::PointSeries&, projection::Colour, double, double,
                            std::string_view) {}

}  // namespace ui
