// The first pass of a batch run: every data row read once, checked, and the
// columns the indicators read kept as numbers. The rows' text is not kept;
// the writer reads the rows again.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "csv_reader.hpp"
#include "input_file.hpp"

namespace movlex::cli {

class NumericColumns {
public:
    // Reads the rows that follow the header. A malformed row ends the run at
    // once; a field that is no number is kept, per column, until the column
    // is asked for, so that problems are told in the order the columns are
    // used, as if each column were read when needed.
    NumericColumns(Records& records, const std::string& source, const csv::Table& table,
                   const std::vector<std::size_t>& columns);

    std::size_t rows() const { return rows_; }

    // The numbers of a column named to the constructor; its first field that
    // is no number ends the run.
    const std::vector<double>& values(std::size_t column) const;

private:
    struct Column {
        std::vector<double> values;
        std::string problem;  // the first field that is no number, described
    };
    std::map<std::size_t, Column> columns_;
    std::size_t rows_ = 0;
};

}  // namespace movlex::cli
