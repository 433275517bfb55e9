#include "indicator_request.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "api/ma_type_names.hpp"
#include "frame/parameter.hpp"
#include "csv_reader.hpp"

namespace movlex::cli {

namespace {

std::string lower_case(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return result;
}

const char* placement_text(Placement placement) {
    switch (placement) {
        case Placement::overlay: return "over the price";
        case Placement::panel: return "in a panel of its own";
        case Placement::markers: return "as markers on the candles";
    }
    return "?";
}

// Where a chart draws the indicator, output by output where they differ:
// "line over the price, direction in a panel of its own".
std::string drawn(const IndicatorInfo& info) {
    bool same = true;
    for (int k = 1; k < info.output_count(); ++k) same = same && info.placement_of(k) == info.placement_of(0);
    if (same) return placement_text(info.placement_of(0));
    std::string text;
    for (int k = 0; k < info.output_count(); ++k)
        text += std::string(k > 0 ? ", " : "") + info.outputs[k] + " " + placement_text(info.placement_of(k));
    return text;
}

std::string integer_text(double value) { return std::to_string(static_cast<std::int64_t>(value)); }

std::string range_text(const ParamInfo& param) {
    if (param.kind == ParamKind::real) return format_number(param.min) + ".." + format_number(param.max);
    return integer_text(param.min) + ".." + integer_text(param.max);
}

template <std::size_t N>
int index_of(const std::array<const char*, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N && names[i] != nullptr; ++i)
        if (lower_case(name) == names[i]) return int(i);
    return -1;
}

int param_index(const IndicatorInfo& info, std::string_view name) {
    for (int p = 0; p < info.param_count(); ++p)
        if (lower_case(name) == info.params[p].name) return p;
    return -1;
}

// Column names and labels end up in the CSV header as they are.
bool usable_as_column_name(std::string_view text) {
    return !text.empty() && text.find_first_of("\",\r\n") == std::string_view::npos;
}

std::string valid_keys(const IndicatorInfo& info) {
    std::string keys;
    for (int p = 0; p < info.param_count(); ++p) keys += std::string(info.params[p].name) + ", ";
    for (int i = 0; i < info.input_count(); ++i) keys += std::string(info.inputs[i]) + "=COLUMN, ";
    return keys + "as=NAME";
}

std::string ma_type_choices() { return ma_type_name_list() + ", or " + ma_type_code_range(); }

// Whether the library takes `value` for the parameter as it is: in range, and
// not the sentinel that stands for the default.
bool accepted(const ParamInfo& param, double value) {
    double resolved = 0;
    return resolve_value(param, value, resolved) && resolved == value;
}

// Reads one parameter value; on success stores it in `value` and its
// canonical text in `text`, otherwise returns the problem.
std::optional<std::string> read_param(const ParamInfo& param, std::string_view raw, double& value, std::string& text) {
    const std::string quoted = csv::quoted(raw);
    switch (param.kind) {
        case ParamKind::ma_type: {
            const std::optional<int> code = parse_ma_type(raw);
            if (!code) return quoted + " is not a moving-average type (" + ma_type_choices() + ")";
            value = *code;
            text = MA_TYPE_NAMES[*code];
            return std::nullopt;
        }
        case ParamKind::integer: {
            std::int64_t number = 0;
            const auto [stop, error] = std::from_chars(raw.data(), raw.data() + raw.size(), number);
            if (error == std::errc::result_out_of_range) return csv::printable(raw) + " is out of range " + range_text(param);
            if (error != std::errc() || stop != raw.data() + raw.size()) return quoted + " is not an integer";
            if (!accepted(param, double(number)))
                return std::to_string(number) + " is out of range " + range_text(param);
            value = double(number);
            text = std::to_string(number);
            return std::nullopt;
        }
        case ParamKind::real: {
            std::variant<double, std::string> number = csv::parse_number(raw);
            if (const std::string* problem = std::get_if<std::string>(&number)) return *problem;
            const double real = std::get<double>(number);
            if (!accepted(param, real)) return csv::printable(raw) + " is out of range " + range_text(param);
            value = real;
            text = format_number(real);
            return std::nullopt;
        }
    }
    return "unsupported parameter kind";
}

std::string kind_text(const ParamInfo& param) {
    switch (param.kind) {
        case ParamKind::integer:
            return "integer, default " + integer_text(param.default_value) + ", range " + range_text(param);
        case ParamKind::real:
            return "real, default " + format_number(param.default_value) + ", range " + range_text(param);
        case ParamKind::ma_type:
            return std::string("moving-average type, default ") + ma_type_name(int(param.default_value)) + " (" +
                   ma_type_choices() + ")";
    }
    return "";
}

// Parses the KEY=VALUE items after the colon into `request`.
std::optional<std::string> apply_items(std::string_view items, IndicatorRequest& request) {
    const IndicatorInfo& info = *request.info;
    const std::string prefix = std::string(info.name) + ": ";
    std::vector<std::string> seen;
    std::string explicit_values;
    std::optional<std::string> label;
    for (;;) {
        const std::size_t comma = items.find(',');
        const std::string_view item = items.substr(0, comma);
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            return prefix + csv::quoted(item) + " is not of the form KEY=VALUE (keys: " + valid_keys(info) + ")";
        const std::string key = lower_case(item.substr(0, equals));
        const std::string_view raw = item.substr(equals + 1);
        for (const std::string& earlier : seen)
            if (earlier == key) return prefix + csv::quoted(key) + " is given twice";
        seen.push_back(key);

        std::string text;
        if (const int p = param_index(info, key); p >= 0) {
            if (std::optional<std::string> problem = read_param(info.params[p], raw, request.params[p], text))
                return prefix + key + "=" + *problem;
        } else if (const int i = index_of(info.inputs, key); i >= 0) {
            if (!usable_as_column_name(raw))
                return prefix + key + "=" + csv::quoted(raw) + " is not a usable column name";
            request.columns[i] = raw;
            text = raw;
        } else if (key == "as") {
            if (!usable_as_column_name(raw))
                return prefix + "as=" + csv::quoted(raw) + " is not a usable column name";
            label = raw;
        } else {
            return prefix + "unknown parameter " + csv::quoted(key) + " (keys: " + valid_keys(info) + ")";
        }
        if (!text.empty()) explicit_values += "_" + text;
        if (comma == std::string_view::npos) break;
        items.remove_prefix(comma + 1);
    }
    request.label = label ? *label : request.label + explicit_values;
    return std::nullopt;
}

}  // namespace

