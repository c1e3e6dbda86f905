// The Mohr window in the real program, offscreen: opened and closed from the
// View menu, its derived quantities as screen readers read them, round
// circles and marks at their sigma in pixels, its status after a pass that
// stopped, a hidden window left undrawn, and the clipboard.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScatterSeries>
#include <QTest>
#include <QXYSeries>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "test_names.h"
#include "text/result_rows.h"
#include "ui/charts/chart_marks.h"
#include "ui/charts/mohr_chart.h"
#include "ui/mohr/mohr_window.h"
#include "window_fixture.h"

namespace {

using test_names::RowName;
using ui::MohrChartView;
using ui::MohrWindow;
using ui::testing::AnnounceLocale;
using ui::testing::WindowTest;

const char* const kDash = "\u2014";

/// The main window shown (its first pass done), with the Mohr window at hand.
class MohrTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Show();
  }

  QAction* Item() { return Find<QAction>("mnuMohr"); }
  MohrWindow* Mohr() { return window_->findChild<MohrWindow*>(QStringLiteral("FrmMohr")); }
  MohrChartView* Chart() {
    MohrWindow* mohr = Mohr();
    return mohr == nullptr ? nullptr : mohr->findChild<MohrChartView*>(QStringLiteral("MohrChart"));
  }

  /// Checks View > Mohr diagram as the user does, and waits until it shows.
  void Open() {
    ASSERT_NE(Item(), nullptr);
    if (!Item()->isChecked())
      Item()->trigger();
    ASSERT_NE(Mohr(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Mohr()));
  }

  void ActivateJoint() {
    Click("chkJoint");
    ASSERT_EQ(Messages(), std::vector<std::string>{});
  }

  std::string MohrText(const char* name) {
    auto* box = Mohr()->findChild<QLineEdit*>(QLatin1String(name));
    return box == nullptr ? std::string("<missing>") : box->text().toStdString();
  }
  std::string Status() {
    return Mohr()->findChild<QLabel*>(QStringLiteral("MohrStatus"))->text().toStdString();
  }

  /// The sigma of the mark series `name`, or NaN when it holds no point.
  double MarkSigma(const char* name) {
    for (QAbstractSeries* series : Chart()->chart()->series()) {
      auto* mark = qobject_cast<QScatterSeries*>(series);
      if (mark != nullptr && mark->objectName() == QLatin1String(name))
        return mark->count() == 1 ? mark->at(0).x() : std::nan("");
    }
    ADD_FAILURE() << "no series " << name;
    return 0.0;
  }

  /// Where the chart draws (sigma, tau), in pixels of its rendered image.
  QPointF PixelOf(double sigma, double tau) {
    MohrChartView* view = Chart();
    QAbstractSeries* any = view->chart()->series().front();
    const QPointF inChart = view->chart()->mapToPosition(QPointF(sigma, tau), any);
    return view->viewportTransform().map(view->chart()->mapToScene(inChart)) +
           view->viewport()->pos();
  }
};

// ---------------------------------------------------------------------------
// Opening and closing.

