// Runs independent pieces of work (one series each, say) on several threads.
#pragma once

#include <cstddef>
#include <functional>

namespace movlex {

// The number of hardware threads, at least 1.
unsigned hardware_threads();

// Calls body(i) once for every i in 0..count-1 on up to `threads` threads,
// the calling thread among them, and returns when every call has returned.
// The other threads come from the library's pool, which keeps them between
// calls and starts more when a call wants more than are idle (when none can
// be started, the calling thread does the rest). Each thread takes the items
// of its own contiguous share one at a time in increasing order, then the
// next items of the other shares, so uneven items balance themselves and
// neighbouring items mostly run on one thread. threads = 0
// means hardware_threads(). An exception thrown by body stops the hand-out
// and is rethrown here (the first one) once every thread has finished with
// this call. Several threads may call it at once.
void parallel_for(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body);

}  // namespace movlex
