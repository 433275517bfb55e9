// The program with --stream and --by: the same output as the batch
// computation, byte for byte, for every indicator; rows written while the
// input is still open; groups kept apart and written back in input order.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "process.hpp"
#include "sample_request.hpp"

namespace movlex::test {
namespace {

const std::string SAMPLE = MOVLEX_SAMPLE_CSV;
const std::string SMALL = std::string(MOVLEX_FIXTURES) + "/small.csv";

ProcessResult movlex(const std::vector<std::string>& arguments, const std::optional<std::string>& input = std::nullopt) {
    return run_program(MOVLEX_CLI, arguments, input);
}

class StreamOption : public ::testing::TestWithParam<bool> {};

TEST_P(StreamOption, SameOutputAsBatchForEveryIndicator) {
    for (const IndicatorInfo& info : indicator_table()) {
        std::vector<std::string> arguments = {"-i", sample_request(info), "-q", SAMPLE};
        if (!GetParam()) arguments.insert(arguments.begin(), "--no-init");
        const ProcessResult batch = movlex(arguments);
        arguments.insert(arguments.begin(), "--stream");
        const ProcessResult streamed = movlex(arguments);
        ASSERT_EQ(batch.exit_code, 0) << info.name << batch.err;
        EXPECT_EQ(streamed.exit_code, 0) << info.name << streamed.err;
        EXPECT_TRUE(streamed.out == batch.out) << info.name;
    }
}

INSTANTIATE_TEST_SUITE_P(States, StreamOption, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "initialised" : "loaded"; });

// A pipe that stays open: each row comes back before the next is sent.
TEST(StreamOption, WritesEachRowWhileTheInputStaysOpen) {
    int to_child[2], from_child[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(from_child), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_child[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from_child[1], 1);
    posix_spawn_file_actions_addclose(&actions, to_child[1]);
    posix_spawn_file_actions_addclose(&actions, from_child[0]);
    std::vector<std::string> all = program_runner();
    all.insert(all.end(), {MOVLEX_CLI, "--stream", "--no-init", "-i", "sma:period=2", "-"});
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, all.front().c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(to_child[0]);
    close(from_child[1]);

    auto send = [&](const std::string& text) { ASSERT_EQ(write(to_child[1], text.data(), text.size()), ssize_t(text.size())); };
    std::string received;
    auto receive_line = [&]() {
        while (received.find('\n') == std::string::npos) {
            pollfd ready{from_child[0], POLLIN, 0};
            if (poll(&ready, 1, 10000) <= 0) return std::string("(nothing within 10 s)");
            char buffer[256];
            const ssize_t got = read(from_child[0], buffer, sizeof buffer);
            if (got <= 0) return std::string("(end of output)");
            received.append(buffer, std::size_t(got));
        }
        const std::size_t end = received.find('\n');
        std::string line = received.substr(0, end);
        received.erase(0, end + 1);
        return line;
    };

    send("date,close\nd1,10\n");
    EXPECT_EQ(receive_line(), "date,close,sma_2");
    EXPECT_EQ(receive_line(), "d1,10,");
    send("d2,11\n");
    EXPECT_EQ(receive_line(), "d2,11,10.5");
    send("d3,13\n");
    EXPECT_EQ(receive_line(), "d3,13,12");
    close(to_child[1]);
    EXPECT_EQ(receive_line(), "(end of output)");
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(from_child[0]);
}

// Splits the sample into symbols whose rows are interleaved: the result of
// --by equals the result of each symbol's rows alone, row for row.
TEST(ByOption, InterleavedGroupsEqualEachGroupAlone) {
    const std::string sample = read_file(SAMPLE);
    const std::size_t header_end = sample.find('\n');
    const std::string header = sample.substr(0, header_end);
    std::vector<std::string> rows;
    for (std::size_t at = header_end + 1; at < sample.size();) {
        const std::size_t end = sample.find('\n', at);
        rows.push_back(sample.substr(at, end - at));
        at = end + 1;
    }
    // Symbols A, B, C in an irregular interleaving; the empty symbol gets a
    // few rows and D fewer rows than any lookback.
    const std::vector<std::string> symbols = {"A", "B", "A", "C", "A", "B", ""};
    std::string mixed = "symbol," + header + "\n";
    std::map<std::string, std::string> alone;
    std::vector<std::string> order;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string symbol = r < 3 ? "D" : symbols[r % symbols.size()];
        mixed += symbol + "," + rows[r] + "\n";
        if (!alone.count(symbol)) alone[symbol] = "symbol," + header + "\n";
        alone[symbol] += symbol + "," + rows[r] + "\n";
        order.push_back(symbol);
    }
    const std::vector<std::string> requests = {"-i", "rsi", "-i", "adx:period=5", "-i", "stoch", "-i", "tema:period=3"};
    std::vector<std::string> arguments = {"--by", "symbol", "-q"};
    arguments.insert(arguments.end(), requests.begin(), requests.end());
    arguments.push_back("-");
    const ProcessResult together = movlex(arguments, mixed);
    ASSERT_EQ(together.exit_code, 0) << together.err;

    std::map<std::string, std::vector<std::string>> expected_rows;
    for (const auto& [symbol, text] : alone) {
        std::vector<std::string> single = requests;
        single.push_back("-");
        const ProcessResult result = movlex(single, text);
        ASSERT_EQ(result.exit_code, 0) << symbol << ": " << result.err;
        std::size_t at = result.out.find('\n') + 1;
        while (at < result.out.size()) {
            const std::size_t end = result.out.find('\n', at);
            expected_rows[symbol].push_back(result.out.substr(at, end - at));
            at = end + 1;
        }
    }
    std::string expected = together.out.substr(0, together.out.find('\n') + 1);
    std::map<std::string, std::size_t> next;
    for (const std::string& symbol : order) expected += expected_rows[symbol][next[symbol]++] + "\n";
    EXPECT_TRUE(together.out == expected);
    EXPECT_EQ(expected_rows["D"].size(), 3u);
}

TEST(ByOption, UnknownColumnIsAnInputError) {
    const ProcessResult result = movlex({"--by", "ticker", "-i", "sma", SMALL});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("no column 'ticker' for --by"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace movlex::test
