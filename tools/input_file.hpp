// The input of a run: a named file, standard input ("-"), or the bundled
// sample when no file is given; read record by record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "csv_reader.hpp"

namespace movlex::cli {

// The bundled sample's path: beside the program in the build tree, under
// share/movlex where both are installed.
std::string bundled_sample();

class InputFile {
public:
    // No path: the bundled sample; "-": standard input.
    explicit InputFile(const std::optional<std::string>& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& name() const { return name_; }  // for messages
    bool regular() const { return regular_; }          // a regular file, whose size is known
    std::uint64_t size() const { return size_; }
    std::FILE* file() const { return file_; }

    // Makes the input readable from its start again: a pipe, terminal or
    // anything else that is not a regular file is first copied to an
    // unnamed temporary file (in TMPDIR), which is read instead.
    void make_rereadable();
    // Back to the first byte, for another pass.
    void rewind();

private:
    std::FILE* file_ = nullptr;
    bool owned_ = false;
    std::string name_;
    bool regular_ = false;
    std::uint64_t size_ = 0;
    std::int64_t start_ = 0;  // where the input begins (standard input may be a file read in part)
};

// The records of an input, each read as it is needed; a malformed record
// ends the run with the input's name and the line.
class Records {
public:
    explicit Records(const InputFile& input) : input_(input), stream_(input.file()) {}

    bool next(csv::Record& record);
    // The header: the first record; an input without one ends the run.
    csv::Table header();
    // A data row with as many fields as the header, or the run ends.
    bool next_row(const csv::Table& table, csv::Record& row);
    std::uint64_t bytes_read() const { return stream_.bytes_read(); }

private:
    const InputFile& input_;
    csv::RecordStream stream_;
};

}  // namespace movlex::cli
