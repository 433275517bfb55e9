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

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

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

// The pool is shared: calls from several threads at once each get every item
// once.
TEST(ParallelFor, CallsFromSeveralThreadsAtOnce) {
    constexpr int callers = 4;
    constexpr std::size_t count = 2000;
    std::vector<std::vector<std::atomic<int>>> calls;
    for (int c = 0; c < callers; ++c) calls.emplace_back(count);
    std::vector<std::thread> threads;
    for (int c = 0; c < callers; ++c)
        threads.emplace_back([&, c] {
            for (int round = 0; round < 20; ++round)
                parallel_for(count / 20, 3, [&](std::size_t i) { ++calls[std::size_t(c)][std::size_t(round) * (count / 20) + i]; });
        });
    for (auto& thread : threads) thread.join();
    for (int c = 0; c < callers; ++c)
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(calls[std::size_t(c)][i].load(), 1) << "caller " << c << " item " << i;
}

#if !defined(_WIN32)
// A child made by fork() has none of its parent's pool threads, yet every
// item of its calls is done and none of them waits for those threads.
TEST(ParallelFor, WorksInAForkedChild) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "fork() of a threaded process under ThreadSanitizer";
#endif
#if defined(MOVLEX_TESTS_EMULATED)
    GTEST_SKIP() << "qemu-user does not fork a process that has threads reliably";
#endif
    parallel_for(8, 2, [](std::size_t) {});  // the parent's pool has a thread now
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::atomic<int> calls{0};
        parallel_for(1000, 2, [&](std::size_t) { ++calls; });
        _exit(calls.load() == 1000 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
}  // namespace movlex
