// The share splitter: every item exactly once, in shares of the asked size,
// on no more threads than asked, and a share's exception brought back.

#include "engine/shares.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "test_names.h"

namespace engine {
namespace {

struct ShareCase {
  const char* name;
  std::size_t count;
  std::size_t share;
  unsigned threads;
  std::size_t shares;       ///< how many calls of the work
  std::size_t mostThreads;  ///< the most distinct threads that may take part
};

const ShareCase kShareCases[] = {
    {"nothing to do", 0, 8, 2, 0, 0},        {"one share on the calling thread", 5, 8, 2, 1, 1},
    {"exact shares", 64, 8, 2, 8, 2},        {"a short last share", 65, 8, 2, 9, 2},
    {"one item per share", 7, 1, 3, 7, 3},   {"a share of zero taken as one", 3, 0, 2, 3, 2},
    {"one thread asked", 100, 10, 1, 10, 1}, {"more threads than shares", 20, 10, 8, 2, 2},
};

class ForEachShareTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ForEachShareTest, EveryItemOnceInContiguousShares) {
  const ShareCase& c = GetParam();
  std::vector<std::atomic<int>> seen(c.count);
  std::mutex lock;
  std::set<std::thread::id> threads;
  std::size_t calls = 0;
  ForEachShare(c.count, c.share, c.threads, [&](std::size_t first, std::size_t last) {
    ASSERT_LT(first, last);
    ASSERT_LE(last, c.count);
    EXPECT_LE(last - first, std::max<std::size_t>(1, c.share));
    // Every share but the last is whole.
    if (last != c.count) {
      EXPECT_EQ(last - first, std::max<std::size_t>(1, c.share));
    }
    for (std::size_t i = first; i < last; ++i)
      seen[i].fetch_add(1);
    const std::lock_guard<std::mutex> guard(lock);
    threads.insert(std::this_thread::get_id());
    ++calls;
  });
  for (std::size_t i = 0; i < c.count; ++i)
    EXPECT_EQ(seen[i].load(), 1) << "item " << i;
  EXPECT_EQ(calls, c.shares);
  EXPECT_LE(threads.size(), c.mostThreads);
  if (c.shares == 1) {
    EXPECT_EQ(*threads.begin(), std::this_thread::get_id());
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ForEachShareTest, ::testing::ValuesIn(kShareCases),
                         [](const auto& info) {
                           return test_names::SanitizedName(info.param.name);
                         });

TEST(ForEachShare, RethrowsTheFirstErrorAndSkipsSharesNotBegun) {
  std::atomic<std::size_t> calls{0};
  // Each share takes a millisecond, so that the failure is seen long before
  // the 200 shares could all have run.
  EXPECT_THROW(ForEachShare(200, 1, 2,
                            [&](std::size_t first, std::size_t) {
                              calls.fetch_add(1);
                              if (first == 3)
                                throw std::runtime_error("share 3");
                              std::this_thread::sleep_for(std::chrono::milliseconds(1));
                            }),
               std::runtime_error);
  EXPECT_LT(calls.load(), 50u);
  EXPECT_GE(calls.load(), 4u);
}

TEST(ForEachShare, UsesAThreadOfItsOwnBesideTheCaller) {
  if (DefaultThreads() < 2)
    GTEST_SKIP() << "one core";
  // Two shares that each wait for the other: they can only end when both run at once.
  std::atomic<int> arrived{0};
  ForEachShare(2, 1, 2, [&](std::size_t, std::size_t) {
    arrived.fetch_add(1);
    while (arrived.load() < 2)
      std::this_thread::yield();
  });
  EXPECT_EQ(arrived.load(), 2);
}

}  // namespace
}  // namespace engine
