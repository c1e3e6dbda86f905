#include "projection/point_series.h"

namespace projection {

void PointList::ClearPoints() { points_.clear(); }

void PointList::AddPoint(double, double, std::string_view, Colour) {}

}  // namespace projection
