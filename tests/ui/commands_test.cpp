// The commands and toggles of the real window, driven by mouse and keyboard:
// the first showing, Calculate, the Angles menu, the joint and cosine toggles,
// the About box and the ways the program ends.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/pass.h"
#include "engine/tendency_map.h"
#include "files/case_file.h"
#include "files/saved_file.h"
#include "test_names.h"
#include "ui/charts/net_chart.h"
#include "ui/common/about_box.h"
#include "ui/common/application_icon.h"
#include "ui/main/main_window.h"
#include "ui/planes/plane_study.h"
#include "window_fixture.h"

namespace {

using test_names::RowName;
using ui::testing::kResultBoxes;

// The controls that follow chkJoint.
constexpr std::array<const char*, 9> kJointControls = {
    "GroupBox5",     "Panel1",      "input_joint_beta", "input_joint_psi", "input_joint_phi",
    "input_joint_c", "input_sigma", "input_tau",        "input_taulim"};

// The helpers are public: the tables below drive the window through them.
class CommandsTest : public ui::testing::WindowTest {
 public:
  using WindowTest::Click;

  /// Opens a menu of the menu bar by its access key and chooses an item by its own.
  void ChooseFromMenu(Qt::Key menuKey, Qt::Key itemKey) {
    QTest::keyClick(window_.get(), menuKey, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "Alt+" << QKeySequence(menuKey).toString().toStdString()
                             << " opened no menu";
    QTest::keyClick(menu, itemKey);
  }

  void ChooseNorthClockwise() { ChooseFromMenu(Qt::Key_A, Qt::Key_C); }
  void ChooseEastCounterClockwise() { ChooseFromMenu(Qt::Key_A, Qt::Key_N); }

  std::vector<std::string> Outputs() { return Texts(kResultBoxes); }

  std::vector<bool> JointControlsEnabled() {
    std::vector<bool> enabled;
    for (const char* name : kJointControls) {
      auto* control = Find<QWidget>(name);
      enabled.push_back(control != nullptr && control->isEnabled());
    }
    return enabled;
  }

  bool Checked(const char* actionName) {
    auto* action = Find<QAction>(actionName);
    return action != nullptr && action->isChecked();
  }
};

// ---------------------------------------------------------------------------
// Start.

// The first showing runs the first pass; building the window runs none.
TEST_F(CommandsTest, StartsClockwiseFromNorthWithEveryResultAndTheJointInactive) {
  EXPECT_EQ(Text("input_s1"), "input_s1");
  ShowActive();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_EQ(window_->AngleMode(), stress::Azimuth::kClockwiseFromNorth);
  EXPECT_TRUE(Checked("mnuAngleRight"));
  EXPECT_FALSE(Checked("mnuAngleLeft"));
  EXPECT_EQ(Text("input_s1"), "8.794");
  EXPECT_EQ(Text("input_s2"), "3.341");
  EXPECT_EQ(Text("input_s3"), "0.266");
  EXPECT_EQ(Text("input_s1_beta"), "283.10");  // clockwise from North
  EXPECT_EQ(Text("input_s3_beta"), "154.32");
  EXPECT_EQ(Text("input_sigma"), "");  // the joint is off: its results are not written
  EXPECT_EQ(JointControlsEnabled(),
            (std::vector<bool>{false, false, false, false, false, false, false, false, false}));
  EXPECT_FALSE(Find<QWidget>("pnlDC")->isVisible());
  EXPECT_TRUE(Find<QWidget>("Chart1")->isVisible());
  EXPECT_EQ(window_->windowTitle().toStdString(), "Morvane in 3D space");
}

TEST_F(CommandsTest, AFailingFirstPassStillShowsTheWindowClockwiseFromNorth) {
  Box("input_sx")->setText(QStringLiteral("1x"));
  ShowActive();
  EXPECT_EQ(Messages(), std::vector<std::string>{"'1x' is not a valid floating point value."});
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(window_->AngleMode(), stress::Azimuth::kClockwiseFromNorth);
  EXPECT_TRUE(Checked("mnuAngleRight"));
}

// Only the first showing runs the pass: a bad box read by a second one would
// be reported, as Calculate shows.
TEST_F(CommandsTest, ShowingTheWindowAgainRunsNoPass) {
  Show();
  Type("input_sy", QStringLiteral("1x"));
  window_->hide();
  Show();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  Click("Button1");
  EXPECT_EQ(Messages(), std::vector<std::string>{"'1x' is not a valid floating point value."});
}

TEST_F(CommandsTest, CosinePanelRightAfterStartShowsTheDefaultCosines) {
  ShowActive();
  Click("chkDirectiveCosines");
  EXPECT_TRUE(Find<QWidget>("pnlDC")->isVisible());
  EXPECT_EQ(Text("edtL1"), "0.333929");
  EXPECT_EQ(Text("edtM1"), "-0.077687");
  EXPECT_EQ(Text("edtN3"), "0.222832");
  Click("chkDirectiveCosines");
  EXPECT_FALSE(Find<QWidget>("pnlDC")->isVisible());
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// ---------------------------------------------------------------------------
// Which commands take an edited box into account: sz typed as 18 makes s1
// 18.311722191682197 (the largest root of the characteristic cubic).

struct EditCase {
  const char* name;
  std::function<void(CommandsTest&)> command;
  bool recalculates;
};
void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.name;
}

class EditTakenIntoAccountTest : public CommandsTest,
                                 public ::testing::WithParamInterface<EditCase> {};

const EditCase kEditCases[] = {
    {"Calculate", [](CommandsTest& t) { t.Click("Button1"); }, true},
    {"the checked Angles item again", [](CommandsTest& t) { t.ChooseNorthClockwise(); }, true},
    {"the other Angles item", [](CommandsTest& t) { t.ChooseEastCounterClockwise(); }, true},
    {"chkJoint", [](CommandsTest& t) { t.Click("chkJoint"); }, true},
    {"chkDirectiveCosines", [](CommandsTest& t) { t.Click("chkDirectiveCosines"); }, false},
};

TEST_P(EditTakenIntoAccountTest, OnlyTheRecalculatingCommandsShowTheEdit) {
  ShowActive();
  const std::vector<std::string> before = Outputs();
  Type("input_sz", QStringLiteral("18"));
  GetParam().command(*this);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  if (GetParam().recalculates) {
    EXPECT_EQ(Text("input_s1"), "18.312");
  } else {
    EXPECT_EQ(Outputs(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, EditTakenIntoAccountTest, ::testing::ValuesIn(kEditCases),
                         RowName());

// ---------------------------------------------------------------------------
// Return, or the keypad's Enter, in an input box calculates as the button
// does, in the window's present settings, and nothing else: typing a number
// or leaving the box after typing it leaves the results as they were, no
// window opens, the Angles item, the joint and the cosine panel stay as they
// were and the box keeps the focus. Each row types a number into its box and
// reads back what the window then shows. The rows set the azimuth convention
// both ways and the joint on and off, so that a key that chose an Angles item
// fails a row.
enum EnterSetting : unsigned {
  kReturn = 0,
  kKeypadEnter = 1,  ///< the keypad's Enter rather than Return
  kJointOn = 2,      ///< the joint ticked before typing
  kFromEast = 4,     ///< azimuths counter-clockwise from East
};

struct EnterCase {
  const char* name;
  const char* box;
  const char* typed;
  unsigned settings;
  std::vector<std::pair<const char*, const char*>> shown;  ///< box and its text after the key
};
void PrintTo(const EnterCase& c, std::ostream* os) {
  *os << c.name;
}

const EnterCase kEnterCases[] = {
    {"sx Return",
     "input_sx",
     "5",
     kReturn,
     {{"input_s1", "9.026"},
      {"input_s2", "4.507"},
      {"input_s3", "0.467"},
      {"input_s1_beta", "277.67"}}},
    {"sx keypad Enter",
     "input_sx",
     "5",
     kKeypadEnter | kFromEast,
     {{"input_s1", "9.026"},
      {"input_s2", "4.507"},
      {"input_s3", "0.467"},
      {"input_s1_beta", "172.33"}}},
    {"sy Return",
     "input_sy",
     "2",
     kJointOn | kFromEast,
     {{"input_s1", "8.801"},
      {"input_s2", "3.629"},
      {"input_s3", "0.971"},
      {"input_s1_beta", "164.90"},
      {"input_sigma", "6.034"}}},
    {"sz Return",
     "input_sz",
     "18",
     kJointOn,
     {{"input_s1", "18.312"},
      {"input_s2", "3.607"},
      {"input_s3", "0.481"},
      {"input_s1_beta", "291.01"},
      {"input_sigma", "12.794"}}},
    {"txy Return",
     "input_txy",
     "3",
     kFromEast,
     {{"input_s1", "8.750"},
      {"input_s2", "5.091"},
      {"input_s3", "-1.441"},
      {"input_s1_beta", "182.98"}}},
    {"tyz Return",
     "input_tyx",
     "-4",
     kReturn,
     {{"input_s1", "10.123"},
      {"input_s2", "3.737"},
      {"input_s3", "-1.459"},
      {"input_s1_beta", "330.22"}}},
    {"tzx Return",
     "input_tzx",
     "0.5",
     kJointOn | kFromEast,
     {{"input_s1", "8.168"},
      {"input_s2", "3.758"},
      {"input_s3", "0.474"},
      {"input_s1_beta", "121.19"},
      {"input_sigma", "5.383"}}},
    {"joint dip direction Return",
     "input_joint_beta",
     "200",
     kJointOn,
     {{"input_s1_beta", "283.10"},
      {"input_sigma", "6.431"},
      {"input_tau", "2.862"},
      {"input_taulim", "2.603"}}},
    {"joint dip Return",
     "input_joint_psi",
     "60",
     kJointOn | kFromEast,
     {{"input_s1_beta", "166.90"},
      {"input_sigma", "2.929"},
      {"input_tau", "3.467"},
      {"input_taulim", "1.730"}}},
    {"joint friction Return",
     "input_joint_phi",
     "30",
     kJointOn,
     {{"input_s1_beta", "283.10"},
      {"input_sigma", "5.760"},
      {"input_tau", "4.033"},
      {"input_taulim", "4.326"}}},
    {"joint cohesion Return",
     "input_joint_c",
     "2.5",
     kJointOn | kFromEast,
     {{"input_s1_beta", "166.90"},
      {"input_sigma", "5.760"},
      {"input_tau", "4.033"},
      {"input_taulim", "3.936"}}},
    {"joint cohesion keypad Enter",
     "input_joint_c",
     "2.5",
     kKeypadEnter | kJointOn,
     {{"input_s1_beta", "283.10"},
      {"input_sigma", "5.760"},
      {"input_tau", "4.033"},
      {"input_taulim", "3.936"}}},
};

class EnterTest : public CommandsTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterTest, CalculatesLikeTheButtonAndDoesNothingElse) {
  const EnterCase& c = GetParam();
  const bool keypad = (c.settings & kKeypadEnter) != 0;
  const bool jointActive = (c.settings & kJointOn) != 0;
  const bool fromEast = (c.settings & kFromEast) != 0;
  ShowActive();
  if (jointActive)
    Click("chkJoint");
  if (fromEast)
    ChooseEastCounterClockwise();
  ASSERT_EQ(Messages(), std::vector<std::string>{});
  const std::vector<std::string> before = Outputs();

  // Typed, then left with Tab and come back to with Shift+Tab: nothing is
  // calculated yet.
  Type(c.box, QString::fromLatin1(c.typed));
  EXPECT_EQ(Outputs(), before) << "calculated while typing";
  QLineEdit* box = Box(c.box);
  QTest::keyClick(box, Qt::Key_Tab);
  ASSERT_FALSE(box->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_TRUE(box->hasFocus());
  EXPECT_EQ(Outputs(), before) << "calculated on leaving the box";

  // A window opened by the key is closed again, so that the test ends.
  std::vector<std::string> opened;
  QTimer watch;
  watch.setInterval(10);
  QObject::connect(&watch, &QTimer::timeout, [&opened] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      opened.push_back(modal->metaObject()->className());
      modal->close();
    }
  });
  watch.start();
  QTest::keyClick(box, keypad ? Qt::Key_Enter : Qt::Key_Return,
                  keypad ? Qt::KeypadModifier : Qt::NoModifier);
  watch.stop();

  EXPECT_EQ(opened, std::vector<std::string>{});
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  for (const auto& [name, text] : c.shown)
    EXPECT_EQ(Text(name), text) << name;
  EXPECT_EQ(box->text(), QString::fromLatin1(c.typed));
  EXPECT_EQ(Checked("mnuAngleLeft"), fromEast);
  EXPECT_EQ(Checked("mnuAngleRight"), !fromEast);
  EXPECT_EQ(Find<QCheckBox>("chkJoint")->isChecked(), jointActive);
  EXPECT_FALSE(Find<QWidget>("pnlDC")->isVisible());
  EXPECT_TRUE(box->hasFocus());

  // The button shows nothing new: the key did all it does.
  const std::vector<std::string> entered = Outputs();
  Click("Button1");
  EXPECT_EQ(Outputs(), entered);
}

INSTANTIATE_TEST_SUITE_P(Table, EnterTest, ::testing::ValuesIn(kEnterCases), RowName());

// After the error box's OK, a box whose text is no number has the focus with
// its whole text selected; after an arithmetic error the focus stays where the
// command left it.
struct FocusCase {
  const char* name;
  const char* box;  // typed into, with the joint on
  const char* text;
  const char* trigger;  // Enter in this box, or a click on this button
  const char* message;
  const char* focused;            // after OK; a box that is no number has its text selected
  const char* earlier = nullptr;  // a box that stopped an earlier pass, then mended
};
void PrintTo(const FocusCase& c, std::ostream* os) {
  *os << c.name;
}

const FocusCase kFocusCases[] = {
    {"bad box on Calculate", "input_sy", "1x", "Button1",
     "'1x' is not a valid floating point value.", "input_sy"},
    {"bad joint box on Enter elsewhere", "input_joint_psi", " 3 3", "input_sx",
     "' 3 3' is not a valid floating point value.", "input_joint_psi"},
    {"overflow of an input on Enter", "input_sx", "1e400", "input_tzx", "Floating point overflow.",
     "input_tzx"},
    {"overflow in the values on Calculate", "input_sx", "1e52", "Button1",
     "Floating point overflow.", "Button1"},
    // The box of an earlier error is forgotten once it is mended.
    {"overflow after a mended box", "input_sx", "1e52", "Button1", "Floating point overflow.",
     "Button1", "input_sy"},
};

class ErrorFocusTest : public CommandsTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(ErrorFocusTest, PointsToTheBoxThatIsNoNumber) {
  const FocusCase& c = GetParam();
  ShowActive();
  Click("chkJoint");
  if (c.earlier != nullptr) {
    const QString kept = Box(c.earlier)->text();
    Type(c.earlier, QStringLiteral("1x"));
    Click("Button1");
    ASSERT_EQ(Messages(), std::vector<std::string>{"'1x' is not a valid floating point value."});
    Type(c.earlier, kept);
  }
  Type(c.box, QString::fromLatin1(c.text));
  errors_.ShowRealBoxes();
  std::string message;
  const ui::testing::ModalOutcome outcome = ui::testing::AnswerModalBox(
      [&] {
        if (QLineEdit* box = window_->findChild<QLineEdit*>(QLatin1String(c.trigger))) {
          box->setFocus(Qt::OtherFocusReason);
          QTest::keyClick(box, Qt::Key_Return);
        } else {
          Click(c.trigger);
        }
      },
      [&](QMessageBox* box) {
        message = box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
      });
  ASSERT_TRUE(outcome.appeared);
  EXPECT_EQ(message, c.message);
  // The window system gives the window back its activation once the box is gone.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto* focused = Find<QWidget>(c.focused);
  EXPECT_TRUE(QTest::qWaitFor([&] { return focused != nullptr && focused->hasFocus(); }, 2000))
      << "focus on "
      << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                      : "nothing");
  if (auto* box = qobject_cast<QLineEdit*>(focused)) {
    EXPECT_EQ(box->selectedText().toStdString(), std::string(c.focused) == c.box ? c.text : "");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ErrorFocusTest, ::testing::ValuesIn(kFocusCases), RowName());

// ---------------------------------------------------------------------------
// The Angles menu.

// The convention changes the three azimuths and nothing else: not the other
// results, not the poles on the chart.
TEST_F(CommandsTest, AnglesItemsSwitchTheConventionTheCheckAndOnlyTheAzimuths) {
  ShowActive();
  Click("chkJoint");
  const std::vector<std::string> clockwise = Outputs();
  const std::vector<projection::NetPoint> poles = Points(ui::NetChartView::kPoleSeries).Points();

  ChooseEastCounterClockwise();
  EXPECT_EQ(window_->AngleMode(), stress::Azimuth::kCounterClockwiseFromEast);
  EXPECT_TRUE(Checked("mnuAngleLeft"));
  EXPECT_FALSE(Checked("mnuAngleRight"));
  EXPECT_EQ(Text("input_s1_beta"), "166.90");
  const std::vector<std::string> fromEast = Outputs();
  for (std::size_t i = 0; i < kResultBoxes.size(); ++i) {
    const std::string name = kResultBoxes[i];
    if (name == "input_s1_beta" || name == "input_s2_beta" || name == "input_s3_beta") {
      EXPECT_NE(fromEast[i], clockwise[i]) << name;
    } else {
      EXPECT_EQ(fromEast[i], clockwise[i]) << name;
    }
  }
  const std::vector<projection::NetPoint>& now = Points(ui::NetChartView::kPoleSeries).Points();
  ASSERT_EQ(now.size(), poles.size());
  for (std::size_t i = 0; i < poles.size(); ++i) {
    EXPECT_EQ(now[i].x, poles[i].x) << poles[i].label;
    EXPECT_EQ(now[i].y, poles[i].y) << poles[i].label;
  }

  ChooseNorthClockwise();
  EXPECT_EQ(window_->AngleMode(), stress::Azimuth::kClockwiseFromNorth);
  EXPECT_TRUE(Checked("mnuAngleRight"));
  EXPECT_FALSE(Checked("mnuAngleLeft"));
  EXPECT_EQ(Outputs(), clockwise);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// What a command sets before its pass stays set when the pass fails.
struct FailingPassCase {
  const char* name;
  std::function<void(CommandsTest&)> before;  // while the inputs are still valid
  std::function<void(CommandsTest&)> command;
  stress::Azimuth angleMode;
  bool rightChecked;
  bool jointEnabled;
};
void PrintTo(const FailingPassCase& c, std::ostream* os) {
  *os << c.name;
}

class FailingPassTest : public CommandsTest,
                        public ::testing::WithParamInterface<FailingPassCase> {};

const FailingPassCase kFailingPassCases[] = {
    {"counter-clockwise from East", [](CommandsTest&) {},
     [](CommandsTest& t) { t.ChooseEastCounterClockwise(); },
     stress::Azimuth::kCounterClockwiseFromEast, false, false},
    {"clockwise from North", [](CommandsTest& t) { t.ChooseEastCounterClockwise(); },
     [](CommandsTest& t) { t.ChooseNorthClockwise(); }, stress::Azimuth::kClockwiseFromNorth, true,
     false},
    {"joint on", [](CommandsTest&) {}, [](CommandsTest& t) { t.Click("chkJoint"); },
     stress::Azimuth::kClockwiseFromNorth, true, true},
};

TEST_P(FailingPassTest, ModeCheckAndEnabledStatesStaySet) {
  const FailingPassCase& c = GetParam();
  ShowActive();
  c.before(*this);
  Type("input_sy", QStringLiteral("1x"));
  errors_.Clear();
  c.command(*this);
  EXPECT_EQ(Messages(), std::vector<std::string>{"'1x' is not a valid floating point value."});
  EXPECT_EQ(window_->AngleMode(), c.angleMode);
  EXPECT_EQ(Checked("mnuAngleRight"), c.rightChecked);
  EXPECT_EQ(Checked("mnuAngleLeft"), !c.rightChecked);
  EXPECT_EQ(JointControlsEnabled(), std::vector<bool>(kJointControls.size(), c.jointEnabled));
}

INSTANTIATE_TEST_SUITE_P(Commands, FailingPassTest, ::testing::ValuesIn(kFailingPassCases),
                         RowName());

// ---------------------------------------------------------------------------
// The joint toggle.

TEST_F(CommandsTest, JointOnDrawsThePlaneAndResultsJointOffGreysThemAndRemovesThePlane) {
  ShowActive();
  Click("chkJoint");
  EXPECT_EQ(JointControlsEnabled(), std::vector<bool>(kJointControls.size(), true));
  EXPECT_EQ(Text("input_sigma"), "5.760");
  EXPECT_EQ(Text("input_tau"), "4.033");
  EXPECT_EQ(Text("input_taulim"), "2.436");
  EXPECT_GT(Points(2).Points().size(), 0u);
  EXPECT_EQ(PoleLabels(), (std::vector<std::string>{"joint", "s1", "s2", "s3"}));

  Click("chkJoint");
  EXPECT_EQ(JointControlsEnabled(), std::vector<bool>(kJointControls.size(), false));
  EXPECT_EQ(Text("input_sigma"), "5.760");
  EXPECT_EQ(Text("input_tau"), "4.033");
  EXPECT_EQ(Text("input_taulim"), "2.436");
  EXPECT_EQ(Points(2).Points().size(), 0u);
  EXPECT_EQ(PoleLabels(), (std::vector<std::string>{"s1", "s2", "s3"}));
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// ---------------------------------------------------------------------------
// The About box.

struct AboutCloseCase {
  const char* name;
  std::function<void(QMessageBox*)> close;
};
void PrintTo(const AboutCloseCase& c, std::ostream* os) {
  *os << c.name;
}

class AboutBoxTest : public CommandsTest, public ::testing::WithParamInterface<AboutCloseCase> {};

const AboutCloseCase kAboutCloseCases[] = {
    {"Enter", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }},
    {"Esc", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }},
    {"OK button",
     [](QMessageBox* box) {
       QAbstractButton* ok = box->buttons().isEmpty() ? nullptr : box->buttons().front();
       if (ok != nullptr)
         QTest::mouseClick(ok, Qt::LeftButton);
     }},
};

TEST_P(AboutBoxTest, OpensModalCentredAndCloses) {
  ShowActive();
  const std::vector<std::string> before = Outputs();

  struct Seen {
    std::string title, text, buttonText;
    int buttons = 0;
    bool defaultIsEscape = false;
    QMessageBox::Icon icon = QMessageBox::Information;
    QRect frame, screen;
  } seen;
  const ui::testing::ModalOutcome outcome = ui::testing::AnswerModalBox(
      [this] { QTest::keyClick(window_.get(), Qt::Key_B, Qt::AltModifier); },  // "A&bout"
      [&seen](QMessageBox* box) {
        seen.title = box->windowTitle().toStdString();
        seen.text = box->text().toStdString();
        seen.icon = box->icon();
        seen.buttons = static_cast<int>(box->buttons().size());
        if (!box->buttons().isEmpty())
          seen.buttonText = box->buttons().front()->text().remove(QLatin1Char('&')).toStdString();
        seen.defaultIsEscape =
            box->defaultButton() != nullptr && box->defaultButton() == box->escapeButton();
        seen.frame = box->frameGeometry();
        seen.screen = box->screen()->availableGeometry();
        GetParam().close(box);
      });

  EXPECT_TRUE(outcome.appeared) << "Alt+B opened no modal box";
  EXPECT_FALSE(outcome.leftOpen) << GetParam().name << " did not close the About box";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(seen.title, "Kelvane");
  EXPECT_EQ(seen.text, ui::AboutBoxText().toStdString());
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(seen.buttonText, "OK");
  EXPECT_TRUE(seen.defaultIsEscape);
  EXPECT_LE(seen.frame.width(), seen.screen.width() / 2 + 8);  // wrapped text plus a thin frame
  EXPECT_LE(std::abs(seen.frame.center().x() - seen.screen.center().x()), 1);
  EXPECT_LE(std::abs(seen.frame.center().y() - seen.screen.center().y()), 1);
  EXPECT_EQ(Outputs(), before);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Closes, AboutBoxTest, ::testing::ValuesIn(kAboutCloseCases), RowName());

TEST(AboutText, OneParagraphWithTheCreditsInOrderAndNoAddresses) {
  const QString text = ui::AboutText();
  EXPECT_FALSE(text.contains(QLatin1Char('\n')));
  EXPECT_FALSE(text.contains(QLatin1Char('@')));
  EXPECT_FALSE(text.contains(QLatin1String("http"), Qt::CaseInsensitive));
  EXPECT_FALSE(text.contains(QLatin1String("www."), Qt::CaseInsensitive));
  const std::array<const char*, 5> roles = {"Kelvane", "2003", "Supervision",
                                            "Design and programming", "revisions"};
  qsizetype from = 0;
  for (const char* role : roles) {
    const qsizetype at = text.indexOf(QLatin1String(role), from);
    EXPECT_GE(at, from) << role << " missing or out of order";
    from = std::max(from, at);
  }
}

// The credits, then the version the build was made with and the licence, as
// a GPL program's notice.
TEST(AboutBoxText, CreditsThenVersionThenLicence) {
  const QStringList lines = ui::AboutBoxText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], ui::AboutText());
  EXPECT_EQ(lines[1].toStdString(), "");
  EXPECT_EQ(lines[2].toStdString(), "Version 1.0");
  EXPECT_TRUE(lines[3].contains(QLatin1String("GPL-3.0-or-later"))) << lines[3].toStdString();
  EXPECT_TRUE(lines[3].contains(QLatin1String("NO WARRANTY"))) << lines[3].toStdString();
}

// The icon is painted, not read from a file: at every desktop size it fills
// most of its square, and at its design size each pole stands in its colour.
TEST(ApplicationIcon, DrawsTheNetAtDesktopSizes) {
  const QIcon icon = ui::ApplicationIcon();
  for (int size : {16, 32, 48, 256}) {
    const QImage image = icon.pixmap(size, size).toImage();
    ASSERT_EQ(image.size(), QSize(size, size)) << size;
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x)
        opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    EXPECT_GT(opaque, size * size / 2) << size;  // the net's disc fills most of the square
    EXPECT_EQ(qAlpha(image.pixel(0, size - 1)), 0) << size;  // outside the disc
  }
  const QImage image = icon.pixmap(64, 64).toImage();
  EXPECT_EQ(image.pixelColor(24, 18).name().toStdString(), "#008000");  // s1's pole
  EXPECT_EQ(image.pixelColor(49, 22).name().toStdString(), "#ff0000");  // s2's pole
  EXPECT_EQ(image.pixelColor(11, 32).name().toStdString(), "#0000ff");  // s3's pole
  EXPECT_EQ(image.pixelColor(32, 2).name().toStdString(), "#000000");   // the north mark
}