TEST_F(MohrTest, ViewMenuHoldsTheItemAndNoWindowIsBuiltBeforeItIsChecked) {
  auto* view = Find<QMenu>("N6");
  ASSERT_NE(view, nullptr);
  // The Mohr diagram first, then the Planes window, slip probability and the
  // tendency map.
  ASSERT_EQ(view->actions().size(), 4);
  EXPECT_EQ(view->actions()[1]->objectName(), QStringLiteral("mnuPlanes"));
  QAction* item = view->actions().front();
  EXPECT_EQ(item->objectName(), QStringLiteral("mnuMohr"));
  EXPECT_EQ(item->text(), QStringLiteral("&Mohr diagram"));
  EXPECT_EQ(item->shortcut().toString(), QStringLiteral("Ctrl+M"));
  EXPECT_TRUE(item->isCheckable());
  EXPECT_FALSE(item->isChecked());
  Click("Button1");
  EXPECT_EQ(Mohr(), nullptr);  // passes meanwhile build nothing

  Open();
  EXPECT_EQ(Mohr()->windowTitle(), QStringLiteral("Mohr diagram"));
  EXPECT_TRUE(Mohr()->isWindow());
  EXPECT_EQ(Mohr()->parentWidget(), window_.get());
  // The pore-pressure strip adds its row above the diagram; the rest keeps
  // the size it had without it.
  auto* pp = Mohr()->findChild<QLineEdit*>(QStringLiteral("input_pp"));
  ASSERT_NE(pp, nullptr);
  const QSize added(0, Mohr()->size().height() - 460);
  // A table row: its value box and the table's spacing.
  const int rowPitch =
      Mohr()->findChild<QLineEdit*>(QStringLiteral("input_mean_stress"))->sizeHint().height() + 2;
  EXPECT_EQ(added.height(), pp->sizeHint().height() + Mohr()->layout()->spacing() + 5 * rowPitch);
  EXPECT_EQ(Mohr()->size(), QSize(560, 460) + added);
  EXPECT_EQ(Mohr()->minimumSize(), QSize(360, 300) + added);
}

enum class Closing { kFrame, kEscape, kMenu, kShortcut };
struct ClosingCase {
  const char* name;
  Closing how;
};
const ClosingCase kClosingCases[] = {
    {"frame", Closing::kFrame},
    {"escape key", Closing::kEscape},
    {"menu item", Closing::kMenu},
    {"Ctrl M in the Mohr window", Closing::kShortcut},
};

class ClosingTest : public MohrTest, public ::testing::WithParamInterface<ClosingCase> {};

// The check follows the window, however it is closed; it opens again as it was.
TEST_P(ClosingTest, CheckFollowsTheWindow) {
  Open();
  MohrWindow* mohr = Mohr();
  EXPECT_TRUE(mohr->isVisible());
  EXPECT_TRUE(Item()->isChecked());
  switch (GetParam().how) {
    case Closing::kFrame:
      mohr->close();
      break;
    case Closing::kEscape:
      QTest::keyClick(mohr, Qt::Key_Escape);
      break;
    case Closing::kMenu:
      Item()->trigger();
      break;
    case Closing::kShortcut:
      mohr->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(mohr));
      QTest::keyClick(mohr, Qt::Key_M, Qt::ControlModifier);
      break;
  }
  EXPECT_FALSE(mohr->isVisible());
  EXPECT_FALSE(Item()->isChecked());
  Item()->trigger();
  EXPECT_EQ(Mohr(), mohr);
  EXPECT_TRUE(mohr->isVisible());
  EXPECT_TRUE(Item()->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Table, ClosingTest, ::testing::ValuesIn(kClosingCases), RowName());

// ---------------------------------------------------------------------------
// Numbers.

// Ticks and values in the user's format: a repeated pair (2, 2, 5) has ticks
// half a unit apart.
TEST_F(MohrTest, NumbersFollowTheRegionalSettings) {
  AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
  for (const auto& [box, text] : {std::pair{"input_sx", "2"},
                                  {"input_sy", "2"},
                                  {"input_sz", "5"},
                                  {"input_txy", "0"},
                                  {"input_tyx", "0"},
                                  {"input_tzx", "0"}})
    Type(box, QString::fromLatin1(text));
  Click("Button1");
  Open();
  EXPECT_EQ(MohrText("input_mean_stress"), "3,000");
  EXPECT_EQ(MohrText("input_stress_ratio"), "0,000");
  EXPECT_EQ(MohrText("input_shmax_azimuth"), kDash);
  EXPECT_EQ(MohrText("input_regime"), kDash);
  auto* axis = qobject_cast<QCategoryAxis*>(Chart()->chart()->axes(Qt::Horizontal).front());
  ASSERT_NE(axis, nullptr);
  const QStringList labels = axis->categoriesLabels();
  EXPECT_TRUE(labels.contains(QStringLiteral("2,5")))
      << labels.join(QLatin1Char(' ')).toStdString();
}

