// Construction of the main window: every control of the fixed layout, the
// menu, the connections to the handlers, the tab order and the separators.
// Places and sizes are pixels at 96 dpi relative to the parent control; Qt
// scales them as a whole with the screen's device pixel ratio.

#include "ui/main/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QWindow>
#include <algorithm>
#include <array>
#include <tuple>

#include "figures/figure_style.h"
#include "ui/charts/net_chart.h"
#include "ui/common/caption_font.h"
#include "ui/mohr/mohr_window.h"
#include "ui/planes/slip_probability_window.h"
#include "ui/planes/plane_study.h"
#include "ui/planes/planes_window.h"

namespace ui {
namespace {

constexpr QSize kClientSize(482, 496);
constexpr QPoint kDesignedPosition(418, 127);

// An 11-pixel face has the 13-pixel line that the rows of the layout are made
// for (labels 13 high, boxes 21 high).
constexpr int kFontPixelSize = 11;
// Below this width a face is too cramped to read; captions would rather clip.
constexpr int kNarrowestStretch = 60;
// Where the caption search starts: the stretch the captions need in DejaVu
// Sans, the face Debian's desktop gives for the UI font at that size.
constexpr int kLikelyCaptionStretch = 71;

enum class Kind {
  Label,
  Box,          // editable QLineEdit
  ResultBox,    // read-only QLineEdit: the program writes it, the user cannot
  Group,        // QGroupBox with its caption in the frame
  Panel,        // QFrame without border, opaque (it covers what lies below)
  RaisedPanel,  // QFrame with a raised one-pixel bevel
  Line,         // QFrame one pixel thick, drawn black
  Button,
  CheckBox,
  Chart,
};

/// One control of the layout. `parent` is null for the client area.
struct ControlRow {
  Kind kind;
  const char* name;
  const char* parent;
  int left, top, width, height;
  const char* text = "";            // caption, title or default text (UTF-8)
  const char* hint = "";            // tool tip
  const char* accessibleName = "";  // what a box holds, for screen readers
};

using text::Field;

/// A number box: its name and what it holds come from its field.
constexpr ControlRow BoxRow(Kind kind, Field field, const char* parent, int left, int top,
                            int width, int height, const char* text, const char* hint) {
  return {kind, text::ObjectName(field),  parent, left, top, width, height, text,
          hint, text::FieldOf(field).name};
}

// In creation order, which is also the stacking order: a later control lies
// on top of an earlier one. The six stress boxes lie over GroupBox2's frame
// but belong to the client area; pnlDC lies over the chart, 8 pixels inside it.
constexpr ControlRow kControls[] = {
    {Kind::Label, "Label27", nullptr, 147, 72, 42, 13, "Direction"},
    {Kind::Label, "Label28", nullptr, 150, 88, 37, 13, "Cosines"},
    {Kind::Chart, "Chart1", nullptr, 168, 184, 305, 305, "",
     "Planes of principal stresses represented on stereographic projection"},

    {Kind::Panel, "pnlDC", nullptr, 176, 192, 289, 289, "", "Principal stresses direction cosines"},
    {Kind::Label, "Label32", "pnlDC", 48, 40, 11, 13, "s1"},
    {Kind::Label, "Label33", "pnlDC", 144, 40, 11, 13, "s2"},
    {Kind::Label, "Label34", "pnlDC", 240, 40, 11, 13, "s3"},
    {Kind::Label, "Label29", "pnlDC", 16, 64, 9, 13, "L "},
    {Kind::Label, "Label30", "pnlDC", 16, 136, 12, 13, "M "},
    {Kind::Label, "Label31", "pnlDC", 16, 208, 11, 13, "N "},
    {Kind::Line, "Shape1", "pnlDC", 16, 112, 265, 1},
    {Kind::Line, "Shape2", "pnlDC", 16, 184, 265, 1},
    {Kind::Line, "Shape3", "pnlDC", 112, 40, 1, 201},
    {Kind::Line, "Shape4", "pnlDC", 208, 40, 1, 201},
    // edtL1 can be typed into; the pass overwrites it and nothing reads it.
    BoxRow(Kind::Box, Field::kL1, "pnlDC", 32, 64, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kL2, "pnlDC", 128, 64, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kL3, "pnlDC", 224, 64, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kM1, "pnlDC", 32, 136, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kM2, "pnlDC", 128, 136, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kM3, "pnlDC", 224, 136, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kN1, "pnlDC", 32, 208, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kN2, "pnlDC", 128, 208, 57, 21, "", ""),
    BoxRow(Kind::ResultBox, Field::kN3, "pnlDC", 224, 208, 57, 21, "", ""),

    {Kind::Group, "GroupBox2", nullptr, 8, 8, 121, 169, "Stress on x,y,z",
     "Input normal and shear stress in global system x,y,z"},
    {Kind::Label, "Label1", "GroupBox2", 8, 16, 10, 13, "sx"},
    {Kind::Label, "Label2", "GroupBox2", 8, 40, 10, 13, "sy"},
    {Kind::Label, "Label3", "GroupBox2", 8, 64, 10, 13, "sz"},
    {Kind::Label, "Label4", "GroupBox2", 8, 88, 13, 13, "txy"},
    {Kind::Label, "Label5", "GroupBox2", 8, 112, 13, 13, "tyz"},
    {Kind::Label, "Label6", "GroupBox2", 8, 136, 13, 13, "tzx"},
    BoxRow(Kind::Box, Field::kSx, nullptr, 40, 24, 73, 21, "3.4", ""),
    BoxRow(Kind::Box, Field::kSy, nullptr, 40, 48, 73, 21, "1", ""),
    BoxRow(Kind::Box, Field::kSz, nullptr, 40, 72, 73, 21, "8", ""),
    BoxRow(Kind::Box, Field::kTxy, nullptr, 40, 96, 73, 21, "1", ""),
    BoxRow(Kind::Box, Field::kTyz, nullptr, 40, 120, 73, 21, "-1", ""),  // holds tyz
    BoxRow(Kind::Box, Field::kTzx, nullptr, 40, 144, 73, 21, "2", ""),

    {Kind::Button, "Button1", nullptr, 136, 152, 73, 25, "Calculate",
     "Press for recalculation of stresses, planes and joint stresses"},

    {Kind::Group, "GroupBox1", nullptr, 216, 8, 81, 169, "s1", "Principal stresses"},
    {Kind::Label, "Label7", "GroupBox1", 8, 16, 27, 13, "Value"},
    BoxRow(Kind::ResultBox, Field::kS1, "GroupBox1", 8, 32, 65, 21, "input_s1", ""),
    {Kind::Label, "Label10", "GroupBox1", 8, 72, 52, 13, "Azimuth (\u03bf)"},
    BoxRow(Kind::ResultBox, Field::kS1Azimuth, "GroupBox1", 8, 88, 65, 21, "Edit1", ""),
    {Kind::Label, "Label13", "GroupBox1", 8, 120, 45, 13, "Dip angle"},
    BoxRow(Kind::ResultBox, Field::kS1Dip, "GroupBox1", 8, 136, 65, 21, "Edit1", ""),

    {Kind::Group, "GroupBox3", nullptr, 304, 8, 81, 169, "s2", "Principal stresses"},
    {Kind::Label, "Label8", "GroupBox3", 8, 16, 27, 13, "Value"},
    BoxRow(Kind::ResultBox, Field::kS2, "GroupBox3", 8, 32, 65, 21, "Edit1", ""),
    {Kind::Label, "Label11", "GroupBox3", 8, 72, 52, 13, "Azimuth (\u03bf)"},
    BoxRow(Kind::ResultBox, Field::kS2Azimuth, "GroupBox3", 8, 88, 65, 21, "Edit1", ""),
    {Kind::Label, "Label14", "GroupBox3", 8, 120, 45, 13, "Dip angle"},
    BoxRow(Kind::ResultBox, Field::kS2Dip, "GroupBox3", 8, 136, 65, 21, "Edit1", ""),

    {Kind::Group, "GroupBox4", nullptr, 392, 8, 81, 169, "s3", "Principal stresses"},
    {Kind::Label, "Label9", "GroupBox4", 8, 16, 27, 13, "Value"},
    BoxRow(Kind::ResultBox, Field::kS3, "GroupBox4", 8, 32, 65, 21, "Edit1", ""),
    {Kind::Label, "Label12", "GroupBox4", 8, 72, 52, 13, "Azimuth (\u03bf)"},
    BoxRow(Kind::ResultBox, Field::kS3Azimuth, "GroupBox4", 8, 88, 65, 21, "Edit1", ""),
    {Kind::Label, "Label15", "GroupBox4", 8, 120, 45, 13, "Dip angle"},
    BoxRow(Kind::ResultBox, Field::kS3Dip, "GroupBox4", 8, 136, 65, 21, "Edit1", ""),

    {Kind::Group, "GroupBox5", nullptr, 8, 336, 145, 153, "Joint",
     "Joint, plane direction - strenth parameters (geotechnical sign considered)"},
    {Kind::Label, "Label18", "GroupBox5", 8, 16, 73, 13, "Plane direction:"},
    {Kind::Label, "Label16", "GroupBox5", 8, 32, 50, 13, "a (right/Y):"},
    BoxRow(
        Kind::Box, Field::kJointDipDirection, "GroupBox5", 56, 32, 73, 21, "16",
        "Alpha angle, the azimuth of the maximum dip direction, measured clockwise from the North"),
    {Kind::Label, "Label17", "GroupBox5", 8, 56, 39, 13, "psi (dip):"},
    BoxRow(Kind::Box, Field::kJointDip, "GroupBox5", 56, 56, 73, 21, "33", ""),
    {Kind::Label, "Label19", "GroupBox5", 16, 80, 103, 13, "Joint strength params:"},
    {Kind::Label, "Label20", "GroupBox5", 24, 96, 17, 13, "phi:"},
    BoxRow(Kind::Box, Field::kJointFriction, "GroupBox5", 56, 96, 73, 21, "14", ""),
    {Kind::Label, "Label21", "GroupBox5", 24, 120, 9, 13, "c:"},
    BoxRow(Kind::Box, Field::kJointCohesion, "GroupBox5", 56, 120, 73, 21, "1", ""),

    {Kind::CheckBox, "chkJoint", nullptr, 8, 312, 113, 25, "Joint Active",
     "Joint activation - Representation on the stereographic projection - Stress calculations "
     "on joint plane"},

    {Kind::RaisedPanel, "Panel1", nullptr, 8, 184, 145, 121, "",
     "Joint stresses - Maximum allowed shear stress on joint - Geotechnical sign consideration "
     "(compression>0)"},
    {Kind::Label, "Label22", "Panel1", 8, 8, 66, 13, "Joint stresses:"},
    {Kind::Label, "Label23", "Panel1", 8, 24, 47, 13, "Normal, s:"},
    BoxRow(Kind::ResultBox, Field::kSigma, "Panel1", 56, 24, 65, 21, "", ""),
    {Kind::Label, "Label24", "Panel1", 8, 48, 40, 13, "Shear, t:"},
    BoxRow(Kind::ResultBox, Field::kTau, "Panel1", 56, 48, 65, 21, "", ""),
    {Kind::Label, "Label26", "Panel1", 8, 80, 66, 13, "Joint strength:"},
    {Kind::Label, "Label25", "Panel1", 24, 96, 18, 13, "tlim:"},
    BoxRow(Kind::ResultBox, Field::kTauLim, "Panel1", 56, 96, 65, 21, "", ""),

    // Its caption is the two labels "Direction" and "Cosines" above it.
    {Kind::CheckBox, "chkDirectiveCosines", nullptr, 160, 104, 17, 17, "",
     "Show direction cosines values instead of stereographic projection", "Direction cosines"},
};

// Disabled until the joint is switched on; the result boxes of Panel1 stay
// enabled themselves and are unreachable through their disabled panel.
constexpr const char* kDisabledAtStart[] = {"GroupBox5",
                                            text::ObjectName(Field::kJointDipDirection),
                                            text::ObjectName(Field::kJointDip),
                                            text::ObjectName(Field::kJointFriction),
                                            text::ObjectName(Field::kJointCohesion),
                                            "Panel1"};

// Text in the colour of its principal stress; the children of a group take it.
struct TextColour {
  const char* name;
  projection::Colour colour;
};
constexpr TextColour kTextColours[] = {
    {"GroupBox1", projection::kGreen}, {"GroupBox3", projection::kRed},
    {"GroupBox4", projection::kBlue},  {"Label32", projection::kGreen},
    {"Label33", projection::kRed},     {"Label34", projection::kBlue},
};

// The cosine boxes are filled with their field's colour. Their text takes
// whichever of black and white contrasts more with it: white on the green
// (5.1:1) and the blue (8.6:1), black on the red (5.3:1).
constexpr Qt::GlobalColor kCosineText[] = {Qt::white, Qt::black, Qt::white};

// The ten boxes the user types the inputs into.
constexpr Field kInputBoxes[] = {Field::kSx,
                                 Field::kSy,
                                 Field::kSz,
                                 Field::kTxy,
                                 Field::kTyz,
                                 Field::kTzx,
                                 Field::kJointDipDirection,
                                 Field::kJointDip,
                                 Field::kJointFriction,
                                 Field::kJointCohesion};

// Tab moves through the window in this order; disabled and hidden controls
// are skipped. Labels, groups, panels and the chart are not tab stops.
constexpr const char* kTabOrder[] = {
    text::ObjectName(Field::kSx),
    text::ObjectName(Field::kSy),
    text::ObjectName(Field::kSz),
    text::ObjectName(Field::kTxy),
    text::ObjectName(Field::kTyz),
    text::ObjectName(Field::kTzx),
    "Button1",
    text::ObjectName(Field::kS1),
    text::ObjectName(Field::kS1Azimuth),
    text::ObjectName(Field::kS1Dip),
    text::ObjectName(Field::kS2),
    text::ObjectName(Field::kS2Azimuth),
    text::ObjectName(Field::kS2Dip),
    text::ObjectName(Field::kS3),
    text::ObjectName(Field::kS3Azimuth),
    text::ObjectName(Field::kS3Dip),
    text::ObjectName(Field::kJointDipDirection),
    text::ObjectName(Field::kJointDip),
    text::ObjectName(Field::kJointFriction),
    text::ObjectName(Field::kJointCohesion),
    "chkJoint",
    text::ObjectName(Field::kSigma),
    text::ObjectName(Field::kTau),
    text::ObjectName(Field::kTauLim),
    "chkDirectiveCosines",
    text::ObjectName(Field::kL1),
    text::ObjectName(Field::kL2),
    text::ObjectName(Field::kL3),
    text::ObjectName(Field::kM1),
    text::ObjectName(Field::kM2),
    text::ObjectName(Field::kM3),
    text::ObjectName(Field::kN1),
    text::ObjectName(Field::kN2),
    text::ObjectName(Field::kN3),
};

QWidget* CreateControl(const ControlRow& row, QWidget* parent) {
  const QString text = QString::fromUtf8(row.text);
  QWidget* control = nullptr;
  switch (row.kind) {
    case Kind::Label:
      control = new QLabel(text, parent);
      break;
    case Kind::Box:
    case Kind::ResultBox: {
      auto* box = new QLineEdit(text, parent);
      box->setReadOnly(row.kind == Kind::ResultBox);
      box->setAccessibleName(QString::fromUtf8(row.accessibleName));
      control = box;
      break;
    }
    case Kind::Group:
      control = new QGroupBox(text, parent);
      break;
    case Kind::Panel: {
      auto* panel = new QFrame(parent);
      panel->setFrameShape(QFrame::NoFrame);
      panel->setAutoFillBackground(true);
      control = panel;
      break;
    }
    case Kind::RaisedPanel: {
      auto* panel = new QFrame(parent);
      panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      panel->setLineWidth(1);
      control = panel;
      break;
    }
    case Kind::Line: {
      auto* line = new QFrame(parent);
      line->setFrameShape(QFrame::NoFrame);
      line->setAutoFillBackground(true);
      QPalette palette = line->palette();
      palette.setColor(QPalette::Window, Qt::black);
      line->setPalette(palette);
      control = line;
      break;
    }
    case Kind::Button:
      control = new QPushButton(text, parent);
      break;
    case Kind::CheckBox: {
      auto* check = new QCheckBox(text, parent);
      check->setAccessibleName(QString::fromUtf8(row.accessibleName));
      control = check;
      break;
    }
    case Kind::Chart: {
      auto* chart = new NetChartView(parent);
      chart->setFixedSize(row.width, row.height);
      // The Tab key passes through the chart, as through a panel.
      chart->setFocusPolicy(Qt::NoFocus);
      control = chart;
      break;
    }
  }
  control->setObjectName(QLatin1String(row.name));
  control->setGeometry(row.left, row.top, row.width, row.height);
  control->setToolTip(QString::fromUtf8(row.hint));
  return control;
}

}  // namespace

TFrmMorvane::TFrmMorvane(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMorvane"));
  setWindowTitle(QStringLiteral("Morvane in 3D space"));

  planes_ = new PlaneStudy(study_, this);
  // An edit of the study, or its undo, may change whether it is unsaved.
  studyObserver_ = study_->Observe([this](study::Changes changes) {
    if ((changes & study::kMap) != 0 && mapQuantities_ != nullptr && chart_ != nullptr)
      ShowMapQuantity();
    ShowModified();
  });
  BuildMenu();
  BuildLayout();
  FitFont();
  SetTabOrder();
  ConnectCommands();

  // Client area and menu bar make the whole window; it cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();

  // Read again whenever the application announces a change of the user's
  // regional settings: QApplication passes QEvent::LocaleChange on to every
  // widget (changeEvent below).
  ReadSeparators();
  // The default inputs are written with the user's decimal separator, so that
  // the first pass reads them wherever the program starts.
  for (const Field field : kInputBoxes) {
    QLineEdit* box = Box(field);
    box->setText(box->text().replace(QLatin1Char('.'), separators_.decimal));
  }

  // File > New shows the window as it starts; a .kelvane file dropped on it opens.
  defaultCase_ = CaseNow();
  ShowRecentCases();
  setAcceptDrops(true);
}

// The plane set is a child made before the windows that show it: they go
// first, so that none reads the set while it is taken down.
TFrmMorvane::~TFrmMorvane() {
  study_->Forget(studyObserver_);
  mohr_->SetPlaneDots(nullptr, nullptr);
  chart_->SetDots(nullptr, nullptr);
  delete oddsWindow_;
  delete planesWindow_;
}

void TFrmMorvane::BuildLayout() {
  clientArea_ = new QWidget(this);
  clientArea_->setObjectName(QStringLiteral("ClientArea"));
  clientArea_->setFixedSize(kClientSize);
  setCentralWidget(clientArea_);

  for (const ControlRow& row : kControls) {
    QWidget* parent = row.parent != nullptr ? Control(row.parent) : clientArea_;
    controls_.emplace(row.name, CreateControl(row, parent));
  }

  // The captions of the groups stand in the top edge of their frames, whose
  // contents start 16 pixels below the group's top. The classic style draws
  // them so; a style that puts the caption above a lower frame would cross
  // the first row of labels.
  if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
    classic->setParent(this);
    for (QGroupBox* group : clientArea_->findChildren<QGroupBox*>())
      group->setStyle(classic);
  }

