// The complete recalculation pass in the real window: what every box shows for
// worked states, the order of the writes, and what a pass that stops halfway
// leaves on the screen.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "projection/point_series.h"
#include "test_names.h"
#include "ui/error_guard.h"
#include "ui/main_window.h"
#include "ui/net_chart.h"

namespace {

using test_names::RowName;

// The 21 result boxes in the order a complete pass writes them.
constexpr std::array<const char*, 21> kOutputBoxes = {
    "input_s1",      "input_s2",     "input_s3",      "input_s1_beta", "input_s1_psi",
    "input_s2_beta", "input_s2_psi", "input_s3_beta", "input_s3_psi",  "edtL1",
    "edtM1",         "edtN1",        "edtL2",         "edtM2",         "edtN2",
    "edtL3",         "edtM3",        "edtN3",         "input_sigma",   "input_tau",
    "input_taulim"};
constexpr std::array<const char*, 6> kStressBoxes = {"input_sx",  "input_sy",  "input_sz",
                                                     "input_txy", "input_tyx", "input_tzx"};
const QString kSentinel = QStringLiteral("(old)");

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousReporter_ = ui::SetErrorReporter(
        [this](QWidget*, const QString& text) { messages_.push_back(text.toStdString()); });
    window_ = std::make_unique<ui::TFrmMorvane>();
    window_->show();
  }

  void TearDown() override {
    window_.reset();
    ui::SetErrorReporter(previousReporter_);
  }

  template <typename T>
  T* Find(const char* name) {
    T* control = window_->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
      ADD_FAILURE() << "no control named " << name;
    return control;
  }

  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
  QString Text(const char* name) { return Box(name)->text(); }

  void Type(const char* name, const QString& text) {
    QLineEdit* box = Box(name);
    box->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Delete);
    } else {
      QTest::keyClicks(box, text);
    }
    ASSERT_EQ(box->text(), text) << name;
  }

  void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }

  void SetStress(const std::array<const char*, 6>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
      Type(kStressBoxes[i], QString::fromLatin1(texts[i]));
  }

  /// Puts a text no pass writes into every result box.
  void MarkOutputs() {
    for (const char* name : kOutputBoxes)
      Box(name)->setText(kSentinel);
  }

  const projection::PointList& Series(int n) { return Find<ui::NetChartView>("Chart1")->Points(n); }

  std::vector<std::string> PoleLabels() {
    std::vector<std::string> labels;
    for (const auto& point : Series(3).Points())
      labels.push_back(point.label);
    return labels;
  }

  std::unique_ptr<ui::TFrmMorvane> window_;
  std::vector<std::string> messages_;
  ui::ErrorReporter previousReporter_;
};

// ---------------------------------------------------------------------------
// Worked states: what every box shows after a complete pass.

struct ShownCase {
  const char* name;
  std::array<const char*, 6> stress;  // sx, sy, sz, txy, tyz, tzx
  bool northClockwise;
  std::array<const char*, 18> shown;  // boxes 1 to 18 of the write order
};

const ShownCase kShownCases[] = {
    {"default clockwise from North",
     {"3.4", "1", "8", "1", "-1", "2"},
     true,
     {"8.794", "3.341", "0.266", "283.10", "69.95", "60.78", "15.10", "154.32", "12.88", "0.333929",
      "-0.077687", "0.939391", "0.842622", "0.471273", "-0.260557", "-0.422468", "0.878560",
      "0.222832"}},
    {"default counter-clockwise from East",
     {"3.4", "1", "8", "1", "-1", "2"},
     false,
     {"8.794", "3.341", "0.266", "166.90", "69.95", "29.22", "15.10", "295.68", "12.88", "0.333929",
      "-0.077687", "0.939391", "0.842622", "0.471273", "-0.260557", "-0.422468", "0.878560",
      "0.222832"}},
    {"handedness factor minus one",
     {"4", "3", "2", "-2", "-1", "-2"},
     true,
     {"5.874", "3.514", "-0.388", "119.56", "17.83", "12.24", "42.79", "226.29", "41.83",
      "0.828033", "-0.469655", "-0.306244", "0.155520", "0.717161", "-0.679334", "0.538678",
      "0.514884", "0.666874"}},
    {"handedness factor minus one from East",
     {"4", "3", "2", "-2", "-1", "-2"},
     false,
     {"5.874", "3.514", "-0.388", "330.44", "17.83", "77.76", "42.79", "223.71", "41.83",
      "0.828033", "-0.469655", "-0.306244", "0.155520", "0.717161", "-0.679334", "0.538678",
      "0.514884", "0.666874"}},
    {"axis aligned ascending",
     {"1", "2", "3", "0", "0", "0"},
     true,
     {"3.000", "2.000", "1.000", "180.00", "90.00", "180.00", "0.00", "90.00", "0.00", "0.000000",
      "0.000000", "1.000000", "0.000000", "-1.000000", "0.000000", "1.000000", "0.000000",
      "0.000000"}},
    {"axis aligned descending",
     {"3", "2", "1", "0", "0", "0"},
     false,
     {"3.000", "2.000", "1.000", "0.00", "0.00", "270.00", "0.00", "270.00", "90.00", "-1.000000",
      "0.000000", "0.000000", "0.000000", "-1.000000", "0.000000", "0.000000", "0.000000",
      "1.000000"}},
    {"default scaled by a thousandth",
     {"0.0034", "0.001", "0.008", "0.001", "-0.001", "0.002"},
     true,
     {"0.009", "0.003", "0.000", "283.10", "69.95", "60.78", "15.10", "154.32", "12.88",
      "-0.333929", "0.077687", "-0.939391", "-0.842622", "-0.471273", "0.260557", "-0.422468",
      "0.878560", "0.222832"}},
    // An isotropic state completes: s1 along East, s2 along North, s3 vertical.
    {"isotropic",
     {"1", "1", "1", "0", "0", "0"},
     true,
     {"1.000", "1.000", "1.000", "90.00", "0.00", "0.00", "0.00", "180.00", "90.00", "1.000000",
      "0.000000", "0.000000", "0.000000", "1.000000", "0.000000", "0.000000", "0.000000",
      "1.000000"}},
};

