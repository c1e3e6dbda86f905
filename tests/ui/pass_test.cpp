// The recalculation pass in the real window: what every box shows for worked
// states, the order of the writes, what a pass that stops halfway leaves on
// the screen, the real error box, and the user's separators.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointF>
#include <QTest>
#include <QWindow>
#include <QXYSeries>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "figures/figure_style.h"
#include "projection/point_series.h"
#include "test_names.h"
#include "ui/charts/net_chart.h"
#include "ui/main/main_window.h"
#include "window_fixture.h"

namespace {

using test_names::RowName;
using ui::testing::AnnounceLocale;
using ui::testing::kResultBoxes;
using ui::testing::WindowTest;

constexpr std::array<const char*, 6> kStressBoxes = {"input_sx",  "input_sy",  "input_sz",
                                                     "input_txy", "input_tyx", "input_tzx"};
constexpr std::array<const char*, 4> kJointBoxes = {"input_joint_beta", "input_joint_psi",
                                                    "input_joint_phi", "input_joint_c"};
const std::string kSentinel = "(old)";

/// The window shown, so its first pass is done.
class PassTest : public WindowTest {
 public:
  using WindowTest::Click;
  using WindowTest::Find;
  using WindowTest::Type;

 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Show();
  }

  void SetStress(const std::array<const char*, 6>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
      Type(kStressBoxes[i], QString::fromLatin1(texts[i]));
  }

  /// Puts a text no pass writes into every result box.
  void MarkOutputs() {
    for (const char* name : kResultBoxes)
      Box(name)->setText(QString::fromStdString(kSentinel));
  }
};

// ---------------------------------------------------------------------------
// The net agrees with the boxes, clockwise from North: each principal pole is
// the downward axis its azimuth and dip boxes give, each principal trace's
// middle point lies on its plane's dip line (opposite the axis, plunging 90
// degrees less the axis's dip), and the joint is the plane of its normal
// (sin b sin p, cos b sin p, cos p), pole and middle point alike. A point
// plunging p along azimuth a stands at radius sqrt(2) sin((90 - p) / 2). The
// boxes round to 0.005 degrees, which moves a point by at most 1.5e-4 (0.71
// per radian along the radius, at most 1 per radian across it).

struct NetCase {
  const char* name;
  std::array<const char*, 6> stress;
  const char* jointBeta;  // nullptr: the joint is off
  const char* jointPsi;
};
void PrintTo(const NetCase& c, std::ostream* os) {
  *os << c.name;
}

const NetCase kNetCases[] = {
    {"default", {"3.4", "1", "8", "1", "-1", "2"}, nullptr, nullptr},
    {"default joint", {"3.4", "1", "8", "1", "-1", "2"}, "16", "33"},
    {"joint 196 -33 drawn as 16 33", {"3.4", "1", "8", "1", "-1", "2"}, "196", "-33"},
    {"joint dipping past vertical", {"4", "3", "2", "-2", "-1", "-2"}, "250", "120"},
    {"vertical and horizontal planes", {"10", "30", "5", "0", "0", "0"}, "300", "90"},
};

/// The net point of a line plunging `plunge` degrees towards `azimuth` degrees.
QPointF LineOnNet(double azimuth, double plunge) {
  const double r = std::sqrt(2.0) * std::sin((90.0 - plunge) * M_PI / 360.0);
  return {r * std::sin(azimuth * M_PI / 180.0), r * std::cos(azimuth * M_PI / 180.0)};
}

class NetTest : public PassTest, public ::testing::WithParamInterface<NetCase> {
 protected:
  double Number(const char* box) { return std::stod(Text(box)); }

  void ExpectAt(const projection::NetPoint& point, const QPointF& expected,
                const std::string& what) {
    EXPECT_NEAR(point.x, expected.x(), 2e-4) << what;
    EXPECT_NEAR(point.y, expected.y(), 2e-4) << what;
  }

  void ExpectPole(const std::string& label, const QPointF& expected) {
    const auto& poles = Points(3).Points();
    const auto pole = std::find_if(poles.begin(), poles.end(),
                                   [&](const projection::NetPoint& p) { return p.label == label; });
    ASSERT_NE(pole, poles.end()) << "no pole " << label;
    ExpectAt(*pole, expected, "pole " + label);
  }
};

