// Runs a program the way a shell would, with a given standard input, and
// collects its exit status, standard output and standard error.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace movlex::test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

// A directory of its own for one test, removed at the end.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "movlex-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct ProcessResult {
    int exit_code = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// What a program of the build is started through: nothing natively; in a
// cross build, the emulator (e.g. qemu-user with its options), given as
// MOVLEX_PROGRAM_RUNNER with its words separated by '|'.
inline std::vector<std::string> program_runner() {
    std::vector<std::string> words;
#ifdef MOVLEX_PROGRAM_RUNNER
    std::string_view rest = MOVLEX_PROGRAM_RUNNER;
    while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        words.emplace_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
#endif
    return words;
}

// How standard input reaches the program: from a file, or through a pipe
// (which cannot be read twice).
enum class InputFrom { file, pipe };

// Runs `program` with `arguments`; standard input is `input` when given,
// otherwise empty (/dev/null).
inline ProcessResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::optional<std::string>& input = std::nullopt,
                                 InputFrom from = InputFrom::file) {
    TemporaryDirectory directory;
    const bool piped = input && from == InputFrom::pipe;
    const std::string input_path = input && !piped ? (directory / "stdin").string() : std::string("/dev/null");
    if (input && !piped) write_file(input_path, *input);
    const std::string out_path = (directory / "stdout").string();
    const std::string err_path = (directory / "stderr").string();

    int pipe_fds[2] = {-1, -1};
    if (piped && pipe(pipe_fds) != 0) return {-1, "", "cannot make a pipe"};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (piped) {
        posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], 0);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, input_path.c_str(), O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<std::string> all = program_runner();
    all.push_back(program);
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);

    ProcessResult result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, all.front().c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (piped) {
        // The program's output goes to files, so writing all of the input
        // before waiting cannot block for good; a program that stops reading
        // closes the pipe, which must not end this process.
        close(pipe_fds[0]);
        struct sigaction ignore {}, previous {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &previous);
        for (std::size_t done = 0; spawned == 0 && done < input->size();) {
            const ssize_t wrote = write(pipe_fds[1], input->data() + done, input->size() - done);
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote <= 0) break;
            done += std::size_t(wrote);
        }
        close(pipe_fds[1]);
        sigaction(SIGPIPE, &previous, nullptr);
    }
    if (spawned != 0) {
        result.err = "cannot start " + program;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    result.out = read_file(out_path);
    result.err = read_file(err_path);
    return result;
}

}  // namespace movlex::test
