// --by: one set of streams per value of the grouping column (a symbol,
// say), each a copy of the fresh set made once from the requests; without
// --by, one set for every row.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/stream.hpp"
#include "indicator_request.hpp"

namespace movlex::cli {

// The streams of one group: one per request, in request order.
using StreamSet = std::vector<std::unique_ptr<Stream>>;

class SymbolGroups {
public:
    // A request whose stream cannot be made ends the run.
    SymbolGroups(const std::vector<IndicatorRequest>& requests, std::optional<std::size_t> by_column);

    // The streams for a row: those of its group, made at its first row.
    StreamSet& streams_for(const std::vector<std::string>& fields);
    std::size_t count() const { return by_column_ ? groups_.size() : 1; }

private:
    StreamSet fresh() const;

    StreamSet prototype_;
    std::optional<std::size_t> by_column_;
    StreamSet single_;
    std::map<std::string, StreamSet, std::less<>> groups_;
};

}  // namespace movlex::cli
