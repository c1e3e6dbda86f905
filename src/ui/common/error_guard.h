#pragma once
// The one place where an exception of the program's work meets the event loop.

#include <QString>
#include <functional>

class QWidget;

namespace ui {

/// The text of the error box for an error message: "." is appended when the
/// message's last character sorts after "." (a letter or a digit does).
QString ErrorBoxText(const QString& message);

/// Shows a message of a failed command. The default shows the modal error
/// box: caption the application name, the stop icon, one "OK" button.
using ErrorReporter = std::function<void(QWidget* parent, const QString& text)>;

/// Replaces the reporter (tests observe the box this way); returns the old one.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

/// Runs `work`; a std::exception it throws ends it and is reported once, with
/// ErrorBoxText(what()). Returns false when it failed. Never lets an exception out.
bool RunGuarded(QWidget* parent, const std::function<void()>& work);

}  // namespace ui
