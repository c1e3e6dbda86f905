#pragma once
// The net's curves drawn again only when they change. Net coordinates and
// angles as in equal_area.h.
// A pass draws the primitive circle and up to four planes, most often the same
// as the pass before (a Calculate with the same input, a switch of the azimuth
// convention). Each curve costs one long-double argument reduction per point,
// so a curve whose series still holds it, drawn from the same inputs to the
// bit, is left in place: the points are those drawing it again would give.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "projection/equal_area.h"
#include "projection/point_series.h"

namespace projection {

class TraceCache {
 public:
  /// Leaves `circle` holding exactly the primitive circle (AddPrimitiveCircle
  /// on an empty series).
  void DrawPrimitiveCircle(PointSeries& circle);

  /// As PlotPlane. When `series` has not changed since this cache last
  /// plotted into it, and colour, dip direction, dip and label are the same
  /// to the bit, the series is left alone and the plane's pole, remembered,
  /// is appended to `poles`.
  void PlotPlane(PointSeries& series, PointSeries& poles, Colour colour, double dipDirection,
                 double dip, std::string_view label);

 private:
  struct Plane {
    const PointSeries* series;
    std::uint64_t revision;  // the series' revision after the plane was plotted
    Colour colour;
    double dipDirection;
    double dip;
    std::string label;
    NetPoint pole;
  };

  std::vector<Plane> planes_;  // one per series plotted into
  const PointSeries* circle_ = nullptr;
  std::uint64_t circleRevision_ = 0;
};

}  // namespace projection
