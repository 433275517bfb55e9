// Bytes read, rows per second and groups seen, on standard error at most four
// times a second while a long input is computed row by row.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace movlex::cli {

class Progress {
public:
    // Nothing is drawn unless `shown`; `total_bytes` is 0 when unknown.
    Progress(bool shown, std::uint64_t total_bytes) : shown_(shown), total_bytes_(total_bytes) {}
    ~Progress();  // clears the line it drew
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void update(std::uint64_t bytes, std::uint64_t rows, std::size_t groups);

private:
    bool shown_;
    std::uint64_t total_bytes_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = start_;
};

}  // namespace movlex::cli
