#include "input_file.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "run_failure.hpp"

#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace movlex::cli {

namespace {

std::int64_t seek(std::FILE* file, std::int64_t offset, int whence) {
#if defined(_WIN32)
    return _lseeki64(fileno(file), offset, whence);
#else
    return lseek(fileno(file), off_t(offset), whence);
#endif
}

// A temporary file that no other process can name: removed as soon as it is
// created, it lasts while it is open.
std::FILE* unnamed_temporary_file() {
#if defined(_WIN32)
    return std::tmpfile();
#else
    const char* directory = std::getenv("TMPDIR");
    std::string path = std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") + "/movlex-XXXXXX";
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0) return nullptr;
    unlink(path.c_str());
    std::FILE* file = fdopen(descriptor, "w+b");
    if (file == nullptr) close(descriptor);
    return file;
#endif
}

}  // namespace

std::string bundled_sample() {
    std::filesystem::path program;
#if defined(_WIN32)
    std::wstring name(32768, L'\0');
    name.resize(GetModuleFileNameW(nullptr, name.data(), DWORD(name.size())));
    program = name;
#else
    std::error_code ignored;
    program = std::filesystem::read_symlink("/proc/self/exe", ignored);
#endif
    return (program.parent_path() / MOVLEX_SAMPLE_FROM_PROGRAM).lexically_normal().string();
}

InputFile::InputFile(const std::optional<std::string>& path) {
    if (path && *path == "-") {
        file_ = stdin;
        name_ = "standard input";
    } else {
        const std::string opened = path ? *path : bundled_sample();
        file_ = std::fopen(opened.c_str(), "rb");
        if (file_ == nullptr) {
            const std::string reason = std::strerror(errno);
            input_error(path ? "cannot open " + csv::printable(opened) + ": " + reason
                             : "cannot open the bundled sample " + opened + ": " + reason);
        }
        owned_ = true;
        name_ = csv::printable(opened);
    }
    struct stat status {};
    if (fstat(fileno(file_), &status) == 0 && S_ISREG(status.st_mode)) {
        const std::int64_t start = seek(file_, 0, SEEK_CUR);
        regular_ = start >= 0;
        start_ = start;
        size_ = regular_ ? std::uint64_t(status.st_size - start) : 0;
    }
}

InputFile::~InputFile() {
    if (owned_) std::fclose(file_);
}

void InputFile::make_rereadable() {
    if (regular_) return;
    std::FILE* spool = unnamed_temporary_file();
    if (spool == nullptr) input_error("cannot create a temporary file for " + name_ + ": " + std::strerror(errno));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fileno(file_), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const std::string reason = std::strerror(errno);
            std::fclose(spool);
            input_error("cannot read " + name_ + ": " + reason);
        }
        if (got == 0) break;
        if (std::fwrite(chunk, 1, std::size_t(got), spool) != std::size_t(got)) {
            const std::string reason = std::strerror(errno);
            std::fclose(spool);
            input_error("cannot copy " + name_ + " to a temporary file: " + reason);
        }
        size_ += std::uint64_t(got);
    }
    if (std::fflush(spool) != 0) {
        const std::string reason = std::strerror(errno);
        std::fclose(spool);
        input_error("cannot copy " + name_ + " to a temporary file: " + reason);
    }
    if (owned_) std::fclose(file_);
    file_ = spool;
    owned_ = true;
    regular_ = true;
    start_ = 0;
    rewind();
}

void InputFile::rewind() {
    if (seek(file_, start_, SEEK_SET) != start_) input_error("cannot read " + name_ + " again: " + std::strerror(errno));
}

bool Records::next(csv::Record& record) {
    std::variant<bool, csv::Error> got = stream_.next(record);
    if (const csv::Error* error = std::get_if<csv::Error>(&got)) input_error(input_.name() + ": " + error->describe());
    return std::get<bool>(got);
}

csv::Table Records::header() {
    csv::Table table;
    if (!next(table.header)) input_error(input_.name() + ": the input is empty (no header line)");
    return table;
}

bool Records::next_row(const csv::Table& table, csv::Record& row) {
    if (!next(row)) return false;
    if (row.fields.size() != table.header.fields.size())
        input_error(input_.name() + ": " +
                    csv::Error{row.line, csv::field_count_mismatch(row.fields.size(), table.header.fields.size())}
                        .describe());
    return true;
}

}  // namespace movlex::cli
