// Holds the library initialised for the lifetime of a computation:
// MOVLEX_INIT on entry and MOVLEX_SHUTDOWN on exit, unless told not to.
#pragma once

#include "movlex.h"

namespace movlex::cli {

class LibrarySession {
public:
    explicit LibrarySession(bool initialise) : initialised_(initialise) {
        if (initialised_) MOVLEX_INIT();
    }
    ~LibrarySession() {
        if (initialised_) MOVLEX_SHUTDOWN();
    }
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

private:
    bool initialised_;
};

}  // namespace movlex::cli
