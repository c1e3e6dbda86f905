// The main window as it is built: every control by name with its kind, parent,
// place, text, hint and state; stacking and tab order; the tool tips the user
// sees; colours; the font; the menu; the window's fixed size.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QToolTip>
#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/main/main_window.h"
#include "window_fixture.h"

void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {

using ui::testing::WindowTest;

// ---------------------------------------------------------------------------
// Every control of the layout.

enum State : unsigned {
  kPlain = 0,
  kDisabled = 1,  // disabled itself
  kUnseen = 2,    // not visible while the window is (itself or its container hidden)
  kReadOnly = 4,
};

struct ControlCase {
  const char* name;
  const char* className;
  const char* parent;
  int left, top, width, height;
  const char* text;  // caption, title or default text
  const char* hint;
  unsigned state;
};

constexpr const char* kRaisedHint =
    "Joint stresses - Maximum allowed shear stress on joint - Geotechnical sign consideration "
    "(compression>0)";
constexpr unsigned kCosine = kUnseen | kReadOnly;

const ControlCase kControlCases[] = {
    {"Label27", "QLabel", "ClientArea", 147, 72, 42, 13, "Direction", "", kPlain},
    {"Label28", "QLabel", "ClientArea", 150, 88, 37, 13, "Cosines", "", kPlain},
    {"Chart1", "ui::NetChartView", "ClientArea", 168, 184, 305, 305, "",
     "Planes of principal stresses represented on stereographic projection", kPlain},
    {"pnlDC", "QFrame", "ClientArea", 176, 192, 289, 289, "",
     "Principal stresses direction cosines", kUnseen},
    {"GroupBox2", "QGroupBox", "ClientArea", 8, 8, 121, 169, "Stress on x,y,z",
     "Input normal and shear stress in global system x,y,z", kPlain},
    {"input_sx", "QLineEdit", "ClientArea", 40, 24, 73, 21, "3.4", "", kPlain},
    {"input_sy", "QLineEdit", "ClientArea", 40, 48, 73, 21, "1", "", kPlain},
    {"input_sz", "QLineEdit", "ClientArea", 40, 72, 73, 21, "8", "", kPlain},
    {"input_txy", "QLineEdit", "ClientArea", 40, 96, 73, 21, "1", "", kPlain},
    {"input_tyx", "QLineEdit", "ClientArea", 40, 120, 73, 21, "-1", "", kPlain},
    {"input_tzx", "QLineEdit", "ClientArea", 40, 144, 73, 21, "2", "", kPlain},
    {"Button1", "QPushButton", "ClientArea", 136, 152, 73, 25, "Calculate",
     "Press for recalculation of stresses, planes and joint stresses", kPlain},
    {"GroupBox1", "QGroupBox", "ClientArea", 216, 8, 81, 169, "s1", "Principal stresses", kPlain},
    {"GroupBox3", "QGroupBox", "ClientArea", 304, 8, 81, 169, "s2", "Principal stresses", kPlain},
    {"GroupBox4", "QGroupBox", "ClientArea", 392, 8, 81, 169, "s3", "Principal stresses", kPlain},
    {"GroupBox5", "QGroupBox", "ClientArea", 8, 336, 145, 153, "Joint",
     "Joint, plane direction - strenth parameters (geotechnical sign considered)", kDisabled},
    {"chkJoint", "QCheckBox", "ClientArea", 8, 312, 113, 25, "Joint Active",
     "Joint activation - Representation on the stereographic projection - Stress calculations on "
     "joint plane",
     kPlain},
    {"Panel1", "QFrame", "ClientArea", 8, 184, 145, 121, "", kRaisedHint, kDisabled},
    {"chkDirectiveCosines", "QCheckBox", "ClientArea", 160, 104, 17, 17, "",
     "Show direction cosines values instead of stereographic projection", kPlain},

    {"Label1", "QLabel", "GroupBox2", 8, 16, 10, 13, "sx", "", kPlain},
    {"Label2", "QLabel", "GroupBox2", 8, 40, 10, 13, "sy", "", kPlain},
    {"Label3", "QLabel", "GroupBox2", 8, 64, 10, 13, "sz", "", kPlain},
    {"Label4", "QLabel", "GroupBox2", 8, 88, 13, 13, "txy", "", kPlain},
    {"Label5", "QLabel", "GroupBox2", 8, 112, 13, 13, "tyz", "", kPlain},
    {"Label6", "QLabel", "GroupBox2", 8, 136, 13, 13, "tzx", "", kPlain},

    {"Label7", "QLabel", "GroupBox1", 8, 16, 27, 13, "Value", "", kPlain},
    {"input_s1", "QLineEdit", "GroupBox1", 8, 32, 65, 21, "input_s1", "", kReadOnly},
    {"Label10", "QLabel", "GroupBox1", 8, 72, 52, 13, "Azimuth (\u03bf)", "", kPlain},
    {"input_s1_beta", "QLineEdit", "GroupBox1", 8, 88, 65, 21, "Edit1", "", kReadOnly},
    {"Label13", "QLabel", "GroupBox1", 8, 120, 45, 13, "Dip angle", "", kPlain},
    {"input_s1_psi", "QLineEdit", "GroupBox1", 8, 136, 65, 21, "Edit1", "", kReadOnly},
    {"Label8", "QLabel", "GroupBox3", 8, 16, 27, 13, "Value", "", kPlain},
    {"input_s2", "QLineEdit", "GroupBox3", 8, 32, 65, 21, "Edit1", "", kReadOnly},
    {"Label11", "QLabel", "GroupBox3", 8, 72, 52, 13, "Azimuth (\u03bf)", "", kPlain},
    {"input_s2_beta", "QLineEdit", "GroupBox3", 8, 88, 65, 21, "Edit1", "", kReadOnly},
    {"Label14", "QLabel", "GroupBox3", 8, 120, 45, 13, "Dip angle", "", kPlain},
    {"input_s2_psi", "QLineEdit", "GroupBox3", 8, 136, 65, 21, "Edit1", "", kReadOnly},
    {"Label9", "QLabel", "GroupBox4", 8, 16, 27, 13, "Value", "", kPlain},
    {"input_s3", "QLineEdit", "GroupBox4", 8, 32, 65, 21, "Edit1", "", kReadOnly},
    {"Label12", "QLabel", "GroupBox4", 8, 72, 52, 13, "Azimuth (\u03bf)", "", kPlain},
    {"input_s3_beta", "QLineEdit", "GroupBox4", 8, 88, 65, 21, "Edit1", "", kReadOnly},
    {"Label15", "QLabel", "GroupBox4", 8, 120, 45, 13, "Dip angle", "", kPlain},
    {"input_s3_psi", "QLineEdit", "GroupBox4", 8, 136, 65, 21, "Edit1", "", kReadOnly},

    {"Label18", "QLabel", "GroupBox5", 8, 16, 73, 13, "Plane direction:", "", kPlain},
    {"Label16", "QLabel", "GroupBox5", 8, 32, 50, 13, "a (right/Y):", "", kPlain},
    {"input_joint_beta", "QLineEdit", "GroupBox5", 56, 32, 73, 21, "16",
     "Alpha angle, the azimuth of the maximum dip direction, measured clockwise from the North",
     kDisabled},
    {"Label17", "QLabel", "GroupBox5", 8, 56, 39, 13, "psi (dip):", "", kPlain},
    {"input_joint_psi", "QLineEdit", "GroupBox5", 56, 56, 73, 21, "33", "", kDisabled},
    {"Label19", "QLabel", "GroupBox5", 16, 80, 103, 13, "Joint strength params:", "", kPlain},
    {"Label20", "QLabel", "GroupBox5", 24, 96, 17, 13, "phi:", "", kPlain},
    {"input_joint_phi", "QLineEdit", "GroupBox5", 56, 96, 73, 21, "14", "", kDisabled},
    {"Label21", "QLabel", "GroupBox5", 24, 120, 9, 13, "c:", "", kPlain},
    {"input_joint_c", "QLineEdit", "GroupBox5", 56, 120, 73, 21, "1", "", kDisabled},

    {"Label22", "QLabel", "Panel1", 8, 8, 66, 13, "Joint stresses:", "", kPlain},
    {"Label23", "QLabel", "Panel1", 8, 24, 47, 13, "Normal, s:", "", kPlain},
    {"input_sigma", "QLineEdit", "Panel1", 56, 24, 65, 21, "", "", kReadOnly},
    {"Label24", "QLabel", "Panel1", 8, 48, 40, 13, "Shear, t:", "", kPlain},
    {"input_tau", "QLineEdit", "Panel1", 56, 48, 65, 21, "", "", kReadOnly},
    {"Label26", "QLabel", "Panel1", 8, 80, 66, 13, "Joint strength:", "", kPlain},
    {"Label25", "QLabel", "Panel1", 24, 96, 18, 13, "tlim:", "", kPlain},
    {"input_taulim", "QLineEdit", "Panel1", 56, 96, 65, 21, "", "", kReadOnly},

    {"Label32", "QLabel", "pnlDC", 48, 40, 11, 13, "s1", "", kUnseen},
    {"Label33", "QLabel", "pnlDC", 144, 40, 11, 13, "s2", "", kUnseen},
    {"Label34", "QLabel", "pnlDC", 240, 40, 11, 13, "s3", "", kUnseen},
    {"Label29", "QLabel", "pnlDC", 16, 64, 9, 13, "L ", "", kUnseen},
    {"Label30", "QLabel", "pnlDC", 16, 136, 12, 13, "M ", "", kUnseen},
    {"Label31", "QLabel", "pnlDC", 16, 208, 11, 13, "N ", "", kUnseen},
    {"Shape1", "QFrame", "pnlDC", 16, 112, 265, 1, "", "", kUnseen},
    {"Shape2", "QFrame", "pnlDC", 16, 184, 265, 1, "", "", kUnseen},
    {"Shape3", "QFrame", "pnlDC", 112, 40, 1, 201, "", "", kUnseen},
    {"Shape4", "QFrame", "pnlDC", 208, 40, 1, 201, "", "", kUnseen},
    {"edtL1", "QLineEdit", "pnlDC", 32, 64, 57, 21, "", "", kUnseen},  // the one the user may edit
    {"edtL2", "QLineEdit", "pnlDC", 128, 64, 57, 21, "", "", kCosine},
    {"edtL3", "QLineEdit", "pnlDC", 224, 64, 57, 21, "", "", kCosine},
    {"edtM1", "QLineEdit", "pnlDC", 32, 136, 57, 21, "", "", kCosine},
    {"edtM2", "QLineEdit", "pnlDC", 128, 136, 57, 21, "", "", kCosine},
    {"edtM3", "QLineEdit", "pnlDC", 224, 136, 57, 21, "", "", kCosine},
    {"edtN1", "QLineEdit", "pnlDC", 32, 208, 57, 21, "", "", kCosine},
    {"edtN2", "QLineEdit", "pnlDC", 128, 208, 57, 21, "", "", kCosine},
    {"edtN3", "QLineEdit", "pnlDC", 224, 208, 57, 21, "", "", kCosine},

    {"Label35", "QLabel", "Chart1", 160, 8, 42, 13, "Y (North)", "", kPlain},
    {"Label36", "QLabel", "Chart1", 288, 136, 10, 13, "X ", "", kPlain},
};

QString TextOf(const QWidget* control) {
  if (auto* label = qobject_cast<const QLabel*>(control))
    return label->text();
  if (auto* box = qobject_cast<const QLineEdit*>(control))
    return box->text();
  if (auto* group = qobject_cast<const QGroupBox*>(control))
    return group->title();
  if (auto* button = qobject_cast<const QAbstractButton*>(control))
    return button->text();
  return {};
}

// One window for the whole table, each row named in its failures. What a
// control is as built is read for every row before the window is first shown
// (the first showing runs a pass, which writes the result boxes); what the
// user sees of it, once the window stands on the screen.
TEST_F(WindowTest, EveryControlStandsAsLaidOut) {
  for (const ControlCase& c : kControlCases) {
    SCOPED_TRACE(c.name);
    QWidget* control = Find(c.name);
    if (control == nullptr)
      continue;
    EXPECT_EQ(std::string(control->metaObject()->className()), c.className);
    const QWidget* parent = control->parentWidget();
    if (parent == nullptr) {
      ADD_FAILURE() << "no parent";
      continue;
    }
    EXPECT_EQ(parent->objectName(), QString::fromLatin1(c.parent));
    const QRect g = control->geometry();
    EXPECT_EQ((std::array{g.x(), g.y(), g.width(), g.height()}),
              (std::array{c.left, c.top, c.width, c.height}));
    EXPECT_EQ(TextOf(control), QString::fromUtf8(c.text));
    EXPECT_EQ(control->toolTip(), QString::fromUtf8(c.hint));
    EXPECT_EQ(control->isEnabledTo(parent), (c.state & kDisabled) == 0);
  }
  Show();
  for (const ControlCase& c : kControlCases) {
    SCOPED_TRACE(c.name);
    QWidget* control = Find(c.name);
    if (control == nullptr)
      continue;
    EXPECT_EQ(control->isVisibleTo(window_.get()), (c.state & kUnseen) == 0);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
      EXPECT_EQ(box->isReadOnly(), (c.state & kReadOnly) != 0);
    }
  }
}

