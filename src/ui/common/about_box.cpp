#include "ui/common/about_box.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

// The resources live in the static ui library; registering them by name makes
// the linker keep them whatever the executable references.
static void RegisterKelvaneResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(kelvane);
    return true;
  }();
  (void)registered;
}

namespace ui {
namespace {

// A message box that centres itself on its screen, not over its parent: the
// size is only known once the box has laid out its text, right before showing.
class ScreenCentredMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (event->spontaneous())
      return;
    const QScreen* where = parentWidget() ? parentWidget()->screen() : screen();
    const QRect available = where->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(frame.topLeft());
  }
};

}  // namespace

QString AboutText() {
  RegisterKelvaneResources();
  QFile file(QStringLiteral(":/kelvane/about.txt"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return QApplication::applicationName();
  return QString::fromUtf8(file.readAll()).trimmed();
}

QString AboutBoxText() {
  return AboutText() + QStringLiteral("\n\nVersion " KELVANE_VERSION "\n") +
         QStringLiteral("Free software under GPL-3.0-or-later, with ABSOLUTELY NO WARRANTY.");
}

void ShowAboutBox(QWidget* parent) {
  ScreenCentredMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), AboutBoxText(),
                              QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace ui