// ---------------------------------------------------------------------------
// Pore pressure: typed in the Mohr window, Enter recalculates.

struct PorePressureCase {
  const char* name;
  const char* typed;
  // sigma', tauLim', Ts, Ts,max, Ts/Ts,max, Td, F, CFF, dPc, the state
  std::array<const char*, 10> shown;
  const char* message;  // the error box, or nullptr
};

// The default tensor with the joint 16/33, phi 30, c 1; the numbers agree
// with 40-digit arithmetic.
const PorePressureCase kPorePressureCases[] = {
    {"worked example",
     "0.2",
     {"5.560", "4.210", "0.725", "5.683", "0.128", "0.356", "1.044", "-0.177", "0.307",
      "stable (\u03c4 < \u03c4lim\u2032)"},
     nullptr},
    {"none",
     "0",
     {"5.760", "4.326", "0.700", "2.791", "0.251", "0.356", "1.073", "-0.293", "0.507",
      "stable (\u03c4 < \u03c4lim)"},
     nullptr},
    {"above every stress",
     "9",
     {"-3.240", "0.000", kDash, kDash, kDash, "0.356", "0.000", "4.033", "-8.493",
      "opens (\u03c3\u2032 < 0)"},
     nullptr},
    {"no number keeps the last one",
     "0.2x",
     {"5.760", "4.326", "0.700", "2.791", "0.251", "0.356", "1.073", "-0.293", "0.507",
      "stable (\u03c4 < \u03c4lim)"},
     "'0.2x' is not a valid floating point value."},
};

class PorePressureTest : public MohrTest, public ::testing::WithParamInterface<PorePressureCase> {};