TEST_P(NetTest, PolesAndTracesStandWhereTheBoxesPutThem) {
  const NetCase& c = GetParam();
  SetStress(c.stress);
  if (c.jointBeta != nullptr) {
    Click("chkJoint");
    Type("input_joint_beta", QString::fromLatin1(c.jointBeta));
    Type("input_joint_psi", QString::fromLatin1(c.jointPsi));
  }
  Click("Button1");
  ASSERT_EQ(Messages(), std::vector<std::string>{});

  const std::array<std::array<const char*, 3>, 3> principal = {{
      {"s1", "input_s1_beta", "input_s1_psi"},
      {"s2", "input_s2_beta", "input_s2_psi"},
      {"s3", "input_s3_beta", "input_s3_psi"},
  }};
  for (int i = 0; i < 3; ++i) {
    const double azimuth = Number(principal[i][1]);
    const double dip = Number(principal[i][2]);
    ExpectPole(principal[i][0], LineOnNet(azimuth, dip));
    ExpectAt(Points(4 + i).Points().at(90), LineOnNet(azimuth + 180.0, 90.0 - dip),
             std::string("middle of the plane of ") + principal[i][0]);
  }
  if (c.jointBeta == nullptr)
    return;
  const double b = std::stod(c.jointBeta) * M_PI / 180.0;
  const double p = std::stod(c.jointPsi) * M_PI / 180.0;
  const double up = std::cos(p) < 0.0 ? -1.0 : 1.0;  // the normal taken upward
  const double planeDip = std::acos(up * std::cos(p)) * 180.0 / M_PI;
  const double dipDirection =
      std::atan2(up * std::sin(b) * std::sin(p), up * std::cos(b) * std::sin(p)) * 180.0 / M_PI;
  ExpectPole("joint", LineOnNet(dipDirection + 180.0, 90.0 - planeDip));
  ExpectAt(Points(2).Points().at(90), LineOnNet(dipDirection, planeDip), "middle of the joint");
}

INSTANTIATE_TEST_SUITE_P(Table, NetTest, ::testing::ValuesIn(kNetCases), RowName());

// ---------------------------------------------------------------------------
// The order of the writes and the state of the chart after complete passes.

TEST_F(PassTest, CompletePassWritesTheResultBoxesInOrder) {
  Click("chkJoint");
  MarkOutputs();
  std::vector<std::string> written;
  for (const char* name : kResultBoxes) {
    QObject::connect(Box(name), &QLineEdit::textChanged,
                     [&written, name](const QString&) { written.emplace_back(name); });
  }
  Click("Button1");
  EXPECT_EQ(written, std::vector<std::string>(kResultBoxes.begin(), kResultBoxes.end()));
}

TEST_F(PassTest, RepeatedPassesLeaveTheSameChart) {
  for (bool joint : {false, true}) {
    if (joint)
      Click("chkJoint");
    for (int pass = 0; pass < 2; ++pass) {
      Click("Button1");
      SCOPED_TRACE(::testing::Message() << "joint " << joint << " pass " << pass);
      EXPECT_EQ(Points(1).Points().size(), 91u);
      EXPECT_EQ(Points(2).Points().size(), joint ? 181u : 0u);
      for (int n : {4, 5, 6})
        EXPECT_EQ(Points(n).Points().size(), 181u) << "series " << n;
      const std::vector<std::string> expected =
          joint ? std::vector<std::string>{"joint", "s1", "s2", "s3"}
                : std::vector<std::string>{"s1", "s2", "s3"};
      EXPECT_EQ(PoleLabels(), expected);
      for (std::size_t i = 1; i < Points(3).Points().size(); ++i) {
        EXPECT_LE(Points(3).Points()[i - 1].x, Points(3).Points()[i].x) << "poles sorted by x";
      }
    }
  }
}

// ---------------------------------------------------------------------------
// What Qt Charts is handed: only the series a pass changed, and after every
// pass exactly the stored points.

struct HandedStep {
  const char* name;
  std::function<void(PassTest&)> act;
  std::array<int, 6> replaced;  // replaces of Series1 to Series6 during the step
};

