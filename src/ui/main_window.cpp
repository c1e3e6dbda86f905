#include "ui/main_window.h"

namespace ui {

TFrmMorvane::TFrmMorvane(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMorvane"));
  setWindowTitle(QStringLiteral("Morvane in 3D space"));
}

TFrmMorvane::~TFrmMorvane() = default;

void TFrmMorvane::showEvent(QShowEvent* event) { QMainWindow::showEvent(event); }
bool TFrmMorvane::eventFilter(QObject* watched, QEvent* event) {
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace ui