class ShownTest : public WindowFixture, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(ShownTest, EveryResultBoxShowsTheWorkedText) {
  const ShownCase& c = GetParam();
  SetStress(c.stress);
  Find<QAction>(c.northClockwise ? "mnuAngleRight" : "mnuAngleLeft")->trigger();
  Click("Button1");
  EXPECT_EQ(messages_, std::vector<std::string>{});
  for (std::size_t i = 0; i < c.shown.size(); ++i) {
    EXPECT_EQ(Text(kOutputBoxes[i]).toStdString(), c.shown[i]) << kOutputBoxes[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ShownTest, ::testing::ValuesIn(kShownCases), RowName());

// ---------------------------------------------------------------------------
// The joint results.

struct JointCase {
  const char* name;
  std::array<const char*, 6> stress;
  std::array<const char*, 4> joint;  // beta, psi, phi, c
  std::array<const char*, 3> shown;  // sigma, tau, taulim
};

const JointCase kJointCases[] = {
    {"default",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"16", "33", "14", "1"},
     {"5.760", "4.033", "2.436"}},
    {"tension drops the strength",
     {"-3.4", "-1", "-8", "-1", "1", "-2"},
     {"16", "33", "14", "1"},
     {"-5.760", "4.033", "0.000"}},
    {"friction angle above ninety",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"16", "33", "100", "1"},
     {"5.760", "4.033", "-31.668"}},
    {"horizontal joint on a principal plane",
     {"3", "1", "8", "1", "0", "0"},
     {"16", "0", "14", "1"},
     {"8.000", "0.000", "2.995"}},
    {"dip direction a whole turn on",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"376", "33", "14", "1"},
     {"5.760", "4.033", "2.436"}},
    {"same plane from the other side",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"196", "-33", "14", "1"},
     {"5.760", "4.033", "2.436"}},
    {"isotropic",
     {"2", "2", "2", "0", "0", "0"},
     {"16", "33", "14", "1"},
     {"2.000", "0.000", "1.499"}},
};

class JointTest : public WindowFixture, public ::testing::WithParamInterface<JointCase> {};

TEST_P(JointTest, JointBoxesShowTheWorkedText) {
  const JointCase& c = GetParam();
  Click("chkJoint");
  SetStress(c.stress);
  const std::array<const char*, 4> jointBoxes = {"input_joint_beta", "input_joint_psi",
                                                 "input_joint_phi", "input_joint_c"};
  for (std::size_t i = 0; i < jointBoxes.size(); ++i) {
    Type(jointBoxes[i], QString::fromLatin1(c.joint[i]));
  }
  Click("Button1");
  EXPECT_EQ(messages_, std::vector<std::string>{});
  EXPECT_EQ(Text("input_sigma").toStdString(), c.shown[0]);
  EXPECT_EQ(Text("input_tau").toStdString(), c.shown[1]);
  EXPECT_EQ(Text("input_taulim").toStdString(), c.shown[2]);
}

INSTANTIATE_TEST_SUITE_P(Table, JointTest, ::testing::ValuesIn(kJointCases), RowName());

TEST_F(WindowFixture, AzimuthConventionChangesOnlyTheThreeAzimuths) {
  Click("chkJoint");
  Find<QAction>("mnuAngleRight")->trigger();
  std::vector<QString> clockwise;
  for (const char* name : kOutputBoxes)
    clockwise.push_back(Text(name));
  const std::vector<projection::NetPoint> poles = Series(3).Points();

  Find<QAction>("mnuAngleLeft")->trigger();
  for (std::size_t i = 0; i < kOutputBoxes.size(); ++i) {
    const std::string name = kOutputBoxes[i];
    if (name == "input_s1_beta" || name == "input_s2_beta" || name == "input_s3_beta") {
      EXPECT_NE(Text(kOutputBoxes[i]), clockwise[i]) << name;
    } else {
      EXPECT_EQ(Text(kOutputBoxes[i]), clockwise[i]) << name;
    }
  }
  ASSERT_EQ(Series(3).Points().size(), poles.size());
  for (std::size_t i = 0; i < poles.size(); ++i) {
    EXPECT_EQ(Series(3).Points()[i].x, poles[i].x);
    EXPECT_EQ(Series(3).Points()[i].y, poles[i].y);
  }
}

