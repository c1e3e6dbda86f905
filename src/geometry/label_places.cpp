#include "geometry/label_places.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace geometry {
namespace {

/// Whether some point of the segment a-b lies in `rect`: the segment clipped
/// to the rectangle's four half-planes (Liang-Barsky) keeps a part.
bool SegmentMeets(const PlanePoint& a, const PlanePoint& b, const PlaneRect& rect) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  double low = 0.0;
  double high = 1.0;
  // Each pair: the segment's rate towards the outside of an edge, and how far
  // inside that edge its start lies.
  const std::array<std::pair<double, double>, 4> edges = {{{-dx, a.x - rect.left},
                                                           {dx, rect.Right() - a.x},
                                                           {-dy, a.y - rect.top},
                                                           {dy, rect.Bottom() - a.y}}};
  for (const auto& [rate, inside] : edges) {
    if (rate == 0.0) {
      if (inside < 0.0)
        return false;
      continue;
    }
    const double t = inside / rate;
    if (rate < 0.0)
      low = std::max(low, t);
    else
      high = std::min(high, t);
    if (low > high)
      return false;
  }
  return true;
}

/// How much a place costs, compared in the order of the members.
struct Cost {
  int outside = 0;
  int labels = 0;
  int marks = 0;
  int lines = 0;
  int ring = 0;
  auto Key() const { return std::tie(outside, labels, marks, lines, ring); }
  /// Nothing in the way: no place further out can be better.
  bool Clear() const { return outside == 0 && labels == 0 && marks == 0 && lines == 0; }
};

// Rings of places around a mark: the nearest, then each a label's height
// (above and below) or half its width (at the sides) further out.
constexpr int kRings = 3;

PlaneRect InsideArea(PlaneRect box, const PlaneRect& area) {
  if (box.width <= area.width)
    box.left = std::clamp(box.left, area.left, area.Right() - box.width);
  if (box.height <= area.height)
    box.top = std::clamp(box.top, area.top, area.Bottom() - box.height);
  return box;
}

/// The places of one ring, in order of preference (top-left corners).
std::array<PlanePoint, 8> Places(const LabelRequest& label, const LabelScene& scene, int ring) {
  const double w = label.width;
  const double h = label.height;
  const PlanePoint p = label.at;
  const double side = scene.markArm + scene.gap;  // from the centre to a label beside the mark
  const double corner = 2.0 * scene.gap;          // from the centre to a label at a corner
  const double up = ring * (h + scene.gap);
  const double out = ring * (w / 2.0 + scene.gap);
  return {{
      {p.x - w / 2.0, p.y - side - h - up},       // above
      {p.x + corner, p.y - corner - h - up},      // upper right
      {p.x - corner - w, p.y - corner - h - up},  // upper left
      {p.x + side + out, p.y - h / 2.0},          // right
      {p.x - side - w - out, p.y - h / 2.0},      // left
      {p.x - w / 2.0, p.y + side + up},           // below
      {p.x + corner, p.y + corner + up},          // lower right
      {p.x - corner - w, p.y + corner + up},      // lower left
  }};
}

}  // namespace

bool Overlap(const PlaneRect& a, const PlaneRect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

bool Within(const PlaneRect& inner, const PlaneRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

bool Crosses(const std::vector<PlanePoint>& line, const PlaneRect& rect) {
  if (line.size() == 1)
    return SegmentMeets(line.front(), line.front(), rect);
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (SegmentMeets(line[i - 1], line[i], rect))
      return true;
  }
  return false;
}

std::vector<PlaneRect> PlaceLabels(const std::vector<LabelRequest>& labels,
                                   const LabelScene& scene) {
  std::vector<PlaneRect> placed;
  placed.reserve(labels.size());
  for (const LabelRequest& label : labels) {
    PlaneRect best;
    Cost bestCost;
    bool first = true;
    for (int ring = 0; ring < kRings && (first || !bestCost.Clear()); ++ring) {
      for (const PlanePoint& corner : Places(label, scene, ring)) {
        const PlaneRect box =
            InsideArea({corner.x, corner.y, label.width, label.height}, scene.area);
        const PlaneRect clear = box.Grown(scene.gap);
        Cost cost;
        cost.ring = ring;
        cost.outside = Within(box, scene.area) ? 0 : 1;
        for (const std::vector<PlaneRect>* texts : {&scene.taken, &std::as_const(placed)}) {
          for (const PlaneRect& text : *texts)
            cost.labels += Overlap(clear, text) ? 1 : 0;
        }
        for (const PlaneRect& mark : scene.marks)
          cost.marks += Overlap(clear, mark) ? 1 : 0;
        const PlaneRect wide = box.Grown(1.5 * scene.gap);
        for (const AvoidedLine& line : scene.lines)
          cost.lines += Crosses(line.points, wide) ? line.weight : 0;
        if (first || cost.Key() < bestCost.Key()) {
          best = box;
          bestCost = cost;
          first = false;
        }
        if (bestCost.Clear())
          break;
      }
    }
    placed.push_back(best);
  }
  return placed;
}

}  // namespace geometry
