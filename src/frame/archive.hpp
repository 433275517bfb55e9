// Writing a kernel's state to bytes and reading it back. A kernel lists its
// fields once, in visit(); the writer and the reader both walk that list.
// Every value is stored little-endian whatever the machine (doubles as their
// IEEE 754 bits), so a state saved on one machine restores on any other.
//
// The reader never trusts its bytes: a short buffer, a ring of another length
// or a counter outside its stated range marks the read failed, and the caller
// discards the half-read state.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "frame/contract.hpp"

namespace movlex {

class StateWriter {
public:
    explicit StateWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    void operator()(double& value) { put_bits(to_bits(value), 8); }
    void operator()(std::int64_t& value) { put_bits(std::uint64_t(value), 8); }
    void operator()(std::int32_t& value) { put_bits(std::uint32_t(value), 4); }
    void operator()(bool& value) { put_bits(value ? 1 : 0, 1); }
    template <class Allocator>
    void operator()(std::vector<double, Allocator>& values) {
        put_bits(values.size(), 4);
        for (double& value : values) (*this)(value);
    }
    void bounded(std::int64_t& value, std::int64_t, std::int64_t) { (*this)(value); }
    void bounded(std::int32_t& value, std::int32_t, std::int32_t) { (*this)(value); }
    template <class Part>
    void operator()(Part& part) {
        part.visit(*this);
    }
    // A part the format keeps but the state does not (always as a fresh Part
    // would be saved).
    template <class Part>
    void fixed(Part& part) {
        (*this)(part);
    }

    void put_bits(std::uint64_t bits, int byte_count) {
        for (int b = 0; b < byte_count; ++b) bytes_.push_back(std::uint8_t(bits >> (8 * b)));
    }

private:
    static std::uint64_t to_bits(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    std::vector<std::uint8_t>& bytes_;
};

class StateReader {
public:
    explicit StateReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void operator()(double& value) {
        const std::uint64_t bits = get_bits(8);
        std::memcpy(&value, &bits, sizeof value);
    }
    void operator()(std::int64_t& value) { value = std::int64_t(get_bits(8)); }
    void operator()(std::int32_t& value) { value = std::int32_t(std::uint32_t(get_bits(4))); }
    void operator()(bool& value) {
        const std::uint64_t byte = get_bits(1);
        if (byte > 1) ok_ = false;
        value = byte == 1;
    }
    // A ring keeps the length its parameters gave it.
    template <class Allocator>
    void operator()(std::vector<double, Allocator>& values) {
        if (get_bits(4) != values.size()) ok_ = false;
        if (!ok_) return;
        for (double& value : values) (*this)(value);
    }
    void bounded(std::int64_t& value, std::int64_t min, std::int64_t max) {
        (*this)(value);
        if (value < min || value > max) fail_with(value, std::int64_t{0});
    }
    void bounded(std::int32_t& value, std::int32_t min, std::int32_t max) {
        (*this)(value);
        if (value < min || value > max) fail_with(value, std::int32_t{0});
    }
    template <class Part>
    void operator()(Part& part) {
        part.visit(*this);
    }
    // A part the format keeps but the state does not: any bytes but those a
    // fresh Part saves to are refused, so that what restores saves to the
    // bytes it was restored from.
    template <class Part>
    void fixed(Part& part) {
        const std::size_t start = position_;
        (*this)(part);
        if (!ok_) return;
        std::vector<std::uint8_t> expected;
        StateWriter writer(expected);
        Part fresh{};
        writer(fresh);
        const std::span<const std::uint8_t> read = bytes_.subspan(start, position_ - start);
        if (read.size() != expected.size() || !std::equal(read.begin(), read.end(), expected.begin())) ok_ = false;
    }

    std::uint64_t get_bits(int byte_count) {
        if (!ok_ || bytes_.size() - position_ < std::size_t(byte_count)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t bits = 0;
        for (int b = 0; b < byte_count; ++b) bits |= std::uint64_t(bytes_[position_ + b]) << (8 * b);
        position_ += std::size_t(byte_count);
        return bits;
    }

    bool ok() const { return ok_; }
    bool at_end() const { return position_ == bytes_.size(); }
    std::size_t position() const { return position_; }

private:
    template <class T>
    void fail_with(T& value, T safe) {
        value = safe;
        ok_ = false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

}  // namespace movlex