// ---------------------------------------------------------------------------
// Ending the program: the message loop ends (aboutToQuit) without a pass.

struct ExitCase {
  const char* name;
  std::function<void(CommandsTest&, QWidget*)> exit;
};
void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.name;
}

class ExitTest : public CommandsTest, public ::testing::WithParamInterface<ExitCase> {};

const ExitCase kExitCases[] = {
    {"Alt+F4", [](CommandsTest&, QWidget* w) { QTest::keyClick(w, Qt::Key_F4, Qt::AltModifier); }},
    {"File menu Exit", [](CommandsTest& t, QWidget*) { t.ChooseFromMenu(Qt::Key_F, Qt::Key_X); }},
    {"window frame close", [](CommandsTest&, QWidget* w) { w->close(); }},
};

TEST_P(ExitTest, EndsTheMessageLoop) {
  ShowActive();
  const std::vector<std::string> before = Outputs();
  Type("input_sz", QStringLiteral("18"));  // an edit that must not be calculated on leaving

  bool quitting = false;
  const QMetaObject::Connection watch =
      QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quitting] { quitting = true; });
  QTimer::singleShot(0, [this] { GetParam().exit(*this, window_.get()); });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(2); });
  watchdog.start(5000);

  const int status = QApplication::exec();
  QObject::disconnect(watch);

  EXPECT_EQ(status, 0) << GetParam().name << " did not end the program";
  EXPECT_TRUE(quitting);
  EXPECT_EQ(Outputs(), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, ExitTest, ::testing::ValuesIn(kExitCases), RowName());

}  // namespace