const HandedStep kHandedSteps[] = {
    {"same input", [](PassTest& t) { t.Click("Button1"); }, {0, 0, 0, 0, 0, 0}},
    {"azimuths from East",
     [](PassTest& t) { t.Find<QAction>("mnuAngleLeft")->trigger(); },
     {0, 0, 0, 0, 0, 0}},
    {"joint on", [](PassTest& t) { t.Click("chkJoint"); }, {0, 1, 1, 0, 0, 0}},
    {"new stress",
     [](PassTest& t) {
       t.Type("input_sx", QStringLiteral("4"));
       t.Click("Button1");
     },
     {0, 0, 1, 1, 1, 1}},
    {"new joint dip",
     [](PassTest& t) {
       t.Type("input_joint_psi", QStringLiteral("50"));
       t.Click("Button1");
     },
     {0, 1, 1, 0, 0, 0}},
    {"pass stopped by sz",  // the principal planes stay, their poles go
     [](PassTest& t) {
       t.Type("input_sz", QStringLiteral("x"));
       t.Click("Button1");
     },
     {0, 0, 1, 0, 0, 0}},
    {"sz repaired",  // the same planes as before the stop
     [](PassTest& t) {
       t.Type("input_sz", QStringLiteral("8"));
       t.Click("Button1");
     },
     {0, 0, 1, 0, 0, 0}},
    {"joint off", [](PassTest& t) { t.Click("chkJoint"); }, {0, 1, 1, 0, 0, 0}},
};

TEST_F(PassTest, QtChartsIsHandedOnlyChangedSeriesAndShowsTheStoredPoints) {
  auto* chart = Find<ui::NetChartView>("Chart1");
  ASSERT_NE(chart, nullptr);
  const auto same = [](double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  };
  for (const HandedStep& step : kHandedSteps) {
    SCOPED_TRACE(step.name);
    std::array<int, 6> replaced{};
    std::vector<QMetaObject::Connection> spies;
    for (int n = 0; n < 6; ++n) {
      auto* series = qobject_cast<QXYSeries*>(chart->chart()->series().at(n));
      spies.push_back(
          QObject::connect(series, &QXYSeries::pointsReplaced, [&replaced, n] { ++replaced[n]; }));
    }
    step.act(*this);
    for (const auto& spy : spies)
      QObject::disconnect(spy);
    EXPECT_EQ(replaced, step.replaced);

    const auto all = chart->chart()->series();
    for (int n = 1; n <= 6; ++n) {
      const auto& stored = Points(n).Points();
      const QList<QPointF> shown = qobject_cast<QXYSeries*>(all.at(n - 1))->points();
      ASSERT_EQ(shown.size(), static_cast<qsizetype>(stored.size())) << "series " << n;
      for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_TRUE(same(shown[i].x(), stored[i].x) && same(shown[i].y(), stored[i].y))
            << "series " << n << " point " << i;
      }
      if (n != ui::NetChartView::kPoleSeries && !stored.empty()) {
        EXPECT_EQ(qobject_cast<QXYSeries*>(all.at(n - 1))->pen().color(),
                  figures::ToQColor(stored.back().colour))
            << "series " << n;
      }
    }
    // One visible pole series per stored pole, in the stored order.
    std::vector<QXYSeries*> poles;
    for (qsizetype i = 6; i < all.size(); ++i) {
      if (all[i]->isVisible())
        poles.push_back(qobject_cast<QXYSeries*>(all[i]));
    }
    const auto& stored = Points(ui::NetChartView::kPoleSeries).Points();
    ASSERT_EQ(poles.size(), stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(poles[i]->points(), QList<QPointF>{QPointF(stored[i].x, stored[i].y)}) << i;
      EXPECT_EQ(poles[i]->pointLabelsFormat().toStdString(), stored[i].label);
      EXPECT_EQ(poles[i]->color(), figures::ToQColor(stored[i].colour)) << stored[i].label;
    }
  }
}

// ---------------------------------------------------------------------------
// A pass that stops: the message, and what is new and what is old. A pass
// never writes an input box, whether it stops or not.

enum class Where { Nothing, AllButJoint, Everything };

