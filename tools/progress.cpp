#include "progress.hpp"

#include <cstdio>

namespace movlex::cli {

namespace {

std::string megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
    return text;
}

}  // namespace

Progress::~Progress() {
    if (drawn_) std::fputs("\r\033[K", stderr);
}

void Progress::update(std::uint64_t bytes, std::uint64_t rows, std::size_t groups) {
    if (!shown_ || (rows & 1023) != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::string text = "\rmovlex: " + megabytes(bytes);
    if (total_bytes_ > 0) text += " of " + megabytes(total_bytes_);
    text += ", " + std::to_string(std::uint64_t(double(rows) / (seconds > 0 ? seconds : 1))) + " rows/s";
    if (groups > 1) text += ", " + std::to_string(groups) + " groups";
    std::fputs((text + "\033[K").c_str(), stderr);
    drawn_ = true;
}

}  // namespace movlex::cli
