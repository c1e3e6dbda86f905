// Kelvane: the state of stress at a point.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/common/application_icon.h"
#include "ui/common/application_style.h"
#include "ui/main/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The name the desktop lists the program under and the caption of its
  // message boxes. No display name: Qt would append it to the window caption.
  QApplication::setApplicationName(QStringLiteral("Kelvane"));
  QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("kelvane"));
  QApplication::setWindowIcon(ui::ApplicationIcon());
  // Qt's own texts (file and print dialogs, standard buttons) follow the
  // user's language; the program's own texts are English.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  // The platform's style, reading the images of its icons only when drawn.
  QApplication::setStyle(new ui::ApplicationStyle);

  // The first window created is the main one; showing it runs the first pass.
  ui::TFrmMorvane window;
  window.show();
  // `kelvane FILE.kelvane` opens the case once the window stands.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1)
    QMetaObject::invokeMethod(
        &window, [&window, path = arguments.at(1)] { window.OpenCase(path); },
        Qt::QueuedConnection);
  return QApplication::exec();
}
