// movlex streams for C++ hosts: a thin owning wrapper over movlex_stream.h.
//
//   movlex::Stream rsi("rsi", {14});
//   for (double close : closes)
//       if (auto value = rsi.update(close)) use(*value);
//
// Errors throw movlex::StreamError carrying the RetCode; copies are
// independent streams; a state saved with save() restores with
// Stream::from_state() on any machine.
#ifndef MOVLEX_STREAM_HPP
#define MOVLEX_STREAM_HPP

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "movlex_stream.h"

namespace movlex {

class StreamError : public std::runtime_error {
public:
    StreamError(RetCode code, const std::string& what)
        : std::runtime_error(what + " (code " + std::to_string(code) + ")"), code_(code) {}
    RetCode code() const { return code_; }

private:
    RetCode code_;
};

class Stream {
public:
    // The stream of the indicator named `name` ("rsi"), with parameters in the
    // indicator's order; missing ones take their defaults.
    Stream(const char* name, std::initializer_list<double> params = {}) {
        const std::int32_t number = movlex_indicator_find(name);
        if (number < 0) throw StreamError(RC_UNKNOWN_INDICATOR, std::string("no indicator named ") + name);
        const std::vector<double> values(params);
        check(movlex_stream_create(number, values.data(), std::int32_t(values.size()), &handle_),
              std::string("cannot create a stream of ") + name);
        outputs_ = std::size_t(movlex_indicator_output_count(number));
    }

    static Stream from_state(std::span<const std::uint8_t> state) {
        Stream stream;
        check(movlex_stream_from_state(state.data(), state.size(), &stream.handle_), "cannot restore a stream");
        std::int32_t number = 0;
        movlex_stream_indicator(stream.handle_, &number);
        stream.outputs_ = std::size_t(movlex_indicator_output_count(number));
        return stream;
    }

    Stream(const Stream& other) : outputs_(other.outputs_) {
        if (other.handle_ != nullptr) check(movlex_stream_copy(other.handle_, &handle_), "cannot copy a stream");
    }
    Stream(Stream&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)), outputs_(other.outputs_) {}
    Stream& operator=(Stream other) noexcept {
        std::swap(handle_, other.handle_);
        std::swap(outputs_, other.outputs_);
        return *this;
    }
    ~Stream() { movlex_stream_destroy(handle_); }

    // Feeds one bar (one value per input, in the indicator's order); true with
    // the bar's outputs in `outputs`, false while there is no value yet.
    bool update(std::span<const double> inputs, std::span<double> outputs) {
        std::int32_t has_value = 0;
        check(movlex_stream_update(handle_, inputs.data(), outputs.data(), &has_value), "update failed");
        return has_value != 0;
    }

    // The first output for a bar of one input (a close, say).
    std::optional<double> update(double input) {
        std::array<double, MOVLEX_MAX_OUTPUTS> outputs{};
        if (!update(std::span<const double>(&input, 1), outputs)) return std::nullopt;
        return outputs[0];
    }

    std::size_t output_count() const { return outputs_; }

    std::int64_t bars() const {
        std::int64_t count = 0;
        check(movlex_stream_bars(handle_, &count), "bars failed");
        return count;
    }

    std::vector<std::uint8_t> save() const {
        std::size_t size = 0;
        movlex_stream_save(handle_, nullptr, 0, &size);
        std::vector<std::uint8_t> state(size);
        check(movlex_stream_save(handle_, state.data(), state.size(), &size), "cannot save a stream");
        return state;
    }

    void restore(std::span<const std::uint8_t> state) {
        check(movlex_stream_restore(handle_, state.data(), state.size()), "cannot restore a stream");
    }

    MovlexStream* handle() const { return handle_; }

private:
    Stream() = default;

    static void check(RetCode code, const std::string& what) {
        if (code != RC_OK) throw StreamError(code, what);
    }

    MovlexStream* handle_ = nullptr;
    std::size_t outputs_ = 0;
};

}  // namespace movlex

#endif  // MOVLEX_STREAM_HPP
