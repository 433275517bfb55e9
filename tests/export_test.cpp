// The shared library exports the MOVLEX_ entries of the table, MOVLEX_INIT and
// MOVLEX_SHUTDOWN, and no other symbol. On 32-bit Windows each entry is
// exported twice, as name and as the stdcall-decorated name@N, both leading to
// the same code.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "api/indicator_table.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

#ifdef _WIN32

constexpr bool DECORATED_ALIASES = sizeof(void*) == 4;

// The names in the export directory of the loaded DLL.
std::set<std::string> exported_functions(const std::string& library) {
    std::set<std::string> names;
    HMODULE module = LoadLibraryA(library.c_str());
    if (module == nullptr) return names;
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos_header = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt_headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos_header->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt_headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.Size != 0) {
        const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
        const auto* name_addresses = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
        for (DWORD i = 0; i < exports->NumberOfNames; ++i)
            names.insert(reinterpret_cast<const char*>(base + name_addresses[i]));
    }
    FreeLibrary(module);
    return names;
}

#else

constexpr bool DECORATED_ALIASES = false;

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

#endif

// Bytes of arguments of an entry as 32-bit stack slots: first_index,
// last_index, the inputs, the parameters (a double takes two slots),
// out_begin, out_count and the outputs.
int argument_bytes(const IndicatorInfo& info) {
    int slots = 2 + info.input_count() + 2 + info.output_count();
    for (int i = 0; i < info.param_count(); ++i) slots += info.params[i].kind == ParamKind::real ? 2 : 1;
    return 4 * slots;
}

struct Entry {
    std::string name;
    int argument_bytes;
};

std::vector<Entry> all_entries() {
    std::vector<Entry> entries = {{"MOVLEX_INIT", 0}, {"MOVLEX_SHUTDOWN", 0}};
    for (const IndicatorInfo& info : indicator_table())
        if (info.set == IndicatorSet::core) entries.push_back({info.entry, argument_bytes(info)});
    return entries;
}

std::string decorated_name(const Entry& entry) { return entry.name + "@" + std::to_string(entry.argument_bytes); }

TEST(Exports, ExactlyTheEntriesOfTheTable) {
    std::set<std::string> expected;
    for (const Entry& entry : all_entries()) {
        expected.insert(entry.name);
        if (DECORATED_ALIASES) expected.insert(decorated_name(entry));
    }
    EXPECT_EQ(all_entries().size(), 47u);  // INIT, SHUTDOWN and the 45 indicators
    EXPECT_EQ(exported_functions(MOVLEX_SHARED_LIBRARY), expected);
}

#if defined(_WIN32) && !defined(_WIN64)
TEST(Exports, BothNamesLeadToTheSameCode) {
    HMODULE module = LoadLibraryA(MOVLEX_SHARED_LIBRARY);
    ASSERT_NE(module, nullptr);
    for (const Entry& entry : all_entries()) {
        const FARPROC plain_address = GetProcAddress(module, entry.name.c_str());
        EXPECT_NE(plain_address, nullptr) << entry.name;
        EXPECT_EQ(plain_address, GetProcAddress(module, decorated_name(entry).c_str())) << decorated_name(entry);
    }
    FreeLibrary(module);
}
#endif

}  // namespace
}  // namespace movlex::test
