#include <algorithm>
#include <atomic>
#include <utility>

#include "projection/point_series.h"

namespace projection {

// One counter for every list of the process: a revision is never given twice.
std::uint64_t PointList::NewRevision() {
  static std::atomic<std::uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

PointList& PointList::operator=(const PointList& other) {
  order_ = other.order_;
  points_ = other.points_;
  revision_ = NewRevision();
  return *this;
}

void PointList::ClearPoints() {
  points_.clear();
  revision_ = NewRevision();
}

void PointList::AddPoint(double x, double y, std::string_view label, Colour colour) {
  revision_ = NewRevision();
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