  for (const char* name : kDisabledAtStart)
    Control(name)->setEnabled(false);

  for (const TextColour& tint : kTextColours) {
    QWidget* control = Control(tint.name);
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, figures::ToQColor(tint.colour));  // labels, group title
    palette.setColor(QPalette::Text, figures::ToQColor(tint.colour));        // boxes
    control->setPalette(palette);
  }
  for (int i = 0; i < 3; ++i) {
    for (int component = 0; component < 3; ++component) {
      const Field field = text::CosineField(i, component);
      QWidget* box = Box(field);
      QPalette palette = box->palette();
      palette.setColor(QPalette::Base, figures::ToQColor(text::FieldOf(field).colour));
      palette.setColor(QPalette::Text, kCosineText[i]);
      box->setPalette(palette);
    }
  }

  chart_ = qobject_cast<NetChartView*>(Control("Chart1"));
  pnlDC_ = Control("pnlDC");
  pnlDC_->hide();
  chkJoint_ = qobject_cast<QCheckBox*>(Control("chkJoint"));
  chkDirectiveCosines_ = qobject_cast<QCheckBox*>(Control("chkDirectiveCosines"));
  button1_ = qobject_cast<QPushButton*>(Control("Button1"));
  groupBox5_ = qobject_cast<QGroupBox*>(Control("GroupBox5"));
  panel1_ = qobject_cast<QFrame*>(Control("Panel1"));
}

