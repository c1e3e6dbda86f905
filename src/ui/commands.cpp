// Handlers of the window's commands and toggles.

#include <QApplication>

#include "ui/error_guard.h"
#include "ui/main_window.h"

namespace ui {

void TFrmMorvane::FormShow() {
  angleMode_ = 1;
  RunGuarded(this, [this] { Recalculate(); });
}

void TFrmMorvane::Button1Click() {
  RunGuarded(this, [this] { Recalculate(); });
}

void TFrmMorvane::mnuAngleLeftClick() {}
void TFrmMorvane::mnuAngleRightClick() {}
void TFrmMorvane::chkJointClick() {}
void TFrmMorvane::chkDirectiveCosinesClick() {}
void TFrmMorvane::mnuPrintClick() {}
void TFrmMorvane::mnuAboutClick() {}
void TFrmMorvane::mnuExitClick() { QApplication::quit(); }

}  // namespace ui