std::vector<std::string> IndicatorRequest::output_columns() const {
    std::vector<std::string> columns;
    const int count = info->output_count();
    if (count == 1) return {label};
    const std::string own_prefix = std::string(info->name) + "_";
    for (int o = 0; o < count; ++o) {
        std::string_view stem = info->outputs[o];
        if (stem.starts_with("out_")) stem.remove_prefix(4);
        if (stem.starts_with(own_prefix) && stem.size() > own_prefix.size()) stem.remove_prefix(own_prefix.size());
        columns.push_back(label + "_" + std::string(stem));
    }
    return columns;
}

std::string default_column(std::string_view input_name) {
    return input_name == "input" ? std::string("close") : std::string(input_name);
}

std::variant<IndicatorRequest, std::string> parse_request(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::string name = lower_case(text.substr(0, colon));
    if (name.empty()) return std::string("an indicator request needs a name, e.g. sma:period=20");
    IndicatorRequest request;
    request.info = find_indicator(name);
    if (request.info == nullptr)
        return "unknown indicator " + csv::quoted(name) + " (movlex --list shows them all)";
    const IndicatorInfo& info = *request.info;
    for (int p = 0; p < info.param_count(); ++p) request.params[p] = info.params[p].default_value;
    for (int i = 0; i < info.input_count(); ++i) request.columns[i] = default_column(info.inputs[i]);
    request.label = info.name;
    if (colon == std::string_view::npos) return request;
    if (std::optional<std::string> problem = apply_items(text.substr(colon + 1), request)) return *problem;
    return request;
}

std::optional<int> parse_ma_type(std::string_view text) {
    const std::string name = lower_case(text);
    for (int code = 0; code < MA_TYPE_COUNT; ++code)
        if (name == MA_TYPE_NAMES[code] || name == std::to_string(code)) return code;
    return std::nullopt;
}

std::string ma_type_name_list() {
    std::string names;
    for (int code = 0; code < MA_TYPE_COUNT; ++code) names += std::string(code > 0 ? ", " : "") + MA_TYPE_NAMES[code];
    return names;
}

std::string ma_type_code_range() { return "0.." + std::to_string(MA_TYPE_COUNT - 1); }

const char* ma_type_name(int code) { return code >= 0 && code < MA_TYPE_COUNT ? MA_TYPE_NAMES[code] : "?"; }

std::string describe_indicators() {
    std::string text;
    for (const IndicatorInfo& info : indicator_table()) {
        // Labels ("inputs", parameter names, "outputs") in one column.
        std::size_t width = std::string_view("outputs").size();
        for (int p = 0; p < info.param_count(); ++p) width = std::max(width, std::string_view(info.params[p].name).size());
        auto line = [&](std::string_view label, const std::string& content) {
            text += "  ";
            text += label;
            text += std::string(width - label.size() + 2, ' ') + content + "\n";
        };

        text += std::string(info.name) + " - " + info.summary +
                (info.set == IndicatorSet::extended ? " [extended set]" : "") + "\n";
        std::string inputs;
        for (int i = 0; i < info.input_count(); ++i) {
            if (i > 0) inputs += ", ";
            inputs += info.inputs[i];
            if (default_column(info.inputs[i]) != info.inputs[i]) inputs += " (" + default_column(info.inputs[i]) + ")";
        }
        line("inputs", inputs);
        for (int p = 0; p < info.param_count(); ++p) line(info.params[p].name, kind_text(info.params[p]));
        IndicatorRequest defaults;
        defaults.info = &info;
        defaults.label = info.name;
        const std::vector<std::string> columns = defaults.output_columns();
        std::string outputs;
        for (std::size_t c = 0; c < columns.size(); ++c) outputs += (c > 0 ? ", " : "") + columns[c];
        line(columns.size() == 1 ? "output" : "outputs", outputs);
        line("drawn", drawn(info));
        text += "\n";
    }
    text += "Moving-average types, by name or code: ";
    for (int code = 0; code < MA_TYPE_COUNT; ++code)
        text += std::string(code > 0 ? ", " : "") + MA_TYPE_NAMES[code] + " = " + std::to_string(code);
    return text + "\n";
}

std::string format_number(double value) {
    // A NaN result is a missing value, written blank like the rows before
    // the first value (never "nan" or "-nan", whose sign means nothing).
    if (std::isnan(value)) return "";
    // Plain decimals for the magnitudes prices and oscillators have, the
    // exponent form beyond them; either way the shortest round-trip text.
    const double magnitude = std::fabs(value);
    const bool plain = value == 0 || (magnitude >= 1e-5 && magnitude < 1e15);
    char buffer[64];
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace movlex::cli
