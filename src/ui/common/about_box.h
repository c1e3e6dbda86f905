#pragma once
// The About box; its text is kept in the program's resources.

#include <QString>

class QWidget;

namespace ui {

/// The About text: one paragraph, no line breaks.
QString AboutText();

/// What the About box shows: the About text, an empty line, "Version " with
/// the program's version, and a line naming the licence (GPL-3.0-or-later)
/// and that there is no warranty.
QString AboutBoxText();

/// Shows AboutBoxText() in a modal box captioned with the application name,
/// no icon, one "OK" button (Enter and Esc close it too), centred on the
/// screen and word-wrapped to at most half the screen's width.
void ShowAboutBox(QWidget* parent);

}  // namespace ui
