#pragma once
// Long work off the GUI thread, the one way the program runs it. A job runs
// on a thread of its own (never Qt's global pool, on which the GUI thread's
// painting waits), writes its progress where the GUI thread reads it, and
// stops soon after it is cancelled. Asking for a job cancels the one running;
// its result reaches the GUI thread only while it is still the latest job
// asked for, so a window never shows the result of another state.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace ui {

/// What a running job sees of the world: whether it is still wanted, and
/// where it writes how far it has come.
class JobControl {
 public:
  /// True once the job was cancelled or a newer one was asked for. The work
  /// asks at least every 0.1 s and, when true, returns what it has (it will
  /// not be delivered).
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
  /// The complement, in the form the engine's callbacks take.
  std::function<bool()> KeepGoing() const {
    return [this] { return !Cancelled(); };
  }
  /// How far the work has come, a fraction in [0, 1] (clamped).
  void SetProgress(double done);
  /// The progress in thousandths, as last set.
  int Permille() const { return permille_.load(std::memory_order_relaxed); }

 private:
  friend class LatestJob;
  std::atomic<bool> cancelled_{false};
  std::atomic<int> permille_{0};
};

class LatestJob : public QObject {
  Q_OBJECT

 public:
  explicit LatestJob(QObject* parent = nullptr);
  /// Cancels the job running and waits for its thread; nothing is delivered.
  ~LatestJob() override;

  /// Asks for `work(control)` to run on the job's thread; the job running,
  /// if any, is cancelled, and a job still waiting to start is dropped. Its
  /// result goes to `deliver` on the GUI thread, unless it was cancelled or a
  /// newer job was asked for meanwhile. What `work` throws goes to the error
  /// handler (SetErrorHandler) under the same condition.
  template <typename Work, typename Deliver>
  void Start(Work work, Deliver deliver) {
    using Result = std::invoke_result_t<Work&, JobControl&>;
    Run([work = std::move(work),
         deliver = std::move(deliver)](JobControl& control) mutable -> std::function<void()> {
      auto result = std::make_shared<Result>(work(control));
      return [deliver, result]() mutable { deliver(std::move(*result)); };
    });
  }
  /// A job without a result (`work` returns nothing; `done` runs on the GUI
  /// thread when it ended without being cancelled or replaced).
  void StartVoid(std::function<void(JobControl&)> work, std::function<void()> done);

  /// Cancels the job running and drops one waiting: nothing more is delivered
  /// until the next Start.
  void Cancel();
  /// Whether a job is running or waiting to start.
  bool Busy() const { return thread_.joinable() || next_.has_value(); }
  /// Where a job's exception goes (on the GUI thread); by default it is
  /// dropped, and the job counts as not delivered.
  void SetErrorHandler(std::function<void(std::exception_ptr)> handler) {
    onError_ = std::move(handler);
  }

 signals:
  /// A job started (0), went on (thousandths, every 50 ms while it runs), or
  /// the last job asked for has ended and none waits (-1).
  void Progress(int permille);
  /// The latest job ended and was delivered (or failed); none waits.
  void Finished();

 private:
  using Delivery = std::function<void()>;
  using Work = std::function<Delivery(JobControl&)>;
  struct Running;
  void Run(Work work);
  void StartNext();
  void Ended(const std::shared_ptr<Running>& job, Delivery delivery, std::exception_ptr error);

  std::uint64_t generation_ = 0;  ///< counts the jobs asked for
  std::optional<Work> next_;      ///< the job to start once the running one ends
  std::shared_ptr<Running> running_;
  std::thread thread_;
  QTimer ticker_;
  std::function<void(std::exception_ptr)> onError_;
};

}  // namespace ui