TEST_P(PorePressureTest, EnterRecalculatesTheEffectiveRows) {
  const PorePressureCase& c = GetParam();
  ActivateJoint();
  Type("input_joint_phi", QStringLiteral("30"));
  Click("Button1");
  Open();
  auto* pp = Mohr()->findChild<QLineEdit*>(QStringLiteral("input_pp"));
  ASSERT_NE(pp, nullptr);
  pp->selectAll();
  QTest::keyClicks(pp, QString::fromLatin1(c.typed));
  QTest::keyClick(pp, Qt::Key_Return);
  EXPECT_EQ(Messages(),
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  const char* rows[] = {"input_sigma_effective",
                        "input_taulim_effective",
                        "input_slip_tendency",
                        "input_slip_tendency_max",
                        "input_slip_tendency_normalized",
                        "input_dilation_tendency",
                        "input_factor_of_safety",
                        "input_cff",
                        "input_delta_pc",
                        "input_joint_state"};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(MohrText(rows[i]), c.shown[static_cast<std::size_t>(i)]) << rows[i];
  // The main window's joint boxes stay on total stress.
  EXPECT_EQ(Text("input_sigma"), "5.760");
  EXPECT_EQ(pp->text().toStdString(), c.typed);

  // The diagram at effective stress, the total circles faint behind it, and
  // sigma' = 0, where the limit line rises to c, in view.
  const double applied = window_->Results().porePressure;
  EXPECT_NEAR(MarkSigma("MohrMarkS1"), 8.793646854800 - applied, 1e-9);
  EXPECT_NEAR(MarkSigma("MohrMarkJoint"), 5.760315842300 - applied, 1e-9);
  auto* sigmaAxis = qobject_cast<QCategoryAxis*>(Chart()->chart()->axes(Qt::Horizontal).front());
  ASSERT_NE(sigmaAxis, nullptr);
  EXPECT_EQ(sigmaAxis->titleText(), applied != 0.0
                                        ? QString::fromUtf8("Effective normal stress \u03c3\u2032")
                                        : QString::fromUtf8("Normal stress \u03c3"));
  EXPECT_LE(sigmaAxis->min(), 0.0);
  for (QAbstractSeries* series : Chart()->chart()->series()) {
    if (series->objectName().startsWith(QLatin1String("MohrTotalCircle"))) {
      EXPECT_EQ(qobject_cast<QXYSeries*>(series)->count() > 0, applied != 0.0)
          << series->objectName().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PorePressureTest, ::testing::ValuesIn(kPorePressureCases),
                         RowName());

// The stress unit labels the axes, the stress rows and Copy; no number changes.
TEST_F(MohrTest, StressUnitLabelsWithoutScaling) {
  Open();
  Find<QAction>("mnuStressUnitpsi")->trigger();
  auto* axes = Chart()->chart();
  EXPECT_EQ(axes->axes(Qt::Horizontal).front()->titleText(),
            QString::fromUtf8("Normal stress \u03c3 (psi)"));
  EXPECT_EQ(axes->axes(Qt::Vertical).front()->titleText(),
            QString::fromUtf8("Shear stress \u03c4 (psi)"));
  EXPECT_EQ(MohrText("input_mean_stress"), "4.133");
  QApplication::clipboard()->clear();
  Click("MohrCopy");
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.contains(QStringLiteral("\npore pressure Pp\t0\nstress unit\tpsi\n")))
      << copied.toStdString();
  EXPECT_TRUE(copied.contains(QStringLiteral("\nMean stress p (psi)\t4.133\n")));
  EXPECT_TRUE(copied.contains(QString::fromUtf8("\nStress ratio \u03a6\t0.361\n")));
  Find<QAction>("mnuStressUnit")->trigger();  // None
  EXPECT_EQ(axes->axes(Qt::Horizontal).front()->titleText(),
            QString::fromUtf8("Normal stress \u03c3"));
}

// The limit line passes through (0, c) and the joint's (sigma, tauLim), and
// leaves with the joint.
TEST_F(MohrTest, LimitLineThroughCohesionAndTheJointAndGoneWithIt) {
  ActivateJoint();
  Open();
  QXYSeries* limit = nullptr;
  for (QAbstractSeries* series : Chart()->chart()->series()) {
    if (series->objectName() == QLatin1String("MohrLimit"))
      limit = qobject_cast<QXYSeries*>(series);
  }
  ASSERT_NE(limit, nullptr);
  const auto tauAt = [&](double sigma) {
    const QList<QPointF> points = limit->points();
    for (qsizetype i = 1; i < points.size(); ++i) {
      const QPointF a = points[i - 1];
      const QPointF b = points[i];
      if (a.x() <= sigma && sigma <= b.x() && b.x() > a.x())
        return a.y() + (sigma - a.x()) * (b.y() - a.y()) / (b.x() - a.x());
    }
    return std::nan("");
  };
  EXPECT_NEAR(tauAt(1e-9), 1.0, 1e-6);                     // c
  EXPECT_NEAR(tauAt(5.7603158423), 2.436208044706, 1e-9);  // the joint's tauLim
  Click("chkJoint");
  EXPECT_EQ(limit->count(), 0);
}

// An open window follows a change of the regional format at once.
TEST_F(MohrTest, OpenWindowFollowsTheRegionalFormat) {
  Open();
  EXPECT_EQ(MohrText("input_mean_stress"), "4.133");
  AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(MohrText("input_mean_stress"), "4,133");
}

// No value is cut, at the default size nor at the smallest: the window
// widens for values that need more room.
TEST_F(MohrTest, NoValueIsCut) {
  for (const char* sx : {"41333333.3", "4.13E15", "-22333333.3"}) {
    Type("input_sx", QString::fromLatin1(sx));
    Click("Button1");
    Open();
    for (const bool smallest : {false, true}) {
      if (smallest)
        Mohr()->resize(Mohr()->minimumSize());
      QApplication::processEvents();
      for (const text::DerivedQuantity& quantity : text::kDerivedQuantities) {
        auto* box = Mohr()->findChild<QLineEdit*>(QLatin1String(quantity.objectName));
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->text()))
            << sx << " " << quantity.objectName << " " << box->text().toStdString()
            << (smallest ? " at the smallest size" : "");
      }
    }
  }
}

