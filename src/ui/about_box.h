#pragma once
// The program's identity: the About box and the application icon, both kept
// in the program's resources.

#include <QIcon>
#include <QString>

class QWidget;

namespace ui {

/// The About text: one paragraph, no line breaks.
QString AboutText();

/// Shows the About text in a modal box captioned with the application name,
/// no icon, one "OK" button (Enter and Esc close it too), centred on the
/// screen and word-wrapped to at most half the screen's width.
void ShowAboutBox(QWidget* parent);

/// The application's icon, a small stereonet drawn as SVG.
QIcon ApplicationIcon();

}  // namespace ui
