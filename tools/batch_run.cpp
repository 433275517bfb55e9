#include "batch_run.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "header_columns.hpp"
#include "input_file.hpp"
#include "numeric_columns.hpp"
#include "row_writer.hpp"
#include "run_failure.hpp"

namespace movlex::cli {

namespace {

// The first pass over an input, shared by the batch run and the scan: the
// header, and the numbers of every column the requests read.
struct FirstPass {
    csv::Table table;  // the header alone
    std::vector<std::vector<ColumnLookup>> lookups;  // per request, per input
    std::optional<NumericColumns> numbers;

    FirstPass(InputFile& input, const std::vector<const IndicatorRequest*>& requests) {
        input.make_rereadable();
        Records records(input);
        table = records.header();
        std::vector<std::size_t> columns;
        for (const IndicatorRequest* request : requests) {
            lookups.emplace_back();
            for (int k = 0; k < request->info->input_count(); ++k) {
                lookups.back().push_back(find_input_column(input.name(), table, *request, k));
                if (lookups.back().back().problem.empty()) columns.push_back(lookups.back().back().column);
            }
        }
        numbers.emplace(records, input.name(), table, columns);
        if (numbers->rows() == 0) input_error(input.name() + ": no data rows after the header");
        if (numbers->rows() > std::size_t(INT32_MAX)) input_error(input.name() + ": more rows than an indicator can take");
    }

    // The numbers input k of request r reads; a missing column or a field
    // that is no number ends the run.
    const std::vector<double>& values(std::size_t r, int k) const {
        const ColumnLookup& lookup = lookups[r][std::size_t(k)];
        if (!lookup.problem.empty()) input_error(lookup.problem);
        return numbers->values(lookup.column);
    }
};

// The second pass: the rows again, in order, each handed to `write_row`
// with its index; a file changed between the passes ends the run.
template <class WriteRow>
void each_row_again(InputFile& input, const FirstPass& first, WriteRow write_row) {
    input.rewind();
    Records records(input);
    records.header();
    csv::Record row;
    std::size_t r = 0;
    for (; r < first.numbers->rows() && records.next_row(first.table, row); ++r) write_row(r, row);
    if (r != first.numbers->rows() || records.next(row)) input_error(input.name() + ": the input changed while it was read");
}

// The values of one output column, for the rows begin .. begin + values - 1.
struct OutputColumn {
    std::size_t begin = 0;
    std::vector<double> values;
};

void compute(const IndicatorRequest& request, const FirstPass& first, std::size_t r, std::vector<OutputColumn>& columns) {
    const IndicatorInfo& info = *request.info;
    const std::size_t row_count = first.numbers->rows();
    Request call;
    call.first_index = 0;
    call.last_index = static_cast<std::int32_t>(row_count - 1);
    for (int i = 0; i < info.input_count(); ++i) call.inputs[i] = first.values(r, i).data();
    call.params = request.params;
    std::vector<std::vector<double>> outputs(info.output_count(), std::vector<double>(row_count));
    for (int o = 0; o < info.output_count(); ++o) call.outputs[o] = outputs[o].data();
    std::int32_t begin = 0, count = 0;
    call.out_begin = &begin;
    call.out_count = &count;
    const RetCode code = info.invoke(call);
    if (code != RC_OK) input_error(entry_failure(request.label, info.entry, code));
    if (begin < 0 || count < 0 || std::size_t(begin) + std::size_t(count) > row_count)
        input_error(request.label + ": " + info.entry + " reported values outside the input rows");
    for (int o = 0; o < info.output_count(); ++o) {
        outputs[o].resize(std::size_t(count));
        columns.push_back({std::size_t(begin), std::move(outputs[o])});
    }
}

}  // namespace

void run_batch(const Options& options) {
    InputFile input(options.input_path);
    std::vector<const IndicatorRequest*> requests;
    for (const IndicatorRequest& request : options.requests) requests.push_back(&request);
    const FirstPass first(input, requests);
    check_column_names(first.table, options.requests);
    std::vector<OutputColumn> columns;
    for (std::size_t r = 0; r < requests.size(); ++r) compute(*requests[r], first, r, columns);

    RowWriter writer(options.output_path, false);
    writer.write(output_header(first.table, options.requests));
    std::string line;
    each_row_again(input, first, [&](std::size_t r, const csv::Record& row) {
        line = row.text;
        for (const OutputColumn& column : columns) {
            line += ',';
            if (r >= column.begin && r - column.begin < column.values.size())
                line += format_number(column.values[r - column.begin]);
        }
        line += '\n';
        writer.write(line);
    });
    writer.finish();
}

void run_scan(const Options& options) {
    InputFile input(options.input_path);
    const IndicatorRequest& request = *options.scan;
    const FirstPass first(input, {&request});
    const std::vector<double>* ohlc[4];
    for (int k = 0; k < 4; ++k) ohlc[k] = &first.values(0, k);
    const std::int32_t bars = std::int32_t(first.numbers->rows());
    const std::size_t patterns = std::size_t(movlex_candle_pattern_count());
    std::vector<std::int8_t> signals(std::size_t(bars) * patterns);
    const auto& p = request.params;
    const MovlexCandleSettings settings{std::int32_t(p[0]), p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
    std::int32_t begin = 0, count = 0;
    const RetCode code = movlex_candle_scan(0, bars - 1, ohlc[0]->data(), ohlc[1]->data(), ohlc[2]->data(),
                                            ohlc[3]->data(), &settings, &begin, &count, signals.data());
    if (code != RC_OK) input_error(std::string("the scan failed with ") + code_name(code));
    std::optional<std::size_t> when;
    for (const char* name : {"date", "time"})
        if (!when && first.table.columns_named(name).size() == 1) when = first.table.columns_named(name).front();

    RowWriter writer(options.output_path, false);
    writer.write(std::string("row,") + (when ? first.table.header.fields[*when] + "," : "") + "pattern,signal\n");
    each_row_again(input, first, [&](std::size_t r, const csv::Record& row) {
        if (r < std::size_t(begin) || r - std::size_t(begin) >= std::size_t(count)) return;
        const std::int8_t* fired = &signals[(r - std::size_t(begin)) * patterns];
        for (std::size_t j = 0; j < patterns; ++j)
            if (fired[j] != 0)
                writer.write(std::to_string(r + 1) + "," + (when ? row.fields[*when] + "," : "") +
                             movlex_candle_pattern_name(std::int32_t(j)) + "," + std::to_string(fired[j]) + "\n");
    });
    writer.finish();
}

}  // namespace movlex::cli