// The sigma axis's tick labels fit between their ticks (Qt would elide them).
TEST_F(MohrTest, SigmaTickLabelsFitBetweenTheirTicks) {
  // A million with a spread of 0.4: ticks of 0.05 labelled "1,000,000.05".
  for (const char* sx : {"3.4", "1033333333.3", "1000000"}) {
    Type("input_sx", QString::fromLatin1(sx));
    if (std::string(sx) == "1000000") {
      Type("input_sy", QStringLiteral("1000000.4"));
      Type("input_sz", QStringLiteral("1000000.2"));
      for (const char* shear : {"input_txy", "input_tyx", "input_tzx"})
        Type(shear, QStringLiteral("0"));
    }
    Click("Button1");
    Open();
    for (const bool smallest : {false, true}) {
      if (smallest)
        Mohr()->resize(Mohr()->minimumSize());
      QApplication::processEvents();
      auto* sigma = qobject_cast<QCategoryAxis*>(Chart()->chart()->axes(Qt::Horizontal).front());
      ASSERT_NE(sigma, nullptr);
      const QStringList labels = sigma->categoriesLabels();
      ASSERT_GE(labels.size(), 2) << sx;
      const double spacing =
          (sigma->endValue(labels[1]) - sigma->endValue(labels[0])) * Chart()->Scale();
      const QFontMetricsF metrics(sigma->labelsFont());
      for (const QString& label : labels)
        EXPECT_LE(metrics.horizontalAdvance(label), spacing) << sx << " " << label.toStdString();
    }
  }
}

struct TicksCase {
  const char* name;
  std::array<const char*, 6> stress;  // sx, sy, sz, txy, tyx, tzx as typed
};

const TicksCase kTicksCases[] = {
    {"default inputs", {"3.4", "1", "8", "1", "-1", "2"}},
    {"hydrostatic", {"5", "5", "5", "0", "0", "0"}},
    {"repeated pair", {"10", "10", "5", "0", "0", "0"}},
};

class TicksTest : public MohrTest, public ::testing::WithParamInterface<TicksCase> {};

// At the window's smallest size each axis keeps two ticks at least, their
// labels as far apart as they are tall (tau) or wide (sigma).
TEST_P(TicksTest, EachAxisKeepsTwoLabelledTicksAtTheSmallestSize) {
  const char* boxes[] = {"input_sx", "input_sy", "input_sz", "input_txy", "input_tyx", "input_tzx"};
  for (std::size_t i = 0; i < 6; ++i)
    Type(boxes[i], QString::fromLatin1(GetParam().stress[i]));
  Click("Button1");
  Open();
  Mohr()->resize(Mohr()->minimumSize());
  QApplication::processEvents();
  for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
    auto* axis = qobject_cast<QCategoryAxis*>(Chart()->chart()->axes(orientation).front());
    ASSERT_NE(axis, nullptr);
    const QStringList labels = axis->categoriesLabels();
    ASSERT_GE(labels.size(), 2) << orientation << " "
                                << labels.join(QLatin1Char(' ')).toStdString();
    const double spacing =
        (axis->endValue(labels[1]) - axis->endValue(labels[0])) * Chart()->Scale();
    const QFontMetricsF metrics(axis->labelsFont());
    for (const QString& label : labels) {
      EXPECT_LE(orientation == Qt::Vertical ? metrics.height() : metrics.horizontalAdvance(label),
                spacing)
          << orientation << " " << label.toStdString();
    }
    // The axis's title is whole along its axis: the full name, or its symbol.
    const QRectF plot = Chart()->chart()->plotArea();
    EXPECT_LE(QFontMetricsF(axis->titleFont()).horizontalAdvance(axis->titleText()),
              orientation == Qt::Vertical ? plot.height() : plot.width())
        << axis->titleText().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Table, TicksTest, ::testing::ValuesIn(kTicksCases), RowName());

// ---------------------------------------------------------------------------
// Pixels.