struct FailureCase {
  const char* name;
  bool jointActive;
  std::vector<std::pair<const char*, const char*>> edits;
  const char* message;  // nullptr: the pass completes
  Where newBoxes;       // which result boxes the pass rewrote
  std::size_t jointPlanePoints;
  std::vector<std::string> poles;  // labels in Series3, sorted
  bool principalPlanesNew;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

const FailureCase kFailureCases[] = {
    {"bad joint dip direction",
     true,
     {{"input_joint_beta", "1x"}},
     "'1x' is not a valid floating point value.",
     Where::Nothing,
     0,
     {},
     false},
    {"bad joint dip",
     true,
     {{"input_joint_psi", " 3 3"}},
     "' 3 3' is not a valid floating point value.",
     Where::Nothing,
     0,
     {},
     false},
    {"bad stress box with the joint",
     true,
     {{"input_sy", "1x"}},
     "'1x' is not a valid floating point value.",
     Where::Nothing,
     181,
     {"joint"},
     false},
    {"empty stress box",
     false,
     {{"input_tzx", ""}},
     "'' is not a valid floating point value.",
     Where::Nothing,
     0,
     {},
     false},
    {"overflow storing an input",
     true,
     {{"input_sx", "1e400"}},
     "Floating point overflow.",
     Where::Nothing,
     181,
     {"joint"},
     false},
    {"overflow in the principal values",
     false,
     {{"input_sx", "1e52"},
      {"input_sy", "0"},
      {"input_sz", "0"},
      {"input_txy", "0"},
      {"input_tyx", "0"},
      {"input_tzx", "0"}},
     "Floating point overflow.",
     Where::Nothing,
     0,
     {},
     false},
    {"bad cohesion",
     true,
     {{"input_joint_c", "c"}},
     "'c' is not a valid floating point value.",
     Where::AllButJoint,
     181,
     {"joint", "s1", "s2", "s3"},
     true},
    {"bad friction angle",
     true,
     {{"input_joint_phi", "14deg"}},
     "'14deg' is not a valid floating point value.",
     Where::AllButJoint,
     181,
     {"joint", "s1", "s2", "s3"},
     true},
    {"cohesion reported before friction angle",
     true,
     {{"input_joint_c", "c?"}, {"input_joint_phi", "phi?"}},
     "'c?' is not a valid floating point value.",
     Where::AllButJoint,
     181,
     {"joint", "s1", "s2", "s3"},
     true},
    {"friction angle without a tangent",
     true,
     {{"input_joint_phi", "1e21"}},
     "Invalid floating point operation.",
     Where::AllButJoint,
     181,
     {"joint", "s1", "s2", "s3"},
     true},
    {"bad joint boxes are not read while inactive",
     false,
     {{"input_joint_beta", "b"},
      {"input_joint_psi", "p"},
      {"input_joint_c", "c"},
      {"input_joint_phi", "f"}},
     nullptr,
     Where::AllButJoint,
     0,
     {"s1", "s2", "s3"},
     true},
    {"complete pass with the joint",
     true,
     {},
     nullptr,
     Where::Everything,
     181,
     {"joint", "s1", "s2", "s3"},
     true},
};

class FailureTest : public PassTest, public ::testing::WithParamInterface<FailureCase> {
 protected:
  // What the chart draws is what the pass stored, also when the pass stopped
  // halfway: every Qt series holds its store's points, and one cross is shown
  // per stored pole.
  void ExpectChartShowsStoredPoints() {
    QChart* chart = Find<ui::NetChartView>("Chart1")->chart();
    int visiblePoles = 0;
    for (QAbstractSeries* series : chart->series()) {
      const QString name = series->objectName();
      if (name == QLatin1String("Series3Pole")) {
        visiblePoles += series->isVisible() ? 1 : 0;
        continue;
      }
      const int n = name.mid(6).toInt();
      ASSERT_TRUE(name.startsWith(QLatin1String("Series")) && n >= 1 && n <= 6)
          << name.toStdString();
      const auto* xy = qobject_cast<QXYSeries*>(series);
      ASSERT_NE(xy, nullptr) << name.toStdString();
      const auto& stored = Points(n).Points();
      ASSERT_EQ(static_cast<std::size_t>(xy->count()), stored.size()) << name.toStdString();
      for (std::size_t k = 0; k < stored.size(); ++k) {
        ASSERT_EQ(xy->at(static_cast<int>(k)), QPointF(stored[k].x, stored[k].y))
            << name.toStdString() << " point " << k;
      }
    }
    EXPECT_EQ(static_cast<std::size_t>(visiblePoles), Points(3).Points().size());
  }
};

TEST_P(FailureTest, LeavesNewAndOldAsTheStopPointDecides) {
  const FailureCase& c = GetParam();
  if (c.jointActive)
    Click("chkJoint");
  // A different state from the one the planes were drawn for, so new curves differ.
  SetStress({"5", "-2", "7", "0.5", "1.5", "-3"});
  Click("Button1");
  ASSERT_EQ(Messages(), std::vector<std::string>{});
  std::array<std::vector<projection::NetPoint>, 3> oldPlanes;
  for (int n = 0; n < 3; ++n)
    oldPlanes[n] = Points(4 + n).Points();

  SetStress({"3.4", "1", "8", "1", "-1", "2"});
  // The joint boxes are disabled while the joint is off: those are set directly.
  for (const auto& [name, text] : c.edits) {
    QLineEdit* box = Box(name);
    ASSERT_NE(box, nullptr);
    if (box->isEnabled()) {
      Type(name, QString::fromLatin1(text));
    } else {
      box->setText(QString::fromLatin1(text));
    }
  }
  MarkOutputs();
  const std::vector<std::string> stressInputs = Texts(kStressBoxes);
  const std::vector<std::string> jointInputs = Texts(kJointBoxes);
  Click("Button1");

  if (c.message == nullptr) {
    EXPECT_EQ(Messages(), std::vector<std::string>{});
  } else {
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  }
  EXPECT_EQ(Texts(kStressBoxes), stressInputs);
  EXPECT_EQ(Texts(kJointBoxes), jointInputs);
  for (std::size_t i = 0; i < kResultBoxes.size(); ++i) {
    const bool isJointBox = i >= 18;
    const bool expectNew =
        c.newBoxes == Where::Everything || (c.newBoxes == Where::AllButJoint && !isJointBox);
    if (expectNew) {
      EXPECT_NE(Text(kResultBoxes[i]), kSentinel) << kResultBoxes[i] << " should be rewritten";
    } else {
      EXPECT_EQ(Text(kResultBoxes[i]), kSentinel) << kResultBoxes[i] << " should keep its text";
    }
  }
  EXPECT_EQ(Points(1).Points().size(), 91u);
  EXPECT_EQ(Points(2).Points().size(), c.jointPlanePoints);
  EXPECT_EQ(PoleLabels(), c.poles);
  for (int n = 0; n < 3; ++n) {
    const auto& now = Points(4 + n).Points();
    ASSERT_EQ(now.size(), 181u);
    const bool same = now.front().x == oldPlanes[n].front().x &&
                      now.front().y == oldPlanes[n].front().y && now[90].x == oldPlanes[n][90].x &&
                      now[90].y == oldPlanes[n][90].y;
    EXPECT_EQ(same, !c.principalPlanesNew) << "series " << 4 + n;
  }
  ExpectChartShowsStoredPoints();
}

INSTANTIATE_TEST_SUITE_P(Table, FailureTest, ::testing::ValuesIn(kFailureCases), RowName());

// ---------------------------------------------------------------------------
// The real error box.

// The box over the window: after "OK" the window goes on working and the next
// pass completes.
TEST_F(PassTest, ErrorBoxOverTheWindowThenTheWindowGoesOn) {
  errors_.ShowRealBoxes();
  Type("input_sy", QStringLiteral("1x"));

  QString text;
  QWidget* parent = nullptr;
  const ui::testing::ModalOutcome outcome =
      ui::testing::AnswerModalBox([this] { Click("Button1"); },
                                  [&](QMessageBox* box) {
                                    text = box->text();
                                    parent = box->parentWidget();
                                    box->button(QMessageBox::Ok)->click();
                                  });

  EXPECT_TRUE(outcome.appeared) << "Calculate opened no modal box";
  EXPECT_FALSE(outcome.leftOpen) << "the box stays open after OK";
  EXPECT_EQ(text.toStdString(), "'1x' is not a valid floating point value.");
  EXPECT_EQ(parent, window_.get());

  Type("input_sy", QStringLiteral("1"));
  Box("input_s1")->setText(QStringLiteral("stale"));
  Click("Button1");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Text("input_s1"), "8.794");
}

