// Runs independent pieces of work (one series each, say) on several threads.
#pragma once

#include <cstddef>
#include <functional>

namespace movlex {

// The number of hardware threads, at least 1.
unsigned hardware_threads();

// Calls body(i) once for every i in 0..count-1 on up to `threads` threads,
// the calling thread among them, and returns when every call has returned.
// Items are handed out one at a time in increasing order, so uneven items
// balance themselves. threads = 0 means hardware_threads(). An exception
// thrown by body stops the hand-out and is rethrown here (the first one)
// once every thread has finished.
void parallel_for(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body);

}  // namespace movlex
