// The README shows the C example and the tool's help as they are; the manual
// page made from the help describes every option, and the help names the
// moving-average types of the library's table.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "api/ma_type_names.hpp"
#include "movlex.h"
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
#ifndef MOVLEX_MANUAL
    GTEST_SKIP() << "the manual page is not made in this build (no help2man, or a cross build)";
#else
    const std::string manual = read_file(MOVLEX_MANUAL);
    const ProcessResult help = run_program(MOVLEX_CLI, {"--help"});
    ASSERT_FALSE(manual.empty());
    const std::regex option(R"((?:^|[\s(\[])(--?[a-z][a-z-]*))");
    int options = 0;
    for (std::sregex_iterator found(help.out.begin(), help.out.end(), option), end; found != end; ++found, ++options) {
        const std::string escaped = std::regex_replace(found->str(1), std::regex("-"), R"(\-)");
        EXPECT_NE(manual.find("\\fB" + escaped + "\\fR"), std::string::npos) << found->str(1);
    }
    EXPECT_GE(options, 6);
    EXPECT_NE(manual.find(".SH FILES"), std::string::npos) << "made without the sections of docs/movlex.h2m";
#endif
}

TEST(Help, NamesTheMovingAverageTypesOfTheTable) {
    const ProcessResult help = run_program(MOVLEX_CLI, {"--help"});
    const std::string words = std::regex_replace(help.out, std::regex(R"(\s+)"), " ");  // lines joined
    std::string names;
    for (const char* name : MA_TYPE_NAMES) names += std::string(names.empty() ? "" : ", ") + name;
    EXPECT_NE(words.find("(" + names + ") or code (0.." + std::to_string(MA_TYPE_COUNT - 1) + ")"),
              std::string::npos)
        << help.out;
}

TEST(Version, IsTheProjectVersion) {
    const ProcessResult version = run_program(MOVLEX_CLI, {"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out, std::string("movlex ") + MOVLEX_VERSION_STRING + "\n");
}

}  // namespace
}  // namespace movlex::test
