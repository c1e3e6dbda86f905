#include "engine/shares.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace engine {

unsigned DefaultThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}

void ForEachShare(std::size_t count, std::size_t share, unsigned threads,
                  const std::function<void(std::size_t, std::size_t)>& work) {
  if (count == 0)
    return;
  share = std::max<std::size_t>(1, share);
  const std::size_t shares = (count + share - 1) / share;
  const std::size_t wanted = threads == 0 ? DefaultThreads() : threads;
  const std::size_t used = std::min(shares, wanted);
  if (used == 1) {
    for (std::size_t first = 0; first < count; first += share)
      work(first, std::min(count, first + share));
    return;
  }
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::exception_ptr error;
  std::mutex errorLock;
  const auto run = [&] {
    for (std::size_t s = next.fetch_add(1); s < shares && !failed.load(); s = next.fetch_add(1)) {
      try {
        work(s * share, std::min(count, (s + 1) * share));
      } catch (...) {
        const std::lock_guard<std::mutex> lock(errorLock);
        if (!error)
          error = std::current_exception();
        failed = true;
      }
    }
  };
  std::vector<std::thread> helpers;
  helpers.reserve(used - 1);
  try {
    for (std::size_t t = 1; t < used; ++t)
      helpers.emplace_back(run);
  } catch (...) {
    // No thread to be had: the threads started, and this one, do the work.
  }
  run();
  for (std::thread& helper : helpers)
    helper.join();
  if (error)
    std::rethrow_exception(error);
}

}  // namespace engine
