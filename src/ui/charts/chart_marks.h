#pragma once
// Marks that the charts draw at a point: a cross with a text label, shown by
// a Qt Charts scatter series of one point whose marker is the cross image and
// whose point label is the text.

#include <QColor>
#include <QImage>
#include <QString>

#include "figures/figure_style.h"

namespace ui {

/// Pixels from the centre of a cross to each end of its arms, and the edge
/// of the square cross image: those of the painted figures.
inline constexpr int kCrossArm = figures::kCrossArm;
inline constexpr int kCrossSize = figures::kCrossSize;

/// One horizontal and one vertical line through the centre, kCrossArm pixels
/// to each side, in `colour` on a transparent ground: drawn 1:1 as the marker.
QImage CrossImage(const QColor& colour);

/// A point-label format that shows `label` literally: Qt substitutes tags
/// beginning with '@' ("@xPoint"), so every '@' is followed by an invisible
/// word joiner.
QString LiteralLabelFormat(const QString& label);

}  // namespace ui
