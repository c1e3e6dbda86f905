// Handlers of the window's commands and toggles. Each runs its work through
// RunGuarded: a failing pass ends the handler there and shows the error box,
// and whatever the handler did before the pass stays done.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <array>

#include "ui/common/about_box.h"
#include "ui/common/error_guard.h"
#include "ui/main/main_window.h"
#include "ui/main/window_printer.h"
#include "ui/report/report_dialog.h"
#include "ui/report/report_file.h"

namespace ui {

// RunGuarded returns once the error box is closed, except for the first pass,
// whose box opens once the window stands on the screen; either way the box
// focused here has the window's focus when the error box is gone. (After a
// first pass Qt drops the selection: it activates the window while the error
// box holds the focus.)
void TFrmMorvane::RunPassCommand(const std::function<void()>& work) {
  unreadBox_ = nullptr;
  if (RunGuarded(this, work) || unreadBox_ == nullptr)
    return;
  unreadBox_->setFocus(Qt::OtherFocusReason);
  unreadBox_->selectAll();
}

// The window opens with azimuths clockwise from North: the same steps as
// choosing that Angles item. A failing first pass still shows the window.
void TFrmMorvane::FormShow() {
  mnuAngleRightClick();
}

void TFrmMorvane::Button1Click() {
  RunPassCommand([this] { Recalculate(); });
}

// Choosing the item that is already checked recalculates all the same.
void TFrmMorvane::mnuAngleLeftClick() {
  RunPassCommand([this] {
    azimuth_ = stress::Azimuth::kCounterClockwiseFromEast;
    mnuAngleLeft_->setChecked(true);
    Recalculate();
  });
}

void TFrmMorvane::mnuAngleRightClick() {
  RunPassCommand([this] {
    azimuth_ = stress::Azimuth::kClockwiseFromNorth;
    mnuAngleRight_->setChecked(true);
    Recalculate();
  });
}

// The joint group, the results panel and the seven joint boxes follow the
// check box, in this order; the pass then draws or removes the joint plane.
// Unchecking leaves the last joint results in their greyed boxes.
void TFrmMorvane::chkJointClick() {
  RunPassCommand([this] {
    using text::Field;
    const std::array<QWidget*, 9> controls = {groupBox5_,
                                              panel1_,
                                              Box(Field::kJointDipDirection),
                                              Box(Field::kJointDip),
                                              Box(Field::kJointFriction),
                                              Box(Field::kJointCohesion),
                                              Box(Field::kSigma),
                                              Box(Field::kTau),
                                              Box(Field::kTauLim)};
    for (QWidget* control : controls)
      control->setEnabled(chkJoint_->isChecked());
    Recalculate();
  });
}

// Every pass writes the cosine boxes, so the panel shows the last results at
// once; nothing is recalculated here.
void TFrmMorvane::chkDirectiveCosinesClick() {
  RunGuarded(this, [this] { pnlDC_->setVisible(chkDirectiveCosines_->isChecked()); });
}

void TFrmMorvane::mnuPrintClick() {
  RunGuarded(this, [this] { PrintClientArea(clientArea_); });
}

// The report shows the pass run here, as "Calculate" would run it: when that
// pass fails, its error is shown and nothing is asked or written.
void TFrmMorvane::mnuSaveReportClick() {
  RunGuarded(this, [this] {
    Recalculate();
    ReportContent content;
    content.results = results_;
    content.separators = separators_;
    content.program = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion();
    const QString path = AskReportPath(this);
    if (path.isEmpty())
      return;
    content.locale = QLocale();
    content.written = QDateTime::currentDateTime();
    SaveReport(path, content);
  });
}

void TFrmMorvane::mnuAboutClick() {
  RunGuarded(this, [this] { ShowAboutBox(this); });
}

// Ends the message loop after the current event; nothing is saved.
void TFrmMorvane::mnuExitClick() {
  RunGuarded(this, [] { QApplication::quit(); });
}

}  // namespace ui