// The admissible region is filled in one light colour; its outer edge is the
// large circle. Its height above tau = 0 is the vertical radius; its chord at
// half that height is sqrt(3) times the horizontal radius. Both agree, and
// match the view's scale, at two sizes of different shape (and scale).
TEST_F(MohrTest, CirclesAreRoundAtTwoSizes) {
  Open();
  const double centre = (8.793646854800 + 0.265502437889) / 2.0;
  const double radius = (8.793646854800 - 0.265502437889) / 2.0;
  std::vector<double> scales;
  // The sizes of the window without its pore-pressure strip and effective rows.
  const QSize added = Mohr()->minimumSize() - QSize(360, 300);
  for (const QSize size : {QSize(560, 460), QSize(900, 360)}) {
    Mohr()->resize(size + added);
    QApplication::processEvents();
    const QImage image = Chart()->grab().toImage();
    const auto filled = [&image](int x, int y) {
      return image.pixelColor(x, y) == QColor(222, 232, 244);
    };
    const QPointF axis = PixelOf(centre, 0.0);
    int top = 0;
    while (top < image.height() && !filled(qRound(axis.x()), top))
      ++top;
    const double vertical = axis.y() - top;
    const int row = qRound(axis.y() - vertical / 2.0);
    int left = 0;
    while (left < image.width() && !filled(left, row))
      ++left;
    int right = image.width() - 1;
    while (right > 0 && !filled(right, row))
      --right;
    const double horizontal = (right - left + 1) / std::sqrt(3.0);
    EXPECT_NEAR(horizontal, vertical, 2.5) << size.width();
    EXPECT_NEAR(vertical, radius * Chart()->Scale(), 2.5) << size.width();
    scales.push_back(Chart()->Scale());
  }
  EXPECT_GT(std::abs(scales[0] - scales[1]), 5.0);
}

// Each principal value's cross, in its colour, is centred on its sigma on the
// axis tau = 0.
TEST_F(MohrTest, MarksStandAtTheirSigma) {
  Open();
  const QImage image = Chart()->grab().toImage();
  const struct {
    double sigma;
    QColor colour;
  } marks[] = {{8.793646854800, QColor(0, 128, 0)},
               {3.340850707311, QColor(255, 0, 0)},
               {0.265502437889, QColor(0, 0, 255)}};
  for (const auto& mark : marks) {
    QRect cross;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == mark.colour)
          cross |= QRect(x, y, 1, 1);
      }
    }
    const QPointF at = PixelOf(mark.sigma, 0.0);
    EXPECT_EQ(cross.width(), ui::kCrossSize) << mark.sigma;
    EXPECT_NEAR(cross.left() + ui::kCrossArm + 0.5, at.x(), 1.0) << mark.sigma;
    EXPECT_NEAR(cross.top() + ui::kCrossArm + 0.5, at.y(), 1.0) << mark.sigma;
  }
}

// ---------------------------------------------------------------------------
// Passes that stop, and a hidden window.

TEST_F(MohrTest, StatusLineMarksAPassThatStoppedBeforeThePrincipalValues) {
  ActivateJoint();
  Open();
  EXPECT_EQ(Status(), "");
  Type("input_sy", QStringLiteral("1x"));
  Click("Button1");
  EXPECT_EQ(Messages(), std::vector<std::string>{"'1x' is not a valid floating point value."});
  EXPECT_EQ(Status(), "Inputs changed: not recalculated");
  EXPECT_EQ(MohrText("input_mean_stress"), "4.133");  // what it showed
  EXPECT_NEAR(MarkSigma("MohrMarkJoint"), 5.7603158423, 1e-9);

  // Stopped after the principal values: current again but for the joint.
  Type("input_sy", QStringLiteral("1"));
  Type("input_joint_phi", QStringLiteral("x"));
  Click("Button1");
  EXPECT_EQ(Status(), "Inputs changed: joint not recalculated");
  EXPECT_EQ(MohrText("input_mean_stress"), "4.133");
  EXPECT_EQ(MohrText("input_factor_of_safety"), kDash);
  EXPECT_EQ(MohrText("input_joint_state"), kDash);
  EXPECT_TRUE(std::isnan(MarkSigma("MohrMarkJoint")));

  // A complete pass clears it.
  Type("input_joint_phi", QStringLiteral("14"));
  Click("Button1");
  EXPECT_EQ(Status(), "");
}

