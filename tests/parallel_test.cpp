// parallel_for: every item exactly once, on as many threads as asked, and
// the first failure reported after every thread has stopped.
#include "api/parallel.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace movlex {
namespace {

TEST(ParallelFor, CallsEveryItemOnceWhateverTheThreadCount) {
    for (std::size_t count : {0u, 1u, 2u, 7u, 1000u}) {
        for (unsigned threads : {0u, 1u, 2u, 3u, 16u}) {
            std::vector<std::atomic<int>> calls(count);
            parallel_for(count, threads, [&](std::size_t i) { ++calls[i]; });
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(calls[i].load(), 1) << "item " << i << " of " << count << ", " << threads << " threads";
        }
    }
}

TEST(ParallelFor, UsesTheThreadsAskedForAndNoMore) {
    std::mutex mutex;
    std::set<std::thread::id> seen;
    std::atomic<int> waiting{0};
    parallel_for(3, 3, [&](std::size_t) {
        // Each item waits until all three have started, so three threads must run them.
        ++waiting;
        while (waiting.load() < 3) std::this_thread::yield();
        std::lock_guard lock(mutex);
        seen.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen.count(std::this_thread::get_id())) << "the caller works too";

    seen.clear();
    parallel_for(50, 1, [&](std::size_t) {
        std::lock_guard lock(mutex);
        seen.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(seen, std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST(ParallelFor, RethrowsTheFailureAndStopsHandingOut) {
    // On one thread no item is handed out after the failure.
    std::atomic<int> calls{0};
    EXPECT_THROW(parallel_for(100000, 1,
                              [&](std::size_t i) {
                                  ++calls;
                                  if (i == 10) throw std::runtime_error("item 10");
                              }),
                 std::runtime_error);
    EXPECT_EQ(calls.load(), 11);
    // On several, the failure still reaches the caller (how many items the
    // others finish meanwhile depends on how long unwinding takes).
    EXPECT_THROW(parallel_for(100000, 2,
                              [&](std::size_t i) {
                                  if (i == 10) throw std::runtime_error("item 10");
                              }),
                 std::runtime_error);
}

}  // namespace
}  // namespace movlex