TEST_F(WindowTest, NoControlBeyondTheTables) {
  QSet<QString> expected;
  for (const ControlCase& c : kControlCases)
    expected.insert(QString::fromLatin1(c.name));
  // The containers of the layout hold nothing but the controls of the tables.
  for (const char* name : {"ClientArea", "GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4",
                           "GroupBox5", "Panel1", "pnlDC"}) {
    QWidget* container = Find(name);
    ASSERT_NE(container, nullptr);
    for (const QWidget* control :
         container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      EXPECT_TRUE(expected.contains(control->objectName()))
          << "unexpected control \"" << control->objectName().toStdString() << "\" in " << name;
    }
  }
}

// Later controls lie on top of earlier ones: the stress boxes over their
// group's frame, the cosine panel over the chart.
TEST_F(WindowTest, ClientAreaStacksInCreationOrder) {
  std::vector<std::string> order;
  for (const QObject* child : Find("ClientArea")->children()) {
    if (child->isWidgetType())
      order.push_back(child->objectName().toStdString());
  }
  const std::vector<std::string> expected = {"Label27",
                                             "Label28",
                                             "Chart1",
                                             "pnlDC",
                                             "GroupBox2",
                                             "input_sx",
                                             "input_sy",
                                             "input_sz",
                                             "input_txy",
                                             "input_tyx",
                                             "input_tzx",
                                             "Button1",
                                             "GroupBox1",
                                             "GroupBox3",
                                             "GroupBox4",
                                             "GroupBox5",
                                             "chkJoint",
                                             "Panel1",
                                             "chkDirectiveCosines"};
  EXPECT_EQ(order, expected);
}

