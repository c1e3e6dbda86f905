#pragma once
// Long work off the GUI thread: a progress dialog with Cancel while it runs,
// the window responsive throughout, and its error (if any) thrown on the GUI
// thread afterwards, so that the caller's guard shows it.

#include <QString>
#include <atomic>
#include <functional>

class QWidget;

namespace ui {

/// What the work and the dialog share.
struct BackgroundTask {
  /// Set by Cancel; the work checks it often (at least every 0.1 s) and stops.
  std::atomic<bool> cancelled{false};
  /// Progress in thousandths, written by the work.
  std::atomic<int> permille{0};
};

/// Runs `work` on a pool thread while a window-modal progress dialog over
/// `parent` shows `label` and Cancel (after a short delay, so quick work shows
/// none); returns when it has finished: true when it ran to its end, false
/// when Cancel stopped it. Rethrows what `work` threw.
bool RunInBackground(QWidget* parent, const QString& label,
                     const std::function<void(BackgroundTask&)>& work);

}  // namespace ui

namespace ui {

/// Runs `work(first, last)` over [0, count) in contiguous shares of at most
/// `share` on every core (the global pool), and returns when all are done.
void RunInShares(int count, int share, const std::function<void(int, int)>& work);

}  // namespace ui
