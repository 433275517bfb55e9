#include "numeric_columns.hpp"

#include <memory>

#include "header_columns.hpp"
#include "run_failure.hpp"

namespace movlex::cli {

namespace {

// Numbers appended in blocks of fixed size, so that growing never copies or
// holds two sizes of the column at once; taken whole into one vector of
// exactly the size needed, block by block.
class BlockColumn {
public:
    void push(double value) {
        if (used_ == BLOCK) {
            blocks_.push_back(std::make_unique<double[]>(BLOCK));
            used_ = 0;
        }
        blocks_.back()[used_++] = value;
    }

    std::vector<double> take(std::size_t count) {
        std::vector<double> values;
        values.reserve(count);
        for (std::unique_ptr<double[]>& block : blocks_) {
            const std::size_t n = std::min(BLOCK, count - values.size());
            values.insert(values.end(), block.get(), block.get() + n);
            block.reset();
        }
        blocks_.clear();
        return values;
    }

private:
    static constexpr std::size_t BLOCK = std::size_t(1) << 16;
    std::vector<std::unique_ptr<double[]>> blocks_;
    std::size_t used_ = BLOCK;
};

}  // namespace

NumericColumns::NumericColumns(Records& records, const std::string& source, const csv::Table& table,
                               const std::vector<std::size_t>& columns) {
    std::map<std::size_t, BlockColumn> growing;
    for (std::size_t column : columns) {
        columns_[column];
        growing[column];
    }
    csv::Record row;
    while (records.next_row(table, row)) {
        ++rows_;
        for (auto& [column, values] : growing) {
            std::string& problem = columns_[column].problem;
            if (!problem.empty()) continue;
            std::variant<double, std::string> number = csv::parse_number(row.fields[column]);
            if (const std::string* reason = std::get_if<std::string>(&number))
                problem = field_problem(source, table, row, column, *reason);
            else
                values.push(std::get<double>(number));
        }
    }
    for (auto& [column, values] : growing)
        if (columns_[column].problem.empty()) columns_[column].values = values.take(rows_);
}

const std::vector<double>& NumericColumns::values(std::size_t column) const {
    const Column& found = columns_.at(column);
    if (!found.problem.empty()) input_error(found.problem);
    return found.values;
}

}  // namespace movlex::cli
