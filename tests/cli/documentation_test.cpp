// The README shows the C example and the tool's help as they are.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace movlex::test
