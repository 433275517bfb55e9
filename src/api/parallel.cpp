#include "api/parallel.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace movlex {

unsigned hardware_threads() { return std::max(1u, std::thread::hardware_concurrency()); }

namespace {

// The items not yet handed out, and the first failure.
class WorkQueue {
public:
    WorkQueue(std::size_t count, const std::function<void(std::size_t)>& body) : count_(count), body_(body) {}

    void drain() {
        for (std::size_t i = next_++; i < count_; i = next_++) {
            try {
                body_(i);
            } catch (...) {
                std::lock_guard lock(failure_mutex_);
                if (!failure_) failure_ = std::current_exception();
                next_ = count_;
            }
        }
    }

    void rethrow_failure() const {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    const std::size_t count_;
    const std::function<void(std::size_t)>& body_;
    std::atomic<std::size_t> next_{0};
    std::mutex failure_mutex_;
    std::exception_ptr failure_;
};

}  // namespace

void parallel_for(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body) {
    if (threads == 0) threads = hardware_threads();
    const std::size_t helpers = std::min<std::size_t>(threads, count) - (count > 0 ? 1 : 0);
    WorkQueue queue(count, body);
    {
        std::vector<std::jthread> workers;
        workers.reserve(helpers);
        for (std::size_t t = 0; t < helpers; ++t) workers.emplace_back([&queue] { queue.drain(); });
        queue.drain();
    }  // joins the workers
    queue.rethrow_failure();
}

}  // namespace movlex
