// The one class of background work: the latest job's result is delivered on
// the GUI thread, an older or cancelled job's never; jobs never overlap; the
// progress is read while a job runs; an error reaches the handler.

#include "ui/common/latest_job.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ui {
namespace {

/// Work that runs until cancelled or released, then returns `value`.
struct Gate {
  std::atomic<bool> open{false};
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
};

std::function<int(JobControl&)> Held(Gate& gate, int value) {
  return [&gate, value](JobControl& control) {
    const int now = gate.running.fetch_add(1) + 1;
    int most = gate.mostAtOnce.load();
    while (now > most && !gate.mostAtOnce.compare_exchange_weak(most, now)) {
    }
    while (!gate.open.load() && !control.Cancelled())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    gate.running.fetch_sub(1);
    return value;
  };
}

TEST(LatestJob, DeliversOnlyTheLatestJobOnTheGuiThread) {
  LatestJob job;
  Gate gate;
  std::vector<int> delivered;
  std::thread::id deliveredOn;
  std::thread::id workedOn;
  for (int value = 1; value <= 4; ++value)
    job.Start(Held(gate, value), [&](int v) {
      delivered.push_back(v);
      deliveredOn = std::this_thread::get_id();
    });
  job.Start(
      [&](JobControl&) {
        workedOn = std::this_thread::get_id();
        return 5;
      },
      [&](int v) {
        delivered.push_back(v);
        deliveredOn = std::this_thread::get_id();
      });
  QTRY_VERIFY(!job.Busy());
  EXPECT_EQ(delivered, std::vector<int>{5});
  EXPECT_EQ(deliveredOn, std::this_thread::get_id());
  EXPECT_NE(workedOn, std::this_thread::get_id());
  EXPECT_EQ(gate.mostAtOnce.load(), 1);  // the cancelled ones never ran beside another
}

TEST(LatestJob, CancelDeliversNothingAndEndsWithinATenthOfASecond) {
  LatestJob job;
  Gate gate;
  bool delivered = false;
  std::vector<int> progress;
  QObject::connect(&job, &LatestJob::Progress, [&](int permille) { progress.push_back(permille); });
  job.Start(Held(gate, 1), [&](int) { delivered = true; });
  QTest::qWait(120);
  ASSERT_TRUE(job.Busy());
  QElapsedTimer timer;
  timer.start();
  job.Cancel();
  while (job.Busy() && timer.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_LT(timer.elapsed(), 100);
  QCoreApplication::processEvents();
  EXPECT_FALSE(delivered);
  ASSERT_GE(progress.size(), 2u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), -1);
}

TEST(LatestJob, ReportsProgressWhileRunning) {
  LatestJob job;
  std::atomic<bool> release{false};
  std::vector<int> progress;
  QObject::connect(&job, &LatestJob::Progress, [&](int permille) { progress.push_back(permille); });
  job.StartVoid(
      [&](JobControl& control) {
        control.SetProgress(0.25);
        while (!release.load())
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      },
      [] {});
  QTRY_VERIFY(std::find(progress.begin(), progress.end(), 250) != progress.end());
  release = true;
  QTRY_VERIFY(!job.Busy());
  EXPECT_EQ(progress.back(), -1);
}

TEST(LatestJob, AnErrorGoesToTheHandlerAndNothingIsDelivered) {
  LatestJob job;
  std::string message;
  bool delivered = false;
  job.SetErrorHandler([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      message = e.what();
    }
  });
  job.Start([](JobControl&) -> int { throw std::runtime_error("no memory"); },
            [&](int) { delivered = true; });
  QTRY_VERIFY(!job.Busy());
  EXPECT_EQ(message, "no memory");
  EXPECT_FALSE(delivered);
}

TEST(LatestJob, DestroyedWhileRunningWaitsAndDeliversNothing) {
  Gate gate;
  bool delivered = false;
  {
    LatestJob job;
    job.Start(Held(gate, 1), [&](int) { delivered = true; });
    QTest::qWait(20);
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(delivered);
  EXPECT_EQ(gate.running.load(), 0);
}

}  // namespace
}  // namespace ui