// Showing the panel shows its contents with it: only the panel is hidden.
TEST_F(WindowTest, OnlyTheCosinePanelIsHiddenItself) {
  for (const ControlCase& c : kControlCases) {
    const QWidget* control = Find(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->isHidden(), std::string(c.name) == "pnlDC") << c.name;
  }
}

TEST_F(WindowTest, JointResultsAreUnreachableThroughTheirPanel) {
  for (const char* name : {"input_sigma", "input_tau", "input_taulim"}) {
    QWidget* box = Find(name);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEnabled()) << name;
  }
}

// ---------------------------------------------------------------------------
// The window itself.

TEST_F(WindowTest, HasItsCaptionAndAFixedClientArea) {
  EXPECT_EQ(window_->objectName(), QStringLiteral("FrmMorvane"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Morvane in 3D space"));
  ASSERT_NE(window_->menuBar(), nullptr);
  EXPECT_EQ(window_->menuBar()->objectName(), QStringLiteral("MainMenu1"));
  Show();
  QWidget* client = window_->centralWidget();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->objectName(), QStringLiteral("ClientArea"));
  EXPECT_EQ((std::array{client->width(), client->height()}), (std::array{482, 496}));
  EXPECT_EQ(client->y(), window_->menuBar()->height());
  EXPECT_EQ(window_->height(), window_->menuBar()->height() + 496);
}

TEST_F(WindowTest, CannotBeResized) {
  Show();
  const QSize size = window_->size();
  EXPECT_EQ(window_->minimumSize(), size);
  EXPECT_EQ(window_->maximumSize(), size);
  window_->resize(size + QSize(100, 80));
  QApplication::processEvents();
  EXPECT_EQ(window_->size(), size);
  window_->resize(size - QSize(100, 80));
  QApplication::processEvents();
  EXPECT_EQ(window_->size(), size);
}

TEST_F(WindowTest, OpensOnTheScreen) {
  Show();
  const QRect available = window_->screen()->availableGeometry();
  const QRect frame = window_->frameGeometry();
  EXPECT_TRUE(available.contains(frame))
      << "window at " << frame.x() << "," << frame.y() << " size " << frame.width() << "x"
      << frame.height() << " on " << available.width() << "x" << available.height();
}

// ---------------------------------------------------------------------------
// Font: a face of about 8 points (11 pixels) in which every caption fits the
// size the layout gives it.

TEST_F(WindowTest, EveryLabelCaptionFits) {
  const QList<QLabel*> labels = window_->findChildren<QLabel*>();
  ASSERT_GE(labels.size(), 36);
  for (const QLabel* label : labels) {
    const QFontMetrics metrics = label->fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString() << " \"" << label->text().toStdString() << "\"";
    EXPECT_LE(metrics.height(), label->height()) << label->objectName().toStdString();
    // Not made to fit by shrinking the face below about 8 points.
    EXPECT_GE(QFontInfo(label->font()).pixelSize(), 11) << label->objectName().toStdString();
  }
}

TEST_F(WindowTest, ButtonCheckBoxAndGroupCaptionsFit) {
  Show();
  auto* button = Find<QPushButton>("Button1");
  ASSERT_NE(button, nullptr);
  const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
  EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin, button->width());

  auto* joint = Find<QCheckBox>("chkJoint");
  ASSERT_NE(joint, nullptr);
  QStyleOptionButton option;
  option.initFrom(joint);
  option.text = joint->text();
  const QRect contents =
      joint->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, joint);
  EXPECT_LE(joint->fontMetrics().horizontalAdvance(joint->text()), contents.width());
  EXPECT_LE(contents.right(), joint->rect().right());

  auto* cosines = Find<QCheckBox>("chkDirectiveCosines");
  ASSERT_NE(cosines, nullptr);
  option.initFrom(cosines);
  option.text.clear();
  const QRect indicator =
      cosines->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, cosines);
  EXPECT_TRUE(cosines->rect().contains(indicator));

  for (QGroupBox* group : window_->findChildren<QGroupBox*>()) {
    QStyleOptionGroupBox groupOption;
    groupOption.initFrom(group);
    groupOption.text = group->title();
    groupOption.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &groupOption,
                                                       QStyle::SC_GroupBoxLabel, group);
    EXPECT_GE(title.width(), group->fontMetrics().horizontalAdvance(group->title()))
        << group->objectName().toStdString();
    EXPECT_TRUE(group->rect().contains(title)) << group->objectName().toStdString();
  }
}

