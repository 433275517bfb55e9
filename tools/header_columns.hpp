// The columns of the header that the requests read and write: each input
// found by name, each output column named apart from every other.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "csv_reader.hpp"
#include "indicator_request.hpp"

namespace movlex::cli {

// The first names of the header, for messages: "date, open, ...".
std::string header_summary(const csv::Table& table);

// The column an input of a request reads, or the message why there is none
// (no column of that name, or more than one). `source` names the input.
struct ColumnLookup {
    std::size_t column = 0;
    std::string problem;  // empty when found
};
ColumnLookup find_input_column(const std::string& source, const csv::Table& table, const IndicatorRequest& request,
                               int input_index);

// As above; a column not found ends the run.
std::size_t input_column(const std::string& source, const csv::Table& table, const IndicatorRequest& request,
                         int input_index);

// The column --by groups by; one not found ends the run.
std::size_t group_column(const std::string& source, const csv::Table& table, const std::string& name);

// "SOURCE: line 7: column 5 (close): REASON", for a field that is no number.
std::string field_problem(const std::string& source, const csv::Table& table, const csv::Record& row,
                          std::size_t column, const std::string& reason);

// Every output column gets a name of its own (ignoring case, as columns are
// found), unlike any input column; a clash ends the run.
void check_column_names(const csv::Table& table, const std::vector<IndicatorRequest>& requests);

// The header line of the output: the input's header and the output columns.
std::string output_header(const csv::Table& table, const std::vector<IndicatorRequest>& requests);

}  // namespace movlex::cli
