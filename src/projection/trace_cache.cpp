#include "projection/trace_cache.h"
#include "numeric/same_bits.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace projection {

namespace {

using numeric::SameBits;

/// Passes every point on to `target` and keeps the last one.
class LastPointKept final : public PointSeries {
 public:
  explicit LastPointKept(PointSeries& target) : target_(target) {}

  void ClearPoints() override {
    target_.ClearPoints();
    last_.reset();
  }
  void AddPoint(double x, double y, std::string_view label, Colour colour) override {
    target_.AddPoint(x, y, label, colour);
    last_ = NetPoint{x, y, std::string(label), colour};
  }
  void SetOrder(PointOrder order) override { target_.SetOrder(order); }
  std::uint64_t Revision() const override { return target_.Revision(); }

  const std::optional<NetPoint>& Last() const { return last_; }

 private:
  PointSeries& target_;
  std::optional<NetPoint> last_;
};

}  // namespace

void TraceCache::DrawPrimitiveCircle(PointSeries& circle) {
  if (circle_ == &circle && circle.Revision() == circleRevision_)
    return;
  circle.ClearPoints();
  AddPrimitiveCircle(circle);
  circle_ = &circle;
  circleRevision_ = circle.Revision();
}

void TraceCache::PlotPlane(PointSeries& series, PointSeries& poles, Colour colour,
                           double dipDirection, double dip, std::string_view label) {
  auto plane = std::find_if(planes_.begin(), planes_.end(),
                            [&series](const Plane& p) { return p.series == &series; });
  if (plane != planes_.end() && plane->revision == series.Revision() && plane->colour == colour &&
      SameBits(plane->dipDirection, dipDirection) && SameBits(plane->dip, dip) &&
      plane->label == label) {
    poles.AddPoint(plane->pole.x, plane->pole.y, plane->pole.label, plane->pole.colour);
    return;
  }
  if (plane != planes_.end())
    planes_.erase(plane);  // forgotten first, in case plotting throws halfway
  LastPointKept pole(poles);
  projection::PlotPlane(series, pole, colour, dipDirection, dip, label);
  if (pole.Last())
    planes_.push_back(
        {&series, series.Revision(), colour, dipDirection, dip, std::string(label), *pole.Last()});
}

}  // namespace projection
