#include "api/parallel.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace movlex {

unsigned hardware_threads() { return std::max(1u, std::thread::hardware_concurrency()); }

namespace {

// The items of one parallel_for not yet handed out, and its first failure.
// The items are cut into one contiguous share per thread: a thread takes the
// items of its own share in increasing order, then helps with the others'
// shares (taking their next items), so uneven items and threads that start
// late still balance. Neighbouring items usually touch neighbouring memory
// (the rows of one array), so a thread mostly works on memory of its own: the
// pages it is first to write, which the system clears for it, and the lines
// it brings into its cache.
class WorkQueue {
public:
    WorkQueue(std::size_t count, std::size_t shares, const std::function<void(std::size_t)>& body)
        : shares_(std::max<std::size_t>(shares, 1)), body_(body) {
        for (std::size_t s = 0; s < shares_.size(); ++s) {
            shares_[s].next = count * s / shares_.size();
            shares_[s].end = count * (s + 1) / shares_.size();
        }
    }

    void drain() {
        const std::size_t own = joined_++ % shares_.size();
        for (std::size_t k = 0; k < shares_.size(); ++k) {
            Share& share = shares_[(own + k) % shares_.size()];
            for (std::size_t i = share.next++; i < share.end; i = share.next++) {
                try {
                    body_(i);
                } catch (...) {
                    std::lock_guard lock(failure_mutex_);
                    if (!failure_) failure_ = std::current_exception();
                    for (Share& stopped : shares_) stopped.next = stopped.end;
                }
            }
        }
    }

    void rethrow_failure() const {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    // A share's next item and its end, on a cache line of their own.
    struct alignas(64) Share {
        std::atomic<std::size_t> next{0};
        std::size_t end = 0;
    };

    std::vector<Share> shares_;
    const std::function<void(std::size_t)>& body_;
    std::atomic<std::size_t> joined_{0};
    std::mutex failure_mutex_;
    std::exception_ptr failure_;
};

// A call's request for helpers: `wanted` more workers may join its queue;
// `working` of them are draining it now.
struct Job {
    WorkQueue* queue;
    std::size_t wanted;
    std::size_t working = 0;
};

// The library's worker threads, kept between calls and started as calls need
// them. Workers sleep while no call wants help; a call's helpers join it only
// while it still has items, and a call returns once its helpers have left.
class ThreadPool {
public:
    ~ThreadPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        for (auto& worker : workers_) worker.join();
    }

    void run(WorkQueue& queue, std::size_t helpers) {
        Job job{&queue, helpers};
        {
            std::lock_guard lock(mutex_);
            start_workers(helpers);
            jobs_.push_back(&job);
        }
        work_.notify_all();
        queue.drain();
        std::unique_lock lock(mutex_);
        // Helpers that have not joined yet are not needed any more.
        std::erase(jobs_, &job);
        left_.wait(lock, [&job] { return job.working == 0; });
    }

private:
    // Enough idle workers for `helpers` more; fewer when no thread can be
    // started, in which case the caller does the rest itself.
    void start_workers(std::size_t helpers) {
        while (idle_ < helpers && workers_.size() < MAX_WORKERS) {
            try {
                workers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                return;
            }
            ++idle_;
        }
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) return;
            Job* job = jobs_.front();
            if (--job->wanted == 0) jobs_.pop_front();
            ++job->working;
            --idle_;
            lock.unlock();
            job->queue->drain();
            lock.lock();
            ++idle_;
            if (--job->working == 0) left_.notify_all();
        }
    }

    static constexpr std::size_t MAX_WORKERS = 1024;

    std::mutex mutex_;
    std::condition_variable work_;  // a job wants helpers, or the pool stops
    std::condition_variable left_;  // a helper has left its job
    std::deque<Job*> jobs_;
    std::vector<std::thread> workers_;  // started before `idle_` counts them
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

// The pool of this process. A child made by fork() has none of its parent's
// threads and starts a pool of its own. On Windows the pool is never torn
// down: at exit its threads are already gone, and a DLL may not wait for
// threads while it unloads.
ThreadPool& thread_pool() {
#if defined(_WIN32)
    static ThreadPool* pool = new ThreadPool;
    return *pool;
#else
    static std::mutex mutex;
    static std::unique_ptr<ThreadPool> pool;
    static pid_t owner = 0;
    std::lock_guard lock(mutex);
    if (pool == nullptr || owner != getpid()) {
        if (pool != nullptr) (void)pool.release();  // the parent's: its threads are not ours
        pool = std::make_unique<ThreadPool>();
        owner = getpid();
    }
    return *pool;
#endif
}

}  // namespace

void parallel_for(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body) {
    if (threads == 0) threads = hardware_threads();
    const std::size_t helpers = std::min<std::size_t>(threads, count) - (count > 0 ? 1 : 0);
    WorkQueue queue(count, helpers + 1, body);
    if (helpers == 0)
        queue.drain();
    else
        thread_pool().run(queue, helpers);
    queue.rethrow_failure();
}

}  // namespace movlex
