#pragma once
// The About box.

#include <QString>

class QWidget;

namespace ui {

/// The About text: one paragraph, no line breaks.
QString AboutText();

/// Shows the About text in a modal box captioned with the application name,
/// no icon, one "OK" button (Enter and Esc close it too), centred on the
/// screen and word-wrapped to at most half the screen's width.
void ShowAboutBox(QWidget* parent);

}  // namespace ui
