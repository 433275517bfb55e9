#include "symbol_groups.hpp"

#include "run_failure.hpp"

namespace movlex::cli {

SymbolGroups::SymbolGroups(const std::vector<IndicatorRequest>& requests, std::optional<std::size_t> by_column)
    : by_column_(by_column) {
    for (const IndicatorRequest& request : requests) {
        const IndicatorInfo& info = *request.info;
        std::unique_ptr<Stream> stream;
        const RetCode code = make_stream(info, request.params.data(), info.param_count(), stream);
        if (code != RC_OK) input_error(entry_failure(request.label, info.entry, code));
        prototype_.push_back(std::move(stream));
    }
    if (!by_column_) single_ = fresh();
}

StreamSet SymbolGroups::fresh() const {
    StreamSet streams;
    for (const auto& stream : prototype_) streams.push_back(stream->clone());
    return streams;
}

StreamSet& SymbolGroups::streams_for(const std::vector<std::string>& fields) {
    if (!by_column_) return single_;
    const std::string& key = fields[*by_column_];
    auto found = groups_.find(key);
    if (found == groups_.end()) found = groups_.emplace(key, fresh()).first;
    return found->second;
}

}  // namespace movlex::cli
