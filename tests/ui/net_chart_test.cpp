#include "ui/charts/net_chart.h"

#include <gtest/gtest.h>

#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "projection/colour.h"
#include "projection/equal_area.h"
#include "test_names.h"

namespace {

using test_names::RowName;

using projection::Colour;
using projection::kBlack;
using projection::kBlue;
using projection::kGreen;
using projection::kRed;
using ui::NetChartView;

QXYSeries* QtSeries(NetChartView& view, int n) {
  return qobject_cast<QXYSeries*>(view.chart()->series().at(n - 1));
}

// The pole series that draw a cross and a label, in drawing order.
std::vector<QScatterSeries*> VisiblePoles(NetChartView& view) {
  std::vector<QScatterSeries*> poles;
  const auto all = view.chart()->series();
  for (qsizetype i = NetChartView::kSeriesCount; i < all.size(); ++i) {
    auto* pole = qobject_cast<QScatterSeries*>(all[i]);
    if (pole != nullptr && pole->isVisible())
      poles.push_back(pole);
  }
  return poles;
}

void AddCircle(projection::PointSeries& series) {
  for (int i = 0; i <= 90; ++i)
    series.AddPoint(std::cos(i * 0.06981317), std::sin(i * 0.06981317), "", kBlack);
}

// Renders the view as shown; the layout is complete afterwards.
QImage Render(NetChartView& view) {
  return view.grab().toImage();
}

// Where the chart draws the net point (x, y), in pixels of the rendered view.
QPointF PixelOf(NetChartView& view, double x, double y) {
  const QPointF inChart = view.chart()->mapToPosition(QPointF(x, y), QtSeries(view, 1));
  const QPointF inViewport = view.viewportTransform().map(view.chart()->mapToScene(inChart));
  return inViewport + view.viewport()->pos();
}

bool Near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
             std::abs(a.blue() - b.blue()) <
         60;
}
bool Dark(const QColor& c) {
  return std::max({c.red(), c.green(), c.blue()}) < 128;
}
// Grid lines are light grey, just off the white ground.
bool NotWhite(const QColor& c) {
  return std::min({c.red(), c.green(), c.blue()}) < 250;
}

struct Found {
  QRect box;  // bounding box of the matching pixels
  int count = 0;
};
template <class Match>
Found Find(const QImage& image, const QRect& area, Match match) {
  Found found;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (match(image.pixelColor(x, y))) {
        found.box |= QRect(x, y, 1, 1);
        ++found.count;
      }
    }
  }
  return found;
}

// --- Configuration ---------------------------------------------------------

TEST(NetChartConfiguration, AxesStayFixedWhateverThePointsAre) {
  NetChartView view;
  view.Series(2).AddPoint(50.0, -30.0, "", kBlack);
  view.Series(3).AddPoint(-40.0, 25.0, "far", kRed);
  view.Publish();
  Render(view);
  EXPECT_EQ(view.size(), QSize(305, 305));
  for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
    const auto axes = view.chart()->axes(o);
    ASSERT_EQ(axes.size(), 1);
    auto* axis = qobject_cast<QValueAxis*>(axes.front());
    ASSERT_NE(axis, nullptr);
    EXPECT_DOUBLE_EQ(axis->min(), -1.1);
    EXPECT_DOUBLE_EQ(axis->max(), 1.1);
  }
}

TEST(NetChartConfiguration, ChartHasNoLegendTitleOrInteraction) {
  NetChartView view;
  EXPECT_FALSE(view.chart()->legend()->isVisible());
  EXPECT_EQ(view.chart()->title(), QString());
  EXPECT_FALSE(view.chart()->isPlotAreaBackgroundVisible());
  EXPECT_TRUE(view.chart()->localizeNumbers());
  EXPECT_EQ(view.rubberBand(), QChartView::NoRubberBand);
  EXPECT_EQ(view.minimumSize(), QSize(305, 305));
  EXPECT_EQ(view.maximumSize(), QSize(305, 305));
}

TEST(NetChartConfiguration, SixSeriesInOrderOfTheirKinds) {
  NetChartView view;
  const auto series = view.chart()->series();
  ASSERT_GE(series.size(), 6);
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(series[n - 1]->objectName(), QStringLiteral("Series%1").arg(n));
    EXPECT_EQ(series[n - 1]->type(),
              n == 3 ? QAbstractSeries::SeriesTypeScatter : QAbstractSeries::SeriesTypeLine);
  }
  EXPECT_THROW(view.Series(0), std::out_of_range);
  EXPECT_THROW(view.Series(7), std::out_of_range);
}

