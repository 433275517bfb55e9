#include "header_columns.hpp"

#include "run_failure.hpp"

namespace movlex::cli {

std::string header_summary(const csv::Table& table) {
    constexpr std::size_t SHOWN = 12;
    std::string names;
    const std::vector<std::string>& fields = table.header.fields;
    for (std::size_t c = 0; c < fields.size() && c < SHOWN; ++c) names += (c > 0 ? ", " : "") + csv::printable(fields[c]);
    if (fields.size() > SHOWN) names += ", ...";
    return names;
}

ColumnLookup find_input_column(const std::string& source, const csv::Table& table, const IndicatorRequest& request,
                               int input_index) {
    const std::string& name = request.columns[input_index];
    const std::vector<std::size_t> matches = table.columns_named(name);
    const std::string role = std::string("the input '") + request.info->inputs[input_index] + "' of " + request.label;
    if (matches.empty())
        return {0, source + ": no column " + csv::quoted(name) + " for " + role + "; the header has: " + header_summary(table)};
    if (matches.size() > 1)
        return {0, source + ": column " + csv::quoted(name) + " for " + role + " appears " +
                       std::to_string(matches.size()) + " times in the header"};
    return {matches.front(), {}};
}

std::size_t input_column(const std::string& source, const csv::Table& table, const IndicatorRequest& request,
                         int input_index) {
    const ColumnLookup found = find_input_column(source, table, request, input_index);
    if (!found.problem.empty()) input_error(found.problem);
    return found.column;
}

std::size_t group_column(const std::string& source, const csv::Table& table, const std::string& name) {
    const std::vector<std::size_t> matches = table.columns_named(name);
    if (matches.empty())
        input_error(source + ": no column " + csv::quoted(name) + " for --by; the header has: " + header_summary(table));
    if (matches.size() > 1)
        input_error(source + ": column " + csv::quoted(name) + " for --by appears " + std::to_string(matches.size()) +
                    " times in the header");
    return matches.front();
}

std::string field_problem(const std::string& source, const csv::Table& table, const csv::Record& row,
                          std::size_t column, const std::string& reason) {
    return source + ": " +
           csv::Error{row.line, "column " + std::to_string(column + 1) + " (" +
                                    csv::printable(table.header.fields[column]) + "): " + reason}
               .describe();
}

void check_column_names(const csv::Table& table, const std::vector<IndicatorRequest>& requests) {
    csv::Table columns;  // the header alone, growing by each output column
    columns.header = table.header;
    for (const IndicatorRequest& request : requests)
        for (const std::string& name : request.output_columns()) {
            if (!columns.columns_named(name).empty())
                command_line_error("output column '" + name + "' would appear twice in the header; name it with as=NAME");
            columns.header.fields.push_back(name);
        }
}

std::string output_header(const csv::Table& table, const std::vector<IndicatorRequest>& requests) {
    std::string line = table.header.text;
    for (const IndicatorRequest& request : requests)
        for (const std::string& name : request.output_columns()) line += "," + name;
    return line + "\n";
}

}  // namespace movlex::cli