// ---------------------------------------------------------------------------
// The user's separators: read again when a locale change is announced, used
// by the next pass, and never a reason to recalculate by themselves.

class LocaleTest : public WindowTest {
 protected:
  /// A new window created under `locale`, as the program starts in it.
  void CreateUnder(const QLocale& locale) {
    AnnounceLocale(locale);
    window_ = std::make_unique<ui::TFrmMorvane>();
  }
};

// The default texts are written with the user's decimal separator, so every
// start completes its first pass.
struct StartCase {
  const char* name;
  QLocale::Language language;
  QLocale::Territory territory;
  const char* sx;
  std::array<const char*, 3> values;
};
void PrintTo(const StartCase& c, std::ostream* os) {
  *os << c.name;
}
const StartCase kStartCases[] = {
    {"German", QLocale::German, QLocale::Germany, "3,4", {"8,794", "3,341", "0,266"}},
    {"French", QLocale::French, QLocale::France, "3,4", {"8,794", "3,341", "0,266"}},
    {"US English", QLocale::English, QLocale::UnitedStates, "3.4", {"8.794", "3.341", "0.266"}},
};
class StartTest : public LocaleTest, public ::testing::WithParamInterface<StartCase> {};
TEST_P(StartTest, FirstPassReadsTheDefaultsWrittenWithTheUsersSeparator) {
  const StartCase& c = GetParam();
  CreateUnder(QLocale(c.language, c.territory));
  Show();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_EQ(Text("input_sx"), c.sx);
  EXPECT_EQ(Text("input_s1"), c.values[0]);
  EXPECT_EQ(Text("input_s2"), c.values[1]);
  EXPECT_EQ(Text("input_s3"), c.values[2]);
}
INSTANTIATE_TEST_SUITE_P(Table, StartTest, ::testing::ValuesIn(kStartCases), RowName());

