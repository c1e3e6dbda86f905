#pragma once
// Printing the window as a picture.

class QWidget;

namespace ui {

/// Prints `clientArea` with all its controls as they look, on one page of the
/// default printer, at the page's top-left, stretched by printer dpi / screen
/// dpi so it keeps its physical size. No dialog. Keyboard focus frame and text
/// cursor are left out of the picture.
/// Throws std::runtime_error("There is no default printer currently selected")
/// when none is set and std::runtime_error("Printer selected is not valid")
/// when the printer cannot be drawn on; nothing is printed then.
void PrintClientArea(QWidget* clientArea);

}  // namespace ui
