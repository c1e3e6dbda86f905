#include "ui/common/background_work.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace ui {
namespace {

/// How long work runs before its progress dialog appears, and how often the
/// dialog reads the progress.
constexpr int kShowAfterMs = 400;
constexpr int kPollMs = 40;

}  // namespace

bool RunInBackground(QWidget* parent, const QString& label,
                     const std::function<void(BackgroundTask&)>& work) {
  BackgroundTask task;
  std::exception_ptr error;
  QFutureWatcher<void> watcher;
  QEventLoop loop;
  QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(QtConcurrent::run([&task, &error, &work] {
    try {
      work(task);
    } catch (...) {
      error = std::current_exception();
    }
  }));

  QProgressDialog progress(label, QStringLiteral("Cancel"), 0, 1000, parent);
  progress.setObjectName(QStringLiteral("BackgroundProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kShowAfterMs);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setValue(0);
  QObject::connect(&progress, &QProgressDialog::canceled, &loop,
                   [&task] { task.cancelled = true; });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
    if (progress.wasCanceled())
      task.cancelled = true;
    progress.setValue(std::clamp(task.permille.load(), 0, 999));
  });
  poll.start(kPollMs);
  if (!watcher.isFinished())
    loop.exec();
  poll.stop();
  watcher.waitForFinished();
  // Closing the dialog emits canceled(): it no longer speaks for the user.
  QObject::disconnect(&progress, &QProgressDialog::canceled, nullptr, nullptr);
  const bool cancelled = task.cancelled || progress.wasCanceled();
  progress.close();
  if (error)
    std::rethrow_exception(error);
  return !cancelled;
}

}  // namespace ui

namespace ui {

void RunInShares(int count, int share, const std::function<void(int, int)>& work) {
  std::vector<std::pair<int, int>> shares;
  for (int first = 0; first < count; first += share)
    shares.emplace_back(first, std::min(count, first + share));
  if (shares.size() == 1)
    work(shares.front().first, shares.front().second);
  else if (shares.size() > 1)
    QtConcurrent::blockingMap(shares,
                              [&work](const std::pair<int, int>& s) { work(s.first, s.second); });
}

}  // namespace ui