// A pass while the window is hidden leaves it as it was; showing it again
// brings it up to date.
TEST_F(MohrTest, HiddenWindowIsDrawnWhenShown) {
  Open();
  Mohr()->close();
  Type("input_sz", QStringLiteral("20"));
  Click("Button1");
  EXPECT_NEAR(MarkSigma("MohrMarkS1"), 8.793646854800, 1e-9);
  EXPECT_EQ(MohrText("input_sv"), "8.000");
  Item()->trigger();
  EXPECT_EQ(MohrText("input_sv"), "20.000");
  EXPECT_GT(MarkSigma("MohrMarkS1"), 20.0);
}

// ---------------------------------------------------------------------------
// What the main window keeps of a pass, by where the pass stopped.

constexpr unsigned kState = 1;
constexpr unsigned kValues = 2;
constexpr unsigned kDirections = 4;
constexpr unsigned kCosines = 8;
constexpr unsigned kJointPlane = 16;
constexpr unsigned kJointStresses = 32;
constexpr unsigned kAllButJoint = kState | kValues | kDirections | kCosines;

struct KeptCase {
  const char* name;
  bool joint;
  std::vector<std::pair<const char*, const char*>> typed;  // box, text
  unsigned kept;
};

const KeptCase kKeptCases[] = {
    {"complete with the joint", true, {}, kAllButJoint | kJointPlane | kJointStresses},
    {"complete without the joint", false, {}, kAllButJoint},
    {"handedness factor minus one",
     false,
     {{"input_sx", "4"},
      {"input_sy", "3"},
      {"input_sz", "2"},
      {"input_txy", "-2"},
      {"input_tzx", "-2"}},
     kAllButJoint},
    {"stopped at the joint dip direction", true, {{"input_joint_beta", "?"}}, 0},
    {"stopped at a stress box", false, {{"input_tzx", "2x"}}, 0},
    {"stopped by an overflow of the principal values", false, {{"input_sx", "1e52"}}, kState},
    {"stopped at the joint friction angle", true, {{"input_joint_phi", "x"}}, kAllButJoint},
};

class KeptTest : public MohrTest, public ::testing::WithParamInterface<KeptCase> {};