// ---------------------------------------------------------------------------
// Tendency map.

// The map is the one of the boxes after every pass and every change of Pp,
// and none is shown while it is being made; with None the net's pixels are
// those of a window that never showed one.
TEST_F(CommandsTest, TendencyMapFollowsEveryPassAndNoneLeavesTheNetAsItWas) {
  Show();
  auto* chart = Find<ui::NetChartView>("Chart1");
  ASSERT_NE(chart, nullptr);
  const QImage plain = chart->grab().toImage();
  const auto expected = [this](double x, double y, double pp) {
    engine::PassInputs inputs = engine::PassInputs::Of(
        {std::stod(Text("input_sx")), 1, 8, 1, -1, 2}, stress::Azimuth::kClockwiseFromNorth);
    inputs.porePressure = pp;
    return engine::TendencyField(engine::RunPass(inputs), window_->Planes().Defaults(),
                                 engine::MapQuantity::kSlipTendency)
        .AtNetPoint(x, y);
  };
  const auto shownAt = [chart](int i, int j) {
    const figures::TendencyMap& map = chart->Map();
    return std::pair{map.values[j * map.grid.width + i], std::pair{map.grid.X(i), map.grid.Y(j)}};
  };

  Find<QAction>("mnuMapSlip")->trigger();
  QTRY_VERIFY(!chart->MapPending());
  ASSERT_FALSE(chart->Map().Empty());
  EXPECT_NE(chart->grab().toImage(), plain);
  const int middle = chart->Map().grid.width / 2;
  for (const char* sx : {"3.4", "5"}) {
    for (const double pp : {0.0, 0.1}) {
      SCOPED_TRACE(std::string("sx ") + sx + ", Pp " + std::to_string(pp));
      Type("input_sx", QString::fromLatin1(sx));
      Click("Button1");
      window_->SetPorePressure(QString::number(pp));
      EXPECT_TRUE(chart->Map().Empty());  // the last state's map is gone at once
      QTRY_VERIFY(!chart->MapPending());
      for (const int j : {middle / 2, middle, middle + middle / 3}) {
        const auto [value, at] = shownAt(middle + 7, j);
        EXPECT_FLOAT_EQ(value, static_cast<float>(expected(at.first, at.second, pp)));
      }
    }
  }
  Type("input_sx", QStringLiteral("3.4"));
  window_->SetPorePressure(QStringLiteral("0"));
  Find<QAction>("mnuMapNone")->trigger();
  EXPECT_TRUE(chart->Map().Empty());
  EXPECT_EQ(chart->grab().toImage(), plain);
}

