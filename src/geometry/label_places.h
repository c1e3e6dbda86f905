#pragma once
// Where the text labels of a figure's marks go: each beside its mark, clear
// of the other labels, of every mark, of the figure's lines and of its edges,
// as far as room allows. Plain geometry in the units of the figure's device
// (screen pixels, or a printer's dots), y downward; shared by the window's
// charts and the painted figures, so that both put a label in the same place.

#include <vector>

namespace geometry {

struct PlanePoint {
  double x = 0.0;
  double y = 0.0;
};

/// An axis-aligned rectangle; width and height >= 0.
struct PlaneRect {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;

  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
  /// The rectangle grown by `margin` on every side.
  PlaneRect Grown(double margin) const {
    return {left - margin, top - margin, width + 2.0 * margin, height + 2.0 * margin};
  }
};

/// Whether the two rectangles share more than an edge.
bool Overlap(const PlaneRect& a, const PlaneRect& b);
/// Whether `inner` lies within `outer`, edges included.
bool Within(const PlaneRect& inner, const PlaneRect& outer);
/// Whether some point of the polyline `line` lies inside `rect` (its edges included).
bool Crosses(const std::vector<PlanePoint>& line, const PlaneRect& rect);

/// A line the labels keep clear of; `weight` says how much a label over it
/// costs: 1 for a faint line, kNamedLine for one a label names or that is
/// drawn in full strength.
struct AvoidedLine {
  std::vector<PlanePoint> points;
  int weight = 1;
};
inline constexpr int kNamedLine = 10;

/// What the labels must keep clear of.
struct LabelScene {
  /// Every label lies inside, where it is no larger than the area.
  PlaneRect area;
  /// The marks' own boxes (a cross's square): never covered where room allows.
  std::vector<PlaneRect> marks;
  /// Texts already drawn: never overlapped where room allows.
  std::vector<PlaneRect> taken;
  std::vector<AvoidedLine> lines;
  /// Half the size of a mark's box: the distance from a mark's centre to the
  /// side of a label beside it, less `gap`.
  double markArm = 0.0;
  /// Kept clear around a label: between a label and a mark or another label;
  /// half as much again between a label and a line (drawn wider than a
  /// mark's stroke). A label at a corner of its mark stands twice `gap` to
  /// the side of the mark's centre and twice above or below it, so that it
  /// keeps clear of lines through the mark's centre.
  double gap = 0.0;
};

/// A label to place: `width` x `height` beside the mark centred at `at`.
struct LabelRequest {
  PlanePoint at;
  double width = 0.0;
  double height = 0.0;
};

/// The box of each label, in order; each is placed after the ones before it
/// and keeps clear of them. A label's first choice is centred above its mark;
/// then come its mark's upper corners, its sides, the places below it, and
/// the same places further out. A place that leaves the area is moved back
/// inside. The place chosen costs least, in this order of importance: outside
/// the area (only for a label larger than the area), over another label or a
/// taken text, over a mark, over lines (their weights summed) and then the
/// distance from the mark; of equal costs the first. So a label overlaps
/// another only when no place in the area lets it keep clear.
std::vector<PlaneRect> PlaceLabels(const std::vector<LabelRequest>& labels,
                                   const LabelScene& scene);

}  // namespace geometry