// The caption stands in the top edge of the frame, so the frame's top line
// runs above the first row of labels (16 to 28 pixels down), not through it.
TEST_F(WindowTest, GroupFramesLeaveTheFirstRowClear) {
  Show();
  for (const char* name : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5"}) {
    auto* group = Find<QGroupBox>(name);
    ASSERT_NE(group, nullptr);
    const QImage image = group->grab().toImage();
    const QColor background = group->palette().color(QPalette::Window);
    const int x = group->width() - 12;  // right of every label, inside the frame
    for (int y = 14; y <= 28; ++y)
      EXPECT_EQ(image.pixelColor(x, y).name(), background.name()) << name << " at y " << y;
  }
}

// ---------------------------------------------------------------------------
// Colours of the principal stresses: s1 green, s2 red, s3 blue.

struct ColourCase {
  const char* name;
  const char* control;
  QPalette::ColorRole role;
  QColor colour;
};

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

const ColourCase kColourCases[] = {
    {"group s1 caption", "GroupBox1", QPalette::WindowText, kGreen},
    {"group s2 caption", "GroupBox3", QPalette::WindowText, kRed},
    {"group s3 caption", "GroupBox4", QPalette::WindowText, kBlue},
    {"label in group s1", "Label7", QPalette::WindowText, kGreen},
    {"label in group s2", "Label11", QPalette::WindowText, kRed},
    {"label in group s3", "Label15", QPalette::WindowText, kBlue},
    {"value box of s1", "input_s1", QPalette::Text, kGreen},
    {"azimuth box of s2", "input_s2_beta", QPalette::Text, kRed},
    {"dip box of s3", "input_s3_psi", QPalette::Text, kBlue},
    {"cosine column s1 heading", "Label32", QPalette::WindowText, kGreen},
    {"cosine column s2 heading", "Label33", QPalette::WindowText, kRed},
    {"cosine column s3 heading", "Label34", QPalette::WindowText, kBlue},
    {"cosine box L1", "edtL1", QPalette::Base, kGreen},
    {"cosine box M1", "edtM1", QPalette::Base, kGreen},
    {"cosine box L2", "edtL2", QPalette::Base, kRed},
    {"cosine box N2", "edtN2", QPalette::Base, kRed},
    {"cosine box M3", "edtM3", QPalette::Base, kBlue},
    {"cosine box N3", "edtN3", QPalette::Base, kBlue},
    // Text on the coloured boxes in the more contrasting of black and white.
    {"text on green", "edtN1", QPalette::Text, Qt::white},
    {"text on red", "edtM2", QPalette::Text, Qt::black},
    {"text on blue", "edtL3", QPalette::Text, Qt::white},
};

