// Kelvane: the state of stress at a point.

#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kelvane"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));

  ui::TFrmMorvane window;
  window.show();
  return QApplication::exec();
}