struct PenCase {
  const char* name;
  Colour colour;
  QColor expected;
};
const PenCase kPenCases[] = {
    {"green", kGreen, QColor(0, 128, 0)},
    {"red", kRed, QColor(255, 0, 0)},
    {"blue", kBlue, QColor(0, 0, 255)},
    {"black", kBlack, QColor(0, 0, 0)},
};
class NetChartPenTest : public ::testing::TestWithParam<PenCase> {};
TEST_P(NetChartPenTest, LinesTakeTheColourOfTheirLastPoint) {
  const PenCase& c = GetParam();
  NetChartView view;
  for (int n : {1, 2, 4, 5, 6}) {
    view.Series(n).AddPoint(0.0, 0.0, "", 0x123456);
    view.Series(n).AddPoint(0.5, 0.5, "", c.colour);
  }
  view.Publish();
  for (int n : {1, 2, 4, 5, 6}) {
    SCOPED_TRACE(n);
    const QPen pen = QtSeries(view, n)->pen();
    EXPECT_EQ(pen.color(), c.expected);
    EXPECT_EQ(pen.capStyle(), Qt::FlatCap);
    EXPECT_EQ(pen.joinStyle(), Qt::RoundJoin);
    EXPECT_EQ(pen.width(), 1);
  }
}
INSTANTIATE_TEST_SUITE_P(Colours, NetChartPenTest, ::testing::ValuesIn(kPenCases), RowName());

struct AxisNameCase {
  const char* name;
  const char* text;
  QRect geometry;
};
const AxisNameCase kAxisNames[] = {
    {"Label35", "Y (North)", QRect(160, 8, 42, 13)},
    {"Label36", "X ", QRect(288, 136, 10, 13)},
};
TEST(NetChartConfiguration, AxisNamesAreChildLabels) {
  NetChartView view;
  for (const AxisNameCase& c : kAxisNames) {
    auto* label = view.findChild<QLabel*>(QLatin1String(c.name));
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->text(), QLatin1String(c.text)) << c.name;
    EXPECT_EQ(label->geometry(), c.geometry) << c.name;
  }
}

// --- Adapters --------------------------------------------------------------

TEST(NetChartAdapters, PublishShowsTheStoredPointsInOneReplace) {
  NetChartView view;
  std::vector<std::unique_ptr<QSignalSpy>> replaced, added;
  for (int n = 1; n <= 6; ++n) {
    replaced.push_back(std::make_unique<QSignalSpy>(QtSeries(view, n), &QXYSeries::pointsReplaced));
    added.push_back(std::make_unique<QSignalSpy>(QtSeries(view, n), &QXYSeries::pointAdded));
  }
  AddCircle(view.Series(1));
  view.Series(4).AddPoint(0.25, -0.5, "", kGreen);
  view.Series(4).AddPoint(-0.75, 0.125, "", kGreen);
  EXPECT_EQ(QtSeries(view, 1)->count(), 0) << "shown before Publish";
  view.Publish();
  view.Publish();  // nothing changed: nothing is handed over again
  const int expected[] = {1, 0, 0, 1, 0, 0};
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(replaced[n - 1]->count(), expected[n - 1]);
    EXPECT_EQ(added[n - 1]->count(), 0);
    const auto& stored = view.Points(n).Points();
    const QList<QPointF> shown = QtSeries(view, n)->points();
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(stored.size()));
    for (std::size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(shown[i].x(), stored[i].x);
      EXPECT_EQ(shown[i].y(), stored[i].y);
    }
  }
}

