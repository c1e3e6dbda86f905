#pragma once
// The frame of the equal-area net, as the window's chart and the painted net
// both draw it. Net coordinates x East (right), y North (up); both axes run
// from -kNetRange to kNetRange on a square plot, so the unit circle is round.

#include <QRectF>

namespace figures {

inline constexpr double kNetRange = 1.1;
/// Ticks and value labels every half unit from the centre: the corners of the
/// range carry none, so no label of one axis meets one of the other.
inline constexpr double kNetTickInterval = 0.5;
/// Decimals of the net's value labels ("0.50").
inline constexpr int kNetTickDecimals = 2;

/// The square plot inside `room` (device pixels), as large as it can be while
/// the net's rim (y = 1) stays at or below `rimTopMin`. Its side is an odd
/// number of pixels at whole-pixel edges, so the centre of the net falls on a
/// pixel's centre and the diameters are drawn one pixel wide; centred across
/// the room, and vertically as near the middle of the allowed places as
/// whole pixels permit.
QRectF NetPlotSquare(const QRectF& room, double rimTopMin);

}  // namespace figures
