#pragma once
// What the window's charts and the painted figures draw alike: colours, line
// widths and the cross marks. Widths and distances are in pixels of a 96 dpi
// screen (0.75 point each); a painter on another device scales them by its
// resolution.

#include <QColor>
#include <QFont>

#include "projection/colour.h"

namespace figures {

/// Device units per pixel of a 96 dpi screen on a device of `dpi`.
inline double PixelsOn(int dpi) {
  return dpi / 96.0;
}

inline QColor ToQColor(projection::Colour colour) {
  return QColor(projection::RedOf(colour), projection::GreenOf(colour), projection::BlueOf(colour));
}

/// Pixels from the centre of a cross to each end of its arms; a cross is one
/// pixel wide and 2 * kCrossArm + 1 pixels long.
inline constexpr int kCrossArm = 5;
inline constexpr int kCrossSize = 2 * kCrossArm + 1;
/// Point size of a mark's label (a pole's name, s1 on the Mohr diagram).
inline constexpr int kMarkLabelPoints = 8;
/// Pixels from a mark's point up to its label's baseline, as Qt Charts stands
/// it: half the marker, the marker pen (2) and 2 more, rounded up.
inline constexpr int kMarkLabelLift = 10;

/// The grid and the frame of a painted figure.
inline const QColor kGridColour(215, 215, 215);
inline const QColor kAxisColour(140, 140, 140);

/// The font of a figure's labels, in points, with glyph advances as designed
/// (no hinting to some screen's pixels).
inline QFont LabelFont() {
  QFont font;
  font.setPointSize(kMarkLabelPoints);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

/// The net's curves: one pixel wide.
inline constexpr double kNetLineWidth = 1.0;

/// The Mohr diagram: the circles (round caps, so a circle of radius 0 is a
/// dot), the dashed limit line and the shaded admissible region.
inline constexpr double kMohrLineWidth = 1.2;
/// Points on each half-circle: one per degree.
inline constexpr int kMohrCircleSegments = 180;
inline const QColor kMohrCircleColour(40, 40, 40);
inline const QColor kMohrRegionColour(222, 232, 244);
/// The total-stress circles behind a diagram at effective stress: faint.
inline const QColor kMohrTotalCircleColour(160, 160, 160);

}  // namespace figures