TEST_F(WindowTest, ColouredControlsTakeTheirPrincipalStressColour) {
  for (const ColourCase& c : kColourCases) {
    SCOPED_TRACE(c.name);
    if (QWidget* control = Find(c.control)) {
      EXPECT_EQ(control->palette().color(c.role).name(), c.colour.name());
    }
  }
}

TEST_F(WindowTest, UncolouredTextKeepsTheWindowColour) {
  const QColor windowText = window_->palette().color(QPalette::Active, QPalette::WindowText);
  for (const char* name : {"Label1", "Label27", "Label29", "Label22", "Label18", "input_sx"}) {
    QWidget* control = Find(name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->palette().color(QPalette::Active, QPalette::WindowText).name(),
              windowText.name())
        << name;
  }
}

// The four shapes are drawn as thin black lines across the panel.
TEST_F(WindowTest, CosineGridLinesAreDrawnBlack) {
  QWidget* panel = Find("pnlDC");
  ASSERT_NE(panel, nullptr);
  Show();
  panel->show();
  const QImage image = panel->grab().toImage();
  const QPoint onLines[] = {{148, 112}, {148, 184}, {112, 120}, {208, 120}};
  for (const QPoint& p : onLines)
    EXPECT_EQ(image.pixelColor(p).name(), QStringLiteral("#000000")) << p.x() << "," << p.y();
  EXPECT_NE(image.pixelColor(148, 113).name(), QStringLiteral("#000000")) << "beside a line";
}