// ---------------------------------------------------------------------------
// Cases.

// A case saved and opened in a new window gives the same inputs, the same
// results and the same net, pixel for pixel (random states, settings and sets).
TEST_F(CommandsTest, CaseOpensToTheSameInputsResultsAndPixels) {
  QTemporaryDir folder;
  std::mt19937_64 random(8122026);
  std::uniform_real_distribution<double> any(-20.0, 20.0);
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    window_ = std::make_unique<ui::TFrmMorvane>();
    Show();
    for (const char* box : {"input_sx", "input_sy", "input_sz", "input_txy"})
      Type(box, QString::number(any(random), 'g', 17));
    if (n != 1)
      Click("chkJoint");
    window_->SetPorePressure(QString::number(std::abs(any(random)) / 10.0));
    engine::PlaneSet set;
    for (int k = 0; k < 20; ++k) {
      std::string id = "f";
      id += std::to_string(k);
      set.push_back({std::fmod(std::abs(any(random)) * 18.0, 360.0), std::abs(any(random)) * 4.5},
                    id);
    }
    window_->Planes().Replace(set, QStringLiteral("Import"));
    Find<QAction>(n == 2 ? "mnuMapSafety" : "mnuMapSlip")->trigger();
    const QString path = folder.filePath(QStringLiteral("case%1.kelvane").arg(n));
    files::SaveBytes(path, files::WriteCase(window_->CaseNow()), QStringLiteral("case"));
    auto* chart = Find<ui::NetChartView>("Chart1");
    QTRY_VERIFY(!chart->MapPending());
    const QImage net = chart->grab().toImage();
    const std::vector<std::string> results = Outputs();
    const QByteArray saved = files::WriteCase(window_->CaseNow());
    const std::vector<engine::PlaneResult> planeResults = window_->Planes().Results();

    window_ = std::make_unique<ui::TFrmMorvane>();
    Show();
    window_->OpenCase(path);
    EXPECT_EQ(files::WriteCase(window_->CaseNow()), saved);
    EXPECT_EQ(Outputs(), results);
    const std::vector<engine::PlaneResult>& reopened = window_->Planes().Results();
    ASSERT_EQ(reopened.size(), planeResults.size());
    for (std::size_t i = 0; i < reopened.size(); ++i) {  // the numbers to the bit, not the padding
      EXPECT_EQ(std::memcmp(&reopened[i], &planeResults[i], offsetof(engine::PlaneResult, state)),
                0);
      EXPECT_EQ(reopened[i].state, planeResults[i].state);
    }
    EXPECT_EQ(window_->CasePath(), path);
    EXPECT_FALSE(window_->Modified());
    chart = Find<ui::NetChartView>("Chart1");
    QTRY_VERIFY(!chart->MapPending());
    EXPECT_EQ(chart->grab().toImage(), net);
  }
}

