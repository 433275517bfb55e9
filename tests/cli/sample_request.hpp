// The request for an indicator with its defaults over the sample data: the
// sample has the price and volume columns; an input it has no column for (the
// second series of a correlation, "other") is read from the open, and the
// output columns keep the names they have by default.
#pragma once

#include <set>
#include <string>

#include "api/indicator_table.hpp"
#include "indicator_request.hpp"

namespace movlex::test {

inline std::string sample_column(std::string_view input) {
    static const std::set<std::string> sample = {"open", "high", "low", "close", "volume"};
    const std::string column = cli::default_column(input);
    return sample.count(column) > 0 ? column : "open";
}

inline std::string sample_request(const IndicatorInfo& info) {
    std::string request = info.name;
    char separator = ':';
    for (int i = 0; i < info.input_count(); ++i) {
        if (cli::default_column(info.inputs[i]) == sample_column(info.inputs[i])) continue;
        request += separator + std::string(info.inputs[i]) + "=" + sample_column(info.inputs[i]);
        separator = ',';
    }
    // The output columns keep the indicator's own label.
    if (separator == ',') request += std::string(",as=") + info.name;
    return request;
}

}  // namespace movlex::test
