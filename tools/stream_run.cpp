#include "stream_run.hpp"

#include <unistd.h>

#include "header_columns.hpp"
#include "input_file.hpp"
#include "progress.hpp"
#include "row_writer.hpp"
#include "run_failure.hpp"
#include "symbol_groups.hpp"

namespace movlex::cli {

namespace {

double number_at(const std::string& source, const csv::Table& table, const csv::Record& row, std::size_t column) {
    std::variant<double, std::string> number = csv::parse_number(row.fields[column]);
    if (const std::string* problem = std::get_if<std::string>(&number))
        input_error(field_problem(source, table, row, column, *problem));
    return std::get<double>(number);
}

}  // namespace

void run_streaming(const Options& options) {
    InputFile input(options.input_path);
    Records records(input);
    const csv::Table table = records.header();
    check_column_names(table, options.requests);

    std::vector<std::vector<std::size_t>> columns;  // per request, per input
    for (const IndicatorRequest& request : options.requests) {
        columns.emplace_back();
        for (int k = 0; k < request.info->input_count(); ++k)
            columns.back().push_back(input_column(input.name(), table, request, k));
    }
    std::optional<std::size_t> by;
    if (options.by_column) by = group_column(input.name(), table, *options.by_column);
    SymbolGroups groups(options.requests, by);
    const std::string header_line = output_header(table, options.requests);

    RowWriter writer(options.output_path, !input.regular());
    Progress progress(!options.quiet && isatty(STDERR_FILENO), input.size());
    csv::Record row;
    std::uint64_t rows = 0;
    std::string line;
    while (records.next_row(table, row)) {
        if (rows++ == 0) writer.write(header_line);
        StreamSet& streams = groups.streams_for(row.fields);
        line = row.text;
        for (std::size_t r = 0; r < options.requests.size(); ++r) {
            double bar[MAX_INPUTS];
            for (std::size_t k = 0; k < columns[r].size(); ++k) bar[k] = number_at(input.name(), table, row, columns[r][k]);
            double out[MAX_OUTPUTS];
            const bool has_value = streams[r]->update(bar, out);
            append_values(line, out, options.requests[r].info->output_count(), has_value);
        }
        line += '\n';
        writer.write(line);
        progress.update(records.bytes_read(), rows, groups.count());
    }
    if (rows == 0) input_error(input.name() + ": no data rows after the header");
    writer.finish();
}

}  // namespace movlex::cli