// New asks before unsaved work goes: Cancel keeps it, Discard drops it, Save
// writes it first.
TEST_F(CommandsTest, UnsavedChangesAreAskedAbout) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("study.kelvane"));
  Show();
  files::SaveBytes(path, files::WriteCase(window_->CaseNow()), QStringLiteral("case"));
  window_->OpenCase(path);
  ASSERT_EQ(window_->windowTitle(), QStringLiteral("Morvane in 3D space \u2014 study[*]"));
  struct Answer {
    QMessageBox::StandardButton button;
    const char* sx;         ///< sx after New
    bool fileHasTheChange;  ///< the file holds the typed 9
  };
  for (const Answer& a :
       {Answer{QMessageBox::Cancel, "9", false}, Answer{QMessageBox::Save, "3.4", true},
        Answer{QMessageBox::Discard, "3.4", false}}) {
    SCOPED_TRACE(a.sx);
    window_->OpenCase(path);
    Type("input_sx", QStringLiteral("9"));
    EXPECT_TRUE(window_->isWindowModified());
    QString question;
    const ui::testing::ModalOutcome outcome =
        ui::testing::AnswerModalBox([this] { window_->mnuNewClick(); },
                                    [&](QMessageBox* box) {
                                      question = box->text();
                                      box->button(a.button)->click();
                                    });
    EXPECT_TRUE(outcome.appeared);
    EXPECT_EQ(question, QStringLiteral("Save changes to study?"));
    EXPECT_EQ(Text("input_sx"), a.sx);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(files::ReadCase(file.readAll()).texts[2] == "9", a.fileHasTheChange);
    if (a.fileHasTheChange) {  // put the file back as it was
      window_->OpenCase(path);
      Type("input_sx", QStringLiteral("3.4"));
      window_->mnuSaveClick();
    }
  }
}

// A .kelvane file dropped on the window opens; other files are not taken.
TEST_F(CommandsTest, DroppedCaseOpens) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("dropped.kelvane"));
  Show();
  Type("input_sx", QStringLiteral("7"));
  files::SaveBytes(path, files::WriteCase(window_->CaseNow()), QStringLiteral("case"));
  Type("input_sx", QStringLiteral("3.4"));
  window_->Planes().SetUncertainty({});  // the case has none: it goes
  for (const QString& name : {QStringLiteral("dropped.csv"), QStringLiteral("dropped.kelvane")}) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder.filePath(name))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), name.endsWith(QStringLiteral(".kelvane"))) << name.toStdString();
    if (!enter.isAccepted())
      continue;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
  }
  EXPECT_EQ(Text("input_sx"), "7");
  EXPECT_EQ(window_->CasePath(), path);
  EXPECT_FALSE(window_->Planes().Uncertainty().has_value());
}
