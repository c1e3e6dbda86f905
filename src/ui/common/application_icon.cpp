#include "ui/common/application_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QtMath>
#include <cmath>

#include "figures/figure_style.h"
#include "projection/colour.h"

namespace ui {
namespace {

// The drawing's own square, in which the coordinates below are given (y down).
constexpr qreal kSide = 64.0;

/// Appends to `path` the shorter circular arc of radius `r` from its current
/// position `from` to `to`, turning clockwise on the screen when `clockwise`.
void ArcTo(QPainterPath& path, QPointF from, QPointF to, qreal r, bool clockwise) {
  const QPointF chord = to - from;
  const qreal length = std::hypot(chord.x(), chord.y());
  const QPointF unit = chord / length;
  const qreal offset = std::sqrt(std::max(r * r - length * length / 4, 0.0));
  // The centre lies to the left of the chord (seen along it, y down) for a
  // clockwise arc, to its right otherwise.
  const QPointF normal(-unit.y(), unit.x());
  const QPointF centre = (from + to) / 2 + (clockwise ? offset : -offset) * normal;
  // Qt counts angles counter-clockwise on the screen, hence the signs.
  const qreal start = -qRadiansToDegrees(std::atan2(from.y() - centre.y(), from.x() - centre.x()));
  qreal end = -qRadiansToDegrees(std::atan2(to.y() - centre.y(), to.x() - centre.x()));
  qreal sweep = end - start;
  while (sweep > 180)
    sweep -= 360;
  while (sweep < -180)
    sweep += 360;
  path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), start, sweep);
}

QPainterPath Arc(QPointF from, QPointF to, qreal r, bool clockwise) {
  QPainterPath path(from);
  ArcTo(path, from, to, r, clockwise);
  return path;
}

QPainterPath Cross(QPointF centre) {
  QPainterPath path;
  path.moveTo(centre - QPointF(3, 0));
  path.lineTo(centre + QPointF(3, 0));
  path.moveTo(centre - QPointF(0, 3));
  path.lineTo(centre + QPointF(0, 3));
  return path;
}

class NetIconEngine final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    DrawApplicationIcon(*painter, rect);
  }
  // Painting the net's curves costs about the same at any size, so the sizes
  // of a window icon are scaled down from one painting at the largest.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size.width() <= kLargestShown.width() && size.height() <= kLargestShown.height()) {
      if (largest_.isNull())
        largest_ = Painted(kLargestShown, mode, state);
      if (size == kLargestShown)
        return largest_;
      return largest_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return Painted(size, mode, state);
  }
  // The sizes a desktop shows a window's icon at; any other is painted too.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), kLargestShown};
  }
  QIconEngine* clone() const override { return new NetIconEngine; }
  QString key() const override { return QStringLiteral("KelvaneNet"); }

 private:
  static constexpr QSize kLargestShown{64, 64};

  QPixmap Painted(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }

  QPixmap largest_;
};

}  // namespace

void DrawApplicationIcon(QPainter& painter, const QRectF& target) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const qreal side = std::min(target.width(), target.height());
  painter.translate(target.center() - QPointF(side, side) / 2);
  painter.scale(side / kSide, side / kSide);
  const QPointF centre(32, 32);

  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawEllipse(centre, 28, 28);
  painter.setBrush(Qt::NoBrush);

  // The net: north-south great circles of dips 30 and 60 degrees, the two
  // diameters and two small circles.
  painter.setPen(QPen(QColor(0xb4, 0xb4, 0xb4), 0.8));
  const QPointF north(32, 4);
  const QPointF south(32, 60);
  for (const qreal r : {29.7, 43.4}) {
    painter.drawPath(Arc(north, south, r, true));
    painter.drawPath(Arc(north, south, r, false));
  }
  painter.drawLine(QPointF(4, 32), QPointF(60, 32));
  painter.drawLine(north, south);
  painter.drawPath(Arc(QPointF(12.2, 12.2), QPointF(51.8, 12.2), 29.7, false));
  painter.drawPath(Arc(QPointF(12.2, 51.8), QPointF(51.8, 51.8), 29.7, true));

  // The planes of s1, s2, s3 and their poles.
  const QColor s1 = figures::ToQColor(projection::kGreen);
  const QColor s2 = figures::ToQColor(projection::kRed);
  const QColor s3 = figures::ToQColor(projection::kBlue);
  const auto plane = [&painter](const QColor& colour, const QPainterPath& path) {
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(path);
  };
  plane(s1, Arc(QPointF(56.25, 18), QPointF(7.75, 46), 33.45, true));
  plane(s2, Arc(QPointF(18, 7.75), QPointF(46, 56.25), 43.4, false));
  plane(s3, Arc(north, south, 78.4, true));
  const auto pole = [&painter](const QColor& colour, QPointF at) {
    painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(Cross(at));
  };
  pole(s1, QPointF(24.4, 18.9));
  pole(s2, QPointF(49.1, 22.1));
  pole(s3, QPointF(11.9, 32));

  // The primitive circle and the north mark.
  painter.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::FlatCap));
  painter.drawEllipse(centre, 28, 28);
  painter.drawLine(QPointF(32, 0.5), QPointF(32, 5));
  painter.restore();
}

QIcon ApplicationIcon() {
  return QIcon(new NetIconEngine);
}

}  // namespace ui
