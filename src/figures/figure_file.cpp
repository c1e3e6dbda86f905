#include "figures/figure_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <stdexcept>

#include "figures/figure_style.h"
#include "figures/mohr_painter.h"
#include "figures/net_frame.h"
#include "figures/net_painter.h"
#include "figures/rose_painter.h"
#include "files/saved_file.h"

namespace figures {
namespace {

constexpr double kMmPerInch = 25.4;

std::runtime_error Error(const QString& message) {
  return std::runtime_error(message.toStdString());
}

void CheckSize(const FigureRequest& request) {
  const auto within = [](double v, double low, double high) { return v >= low && v <= high; };
  if (!within(request.widthMm, 1.0, 2000.0) || !within(request.heightMm, 1.0, 2000.0))
    throw Error(QStringLiteral("A figure's width and height must be from 1 to 2000 mm."));
  if (!within(request.dpi, 30, 2400))
    throw Error(QStringLiteral("A figure's resolution must be from 30 to 2400 dpi."));
  const double pixels =
      request.widthMm / kMmPerInch * request.dpi * request.heightMm / kMmPerInch * request.dpi;
  if (pixels > 4e8)
    throw Error(
        QStringLiteral("The figure would have more than 400 million pixels; "
                       "choose a smaller size or resolution."));
}

QSize PixelSize(const FigureRequest& request) {
  return {static_cast<int>(std::lround(request.widthMm / kMmPerInch * request.dpi)),
          static_cast<int>(std::lround(request.heightMm / kMmPerInch * request.dpi))};
}

}  // namespace

FigureFormat FormatOfFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png"))
    return FigureFormat::kPng;
  if (suffix == QLatin1String("svg"))
    return FigureFormat::kSvg;
  throw Error(QStringLiteral("A figure is written as .png or .svg; \"%1\" is neither.")
                  .arg(QDir::toNativeSeparators(path)));
}

void PaintFigure(QPainter& painter, const QRectF& page, const FigureRequest& request) {
  painter.save();
  painter.fillRect(page, Qt::white);
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QRectF inner = page.adjusted(4.0 * pixel, 4.0 * pixel, -4.0 * pixel, -4.0 * pixel);
  if (request.kind == FigureKind::kRose) {
    PaintRose(painter, inner, request.rose, request.roseOf, request.rosePlanes, request.separators);
  } else if (request.kind == FigureKind::kSlipProbability) {
    PaintOddsCurves(painter, inner, request.curves, request.unit, request.separators);
  } else if (request.kind == FigureKind::kMohr) {
    PaintMohr(painter, inner, request.results, request.separators, request.unit, request.dots);
  } else {
    // The net as large as the page allows above its legend, centred across.
    const bool mapped = request.map.quantity != engine::MapQuantity::kNone;
    const bool contoured = request.density.has_value() && !request.density->axes.empty();
    const double legendHeight = (mapped ? MapLegendHeight(painter) + 4.0 * pixel : 0.0) +
                                (contoured ? MapLegendHeight(painter) + 4.0 * pixel : 0.0);
    const double side = std::max(1.0, std::min(inner.width(), inner.height() - legendHeight));
    const QRectF box(inner.center().x() - side / 2.0, inner.top(), side, side);
    const TendencyMap map =
        NetMapFor(painter, box, request.results, request.map, request.separators);
    DensityMap density;
    if (contoured) {
      double densityPixel = 1.0;
      const analysis::NetRaster grid = NetMapGrid(painter, box, &densityPixel);
      density = MakeDensityMap(*request.density, grid, request.separators, densityPixel);
    }
    PaintNet(painter, box, request.results, request.separators, request.dots, &map, &density);
    const QRectF plot = NetPlot(painter, box);
    const double legendWidth = std::max(plot.width(), inner.right() - plot.left());
    double legendTop = box.bottom() + 2.0 * pixel;
    if (!map.Empty()) {
      PaintMapLegend(painter, QRectF(plot.left(), legendTop, legendWidth, legendHeight), map);
      legendTop += MapLegendHeight(painter) + 4.0 * pixel;
    }
    if (!density.Empty())
      PaintDensityLegend(
          painter, QRectF(plot.left(), legendTop, legendWidth, MapLegendHeight(painter)), density);
  }
  painter.restore();
}

QByteArray FigureBytes(const FigureRequest& request, FigureFormat format) {
  CheckSize(request);
  const QSize size = PixelSize(request);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == FigureFormat::kPng) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = static_cast<int>(std::lround(request.dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
      QPainter painter(&image);
      PaintFigure(painter, QRectF(QPointF(0.0, 0.0), size), request);
    }
    if (!image.save(&buffer, "PNG"))
      throw Error(QStringLiteral("The figure could not be encoded as PNG."));
  } else {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(request.dpi);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(request.kind == FigureKind::kNet    ? QStringLiteral("Equal-area net")
                 : request.kind == FigureKind::kMohr ? QStringLiteral("Mohr diagram")
                 : request.kind == FigureKind::kRose ? QStringLiteral("Rose diagram")
                                                     : QStringLiteral("Slip probability"));
    QPainter painter(&svg);
    PaintFigure(painter, QRectF(QPointF(0.0, 0.0), size), request);
  }
  return bytes;
}

void WriteFigure(const QString& path, const FigureRequest& request) {
  files::SaveBytes(path, FigureBytes(request, FormatOfFile(path)), QStringLiteral("figure"));
}

}  // namespace figures