TEST(NetChartAdapters, PolesAreSortedByXWithTiesInArrivalOrder) {
  NetChartView view;
  view.Series(3).AddPoint(0.5, 0.1, "a", kBlack);
  view.Series(3).AddPoint(-0.2, 0.2, "b", kGreen);
  view.Series(3).AddPoint(0.5, 0.3, "c", kRed);
  view.Series(3).AddPoint(-0.7, 0.4, "d", kBlue);
  view.Publish();
  const QList<QPointF> expected = {{-0.7, 0.4}, {-0.2, 0.2}, {0.5, 0.1}, {0.5, 0.3}};
  EXPECT_EQ(QtSeries(view, 3)->points(), expected);
  const auto poles = VisiblePoles(view);
  ASSERT_EQ(poles.size(), 4u);
  const char* labels[] = {"d", "b", "a", "c"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(poles[i]->pointLabelsFormat(), QLatin1String(labels[i]));
    EXPECT_EQ(poles[i]->points(), QList<QPointF>{expected[i]});
    EXPECT_TRUE(poles[i]->pointLabelsVisible());
    EXPECT_FALSE(poles[i]->pointLabelsClipping());  // a label may stand beyond the rim
    EXPECT_EQ(poles[i]->pointLabelsColor(), QColor(Qt::black));
  }
}

TEST(NetChartAdapters, AtInALabelIsNotAFormatTag) {
  NetChartView view;
  view.Series(3).AddPoint(0.1, 0.1, "a@xPoint", kBlack);
  view.Publish();
  const auto poles = VisiblePoles(view);
  ASSERT_EQ(poles.size(), 1u);
  QString format = poles[0]->pointLabelsFormat();
  EXPECT_FALSE(format.contains(QLatin1String("@xPoint"))) << format.toStdString();
  EXPECT_EQ(format.remove(QChar(0x2060)), QLatin1String("a@xPoint"));
}

TEST(NetChartAdapters, ClearingThenPublishingEmptiesTheChart) {
  NetChartView view;
  AddCircle(view.Series(1));
  view.Series(3).AddPoint(0.1, 0.1, "s1", kGreen);
  view.Series(3).AddPoint(0.2, 0.1, "s2", kRed);
  view.Publish();
  ASSERT_EQ(VisiblePoles(view).size(), 2u);
  view.Series(1).ClearPoints();
  view.Series(3).ClearPoints();
  view.Series(3).AddPoint(0.3, 0.1, "s3", kBlue);
  view.Publish();
  EXPECT_EQ(QtSeries(view, 1)->count(), 0);
  ASSERT_EQ(VisiblePoles(view).size(), 1u);
  EXPECT_EQ(VisiblePoles(view)[0]->pointLabelsFormat(), QLatin1String("s3"));
  view.Series(3).ClearPoints();
  view.Publish();
  EXPECT_EQ(QtSeries(view, 3)->count(), 0);
  EXPECT_EQ(VisiblePoles(view).size(), 0u);
}

// --- Pixels ----------------------------------------------------------------

TEST(NetChartPixels, PoleIsACrossInItsColourAtItsPoint) {
  NetChartView view;
  view.Series(3).AddPoint(0.3, 0.4, "s2", kRed);
  view.Series(3).AddPoint(-0.45, -0.35, "s3", kBlue);
  view.Publish();
  const QImage image = Render(view);
  struct Pole {
    double x;
    double y;
    QColor colour;
  };
  for (const Pole& pole :
       {Pole{0.3, 0.4, QColor(255, 0, 0)}, Pole{-0.45, -0.35, QColor(0, 0, 255)}}) {
    const QColor& colour = pole.colour;
    SCOPED_TRACE(colour.name().toStdString());
    const QPointF at = PixelOf(view, pole.x, pole.y);
    // A one-pixel cross 11 across: 21 pixels, none between its arms.
    const Found cross = Find(image, QRect(at.toPoint() - QPoint(8, 8), QSize(17, 17)),
                             [want = colour](const QColor& c) { return Near(c, want); });
    EXPECT_EQ(cross.box.size(), QSize(11, 11));
    EXPECT_EQ(cross.count, 21);
    const QPoint centre = cross.box.center();
    EXPECT_NEAR(centre.x(), at.x(), 1.0);
    EXPECT_NEAR(centre.y(), at.y(), 1.0);
    for (const QPoint arm :
         {QPoint(0, 0), QPoint(5, 0), QPoint(-5, 0), QPoint(0, 5), QPoint(0, -5)})
      EXPECT_TRUE(Near(image.pixelColor(centre + arm), colour)) << arm.x() << "," << arm.y();
  }
}

