#pragma once
// Work over a range of items split into contiguous shares, run on threads of
// its own: the one way the windows and the command line spread a calculation
// over the cores. Plain threads, never a shared pool, so that a caller whose
// own thread belongs to a pool (or the GUI thread, whose painting waits on
// Qt's global pool) can never wait on itself.

#include <cstddef>
#include <functional>

namespace engine {

/// The threads a run uses when asked for 0: the machine's cores (at least 1).
unsigned DefaultThreads();

/// Runs `work(first, last)` over [0, count) in contiguous shares of `share`
/// items (the last one shorter), on at most `threads` threads (0: the
/// machine's cores; never more than there are shares), the calling thread
/// among them, and returns when every share has ended. Shares are handed out
/// in order as threads free up, so uneven shares balance. When a share throws,
/// the shares not yet begun are skipped and the first exception is rethrown
/// once every thread has stopped.
void ForEachShare(std::size_t count, std::size_t share, unsigned threads,
                  const std::function<void(std::size_t first, std::size_t last)>& work);

}  // namespace engine
