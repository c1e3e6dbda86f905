#include <algorithm>
#include <utility>

#include "projection/point_series.h"

namespace projection {

void PointList::ClearPoints() {
  points_.clear();
}

void PointList::AddPoint(double x, double y, std::string_view label, Colour colour) {
  NetPoint point{x, y, std::string(label), colour};
  if (order_ == PointOrder::Insertion) {
    points_.push_back(std::move(point));
    return;
  }
  // After the last stored point whose x is not greater: equal x values keep
  // their arrival order, and the rule holds even when earlier points were
  // stored unsorted (the order was changed after they arrived). A point
  // smaller than every stored one, or with a NaN x, goes first.
  const auto last = std::find_if(points_.rbegin(), points_.rend(),
                                 [x](const NetPoint& stored) { return stored.x <= x; });
  points_.insert(last.base(), std::move(point));
}

}  // namespace projection
