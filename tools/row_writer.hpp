// Where the output goes: standard output, or FILE.partial renamed over FILE
// once the output is complete, so that FILE never holds a partial result.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace movlex::cli {

class RowWriter {
public:
    // `flush_every_row`: each write reaches the output at once (for a reader
    // following a live input).
    RowWriter(const std::optional<std::string>& output_path, bool flush_every_row);
    ~RowWriter();  // without finish(): FILE.partial is removed
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void write(const std::string& text);
    void finish();

private:
    [[noreturn]] void fail();

    std::FILE* file_ = nullptr;
    std::string name_, path_, partial_;
    bool flush_every_row_;
};

// Appends ",VALUE" per output, or "," alone where there is no value.
void append_values(std::string& line, const double* values, int count, bool has_values);

}  // namespace movlex::cli
