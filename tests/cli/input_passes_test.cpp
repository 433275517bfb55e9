// The batch run reads its input twice, the numbers first and the rows again
// as they are written, and a pipe through a temporary file: the output is
// the same bytes whether the input is a named file, a redirected file or a
// pipe, and the same as --stream's, on the sample and on an input with
// every form of CSV text the reader accepts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process.hpp"

namespace movlex::test {
namespace {

const std::string SAMPLE = MOVLEX_SAMPLE_CSV;

// The sample's first rows as the reader must take them alike: a byte-order
// mark, CRLF, lone CR and LF line ends, blank and all-blank lines, quoted
// fields with commas, quotes and line breaks, blanks around fields, and a
// last row without a line end. With `symbols`, a first column holds A or B,
// interleaved.
std::string awkward_text(bool symbols = false) {
    const std::string sample = read_file(SAMPLE);
    std::vector<std::string> rows;
    for (std::size_t at = sample.find('\n') + 1; at < sample.size() && rows.size() < 60;) {
        const std::size_t end = sample.find('\n', at);
        rows.push_back(sample.substr(at, end - at));
        at = end + 1;
    }
    std::string text = "\xEF\xBB\xBF" + std::string(symbols ? "symbol," : "") + sample.substr(0, sample.find('\n')) +
                       ",note\r\n";
    const char* const notes[] = {"", "\"a, b\"", "\"said \"\"hold\"\"\"", "\"two\nlines\"", "  plain  ", "\"\r\n\""};
    const char* const ends[] = {"\n", "\r\n", "\r", "\n\n", "\r\n  \r\n", "\n\t\n"};
    for (std::size_t r = 0; r < rows.size(); ++r)
        text += std::string(symbols ? (r % 3 == 0 ? "B," : "A,") : "") + rows[r] + "," + notes[r % 6] +
                (r + 1 < rows.size() ? ends[r % 6] : "");
    return text;
}

struct Input {
    const char* name;
    std::string text;
};

TEST(InputPasses, SameBytesFromAFileARedirectedFileAndAPipeInBatchAndStream) {
    TemporaryDirectory directory;
    const std::vector<std::vector<std::string>> requests = {
        {"-i", "sma:period=3", "-i", "bbands:period=5", "-i", "macd", "-i", "wma:period=4,input=open,as=w"},
        {"--scan"},
        {"--scan=period=5"},
    };
    for (const Input& input : {Input{"sample", read_file(SAMPLE)}, Input{"awkward", awkward_text()}}) {
        const std::string path = (directory / input.name).string();
        write_file(path, input.text);
        for (const std::vector<std::string>& request : requests) {
            std::vector<std::string> named = request, from_standard_input = request;
            named.push_back(path);
            from_standard_input.push_back("-");
            const ProcessResult reference = run_program(MOVLEX_CLI, named);
            ASSERT_EQ(reference.exit_code, 0) << input.name << ": " << reference.err;
            std::vector<ProcessResult> others = {
                run_program(MOVLEX_CLI, from_standard_input, input.text, InputFrom::file),
                run_program(MOVLEX_CLI, from_standard_input, input.text, InputFrom::pipe),
            };
            if (request.front() != "--scan" && !request.front().starts_with("--scan=")) {
                named.insert(named.begin(), "--stream");
                from_standard_input.insert(from_standard_input.begin(), "--stream");
                others.push_back(run_program(MOVLEX_CLI, named));
                others.push_back(run_program(MOVLEX_CLI, from_standard_input, input.text, InputFrom::pipe));
            }
            for (std::size_t k = 0; k < others.size(); ++k) {
                EXPECT_EQ(others[k].exit_code, 0) << input.name << " " << request.front() << " #" << k << others[k].err;
                EXPECT_TRUE(others[k].out == reference.out) << input.name << " " << request.front() << " #" << k;
            }
        }
    }
}

// --by from a pipe and from a file; rows of two symbols interleaved.
TEST(InputPasses, ByColumnFromAPipe) {
    const std::string grouped = awkward_text(true);
    TemporaryDirectory directory;
    const std::string path = (directory / "grouped.csv").string();
    write_file(path, grouped);
    const std::vector<std::string> arguments = {"-q", "--by", "symbol", "-i", "rsi:period=3", "-i", "stoch"};
    std::vector<std::string> named = arguments, piped = arguments;
    named.push_back(path);
    piped.push_back("-");
    const ProcessResult from_file = run_program(MOVLEX_CLI, named);
    const ProcessResult from_pipe = run_program(MOVLEX_CLI, piped, grouped, InputFrom::pipe);
    ASSERT_EQ(from_file.exit_code, 0) << from_file.err;
    EXPECT_EQ(from_pipe.exit_code, 0) << from_pipe.err;
    EXPECT_TRUE(from_pipe.out == from_file.out);
    EXPECT_NE(from_file.out.find("\nB,"), std::string::npos);
}

}  // namespace
}  // namespace movlex::test
