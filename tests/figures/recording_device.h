#pragma once
// A paint device that keeps what is painted on it: every text with the place
// of its baseline's start (device units), and every line, polyline or polygon
// with its pen. 96 dots per inch, like a screen.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QTextItem>
#include <QTransform>
#include <vector>

namespace figures_testing {

struct DrawnText {
  QString text;
  QPointF at;
};

struct DrawnLine {
  QPolygonF points;
  QPen pen;
};

class RecordingEngine final : public QPaintEngine {
 public:
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & QPaintEngine::DirtyPen)
      pen_ = state.pen();
    if (state.state() & QPaintEngine::DirtyTransform)
      transform_ = state.transform();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    texts.push_back({item.text(), transform_.map(p)});
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
    Keep(points, count);
  }
  void drawPath(const QPainterPath& path) override {
    for (const QPolygonF& polygon : path.toSubpathPolygons())
      Keep(polygon.constData(), static_cast<int>(polygon.size()));
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      const QPointF ends[] = {lines[i].p1(), lines[i].p2()};
      Keep(ends, 2);
    }
  }

  std::vector<DrawnText> texts;
  std::vector<DrawnLine> lines;

 private:
  void Keep(const QPointF* points, int count) {
    QPolygonF polygon;
    for (int i = 0; i < count; ++i)
      polygon << transform_.map(points[i]);
    lines.push_back({polygon, pen_});
  }

  QPen pen_;
  QTransform transform_;
};

class RecordingDevice final : public QPaintDevice {
 public:
  RecordingDevice(int width, int height) : width_(width), height_(height) {}
  ~RecordingDevice() override = default;

  QPaintEngine* paintEngine() const override { return &engine_; }
  const RecordingEngine& Recorded() const { return engine_; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return width_;
      case PdmHeight:
        return height_;
      case PdmWidthMM:
        return width_ * 254 / 960;
      case PdmHeightMM:
        return height_ * 254 / 960;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return 1 << 24;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  int width_;
  int height_;
  mutable RecordingEngine engine_;
};

}  // namespace figures_testing
