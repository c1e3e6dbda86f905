#pragma once
// Work that the user waits for (an import, opening a case): run as a
// LatestJob, with a window-modal progress dialog and Cancel, the window
// painting throughout, and the work's error thrown on the GUI thread
// afterwards, so that the caller's guard shows it.

#include <QString>
#include <functional>

#include "ui/common/latest_job.h"

class QWidget;

namespace ui {

/// Runs `work` as a LatestJob while a window-modal progress dialog over
/// `parent` shows `label` and Cancel (after 0.1 s, so quick work shows none);
/// returns when it has ended: true when it ran to its end, false when Cancel
/// stopped it. Rethrows what `work` threw.
bool RunInBackground(QWidget* parent, const QString& label,
                     const std::function<void(JobControl&)>& work);

}  // namespace ui