// With "," as decimal separator a typed "3.4" is not a number; "3,4" is, and
// the results appear with ",". Back in English nothing changes until the next
// pass.
TEST_F(LocaleTest, PassesFollowTheDecimalSeparatorOfTheLocale) {
  CreateUnder(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral(","));
  Show();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  Type("input_sx", QStringLiteral("3.4"));
  Box("input_s1")->setText(QStringLiteral("stale"));
  Click("Button1");
  EXPECT_EQ(Messages(), std::vector<std::string>{"'3.4' is not a valid floating point value."});
  EXPECT_EQ(Text("input_s1"), "stale");

  Type("input_sx", QStringLiteral("3,4"));
  Click("Button1");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Text("input_s1"), "8,794");
  EXPECT_EQ(Text("input_s2"), "3,341");
  EXPECT_EQ(Text("input_s3"), "0,266");
  EXPECT_EQ(Text("input_s1_beta"), "283,10");

  AnnounceLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Text("input_s1"), "8,794");  // nothing recalculates by itself
  Type("input_sx", QStringLiteral("3.4"));
  Click("Button1");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Text("input_s1"), "8.794");
}

// A first pass that fails runs while the window is being shown; its box opens
// over the window once the window stands on the screen, the window keeps the
// texts it was created with, and after OK the box that failed has the focus.
// (Qt drops the box's selection here: the window was activated while the
// error box held the focus.)
TEST_F(LocaleTest, FailingFirstPassOpensItsBoxOverTheShownWindow) {
  errors_.ShowRealBoxes();
  CreateUnder(QLocale(QLocale::German, QLocale::Germany));
  Box("input_sz")->setText(QStringLiteral("8.5"));
  bool answered = false;
  bool windowOnScreen = false;
  std::string text;
  const ui::testing::ModalOutcome outcome = ui::testing::AnswerModalBox(
      [&] {
        Show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
      },
      [&](QMessageBox* box) {
        text = box->text().toStdString();
        windowOnScreen = window_->windowHandle() != nullptr && window_->windowHandle()->isVisible();
        answered = true;
        box->button(QMessageBox::Ok)->click();
      });
  EXPECT_TRUE(outcome.appeared) << "the failing first pass opened no box";
  EXPECT_FALSE(outcome.leftOpen);
  EXPECT_EQ(text, "'8.5' is not a valid floating point value.");
  EXPECT_TRUE(windowOnScreen) << "the box opened before the window was on the screen";
  EXPECT_EQ(Text("input_s1"), "input_s1");
  EXPECT_EQ(Points(1).Points().size(), 91u);
  // The window system gives the window back its activation once the box is gone.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  EXPECT_TRUE(Box("input_sz")->hasFocus());
}

// The separators change when the change is announced, not before.
TEST_F(LocaleTest, ReadsTheSeparatorsAgainWhenTheLocaleChangeIsAnnounced) {
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral(","));
  EXPECT_EQ(window_->CurrentSeparators().thousands, QStringLiteral("."));
  AnnounceLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  EXPECT_EQ(window_->CurrentSeparators().thousands, QStringLiteral(","));
}

}  // namespace
