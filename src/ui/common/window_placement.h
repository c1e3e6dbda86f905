#pragma once
// Where a tool window (the Mohr window, the Planes window) first opens.

class QWidget;

namespace ui {

/// Moves `window` beside its parent widget: to the right of the parent's
/// frame, else to its left, top edges level; where neither side has room, on
/// the side with more room, as near the parent as the screen allows.
void PlaceBesideParent(QWidget& window);

/// Moves `window` below its parent widget, left edges level, when the screen
/// has room there; else beside it as PlaceBesideParent does.
void PlaceBelowParent(QWidget& window);

}  // namespace ui
