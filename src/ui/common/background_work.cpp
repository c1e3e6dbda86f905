#include "ui/common/background_work.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <algorithm>
#include <exception>

namespace ui {
namespace {

/// How long work runs before its progress dialog appears.
constexpr int kShowAfterMs = 100;

}  // namespace

bool RunInBackground(QWidget* parent, const QString& label,
                     const std::function<void(JobControl&)>& work) {
  LatestJob job;
  std::exception_ptr error;
  bool ended = false;
  job.SetErrorHandler([&error](std::exception_ptr e) { error = std::move(e); });

  QProgressDialog progress(label, QStringLiteral("Cancel"), 0, 1000, parent);
  progress.setObjectName(QStringLiteral("BackgroundProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kShowAfterMs);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setValue(0);

  QEventLoop loop;
  QObject::connect(&progress, &QProgressDialog::canceled, &job, &LatestJob::Cancel);
  QObject::connect(&job, &LatestJob::Progress, &loop, [&](int permille) {
    if (permille < 0)
      loop.quit();
    else
      progress.setValue(std::clamp(permille, 0, 999));
  });
  job.StartVoid(work, [&ended] { ended = true; });
  if (job.Busy())
    loop.exec();
  // Closing the dialog emits canceled(): it no longer speaks for the user.
  QObject::disconnect(&progress, &QProgressDialog::canceled, nullptr, nullptr);
  progress.close();
  if (error)
    std::rethrow_exception(error);
  return ended;
}

}  // namespace ui