// The numbers kept are those the boxes show.
TEST_P(KeptTest, ResultsHoldWhatThePassReached) {
  const KeptCase& c = GetParam();
  if (c.joint)
    ActivateJoint();
  for (const auto& [box, text] : c.typed)
    Type(box, QString::fromLatin1(text));
  Click("Button1");
  const engine::PassResults& r = window_->Results();
  const unsigned kept = (r.state ? kState : 0u) | (r.values ? kValues : 0u) |
                        (r.HasDirections() ? kDirections : 0u) | (r.cosines ? kCosines : 0u) |
                        (r.joint ? kJointPlane : 0u) | (r.jointStresses ? kJointStresses : 0u);
  EXPECT_EQ(kept, c.kept);
  EXPECT_EQ(r.jointActive, c.joint);
  EXPECT_EQ(r.azimuth, stress::Azimuth::kClockwiseFromNorth);
  for (int i = 0; i < text::kResultCount; ++i) {
    const text::ShownField& shown = text::FieldOf(text::ResultField(i));
    if (const auto value = text::ShownValue(r, text::ResultField(i))) {
      EXPECT_EQ(text::FormatNumber(*value, shown.decimals, {}).toStdString(),
                Text(shown.objectName))
          << shown.objectName;
    }
  }
  if (r.HasDirections()) {
    EXPECT_EQ(r.directions[2]->axis.x, window_->DirectionCosines()[2].x);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, KeptTest, ::testing::ValuesIn(kKeptCases), RowName());

// ---------------------------------------------------------------------------
// Copying.

const char* const kDefaultCopy =
    "sx\t3.4\nsy\t1\nsz\t8\ntxy\t1\ntyz\t-1\ntzx\t2\n"
    "joint dip direction\t16\njoint dip\t33\njoint friction angle\t14\njoint cohesion\t1\n"
    "azimuths\tclockwise from North\npore pressure Pp\t0\n"
    "s1\t8.794\ns2\t3.341\ns3\t0.266\n"
    "s1 azimuth\t283.10\ns1 dip\t69.95\ns2 azimuth\t60.78\ns2 dip\t15.10\n"
    "s3 azimuth\t154.32\ns3 dip\t12.88\n"
    "s1 direction cosine L (x)\t0.333929\ns1 direction cosine M (y)\t-0.077687\n"
    "s1 direction cosine N (z)\t0.939391\ns2 direction cosine L (x)\t0.842622\n"
    "s2 direction cosine M (y)\t0.471273\ns2 direction cosine N (z)\t-0.260557\n"
    "s3 direction cosine L (x)\t-0.422468\ns3 direction cosine M (y)\t0.878560\n"
    "s3 direction cosine N (z)\t0.222832\n"
    "normal stress on joint\t5.760\nshear stress on joint\t4.033\n"
    "limiting shear stress on joint\t2.436\n"
    "Mean stress p\t4.133\nMaximum shear stress\t4.264\nvon Mises stress q\t7.481\n"
    "Octahedral shear stress\t3.526\nStress ratio \u03a6\t0.361\nVertical stress Sv\t8.000\n"
    "SHmax\t3.762\nShmin\t0.638\nSHmax azimuth (clockwise from North)\t70.10\nFaulting regime\tNF: "
    "normal faulting\n"
    "Slip tendency Ts\t0.700\nDilation tendency Td\t0.356\nFactor of safety F\t0.604\n"
    "Joint\tslips (\u03c4 \u2265 \u03c4lim)\n"
    "Effective s1\u2032\t8.794\nEffective s2\u2032\t3.341\nEffective s3\u2032\t0.266\n"
    "Effective normal stress \u03c3\u2032\t5.760\nLimiting shear stress \u03c4lim\u2032\t2.436\n"
    "Largest slip tendency Ts,max\t2.791\nNormalized slip tendency Ts/Ts,max\t0.251\n"
    "Coulomb failure function CFF\t1.597\nPore pressure to slip \u0394Pc\t-6.405\n";

TEST_F(MohrTest, CopyPutsTheDefaultInputsResultsAndQuantitiesOnTheClipboard) {
  ActivateJoint();
  Open();
  QApplication::clipboard()->clear();
  Click("MohrCopy");
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text().toStdString(), kDefaultCopy);
  EXPECT_TRUE(data->html().contains(
      QStringLiteral("<tr><td>Mean stress p</td><td align=\"right\">4.133</td></tr>")));
  EXPECT_EQ(data->html().count(QStringLiteral("<tr>")), 56);

  // A screen reader reads each derived quantity as its name and the value copied.
  for (int i = 0; i < text::kDerivedCount; ++i) {
    const text::DerivedQuantity& quantity = text::kDerivedQuantities[static_cast<std::size_t>(i)];
    auto* box = Mohr()->findChild<QLineEdit*>(QLatin1String(quantity.objectName));
    ASSERT_NE(box, nullptr) << quantity.objectName;
    EXPECT_TRUE(box->isReadOnly());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(
        accessible->text(QAccessible::Name),
        text::DerivedName(static_cast<text::Derived>(i), stress::Azimuth::kClockwiseFromNorth));
    const QString line = accessible->text(QAccessible::Name) + QLatin1Char('\t') +
                         accessible->text(QAccessible::Value) + QLatin1Char('\n');
    EXPECT_TRUE(data->text().contains(line)) << line.toStdString();
  }

  // Ctrl+C: a box with a selection copies that; without one, the table.
  auto* box = Mohr()->findChild<QLineEdit*>(QStringLiteral("input_von_mises"));
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "7.481");
  box->deselect();
  QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), kDefaultCopy);
}

}  // namespace
