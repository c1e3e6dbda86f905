#pragma once
// The application's icon: a small lower-hemisphere net with the planes of the
// three principal stresses and their poles, in their colours (s1 green, s2
// red, s3 blue). The same drawing as resources/kelvane.svg, the scalable icon
// installed for the desktop.

#include <QIcon>

class QPainter;
class QRectF;

namespace ui {

/// Draws the icon into `target`, scaled to fill it (the drawing is square).
void DrawApplicationIcon(QPainter& painter, const QRectF& target);

/// The icon, painted at whatever size is asked for. It reads no image file,
/// so showing it loads none of Qt's image format plugins.
QIcon ApplicationIcon();

}  // namespace ui
