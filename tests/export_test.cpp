// The shared library exports the MOVLEX_ entries of the table, MOVLEX_INIT and
// MOVLEX_SHUTDOWN, and no other symbol.
#include <cstdio>
#include <set>
#include <string>

#include "frame/indicator_table.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

std::set<std::string> exported_functions(const std::string& library) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + library + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[128], type[8], name[384];
        if (std::sscanf(line, "%127s %7s %383s", address, type, name) == 3) names.insert(name);
    }
    pclose(pipe);
    return names;
}

TEST(Exports, ExactlyTheEntriesOfTheTable) {
    std::set<std::string> expected = {"MOVLEX_INIT", "MOVLEX_SHUTDOWN"};
    for (const IndicatorInfo& info : indicator_table()) expected.insert(info.entry);
    EXPECT_EQ(exported_functions(MOVLEX_SHARED_LIBRARY), expected);
}

}  // namespace
}  // namespace movlex::test