// ---------------------------------------------------------------------------
// Tab order.

/// A shown window whose rows each set the two check boxes as they need them.
class ToggledWindowTest : public WindowTest {
 protected:
  /// Clicks each check box whose state is not the one asked for.
  void Toggle(bool jointActive, bool cosinesShown) {
    const std::pair<const char*, bool> wanted[] = {{"chkJoint", jointActive},
                                                   {"chkDirectiveCosines", cosinesShown}};
    for (const auto& [name, checked] : wanted) {
      auto* box = Find<QCheckBox>(name);
      if (box != nullptr && box->isChecked() != checked)
        Click(name);
    }
  }
};

struct TabCase {
  const char* name;
  bool jointActive;
  bool cosinesShown;
  std::vector<const char*> order;  // where Tab leads from input_sx, back to input_sx
};

const TabCase kTabCases[] = {
    {"at start",
     false,
     false,
     {"input_sy", "input_sz", "input_txy", "input_tyx", "input_tzx", "Button1", "input_s1",
      "input_s1_beta", "input_s1_psi", "input_s2", "input_s2_beta", "input_s2_psi", "input_s3",
      "input_s3_beta", "input_s3_psi", "chkJoint", "chkDirectiveCosines", "input_sx"}},
    {"joint active and cosines shown",
     true,
     true,
     {"input_sy",        "input_sz",        "input_txy",     "input_tyx",
      "input_tzx",       "Button1",         "input_s1",      "input_s1_beta",
      "input_s1_psi",    "input_s2",        "input_s2_beta", "input_s2_psi",
      "input_s3",        "input_s3_beta",   "input_s3_psi",  "input_joint_beta",
      "input_joint_psi", "input_joint_phi", "input_joint_c", "chkJoint",
      "input_sigma",     "input_tau",       "input_taulim",  "chkDirectiveCosines",
      "edtL1",           "edtL2",           "edtL3",         "edtM1",
      "edtM2",           "edtM3",           "edtN1",         "edtN2",
      "edtN3",           "input_sx"}},
};

TEST_F(ToggledWindowTest, TabVisitsTheBoxesInOrder) {
  ShowActive();
  QWidget* start = Find("input_sx");
  ASSERT_NE(start, nullptr);
  for (const TabCase& c : kTabCases) {
    SCOPED_TRACE(c.name);
    Toggle(c.jointActive, c.cosinesShown);
    start->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), start);
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < c.order.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(visited, std::vector<std::string>(c.order.begin(), c.order.end()));
  }
}