void TFrmMorvane::BuildMenu() {
  auto* bar = new QMenuBar(this);
  bar->setObjectName(QStringLiteral("MainMenu1"));
  setMenuBar(bar);

  // The shortcuts work wherever the focus is in the window, a box included.
  const auto command = [](QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcutContext(Qt::ApplicationShortcut);
    return action;
  };

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("N1"));
  mnuNew_ = command(file, "mnuNew", QStringLiteral("&New"));
  mnuNew_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  mnuNew_->setStatusTip(QStringLiteral("Start a new case from the default state"));
  mnuOpen_ = command(file, "mnuOpen", QStringLiteral("&Open..."));
  mnuOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  mnuOpen_->setStatusTip(QStringLiteral("Open a case saved as a .kelvane file"));
  recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
  recentMenu_->setObjectName(QStringLiteral("mnuOpenRecent"));
  mnuSave_ = command(file, "mnuSave", QStringLiteral("&Save"));
  mnuSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnuSave_->setStatusTip(QStringLiteral("Save the case: inputs, settings, planes and uncertainty"));
  mnuSaveAs_ = command(file, "mnuSaveAs", QStringLiteral("Save &As..."));
  mnuSaveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  mnuSaveAs_->setStatusTip(QStringLiteral("Save the case under another name"));
  mnuPrint_ = command(file, "mnuPrint", QStringLiteral("&Print"));
  mnuPrint_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuSaveReport_ = command(file, "mnuSaveReport", QStringLiteral("Save &report as PDF..."));
  mnuSaveReport_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  mnuSaveReport_->setStatusTip(QStringLiteral("Save the stress state as a one-page PDF report"));
  mnuImportPlanes_ = command(file, "mnuImportPlanes", QStringLiteral("&Import planes..."));
  mnuImportPlanes_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  mnuImportPlanes_->setStatusTip(
      QStringLiteral("Read faults or fractures from a CSV or text file"));
  mnuExportPlanes_ = command(file, "mnuExportPlanes", QStringLiteral("&Export plane results..."));
  mnuExportPlanes_->setStatusTip(QStringLiteral("Write every plane's results to a CSV file"));
  mnuExportFigure_ = command(file, "mnuExportFigure", QStringLiteral("Export &figure..."));
  mnuExportFigure_->setStatusTip(
      QStringLiteral("Write the net or the Mohr diagram as a PNG or SVG figure"));
  file->addSeparator()->setObjectName(QStringLiteral("N3"));
  mnuExit_ = command(file, "mnuExit", QStringLiteral("E&xit"));
  mnuExit_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
  mnuExit_->setStatusTip(QStringLiteral("Exit the program"));

  QMenu* angles = bar->addMenu(QStringLiteral("&Angles"));
  angles->setObjectName(QStringLiteral("N4"));
  QAction* heading = angles->addAction(QStringLiteral("Principal Stresses:"));
  heading->setObjectName(QStringLiteral("N5"));
  heading->setEnabled(false);
  auto* convention = new QActionGroup(this);
  convention->setObjectName(QStringLiteral("AngleGroup"));
  convention->setExclusive(true);
  mnuAngleLeft_ =
      command(angles, "mnuAngleLeft", QStringLiteral("Cou&nterclockwise from East (+X axis)"));
  mnuAngleLeft_->setStatusTip(
      QStringLiteral("Azimuth of principal stresses measured from +X semiaxis (East)"));
  mnuAngleRight_ =
      command(angles, "mnuAngleRight", QStringLiteral("&Clockwise from North (+Y axis)"));
  mnuAngleRight_->setStatusTip(
      QStringLiteral("Azimuth of principal stresses measured from +Y semiaxis (North)"));
  for (QAction* item : {mnuAngleLeft_, mnuAngleRight_}) {
    item->setCheckable(true);
    convention->addAction(item);
  }
  // Agrees with AngleMode 0 until the window is first shown.
  mnuAngleLeft_->setChecked(true);

  QMenu* stressMenu = bar->addMenu(QStringLiteral("&Stress"));
  stressMenu->setObjectName(QStringLiteral("mnuStress"));
  mnuStressFromDepth_ =
      command(stressMenu, "mnuStressFromDepth", QStringLiteral("From &depth and gradients..."));
  mnuStressFromDepth_->setStatusTip(
      QStringLiteral("Fill the stresses and the pore pressure from a depth and gradients"));
  mnuStressFromPrincipal_ =
      command(stressMenu, "mnuStressFromPrincipal", QStringLiteral("From &principal stresses..."));
  mnuStressFromPrincipal_->setStatusTip(
      QStringLiteral("Fill the stresses from three principal stresses and their axes"));
  mnuUncertainty_ = command(stressMenu, "mnuUncertainty", QStringLiteral("&Uncertainty..."));
  mnuUncertainty_->setStatusTip(
      QStringLiteral("The probability that each plane slips when the inputs are uncertain"));
  QMenu* units = stressMenu->addMenu(QStringLiteral("Stress &unit"));
  units->setObjectName(QStringLiteral("mnuStressUnit"));
  stressUnits_ = new QActionGroup(this);
  stressUnits_->setExclusive(true);
  for (const char* unit : {"", "MPa", "kPa", "psi", "bar"}) {
    QAction* item =
        units->addAction(*unit == '\0' ? QStringLiteral("&None") : QString::fromLatin1(unit));
    item->setObjectName(QStringLiteral("mnuStressUnit") + QString::fromLatin1(unit));
    item->setData(QString::fromLatin1(unit));
    item->setCheckable(true);
    item->setChecked(*unit == '\0');
    stressUnits_->addAction(item);
  }

  QMenu* view = bar->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("N6"));
  mnuMohr_ = command(view, "mnuMohr", QStringLiteral("&Mohr diagram"));
  mnuMohr_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  mnuMohr_->setStatusTip(QStringLiteral("Show the Mohr diagram and the stress analysis"));
  mnuMohr_->setCheckable(true);
  mohr_ = new MohrWindowLink(mnuMohr_, this);
  mohr_->porePressureEntered = [this](const QString& text) { SetPorePressure(text); };
  mnuPlanes_ = command(view, "mnuPlanes", QStringLiteral("&Planes"));
  mnuPlanes_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  mnuPlanes_->setStatusTip(QStringLiteral("Show the table of planes and their results"));
  mnuPlanes_->setCheckable(true);
  mnuSlipProbability_ = command(view, "mnuSlipProbability", QStringLiteral("&Slip probability"));
  mnuSlipProbability_->setStatusTip(
      QStringLiteral("Show the probability of slip against the pore-pressure increase"));
  QMenu* maps = view->addMenu(QStringLiteral("Tendency &map"));
  maps->setObjectName(QStringLiteral("mnuTendencyMap"));
  mapQuantities_ = new QActionGroup(this);
  mapQuantities_->setExclusive(true);
  using engine::MapQuantity;
  const std::tuple<const char*, QString, MapQuantity> mapItems[] = {
      {"mnuMapNone", QStringLiteral("&None"), MapQuantity::kNone},
      {"mnuMapSlip", QStringLiteral("&Slip tendency"), MapQuantity::kSlipTendency},
      {"mnuMapDilation", QStringLiteral("&Dilation tendency"), MapQuantity::kDilationTendency},
      {"mnuMapPressure", QStringLiteral("&Pore pressure to slip"),
       MapQuantity::kPorePressureToSlip},
      {"mnuMapSafety", QStringLiteral("&Factor of safety"), MapQuantity::kFactorOfSafety}};
  for (const auto& [name, caption, quantity] : mapItems) {
    QAction* item = command(maps, name, caption);
    item->setData(static_cast<int>(quantity));
    item->setCheckable(true);
    item->setChecked(quantity == MapQuantity::kNone);
    mapQuantities_->addAction(item);
  }
  maps->actions().at(1)->setStatusTip(
      QStringLiteral("Colour the net by the slip tendency of the plane of every pole"));

  mnuAbout_ = bar->addAction(QStringLiteral("A&bout"));
  mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
}

