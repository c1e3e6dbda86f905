#include "ui/common/error_guard.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <exception>
#include <utility>

namespace ui {
namespace {

void OpenErrorBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

// A window's first pass runs while the window is being shown, before it stands
// on the screen; a box opened then would stand alone. It opens as soon as the
// window has appeared, once the current event is done.
void ShowErrorBox(QWidget* parent, const QString& text) {
  const QWindow* window = parent != nullptr ? parent->window()->windowHandle() : nullptr;
  if (window != nullptr && !window->isVisible() && parent->isVisible()) {
    QTimer::singleShot(0, parent, [parent, text] { OpenErrorBox(parent, text); });
    return;
  }
  OpenErrorBox(parent, text);
}

ErrorReporter& CurrentReporter() {
  static ErrorReporter reporter = ShowErrorBox;
  return reporter;
}

void Report(QWidget* parent, const QString& message) {
  const ErrorReporter reporter = CurrentReporter();
  if (reporter)
    reporter(parent, ErrorBoxText(message));
}

}  // namespace

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.'))
    return message + QLatin1Char('.');
  return message;
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
  return std::exchange(CurrentReporter(), std::move(reporter));
}

bool RunGuarded(QWidget* parent, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const std::exception& error) {
    Report(parent, QString::fromUtf8(error.what()));
  } catch (...) {
    Report(parent, QStringLiteral("Unexpected error"));
  }
  return false;
}

}  // namespace ui