TEST_F(WindowTest, TabLeavesTheStressBoxesForCalculateThenTheResults) {
  ShowActive();
  QWidget* tzx = Find("input_tzx");
  ASSERT_NE(tzx, nullptr);
  tzx->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(tzx, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Button1"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("input_s1"));
}

// ---------------------------------------------------------------------------
// Tool tips: a control without a hint shows that of the nearest enclosing
// control that has one.

/// The tool tip that resting the pointer on `control` brings up; empty when none shows.
QString ShownToolTip(QWidget* control) {
  // A tip still up from an earlier probe would answer for this one. It is put
  // away at once: QToolTip::hideText lets it linger for a while.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel"))
      top->hide();
  }
  EXPECT_FALSE(QToolTip::isVisible());
  const QPoint centre = control->rect().center();
  QHelpEvent event(QEvent::ToolTip, centre, control->mapToGlobal(centre));
  QApplication::sendEvent(control, &event);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

struct ToolTipCase {
  const char* name;
  const char* control;
  bool jointActive;
  bool cosinesShown;
  const char* shown;
};

const ToolTipCase kToolTipCases[] = {
    {"label in a principal group", "Label10", false, false, "Principal stresses"},
    {"result box in a principal group", "input_s3", false, false, "Principal stresses"},
    {"joint box without its own hint", "input_joint_psi", true, false,
     "Joint, plane direction - strenth parameters (geotechnical sign considered)"},
    {"joint box with its own hint", "input_joint_beta", true, false,
     "Alpha angle, the azimuth of the maximum dip direction, measured clockwise from the North"},
    {"joint label while the joint is off", "Label21", false, false,
     "Joint, plane direction - strenth parameters (geotechnical sign considered)"},
    {"cosine box", "edtM2", false, true, "Principal stresses direction cosines"},
    {"cosine row label", "Label30", false, true, "Principal stresses direction cosines"},
    {"joint result label", "Label25", false, false, kRaisedHint},
    {"stress label in its group", "Label4", false, false,
     "Input normal and shear stress in global system x,y,z"},
    {"stress box over the group", "input_sx", false, false, ""},
    {"caption of the cosine check box", "Label27", false, false, ""},
    {"button", "Button1", false, false,
     "Press for recalculation of stresses, planes and joint stresses"},
    {"axis name on the chart", "Label35", false, false,
     "Planes of principal stresses represented on stereographic projection"},
};

TEST_F(ToggledWindowTest, EveryControlShowsTheNearestHint) {
  ShowActive();
  for (const ToolTipCase& c : kToolTipCases) {
    SCOPED_TRACE(c.name);
    Toggle(c.jointActive, c.cosinesShown);
    QWidget* control = Find(c.control);
    if (control == nullptr)
      continue;
    if (!control->isVisible()) {
      ADD_FAILURE() << c.control << " is not visible";
      continue;
    }
    EXPECT_EQ(ShownToolTip(control), QString::fromLatin1(c.shown));
  }
}

// ---------------------------------------------------------------------------
// Accessible names: a screen reader says what each box holds.

struct AccessibleCase {
  const char* name;
  const char* control;
  const char* accessibleName;
};

const AccessibleCase kAccessibleCases[] = {
    {"box named tyx holds tyz", "input_tyx", "tyz"},
    {"principal value", "input_s2", "s2"},
    {"principal azimuth", "input_s1_beta", "s1 azimuth"},
    {"principal dip", "input_s3_psi", "s3 dip"},
    {"joint dip direction", "input_joint_beta", "joint dip direction"},
    {"joint friction angle", "input_joint_phi", "joint friction angle"},
    {"joint normal stress", "input_sigma", "normal stress on joint"},
    {"direction cosine", "edtM3", "s3 direction cosine M (y)"},
    {"captionless check box", "chkDirectiveCosines", "Direction cosines"},
};

TEST_F(WindowTest, AccessibleNamesSayWhatTheControlsHold) {
  for (const AccessibleCase& c : kAccessibleCases) {
    SCOPED_TRACE(c.name);
    if (QWidget* control = Find(c.control)) {
      EXPECT_EQ(control->accessibleName(), QString::fromLatin1(c.accessibleName));
    }
  }
}

TEST_F(WindowTest, EveryBoxHasItsOwnAccessibleName) {
  const QList<QLineEdit*> boxes = window_->findChildren<QLineEdit*>();
  EXPECT_EQ(boxes.size(), 31);
  QSet<QString> names;
  for (const QLineEdit* box : boxes) {
    EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
    EXPECT_FALSE(names.contains(box->accessibleName())) << box->accessibleName().toStdString();
    names.insert(box->accessibleName());
  }
}

// ---------------------------------------------------------------------------
// Menu.

TEST_F(WindowTest, MenuBarHoldsFileAnglesStressViewAndAbout) {
  const QList<QAction*> top = window_->menuBar()->actions();
  ASSERT_EQ(top.size(), 5);
  EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
  ASSERT_NE(top[0]->menu(), nullptr);
  EXPECT_EQ(top[0]->menu()->objectName(), QStringLiteral("N1"));
  EXPECT_EQ(top[1]->text(), QStringLiteral("&Angles"));
  ASSERT_NE(top[1]->menu(), nullptr);
  EXPECT_EQ(top[1]->menu()->objectName(), QStringLiteral("N4"));
  EXPECT_EQ(top[2]->text(), QStringLiteral("&Stress"));
  ASSERT_NE(top[2]->menu(), nullptr);
  EXPECT_EQ(top[2]->menu()->objectName(), QStringLiteral("mnuStress"));
  EXPECT_EQ(top[3]->text(), QStringLiteral("&View"));
  ASSERT_NE(top[3]->menu(), nullptr);
  EXPECT_EQ(top[3]->menu()->objectName(), QStringLiteral("N6"));
  // About is a command on the bar itself.
  EXPECT_EQ(top[4]->objectName(), QStringLiteral("mnuAbout"));
  EXPECT_EQ(top[4]->text(), QStringLiteral("A&bout"));
  EXPECT_EQ(top[4]->menu(), nullptr);
}

struct MenuItemCase {
  const char* name;
  const char* menu;
  int index;
  const char* text;  // "-" for the separator
  const char* shortcut;
  const char* statusTip;
  bool enabled;
  bool checkable;
  bool checked;
};

const MenuItemCase kMenuItemCases[] = {
    {"mnuNew", "N1", 0, "&New", "Ctrl+N", "Start a new case from the default state", true, false,
     false},
    {"mnuOpen", "N1", 1, "&Open...", "Ctrl+O", "Open a case saved as a .kelvane file", true, false,
     false},
    {"mnuSave", "N1", 3, "&Save", "Ctrl+S",
     "Save the case: inputs, settings, planes and uncertainty", true, false, false},
    {"mnuSaveAs", "N1", 4, "Save &As...", "Ctrl+Shift+S", "Save the case under another name", true,
     false, false},
    {"mnuPrint", "N1", 5, "&Print", "Ctrl+P", "", true, false, false},
    {"mnuSaveReport", "N1", 6, "Save &report as PDF...", "Ctrl+R",
     "Save the stress state as a one-page PDF report", true, false, false},
    {"mnuImportPlanes", "N1", 7, "&Import planes...", "Ctrl+I",
     "Read faults or fractures from a CSV or text file", true, false, false},
    {"mnuExportPlanes", "N1", 8, "&Export plane results...", "",
     "Write every plane's results to a CSV file", true, false, false},
    {"mnuExportFigure", "N1", 9, "Export &figure...", "",
     "Write the net or the Mohr diagram as a PNG or SVG figure", true, false, false},
    {"N3", "N1", 10, "-", "", "", true, false, false},
    {"mnuExit", "N1", 11, "E&xit", "Alt+F4", "Exit the program", true, false, false},
    {"N5", "N4", 0, "Principal Stresses:", "", "", false, false, false},
    {"mnuAngleLeft", "N4", 1, "Cou&nterclockwise from East (+X axis)", "",
     "Azimuth of principal stresses measured from +X semiaxis (East)", true, true, true},
    {"mnuAngleRight", "N4", 2, "&Clockwise from North (+Y axis)", "",
     "Azimuth of principal stresses measured from +Y semiaxis (North)", true, true, false},
};

// As built, before the window is first shown.
TEST_F(WindowTest, EveryMenuItemStandsInItsMenu) {
  for (const MenuItemCase& c : kMenuItemCases) {
    SCOPED_TRACE(c.name);
    auto* menu = Find<QMenu>(c.menu);
    if (menu == nullptr)
      continue;
    const QList<QAction*> items = menu->actions();
    if (items.size() != (std::string(c.menu) == "N1" ? 12 : 3)) {
      ADD_FAILURE() << c.menu << " holds " << items.size() << " items";
      continue;
    }
    const QAction* item = items[c.index];
    EXPECT_EQ(item->objectName(), QString::fromLatin1(c.name));
    if (std::string(c.text) == "-") {
      EXPECT_TRUE(item->isSeparator());
    } else {
      EXPECT_FALSE(item->isSeparator());
      EXPECT_EQ(item->text(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(item->shortcut().toString(),
              QKeySequence(QString::fromLatin1(c.shortcut)).toString());
    EXPECT_EQ(item->statusTip(), QString::fromLatin1(c.statusTip));
    EXPECT_EQ(item->isEnabled(), c.enabled);
    EXPECT_EQ(item->isCheckable(), c.checkable);
    EXPECT_EQ(item->isChecked(), c.checked);
  }
}

TEST_F(WindowTest, AngleItemsExcludeEachOther) {
  auto* left = Find<QAction>("mnuAngleLeft");
  auto* right = Find<QAction>("mnuAngleRight");
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  ASSERT_NE(left->actionGroup(), nullptr);
  EXPECT_EQ(left->actionGroup(), right->actionGroup());
  EXPECT_TRUE(left->actionGroup()->isExclusive());
  right->setChecked(true);
  EXPECT_FALSE(left->isChecked());
  left->setChecked(true);
  EXPECT_FALSE(right->isChecked());
}

struct ShortcutCase {
  const char* name;
  const char* action;
  Qt::Key key;
  Qt::KeyboardModifier modifier;
};

const ShortcutCase kShortcutCases[] = {
    {"print", "mnuPrint", Qt::Key_P, Qt::ControlModifier},
    {"save report", "mnuSaveReport", Qt::Key_R, Qt::ControlModifier},
    {"save", "mnuSave", Qt::Key_S, Qt::ControlModifier},
    {"exit", "mnuExit", Qt::Key_F4, Qt::AltModifier},
};

// Each shortcut reaches its item while a box has the focus.
TEST_F(WindowTest, ShortcutsWorkFromAnInputBox) {
  ShowActive();
  QWidget* box = Find("input_sy");
  ASSERT_NE(box, nullptr);
  for (const ShortcutCase& c : kShortcutCases) {
    SCOPED_TRACE(c.name);
    auto* action = Find<QAction>(c.action);
    if (action == nullptr)
      continue;
    // Only the dispatch is under test: nothing prints and nothing quits.
    QObject::disconnect(action, &QAction::triggered, window_.get(), nullptr);
    QSignalSpy triggered(action, &QAction::triggered);
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, c.key, c.modifier);
    EXPECT_EQ(triggered.count(), 1);
  }
}

}  // namespace