TEST(NetChartPixels, PoleLabelStandsAboveItsCross) {
  // Black text in the band above the cross; none without a label.
  auto textAbove = [](const char* label) {
    NetChartView view;
    view.Series(3).AddPoint(0.3, 0.3, label, kGreen);
    view.Publish();
    const QImage image = Render(view);
    const QPoint at = PixelOf(view, 0.3, 0.3).toPoint();
    return Find(image, QRect(at.x() - 15, at.y() - 25, 31, 20), Dark).count;
  };
  EXPECT_GT(textAbove("s1"), 10);
  EXPECT_EQ(textAbove(""), 0);
}

TEST(NetChartPixels, PrimitiveCircleIsRound) {
  NetChartView view;
  AddCircle(view.Series(1));
  view.Publish();
  const QImage image = Render(view);
  // Inside the plot area, past its edges where the axis lines run, only the
  // circle is dark.
  const QRect inside = view.chart()->plotArea().toRect().adjusted(3, 3, -3, -3);
  const QRect circle = Find(image, inside, Dark).box;
  ASSERT_FALSE(circle.isEmpty()) << "no circle drawn";
  EXPECT_NEAR(circle.width(), circle.height(), 2);
  const QPointF centre = PixelOf(view, 0.0, 0.0);
  const double radius = PixelOf(view, 1.0, 0.0).x() - centre.x();
  EXPECT_NEAR(centre.y() - PixelOf(view, 0.0, 1.0).y(), radius, 1.0);
  EXPECT_NEAR(circle.left(), centre.x() - radius, 2.0);
  EXPECT_NEAR(circle.right(), centre.x() + radius, 2.0);
  EXPECT_NEAR(circle.top(), centre.y() - radius, 2.0);
  EXPECT_NEAR(circle.bottom(), centre.y() + radius, 2.0);
}

TEST(NetChartPixels, GridLinesStandAtTheMappedTicks) {
  // The axes are laid out for the plot area the series are mapped into: a
  // grid line runs where the chart maps each half unit, the rim included.
  NetChartView view;
  const QImage image = Render(view);
  const QRect plot = view.chart()->plotArea().toRect().adjusted(3, 3, -3, -3);
  for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
    for (double v : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
      // Antialiased, a line between two pixel rows shades one or both.
      QRect strip;
      if (o == Qt::Horizontal)
        strip = QRect(static_cast<int>(std::floor(PixelOf(view, v, 0.0).x())), plot.top(), 2,
                      plot.height());
      else
        strip = QRect(plot.left(), static_cast<int>(std::floor(PixelOf(view, 0.0, v).y())),
                      plot.width(), 2);
      const int length = std::max(strip.width(), strip.height());
      EXPECT_GE(Find(image, strip, NotWhite).count, length * 9 / 10) << o << " " << v;
    }
  }
}

TEST(NetChartPixels, AxisLabelsAreNotCutAtTheEdges) {
  // The labels are drawn, and the white ground reaches every edge of the view.
  NetChartView view;
  const QImage image = Render(view);
  EXPECT_GT(Find(image, image.rect().adjusted(1, 1, -1, -1), Dark).count, 100);
  const int w = image.width(), h = image.height();
  for (const QRect edge :
       {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)})
    EXPECT_EQ(Find(image, edge, NotWhite).count, 0);
}

}  // namespace

namespace {

// Every text of the axes in view pixels: the value labels (their text, without
// the item's margin) and the two axis names.
struct AxisText {
  std::string text;
  QRect rect;
};
std::vector<AxisText> AxisTexts(NetChartView& view) {
  std::vector<AxisText> texts;
  for (QGraphicsItem* item : view.scene()->items()) {
    const auto* label = dynamic_cast<QGraphicsTextItem*>(item);
    if (label == nullptr || !label->isVisible() || label->toPlainText().isEmpty())
      continue;
    const qreal m = label->document()->documentMargin();
    const QRectF inScene = label->sceneBoundingRect().adjusted(m, m, -m, -m);
    texts.push_back({label->toPlainText().toStdString(),
                     view.mapFromScene(inScene).boundingRect().translated(view.viewport()->pos())});
  }
  for (const QLabel* name : view.findChildren<QLabel*>())
    texts.push_back({name->text().toStdString(), name->geometry()});
  return texts;
}

TEST(NetChartPixels, NoTwoAxisTextsOverlap) {
  NetChartView view;
  const QImage image = Render(view);
  const std::vector<AxisText> texts = AxisTexts(view);
  ASSERT_EQ(texts.size(), 12u) << "five value labels on each axis and two names";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_TRUE(image.rect().contains(texts[i].rect)) << texts[i].text;
    EXPECT_GT(Find(image, texts[i].rect & image.rect(), Dark).count, 5) << texts[i].text;
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
          << texts[i].text << " meets " << texts[j].text;
  }
}

