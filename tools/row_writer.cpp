#include "row_writer.hpp"

#include <cerrno>
#include <cstring>

#include "csv_reader.hpp"
#include "indicator_request.hpp"
#include "run_failure.hpp"

namespace movlex::cli {

RowWriter::RowWriter(const std::optional<std::string>& output_path, bool flush_every_row)
    : flush_every_row_(flush_every_row) {
    if (!output_path) {
        file_ = stdout;
        name_ = "standard output";
        return;
    }
    path_ = *output_path;
    partial_ = path_ + ".partial";
    name_ = csv::printable(path_);
    file_ = std::fopen(partial_.c_str(), "wb");
    if (file_ == nullptr) input_error("cannot create " + csv::printable(partial_) + ": " + std::strerror(errno));
}

RowWriter::~RowWriter() {
    if (!partial_.empty() && file_ != nullptr) {
        std::fclose(file_);
        std::remove(partial_.c_str());
    }
}

void RowWriter::write(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || (flush_every_row_ && std::fflush(file_) != 0))
        fail();
}

void RowWriter::finish() {
    if (std::fflush(file_) != 0) fail();
    if (partial_.empty()) return;
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0 || std::rename(partial_.c_str(), path_.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(partial_.c_str());
        input_error("cannot write " + name_ + ": " + reason);
    }
}

void RowWriter::fail() { input_error("cannot write " + name_ + ": " + std::strerror(errno)); }

void append_values(std::string& line, const double* values, int count, bool has_values) {
    for (int o = 0; o < count; ++o) {
        line += ',';
        if (has_values) line += format_number(values[o]);
    }
}

}  // namespace movlex::cli