// ---------------------------------------------------------------------------
// The order of the writes and the state of the chart after complete passes.

TEST_F(WindowFixture, CompletePassWritesTheResultBoxesInOrder) {
  Click("chkJoint");
  MarkOutputs();
  std::vector<std::string> written;
  for (const char* name : kOutputBoxes) {
    QObject::connect(Box(name), &QLineEdit::textChanged,
                     [&written, name](const QString&) { written.emplace_back(name); });
  }
  Click("Button1");
  EXPECT_EQ(written, std::vector<std::string>(kOutputBoxes.begin(), kOutputBoxes.end()));
}

TEST_F(WindowFixture, RepeatedPassesLeaveTheSameChart) {
  for (bool joint : {false, true}) {
    if (joint)
      Click("chkJoint");
    for (int pass = 0; pass < 2; ++pass) {
      Click("Button1");
      SCOPED_TRACE(testing::Message() << "joint " << joint << " pass " << pass);
      EXPECT_EQ(Series(1).Points().size(), 91u);
      EXPECT_EQ(Series(2).Points().size(), joint ? 181u : 0u);
      for (int n : {4, 5, 6})
        EXPECT_EQ(Series(n).Points().size(), 181u) << "Series" << n;
      const std::vector<std::string> expected =
          joint ? std::vector<std::string>{"joint", "s1", "s2", "s3"}
                : std::vector<std::string>{"s1", "s2", "s3"};
      std::vector<std::string> labels = PoleLabels();
      std::sort(labels.begin(), labels.end());
      EXPECT_EQ(labels, expected);
      for (std::size_t i = 1; i < Series(3).Points().size(); ++i) {
        EXPECT_LE(Series(3).Points()[i - 1].x, Series(3).Points()[i].x) << "poles sorted by x";
      }
    }
  }
}

// ---------------------------------------------------------------------------
// A pass that stops: the message, and what is new and what is old.

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

class FailureTest : public WindowFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, LeavesNewAndOldAsTheStopPointDecides) {
  const FailureCase& c = GetParam();
  if (c.jointActive)
    Click("chkJoint");
  // A different state from the one the planes were drawn for, so new curves differ.
  SetStress({"5", "-2", "7", "0.5", "1.5", "-3"});
  Click("Button1");
  ASSERT_EQ(messages_, std::vector<std::string>{});
  std::array<std::vector<projection::NetPoint>, 3> oldPlanes;
  for (int n = 0; n < 3; ++n)
    oldPlanes[n] = Series(4 + n).Points();

  SetStress({"3.4", "1", "8", "1", "-1", "2"});
  // The boxes only a window-level widget can reach while the joint is off are set directly.
  for (const auto& [box, text] : c.edits)
    Box(box)->setText(QString::fromLatin1(text));
  MarkOutputs();
  Click("Button1");

  if (c.message == nullptr) {
    EXPECT_EQ(messages_, std::vector<std::string>{});
  } else {
    EXPECT_EQ(messages_, std::vector<std::string>{c.message});
  }
  for (std::size_t i = 0; i < kOutputBoxes.size(); ++i) {
    const bool isJointBox = i >= 18;
    const bool expectNew =
        c.newBoxes == Where::Everything || (c.newBoxes == Where::AllButJoint && !isJointBox);
    if (expectNew) {
      EXPECT_NE(Text(kOutputBoxes[i]), kSentinel) << kOutputBoxes[i] << " should be rewritten";
    } else {
      EXPECT_EQ(Text(kOutputBoxes[i]), kSentinel) << kOutputBoxes[i] << " should keep its text";
    }
  }
  EXPECT_EQ(Series(1).Points().size(), 91u);
  EXPECT_EQ(Series(2).Points().size(), c.jointPlanePoints);
  std::vector<std::string> labels = PoleLabels();
  std::sort(labels.begin(), labels.end());
  EXPECT_EQ(labels, c.poles);
  for (int n = 0; n < 3; ++n) {
    const auto& now = Series(4 + n).Points();
    ASSERT_EQ(now.size(), 181u);
    const bool same = now.front().x == oldPlanes[n].front().x &&
                      now.front().y == oldPlanes[n].front().y && now[90].x == oldPlanes[n][90].x &&
                      now[90].y == oldPlanes[n][90].y;
    EXPECT_EQ(same, !c.principalPlanesNew) << "Series" << 4 + n;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, FailureTest, ::testing::ValuesIn(kFailureCases), RowName());

}  // namespace