void TFrmMorvane::ConnectCommands() {
  connect(button1_, &QPushButton::clicked, this, &TFrmMorvane::Button1Click);
  connect(chkJoint_, &QCheckBox::clicked, this, &TFrmMorvane::chkJointClick);
  connect(chkDirectiveCosines_, &QCheckBox::clicked, this, &TFrmMorvane::chkDirectiveCosinesClick);
  connect(mnuPrint_, &QAction::triggered, this, &TFrmMorvane::mnuPrintClick);
  connect(mnuSaveReport_, &QAction::triggered, this, &TFrmMorvane::mnuSaveReportClick);
  connect(mnuExit_, &QAction::triggered, this, &TFrmMorvane::mnuExitClick);
  connect(mnuAngleLeft_, &QAction::triggered, this, &TFrmMorvane::mnuAngleLeftClick);
  connect(mnuAngleRight_, &QAction::triggered, this, &TFrmMorvane::mnuAngleRightClick);
  connect(mnuAbout_, &QAction::triggered, this, &TFrmMorvane::mnuAboutClick);
  connect(mnuPlanes_, &QAction::triggered, this, &TFrmMorvane::mnuPlanesClick);
  connect(mnuImportPlanes_, &QAction::triggered, this, &TFrmMorvane::mnuImportPlanesClick);
  connect(mnuExportPlanes_, &QAction::triggered, this, &TFrmMorvane::mnuExportPlanesClick);
  connect(mnuExportFigure_, &QAction::triggered, this, &TFrmMorvane::mnuExportFigureClick);
  connect(mnuUncertainty_, &QAction::triggered, this, &TFrmMorvane::mnuUncertaintyClick);
  connect(mnuNew_, &QAction::triggered, this, &TFrmMorvane::mnuNewClick);
  connect(mnuOpen_, &QAction::triggered, this, &TFrmMorvane::mnuOpenClick);
  connect(mnuSave_, &QAction::triggered, this, &TFrmMorvane::mnuSaveClick);
  connect(mnuSaveAs_, &QAction::triggered, this, &TFrmMorvane::mnuSaveAsClick);
  // What a case holds, changed: the case has unsaved changes.
  for (const Field field : kInputBoxes)
    connect(Box(field), &QLineEdit::textEdited, this, &TFrmMorvane::MarkModified);
  for (QAbstractButton* check : {static_cast<QAbstractButton*>(chkJoint_),
                                 static_cast<QAbstractButton*>(chkDirectiveCosines_)})
    connect(check, &QAbstractButton::clicked, this, &TFrmMorvane::MarkModified);
  for (QAction* item : {mnuAngleLeft_, mnuAngleRight_})
    connect(item, &QAction::triggered, this, &TFrmMorvane::MarkModified);
  connect(mnuSlipProbability_, &QAction::triggered, this, &TFrmMorvane::mnuSlipProbabilityClick);
  connect(planes_, &PlaneStudy::OddsProgress, this, &TFrmMorvane::ShowOddsProgress);
  connect(planes_, &PlaneStudy::SetChanged, this, &TFrmMorvane::ShowPlaneDots);
  connect(planes_, &PlaneStudy::ResultsChanged, this, &TFrmMorvane::ShowPlaneDots);
  connect(mapQuantities_, &QActionGroup::triggered, this, [this](QAction* item) {
    SetMapQuantity(static_cast<engine::MapQuantity>(item->data().toInt()));
  });
  chart_->SetMapSource(
      [this](const engine::MapGrid& grid, double ratio) { return MapJob(grid, ratio); });
  connect(mnuStressFromDepth_, &QAction::triggered, this, &TFrmMorvane::mnuStressFromDepthClick);
  connect(mnuStressFromPrincipal_, &QAction::triggered, this,
          &TFrmMorvane::mnuStressFromPrincipalClick);
  connect(stressUnits_, &QActionGroup::triggered, this,
          [this](QAction* item) { SetStressUnit(item->data().toString()); });
  // Return and the keypad's Enter in an input box calculate, as the button does.
  for (const Field field : kInputBoxes)
    connect(Box(field), &QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click);
}