// A pole's label, moved there from elsewhere as a pass moves it, stands whole
// in the view as the screen shows it: as much ink as at the centre, clear of
// the axis texts.
struct PoleLabelCase {
  const char* name;
  double x, y;
};
void PrintTo(const PoleLabelCase& c, std::ostream* os) {
  *os << c.name;
}
const PoleLabelCase kPoleLabelCases[] = {
    {"north rim", 0.0, 1.0}, {"just inside the north rim", 0.0, 0.999995},
    {"east rim", 1.0, 0.0},  {"south rim", 0.0, -1.0},
    {"west rim", -1.0, 0.0}, {"north-west rim", -0.70710678, 0.70710678},
};
class PoleLabelTest : public ::testing::TestWithParam<PoleLabelCase> {};
TEST_P(PoleLabelTest, StandsWholeInTheViewClearOfTheAxisTexts) {
  const PoleLabelCase& c = GetParam();
  NetChartView view;
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const auto screen = [&view](double x, double y, const char* label) {
    view.Series(3).ClearPoints();
    view.Series(3).AddPoint(x, y, label, kGreen);
    view.Publish();
    QTest::qWait(30);
    return view.screen()->grabWindow(view.winId()).toImage();
  };
  // The label's ink: what is dark with the label and not without it.
  const auto ink = [](const QImage& with, const QImage& without) {
    Found found;
    for (int y = 0; y < with.height(); ++y) {
      for (int x = 0; x < with.width(); ++x) {
        if (Dark(with.pixelColor(x, y)) && !Dark(without.pixelColor(x, y))) {
          found.box |= QRect(x, y, 1, 1);
          ++found.count;
        }
      }
    }
    return found;
  };
  const Found atCentre = ink(screen(0.0, 0.0, "s1"), screen(0.0, 0.0, ""));
  const QImage bare = screen(c.x, c.y, "");
  const QImage labelled = screen(c.x, c.y, "s1");
  const Found there = ink(labelled, bare);
  ASSERT_GT(atCentre.count, 10);
  EXPECT_NEAR(there.count, atCentre.count, atCentre.count / 6);
  EXPECT_EQ(there.box.height(), atCentre.box.height());
  EXPECT_TRUE(QRect(QPoint(0, 0), view.size()).contains(there.box));
  for (const AxisText& text : AxisTexts(view))
    EXPECT_FALSE(text.rect.intersects(there.box)) << "meets " << text.text;
}
INSTANTIATE_TEST_SUITE_P(Table, PoleLabelTest, ::testing::ValuesIn(kPoleLabelCases), RowName());

// Vertical planes trace the diameters: one pixel across, in the full colour of
// their pen, as crisp as the curves.
TEST(NetChartPixels, StraightTracesAreOnePixelInTheirColour) {
  NetChartView view;
  projection::PlotPlane(view.Series(4), view.Series(3), kGreen, M_PI, M_PI / 2, "");    // E-W
  projection::PlotPlane(view.Series(5), view.Series(3), kRed, M_PI / 2, M_PI / 2, "");  // N-S
  view.Series(3).ClearPoints();
  view.Publish();
  const QImage image = Render(view);
  const QPointF centre = PixelOf(view, 0.0, 0.0);
  const QPoint pixel(static_cast<int>(std::floor(centre.x())),
                     static_cast<int>(std::floor(centre.y())));
  const auto coloured = [](const QColor& c) {
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40;
  };
  for (int offset : {-90, -45, 35, 80}) {
    SCOPED_TRACE(offset);
    const Found across = Find(image, QRect(pixel.x() + offset, pixel.y() - 4, 1, 9), coloured);
    EXPECT_EQ(across.count, 1) << "E-W";
    EXPECT_TRUE(Near(image.pixelColor(across.box.topLeft()), QColor(0, 128, 0)));
    const Found down = Find(image, QRect(pixel.x() - 4, pixel.y() + offset, 9, 1), coloured);
    EXPECT_EQ(down.count, 1) << "N-S";
    EXPECT_TRUE(Near(image.pixelColor(down.box.topLeft()), QColor(255, 0, 0)));
  }
}

}  // namespace
