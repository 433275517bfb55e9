// The README shows the C example and the tool's help as they are; the manual
// page describes every option of the help.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "process.hpp"

namespace movlex::test {
namespace {

const std::string README = read_file(std::string(MOVLEX_SOURCE_DIR) + "/README.md");

TEST(Readme, ShowsTheCExampleAsCompiled) {
    const std::string example = read_file(std::string(MOVLEX_SOURCE_DIR) + "/examples/sma_example.c");
    ASSERT_FALSE(example.empty());
    EXPECT_NE(README.find("```c\n" + example + "```\n"), std::string::npos);
}

TEST(Readme, ShowsTheHelpOfTheTool) {
    const ProcessResult help = run_program(MOVLEX_CLI, {"--help"});
    ASSERT_EQ(help.exit_code, 0);
    EXPECT_NE(README.find("```\n" + help.out + "```\n"), std::string::npos);
}

// Every option the help shows, in the manual page's escaped form (\-\-no\-init).
TEST(Manual, DescribesEveryOptionOfTheHelp) {
    const std::string manual = read_file(std::string(MOVLEX_SOURCE_DIR) + "/docs/movlex.1");
    const ProcessResult help = run_program(MOVLEX_CLI, {"--help"});
    ASSERT_FALSE(manual.empty());
    const std::regex option(R"((?:^|[\s(\[])(--?[a-z][a-z-]*))");
    int options = 0;
    for (std::sregex_iterator found(help.out.begin(), help.out.end(), option), end; found != end; ++found, ++options) {
        const std::string escaped = std::regex_replace(found->str(1), std::regex("-"), R"(\-)");
        EXPECT_NE(manual.find("\\fB" + escaped + "\\fR"), std::string::npos) << found->str(1);
    }
    EXPECT_GE(options, 6);
}

}  // namespace
}  // namespace movlex::test
