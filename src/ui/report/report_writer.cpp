#include "ui/report/report_writer.h"

#include <QBuffer>
#include <QChart>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScatterSeries>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "text/result_rows.h"
#include "ui/charts/chart_marks.h"
#include "ui/charts/mohr_chart.h"
#include "ui/common/qt_colour.h"

namespace ui {
namespace {

// The page is laid out in points (1/72 inch) from the top-left corner of the
// area inside the margins; A4 is 595.28 x 841.89 points.
constexpr double kMargin = 42.5;  // 15 mm
constexpr double kColumnGap = 24.0;
constexpr double kNetSize = 255.0;  // 9 cm
constexpr double kMohrHeight = 200.0;
constexpr double kSectionGap = 16.0;
constexpr double kRowHeight = 14.0;
constexpr double kSmallRowHeight = 13.0;
// Columns of a symbol ("txy", "s1") and of a value: wide enough for
// "-123,456,789.123" in the body font; longer numbers are set smaller.
constexpr double kNameWidth = 30.0;
constexpr double kValueWidth = 84.0;
// Device units of the PDF per inch: fine enough that no coordinate or glyph
// position is visibly rounded.
constexpr int kPdfResolution = 1200;

constexpr double kTitlePoints = 20.0;
constexpr double kHeadingPoints = 11.0;
constexpr double kBodyPoints = 9.5;
constexpr double kSmallPoints = 8.0;
constexpr double kFooterPoints = 7.0;
constexpr double kSmallestPoints = 5.0;
const QColor kGrey(90, 90, 90);
const QColor kRuleGrey(160, 160, 160);

// Positions of the results in ResultRows (the order the pass writes them).
constexpr int kValueRow = 0;
constexpr int kAngleRow = 3;   // azimuth of s1, then dip; two rows per value
constexpr int kCosineRow = 9;  // L, M, N of s1, then of s2 and s3
constexpr int kJointRow = 18;  // sigma, tau, tau-lim
// Positions of the joint's inputs in InputRows: after the six components.
constexpr int kJointInputRow = 6;

QColor PrincipalColour(int i) {
  constexpr projection::Colour kColours[] = {projection::kGreen, projection::kRed,
                                             projection::kBlue};
  return ToQColor(kColours[i]);
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

/// A cell of a table: its text in a colour, plain or bold.
struct Cell {
  QString text;
  QColor colour = Qt::black;
  bool bold = false;
  double points = kBodyPoints;
};

struct Column {
  double width;
  Qt::Alignment alignment;
};

/// The painter with the page's units: every place and size is given in
/// points from the top-left corner of the area inside the margins; fonts are
/// given in points, which the painter resolves for the device itself.
class Sheet {
 public:
  Sheet(QPainter& painter, double unitsPerPoint)
      : painter_(painter), unit_(unitsPerPoint), origin_(kMargin, kMargin) {}

  QPainter& Painter() { return painter_; }
  double Unit() const { return unit_; }

  QPointF At(double x, double y) const {
    return {(origin_.x() + x) * unit_, (origin_.y() + y) * unit_};
  }
  QRectF Box(double x, double y, double width, double height) const {
    return {At(x, y), QSizeF(width * unit_, height * unit_)};
  }

  static QFont Font(double points, bool bold = false) {
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setPointSizeF(points);
    font.setBold(bold);
    // Glyph advances as designed, not rounded to pixels of some screen.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
  }

  void Text(const QRectF& box, int flags, const QString& text, const QFont& font,
            const QColor& colour = Qt::black) {
    painter_.setFont(font);
    painter_.setPen(colour);
    painter_.drawText(box, flags, text);
  }
  void Text(double x, double y, double width, double height, int flags, const QString& text,
            const QFont& font, const QColor& colour = Qt::black) {
    Text(Box(x, y, width, height), flags, text, font, colour);
  }

  void Rule(double x, double y, double width, const QColor& colour = kRuleGrey) {
    painter_.setPen(QPen(colour, 0.5 * unit_));
    painter_.drawLine(At(x, y), At(x + width, y));
  }

  /// A section's heading at (x, y); returns the y below it.
  double Heading(double x, double y, double width, const QString& text) {
    Text(x, y, width, 16.0, Qt::AlignLeft | Qt::AlignTop, text, Font(kHeadingPoints, true));
    return y + 18.0;
  }

  /// Word-wrapped small grey text; returns the y below it.
  double Note(double x, double y, double width, const QString& text) {
    const QFont font = Font(kSmallPoints);
    painter_.setFont(font);
    const QRectF bound = painter_.boundingRect(
        Box(x, y, width, 1000.0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    Text(Box(x, y, width, 1000.0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, font,
         kGrey);
    return y + bound.height() / unit_ + 4.0;
  }

  /// The cell's font, made smaller where its text would not fit the width
  /// (a number with many digits), down to kSmallestPoints.
  QFont Fitted(const Cell& cell, double width) const {
    QFont font = Font(cell.points, cell.bold);
    const double advance = QFontMetricsF(font, painter_.device()).horizontalAdvance(cell.text);
    const double room = (width - 2.0) * unit_;
    if (advance > room)
      font.setPointSizeF(std::max(kSmallestPoints, cell.points * room / advance));
    return font;
  }

  /// Rows of cells in columns, each row `rowHeight` high, vertically centred;
  /// returns the y below the last row.
  double Table(double x, double y, const std::vector<Column>& columns,
               const std::vector<std::vector<Cell>>& rows, double rowHeight = kRowHeight) {
    for (const std::vector<Cell>& row : rows) {
      double left = x;
      for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
        const Cell& cell = row[i];
        Text(left, y, columns[i].width, rowHeight, columns[i].alignment | Qt::AlignVCenter,
             cell.text, Fitted(cell, columns[i].width), cell.colour);
        left += columns[i].width;
      }
      y += rowHeight;
    }
    return y;
  }

 private:
  QPainter& painter_;
  double unit_;
  QPointF origin_;
};

/// A pole or a principal stress's mark, where the chart draws it.
struct Mark {
  QPointF scene;
  QColor colour;
};

/// The crosses of the charts are marker images, which a PDF would embed as
/// pictures: each visible scatter series that draws one gives up its image
/// (its labels stay where they are) and the places of its points are
/// returned, to be drawn again as two lines each.
std::vector<Mark> TakeImageMarks(QChart* chart) {
  std::vector<Mark> marks;
  for (QAbstractSeries* series : chart->series()) {
    auto* scatter = qobject_cast<QScatterSeries*>(series);
    if (scatter == nullptr || !scatter->isVisible() || scatter->lightMarker().isNull())
      continue;
    for (const QPointF& point : scatter->points())
      marks.push_back({chart->mapToScene(chart->mapToPosition(point, scatter)), scatter->color()});
    scatter->setLightMarker(QImage());
    scatter->setBrush(Qt::NoBrush);
    QPen pen = scatter->pen();
    pen.setStyle(Qt::NoPen);  // keeps its width, by which the labels stand off
    scatter->setPen(pen);
  }
  return marks;
}

/// A chart view laid out at `size` pixels without appearing on the screen.
void LayOutOffScreen(QChartView& view, const QSize& size) {
  view.setAttribute(Qt::WA_DontShowOnScreen);
  view.setAttribute(Qt::WA_QuitOnClose, false);
  view.setMinimumSize(1, 1);
  view.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  view.resize(size);
  view.show();
}

/// The pixel size of a chart that fills `width` x `height` points at the
/// view's own resolution, so that its fonts keep their point sizes on paper.
QSize ChartPixels(const QChartView& view, double width, double height) {
  const double perPoint = view.logicalDpiX() / 72.0;
  return {qRound(width * perPoint), qRound(height * perPoint)};
}

/// Maps the chart's scene onto a box of the page.
class ScenePlacement {
 public:
  ScenePlacement(const QRectF& source, const QRectF& target)
      : source_(source), target_(target), scale_(target.width() / source.width()) {}

  QPointF Map(const QPointF& scene) const {
    return target_.topLeft() + (scene - source_.topLeft()) * scale_;
  }
  double Scale() const { return scale_; }

  /// Draws the scene as vectors into the target box.
  void Render(QPainter& painter, QGraphicsScene& scene) const {
    painter.save();
    painter.translate(target_.topLeft());
    painter.scale(scale_, target_.height() / source_.height());
    painter.translate(-source_.topLeft());
    scene.render(&painter, source_, source_, Qt::IgnoreAspectRatio);
    painter.restore();
  }

 private:
  QRectF source_;
  QRectF target_;
  double scale_;
};

/// Draws a chart view's scene into `box` (points), with its crosses as lines.
/// Returns the placement, for anything drawn over it.
ScenePlacement RenderChart(Sheet& sheet, QChartView& view, const QRectF& box) {
  const std::vector<Mark> marks = TakeImageMarks(view.chart());
  const ScenePlacement placement(view.sceneRect(),
                                 sheet.Box(box.x(), box.y(), box.width(), box.height()));
  QPainter& painter = sheet.Painter();
  painter.setRenderHint(QPainter::Antialiasing, true);
  placement.Render(painter, *view.scene());
  // The cross of the window's marker image: one pixel wide, arms of
  // kCrossArm pixels beside the centre pixel.
  const double arm = (kCrossArm + 0.5) * placement.Scale();
  for (const Mark& mark : marks) {
    painter.setPen(QPen(mark.colour, placement.Scale(), Qt::SolidLine, Qt::FlatCap));
    const QPointF c = placement.Map(mark.scene);
    painter.drawLine(c - QPointF(arm, 0.0), c + QPointF(arm, 0.0));
    painter.drawLine(c - QPointF(0.0, arm), c + QPointF(0.0, arm));
  }
  return placement;
}

class ReportPage {
 public:
  ReportPage(QPainter& painter, const ReportContent& content)
      : sheet_(painter, painter.device()->logicalDpiX() / 72.0),
        content_(content),
        inputs_(text::InputRows(content.results, content.separators)),
        results_(text::ResultRows(content.results, content.separators)),
        derived_(text::DerivedRows(content.results, content.separators)) {
    const double pageWidth = painter.device()->width() / sheet_.Unit();
    const double pageHeight = painter.device()->height() / sheet_.Unit();
    width_ = pageWidth - 2.0 * kMargin;
    height_ = pageHeight - 2.0 * kMargin;
    columnWidth_ = (width_ - kColumnGap) / 2.0;
  }

  void Paint() {
    double y = Title();
    const double left = Inputs(0.0, y);
    const double right = Results(columnWidth_ + kColumnGap, y);
    y = Figures(std::max(left, right) + kSectionGap);
    Derived(y + kSectionGap);
    Footer();
  }

 private:
  bool JointActive() const { return content_.results.jointActive; }
  const QString& Result(int row) const { return results_[row].value; }

  double Title() {
    sheet_.Text(0.0, 0.0, width_, 26.0, Qt::AlignLeft | Qt::AlignBottom,
                QStringLiteral("Stress state"), Sheet::Font(kTitlePoints, true));
    const QLocale& locale = content_.locale;
    const QString written = locale.toString(content_.written.date(), QLocale::LongFormat) +
                            QStringLiteral(", ") +
                            locale.toString(content_.written.time(), QLocale::ShortFormat);
    sheet_.Text(0.0, 0.0, width_, 24.0, Qt::AlignRight | Qt::AlignBottom, written,
                Sheet::Font(kBodyPoints), kGrey);
    sheet_.Rule(0.0, 31.0, width_);
    return 42.0;
  }

  double Inputs(double x, double y) {
    y = sheet_.Heading(x, y, columnWidth_, QStringLiteral("Inputs"));
    y = sheet_.Note(x, y, columnWidth_,
                    QStringLiteral("Stress components in the frame x East, y North, z up; "
                                   "compression positive."));
    const std::vector<Column> columns = {{kNameWidth, Qt::AlignLeft},
                                         {kValueWidth, Qt::AlignRight},
                                         {columnWidth_ - kNameWidth - kValueWidth, Qt::AlignLeft}};
    const char* descriptions[] = {"normal stress, x (East)", "normal stress, y (North)",
                                  "normal stress, z (up)",   "shear stress, xy",
                                  "shear stress, yz",        "shear stress, zx"};
    std::vector<std::vector<Cell>> rows;
    for (int i = 0; i < 6; ++i)
      rows.push_back({{inputs_[i].name, Qt::black, true},
                      {inputs_[i].value},
                      {QStringLiteral("   ") + Utf8(descriptions[i]), kGrey, false, kSmallPoints}});
    y = sheet_.Table(x, y, columns, rows);
    if (!JointActive())
      return y;

    y = sheet_.Heading(x, y + 8.0, columnWidth_, QStringLiteral("Joint"));
    const char* symbols[] = {"\u03b2", "\u03c8", "\u03c6", "c"};
    const char* jointDescriptions[] = {"dip direction (\u00b0)", "dip (\u00b0)",
                                       "friction angle (\u00b0)", "cohesion"};
    rows.clear();
    for (int i = 0; i < 4; ++i)
      rows.push_back(
          {{Utf8(symbols[i]), Qt::black, true},
           {inputs_[kJointInputRow + i].value},
           {QStringLiteral("   ") + Utf8(jointDescriptions[i]), kGrey, false, kSmallPoints}});
    return sheet_.Table(x, y, columns, rows);
  }

  double Results(double x, double y) {
    y = sheet_.Heading(x, y, columnWidth_, QStringLiteral("Principal stresses"));
    const double angleWidth = (columnWidth_ - kNameWidth - kValueWidth) / 2.0;
    const std::vector<Column> principal = {{kNameWidth, Qt::AlignLeft},
                                           {kValueWidth, Qt::AlignRight},
                                           {angleWidth, Qt::AlignRight},
                                           {angleWidth, Qt::AlignRight}};
    std::vector<std::vector<Cell>> rows = {{{},
                                            {QStringLiteral("value"), kGrey, false, kSmallPoints},
                                            {Utf8("azimuth (\u00b0)"), kGrey, false, kSmallPoints},
                                            {Utf8("dip (\u00b0)"), kGrey, false, kSmallPoints}}};
    for (int i = 0; i < 3; ++i) {
      const QColor colour = PrincipalColour(i);
      rows.push_back({{QStringLiteral("s%1").arg(i + 1), colour, true},
                      {Result(kValueRow + i), colour},
                      {Result(kAngleRow + 2 * i), colour},
                      {Result(kAngleRow + 2 * i + 1), colour}});
    }
    y = sheet_.Table(x, y, principal, rows);
    const QString convention = content_.results.azimuth == stress::Azimuth::kClockwiseFromNorth
                                   ? QStringLiteral("azimuth clockwise from North")
                                   : QStringLiteral("azimuth counter-clockwise from East");
    y = sheet_.Note(x, y + 2.0, columnWidth_,
                    QStringLiteral("Axes pointing downward; dip below the horizontal;\n") +
                        convention + QLatin1Char('.'));

    y = sheet_.Heading(x, y + 6.0, columnWidth_, QStringLiteral("Direction cosines"));
    const double cosineWidth = (columnWidth_ - 64.0) / 3.0;
    const std::vector<Column> cosines = {{64.0, Qt::AlignLeft},
                                         {cosineWidth, Qt::AlignRight},
                                         {cosineWidth, Qt::AlignRight},
                                         {cosineWidth, Qt::AlignRight}};
    rows = {{{},
             {QStringLiteral("s1"), PrincipalColour(0), true},
             {QStringLiteral("s2"), PrincipalColour(1), true},
             {QStringLiteral("s3"), PrincipalColour(2), true}}};
    const char* components[] = {"L (x, East)", "M (y, North)", "N (z, up)"};
    for (int row = 0; row < 3; ++row) {
      std::vector<Cell> cells = {{Utf8(components[row]), Qt::black, false, kSmallPoints}};
      for (int column = 0; column < 3; ++column)
        cells.push_back({Result(kCosineRow + 3 * column + row), PrincipalColour(column)});
      rows.push_back(cells);
    }
    y = sheet_.Table(x, y, cosines, rows);
    if (!JointActive())
      return y;

    y = sheet_.Heading(x, y + 8.0, columnWidth_, QStringLiteral("Stresses on the joint"));
    const std::vector<Column> joint = {{kNameWidth, Qt::AlignLeft},
                                       {kValueWidth, Qt::AlignRight},
                                       {columnWidth_ - kNameWidth - kValueWidth, Qt::AlignLeft}};
    const char* symbols[] = {"\u03c3", "\u03c4", "\u03c4lim"};
    const char* descriptions[] = {"normal stress", "shear stress", "limiting shear stress"};
    rows.clear();
    for (int i = 0; i < 3; ++i)
      rows.push_back({{Utf8(symbols[i]), Qt::black, true},
                      {Result(kJointRow + i)},
                      {QStringLiteral("   ") + Utf8(descriptions[i]), kGrey, false, kSmallPoints}});
    return sheet_.Table(x, y, joint, rows);
  }

  double Figures(double y) {
    const double mohrX = columnWidth_ + kColumnGap;
    sheet_.Heading(0.0, y, kNetSize, QStringLiteral("Equal-area net, lower hemisphere"));
    sheet_.Heading(mohrX, y, columnWidth_, QStringLiteral("Mohr diagram"));
    y += 20.0;

    // The net: the series the pass drew, in a chart of the window's kind.
    NetChartView net;
    LayOutOffScreen(net, ChartPixels(net, kNetSize, kNetSize));
    for (int n = 1; n <= NetChartView::kSeriesCount; ++n) {
      projection::PointSeries& series = net.Series(n);
      for (const projection::NetPoint& p : content_.net[n - 1].Points())
        series.AddPoint(p.x, p.y, p.label, p.colour);
    }
    net.Publish();
    const ScenePlacement placement = RenderChart(sheet_, net, QRectF(0.0, y, kNetSize, kNetSize));
    NetAxisNames(net, placement);

    MohrChartView mohr;
    LayOutOffScreen(mohr, ChartPixels(mohr, columnWidth_, kMohrHeight));
    mohr.Show(content_.results, content_.separators);
    RenderChart(sheet_, mohr, QRectF(mohrX, y, columnWidth_, kMohrHeight));
    const double noteY = sheet_.Note(
        mohrX, y + kMohrHeight + 6.0, columnWidth_,
        Utf8("Mohr circles of the principal stresses, compression positive; the admissible "
             "states shaded.") +
            (content_.results.jointStresses.has_value()
                 ? Utf8(" The joint's point and its Mohr-Coulomb limit line (dashed).")
                 : QString()));
    return std::max(y + kNetSize, noteY);
  }

  /// "Y (North)" at the top of the net and "X" at its right end, as the
  /// window names its axes.
  void NetAxisNames(const NetChartView& net, const ScenePlacement& placement) {
    QChart* chart = net.chart();
    const auto onPage = [&](double x, double y) {
      return placement.Map(chart->mapToScene(chart->mapToPosition(QPointF(x, y))));
    };
    const QFont font = Sheet::Font(kSmallPoints);
    const double u = sheet_.Unit();
    const QSizeF box(60.0 * u, 12.0 * u);
    const QPointF top = onPage(0.0, NetChartView::kNetRange);
    sheet_.Text(QRectF(top + QPointF(4.0 * u, 0.0), box), Qt::AlignLeft | Qt::AlignTop,
                QStringLiteral("Y (North)"), font);
    const QPointF right = onPage(NetChartView::kNetRange, 0.0);
    sheet_.Text(QRectF(right - QPointF(box.width() + 3.0 * u, box.height() + 1.0 * u), box),
                Qt::AlignRight | Qt::AlignBottom, QStringLiteral("X"), font);
  }

  void Derived(double y) {
    y = sheet_.Heading(0.0, y, width_, QStringLiteral("Derived quantities"));
    const double value = columnWidth_ - 150.0;
    const std::vector<Column> columns = {{150.0, Qt::AlignLeft},
                                         {value, Qt::AlignRight},
                                         {kColumnGap, Qt::AlignLeft},
                                         {150.0, Qt::AlignLeft},
                                         {value, Qt::AlignRight}};
    const qsizetype half = (derived_.size() + 1) / 2;
    std::vector<std::vector<Cell>> rows;
    for (qsizetype i = 0; i < half; ++i) {
      std::vector<Cell> row = {{derived_[i].name}, {derived_[i].value}, {}};
      if (i + half < derived_.size()) {
        row.push_back({derived_[i + half].name});
        row.push_back({derived_[i + half].value});
      }
      rows.push_back(row);
    }
    sheet_.Table(0.0, y, columns, rows, kSmallRowHeight);
  }

  void Footer() {
    sheet_.Rule(0.0, height_ - 12.0, width_);
    sheet_.Text(0.0, height_ - 10.0, width_, 10.0, Qt::AlignLeft | Qt::AlignBottom,
                content_.program, Sheet::Font(kFooterPoints), kGrey);
  }

  Sheet sheet_;
  const ReportContent& content_;
  QList<text::ResultRow> inputs_;
  QList<text::ResultRow> results_;
  QList<text::ResultRow> derived_;
  double width_ = 0.0;
  double height_ = 0.0;
  double columnWidth_ = 0.0;
};

}  // namespace

std::array<projection::PointList, NetChartView::kSeriesCount> NetSeriesOf(
    const NetChartView& chart) {
  std::array<projection::PointList, NetChartView::kSeriesCount> series;
  for (int n = 1; n <= NetChartView::kSeriesCount; ++n)
    series[n - 1] = chart.Points(n);
  return series;
}

void PaintReport(QPainter& painter, const ReportContent& content) {
  ReportPage(painter, content).Paint();
}

QByteArray ReportPdf(const ReportContent& content) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QStringLiteral("Stress state"));
    writer.setCreator(content.program);
    QPainter painter;
    if (!painter.begin(&writer))
      return {};
    PaintReport(painter, content);
    painter.end();
  }
  return buffer.data();
}

void SaveReport(const QString& path, const ReportContent& content) {
  const auto failure = [&path](const QString& reason) {
    return std::runtime_error(QStringLiteral("Could not save the report to %1: %2")
                                  .arg(QDir::toNativeSeparators(path), reason)
                                  .toStdString());
  };
  // The page is complete before the file is touched.
  const QByteArray pdf = ReportPdf(content);
  if (pdf.isEmpty())
    throw failure(QStringLiteral("the PDF could not be drawn"));

  // The bytes go to a temporary file beside the destination, which replaces
  // the destination on commit; unless committed, it is removed.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw failure(file.errorString());
  // A write that fills the disk may store part of its bytes and report no
  // error; writing the rest then fails with the system's reason. Each write's
  // count is checked, so that a short file is never committed.
  qint64 written = 0;
  while (written < pdf.size()) {
    const qint64 count = file.write(pdf.constData() + written, pdf.size() - written);
    if (count <= 0)
      throw failure(file.errorString());
    written += count;
  }
  if (!file.flush() || !file.commit())
    throw failure(file.errorString());
}

}  // namespace ui
