#include "ui/common/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {
namespace {

/// Pixels between the owner's frame and the window's.
constexpr int kGapToParent = 8;

}  // namespace

// To the right of the parent's frame, else to its left, top edges level;
// where neither side has room, on the side with more room, as near the parent
// as the screen allows (the least overlap).
void PlaceBesideParent(QWidget& window) {
  QWidget* owner = window.parentWidget();
  if (owner == nullptr || owner->screen() == nullptr)
    return;
  const QRect available = owner->screen()->availableGeometry();
  const QRect beside = owner->frameGeometry();
  const QSize outer = window.frameGeometry().size().expandedTo(window.size());
  const int lastLeft = std::max(available.left(), available.right() + 1 - outer.width());
  const int top = std::clamp(beside.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - outer.height()));
  const int right = beside.right() + 1 + kGapToParent;
  const int left = beside.left() - kGapToParent - outer.width();
  const int roomRight = available.right() + 1 - right;
  const int roomLeft = left + outer.width() - available.left();
  if (right + outer.width() <= available.right() + 1 ||
      (left < available.left() && roomRight >= roomLeft)) {
    window.move(std::clamp(right, available.left(), lastLeft), top);
  } else {
    window.move(std::clamp(left, available.left(), lastLeft), top);
  }
}

void PlaceBelowParent(QWidget& window) {
  QWidget* owner = window.parentWidget();
  if (owner == nullptr || owner->screen() == nullptr)
    return;
  const QRect available = owner->screen()->availableGeometry();
  const QRect above = owner->frameGeometry();
  const QSize outer = window.frameGeometry().size().expandedTo(window.size());
  const int top = above.bottom() + 1 + kGapToParent;
  if (top + outer.height() > available.bottom() + 1) {
    PlaceBesideParent(window);
    return;
  }
  const int lastLeft = std::max(available.left(), available.right() + 1 - outer.width());
  window.move(std::clamp(above.left(), available.left(), lastLeft), top);
}

}  // namespace ui