void TFrmMorvane::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const char* name : kTabOrder) {
    QWidget* next = Control(name);
    if (previous != nullptr)
      QWidget::setTabOrder(previous, next);
    previous = next;
  }
}

// The captions' widths were measured in a narrow face. The platform's UI face
// keeps the 11-pixel size of the layout's rows and is condensed, uniformly,
// just enough for every label's caption to fit the width it is given.
void TFrmMorvane::FitFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(kFontPixelSize);
  clientArea_->setFont(CondensedToFit(font, clientArea_->findChildren<QLabel*>(), kNarrowestStretch,
                                      kLikelyCaptionStretch));
}

// The frame's top-left corner at the designed place when the window fits
// there, else as near to it as the screen allows. The frame is counted as far
// as the platform knows it before the window first appears.
void TFrmMorvane::PlaceOnScreen() {
  const QScreen* screen = this->screen();
  if (screen == nullptr) {
    move(kDesignedPosition);
    return;
  }
  const QRect available = screen->availableGeometry();
  const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  const QSize outer = size().grownBy(frame);
  const int x = std::clamp(kDesignedPosition.x(), available.left(),
                           std::max(available.left(), available.right() + 1 - outer.width()));
  const int y = std::clamp(kDesignedPosition.y(), available.top(),
                           std::max(available.top(), available.bottom() + 1 - outer.height()));
  move(x, y);
}

void TFrmMorvane::ReadSeparators() {
  separators_ = text::SeparatorsOf(QLocale());
  if (planesWindow_ != nullptr)
    planesWindow_->SetSeparators(separators_);
}

QWidget* TFrmMorvane::Control(const char* name) const {
  const auto found = controls_.find(name);
  if (found == controls_.end())
    qFatal("TFrmMorvane: no control named %s", name);
  return found->second;
}

QLineEdit* TFrmMorvane::Box(const char* name) const {
  auto* box = qobject_cast<QLineEdit*>(Control(name));
  if (box == nullptr)
    qFatal("TFrmMorvane: %s is no box", name);
  return box;
}

// The first showing places the window and runs FormShow; showing it again
// (after minimising, say) changes nothing.
void TFrmMorvane::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_)
    return;
  shown_ = true;
  PlaceOnScreen();
  FormShow();
}

void TFrmMorvane::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange)
    ReadSeparators();
  QMainWindow::changeEvent(event);
}

}  // namespace ui
