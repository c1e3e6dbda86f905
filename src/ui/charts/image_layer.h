#pragma once
// An image layer of a chart: a plane set's dots over its plot area (a set
// may hold a million planes, far more than Qt Charts' series can take), or
// any picture painted for it, such as a tendency map and its legend.

#include <QChart>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QPixmap>
#include <vector>

#include "figures/plane_dots.h"

namespace ui {

class ImageLayer {
 public:
  /// A layer at stacking value `z` among its chart's items.
  explicit ImageLayer(double z) : z_(z) {}

  void Hide() {
    if (item_ != nullptr)
      item_->hide();
  }

  /// Shows a dot in colour i at `pointOf(i)` (coordinates of `chart`, which
  /// is the same chart at every call) for each of `colours`, over its plot
  /// area, at `ratio` device pixels per pixel.
  template <typename PointOf>
  void Draw(QChart* chart, const PointOf& pointOf, const std::vector<QRgb>& colours, double ratio) {
    const QRectF plot = chart->plotArea();
    QImage image((plot.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    figures::StampDotsAt(
        image, [&](std::size_t i) { return (pointOf(i) - plot.topLeft()) * ratio; }, colours,
        figures::kPlaneDotRadius * ratio);
    Show(chart, std::move(image), ratio, plot.topLeft());
  }

  /// Shows `image` (device pixels, `ratio` per pixel) with its top left
  /// corner at `at` (coordinates of `chart`).
  void Show(QChart* chart, QImage image, double ratio, const QPointF& at) {
    if (item_ == nullptr) {
      item_ = new QGraphicsPixmapItem(chart);
      item_->setZValue(z_);
    }
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(ratio);
    item_->setPixmap(pixmap);
    item_->setPos(at);
    item_->show();
  }

 private:
  double z_;
  QGraphicsPixmapItem* item_ = nullptr;  ///< a child of the chart, made when first drawn
};

}  // namespace ui
