#pragma once
// A rose diagram painted onto any QPainter: one petal (a wedge from the
// centre) per bin of azimuths, clockwise from North at the top, its radius
// the bin's count (or its square root, area-true) over the largest; rings at
// round counts, the four directions named, and a caption saying what is
// counted, the bin width, the number of planes and the rings' counts.
// Distances in pixels of a 96 dpi screen, scaled by the device's resolution.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "analysis/orientation_statistics.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

/// The counts at which rings stand: multiples of a round step (1, 2, 2.5 or
/// 5 times a power of ten, whole numbers only) up to the largest count,
/// about four of them; none for a largest count of 0.
std::vector<int> RoseRings(int largest);

/// Where the rose's circle lies in `box` (device units of `painter`): as
/// large as the box allows above the caption and within the direction names.
struct RoseCircle {
  QPointF centre;
  double radius = 0.0;
};
RoseCircle RoseCircleIn(const QPainter& painter, const QRectF& box);

/// Paints `rose` of `planes` planes into `box`; `what` names the azimuths
/// counted ("Strikes", "Dip directions").
void PaintRose(QPainter& painter, const QRectF& box, const analysis::RoseDiagram& rose,
               const QString& what, int planes, const text::Separators& separators);

}  // namespace figures
