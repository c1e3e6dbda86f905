#include "ui/common/latest_job.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
/// How often the progress of a running job is read.
constexpr int kTickMs = 50;
}  // namespace

void JobControl::SetProgress(double done) {
  const double clamped = std::clamp(std::isnan(done) ? 0.0 : done, 0.0, 1.0);
  permille_.store(static_cast<int>(1000.0 * clamped), std::memory_order_relaxed);
}

struct LatestJob::Running {
  std::uint64_t generation = 0;
  JobControl control;
};

LatestJob::LatestJob(QObject* parent) : QObject(parent) {
  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, [this] {
    if (running_)
      emit Progress(std::min(999, running_->control.Permille()));
  });
}

LatestJob::~LatestJob() {
  next_.reset();
  if (running_)
    running_->control.cancelled_ = true;
  // The queued end of the job is dropped with this object.
  if (thread_.joinable())
    thread_.join();
}

void LatestJob::StartVoid(std::function<void(JobControl&)> work, std::function<void()> done) {
  Run([work = std::move(work), done = std::move(done)](JobControl& control) -> Delivery {
    work(control);
    return done;
  });
}

void LatestJob::Run(Work work) {
  ++generation_;
  if (running_)
    running_->control.cancelled_ = true;
  next_ = std::move(work);
  StartNext();
}

void LatestJob::Cancel() {
  ++generation_;
  next_.reset();
  if (running_)
    running_->control.cancelled_ = true;
}

// One job runs at a time: a job asked for while another runs starts when that
// one (cancelled) has returned, so that two never compete for the cores.
void LatestJob::StartNext() {
  if (thread_.joinable() || !next_)
    return;
  auto job = std::make_shared<Running>();
  job->generation = generation_;
  Work work = std::move(*next_);
  next_.reset();
  running_ = job;
  thread_ = std::thread([this, job, work = std::move(work)] {
    Delivery delivery;
    std::exception_ptr error;
    try {
      delivery = work(job->control);
    } catch (...) {
      error = std::current_exception();
    }
    QMetaObject::invokeMethod(
        this,
        [this, job, delivery = std::move(delivery), error]() mutable {
          Ended(job, std::move(delivery), error);
        },
        Qt::QueuedConnection);
  });
  ticker_.start();
  emit Progress(0);
}

void LatestJob::Ended(const std::shared_ptr<Running>& job, Delivery delivery,
                      std::exception_ptr error) {
  thread_.join();
  running_.reset();
  const bool wanted = job->generation == generation_ && !job->control.Cancelled();
  if (next_) {
    StartNext();
    return;
  }
  ticker_.stop();
  if (wanted) {
    if (error) {
      if (onError_)
        onError_(error);
    } else if (delivery) {
      delivery();
    }
  }
  emit Progress(-1);
  if (wanted)
    emit Finished();
}

}  // namespace ui
