// The program keeps its memory bounded. With --by its peak resident size on a
// few symbols does not grow with the number of rows; in batch mode it holds
// the numbers of the columns read and the results, not the rows' text. The rows are generated
// into a pipe as the program reads them, so that this process stays small
// (a child's peak size counts the parent's size at the moment it started).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace movlex::test {
namespace {

constexpr int SYMBOLS = 5;

// `rows` bars of SYMBOLS interleaved symbols, each a random walk in cents.
class RowSource {
public:
    std::string header() const { return "date,symbol,open,high,low,close,volume\n"; }

    // The text of rows [first, first + count).
    std::string rows(std::uint64_t first, std::uint64_t count) {
        std::string text;
        char line[128];
        for (std::uint64_t r = first; r < first + count; ++r) {
            const int symbol = int(r % SYMBOLS);
            long& close = close_[symbol];
            const long open = close;
            close = std::max(100L, close + next(-50, 50));
            const long high = std::max(open, close) + next(0, 30);
            const long low = std::max(1L, std::min(open, close) - next(0, 30));
            const int length = std::snprintf(line, sizeof line, "%llu,SYM%d,%ld.%02ld,%ld.%02ld,%ld.%02ld,%ld.%02ld,%ld\n",
                                             (unsigned long long)(r / SYMBOLS), symbol, open / 100, open % 100, high / 100,
                                             high % 100, low / 100, low % 100, close / 100, close % 100, next(1000, 99999));
            text.append(line, std::size_t(length));
        }
        return text;
    }

private:
    long next(long low, long high) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return low + long((state_ >> 33) % std::uint64_t(high - low + 1));
    }

    std::uint64_t state_ = 42;
    long close_[SYMBOLS] = {10000, 2500, 40000, 777, 123456};
};

bool write_all(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += std::size_t(wrote);
    }
    return true;
}

struct MeasuredRun {
    int exit_code = -1;
    long peak_kilobytes = 0;
};

// Runs the program on `rows` generated rows read from standard input, its
// output thrown away, and measures its peak resident size.
MeasuredRun run_on_generated_rows(const std::vector<std::string>& arguments, std::uint64_t rows) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return {};
    fcntl(pipe_fds[1], F_SETFD, FD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], 0);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> all = {MOVLEX_CLI};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, MOVLEX_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_fds[0]);
    if (spawned != 0) {
        close(pipe_fds[1]);
        return {};
    }

    // A program that stops reading must not end this one with SIGPIPE.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    RowSource source;
    bool open = write_all(pipe_fds[1], source.header());
    constexpr std::uint64_t BATCH = 4096;
    for (std::uint64_t first = 0; open && first < rows; first += BATCH)
        open = write_all(pipe_fds[1], source.rows(first, std::min(BATCH, rows - first)));
    close(pipe_fds[1]);
    sigaction(SIGPIPE, &previous, nullptr);

    MeasuredRun run;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    run.peak_kilobytes = usage.ru_maxrss;
    return run;
}

// Why a measured peak would not be the program's own, or nothing.
const char* peak_is_not_the_programs_own() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers keep freed memory aside (AddressSanitizer's quarantine)
    // and shadow all of it: peak memory then grows with the work done.
    return "peak memory is not the program's own under a sanitizer";
#endif
#ifdef MOVLEX_PROGRAM_RUNNER
    // Under an emulator the peak is the emulator's.
    return "peak memory is not the program's own under an emulator";
#endif
    return nullptr;
}

// 200,000 rows are about 9 MB of text and 800,000 about 37 MB: a program that
// kept the input, or anything per row, would pass the bound on the larger one
// or grow between the two.
TEST(ByOption, PeakMemoryDoesNotGrowWithTheRows) {
    if (const char* reason = peak_is_not_the_programs_own()) GTEST_SKIP() << reason;
    const std::vector<std::string> arguments = {"--by", "symbol", "-q", "-i", "rsi", "-i", "adx", "-"};
    constexpr long BOUND_KILOBYTES = 32 * 1024;
    constexpr long GROWTH_KILOBYTES = 2 * 1024;
    const MeasuredRun shorter = run_on_generated_rows(arguments, 200'000);
    const MeasuredRun longer = run_on_generated_rows(arguments, 800'000);
    ASSERT_EQ(shorter.exit_code, 0);
    ASSERT_EQ(longer.exit_code, 0);
    EXPECT_LT(shorter.peak_kilobytes, BOUND_KILOBYTES);
    EXPECT_LT(longer.peak_kilobytes, BOUND_KILOBYTES);
    EXPECT_LT(longer.peak_kilobytes, shorter.peak_kilobytes + GROWTH_KILOBYTES)
        << "peak " << shorter.peak_kilobytes << " kB on 200,000 rows, " << longer.peak_kilobytes << " kB on 800,000";
}

// 800,000 rows (about 37 MB of text) read from a pipe: rsi and adx read the
// close, high and low and write two columns, 5 doubles a row, 32 MB. Keeping
// the rows as text would take ten times that.
TEST(BatchRun, PeakMemoryIsTheNumbersNotTheText) {
    if (const char* reason = peak_is_not_the_programs_own()) GTEST_SKIP() << reason;
    constexpr std::uint64_t ROWS = 800'000;
    constexpr long DOUBLES_KILOBYTES = long(5 * ROWS * sizeof(double) / 1024);
    const MeasuredRun run = run_on_generated_rows({"-q", "-i", "rsi", "-i", "adx", "-"}, ROWS);
    ASSERT_EQ(run.exit_code, 0);
    EXPECT_LT(run.peak_kilobytes, 2 * DOUBLES_KILOBYTES + 16 * 1024)
        << "peak " << run.peak_kilobytes << " kB for " << DOUBLES_KILOBYTES << " kB of doubles";
}

}  // namespace
}  // namespace movlex::test
