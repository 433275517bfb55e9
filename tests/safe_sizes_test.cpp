// Requests at the very end of the 32-bit index space. The arrays are
// reserved, not committed: only the pages an indicator actually touches are
// ever backed, so a request for the last hundred of 2^31 indices is cheap.
// Every index and count must be computed without overflowing 32 bits.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef near  // old segment keywords, defined empty
#undef far
#else
#include <sys/mman.h>
#endif

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr std::int64_t INDEX_SPACE = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
constexpr std::int64_t FILLED = 4096;  // bars written at the end of each array
constexpr std::int32_t REQUESTED = 100;

class ReservedArray {
public:
#ifdef _WIN32
    // Windows backs only committed pages: the whole range is reserved and the
    // filled tail committed; touching anything else faults.
    explicit ReservedArray(std::int64_t count) : bytes_(std::size_t(count) * sizeof(double)) {
        void* memory = VirtualAlloc(nullptr, bytes_, MEM_RESERVE, PAGE_READWRITE);
        data_ = static_cast<double*>(memory);
        if (data_ != nullptr &&
            VirtualAlloc(data_ + (count - FILLED), FILLED * sizeof(double), MEM_COMMIT, PAGE_READWRITE) == nullptr) {
            VirtualFree(data_, 0, MEM_RELEASE);
            data_ = nullptr;
        }
    }
    ~ReservedArray() {
        if (data_ != nullptr) VirtualFree(data_, 0, MEM_RELEASE);
    }
#else
    explicit ReservedArray(std::int64_t count) : bytes_(std::size_t(count) * sizeof(double)) {
        void* memory = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        data_ = memory == MAP_FAILED ? nullptr : static_cast<double*>(memory);
    }
    ~ReservedArray() {
        if (data_ != nullptr) munmap(data_, bytes_);
    }
#endif
    ReservedArray(const ReservedArray&) = delete;
    ReservedArray& operator=(const ReservedArray&) = delete;
    double* data() const { return data_; }

private:
    std::size_t bytes_;
    double* data_;
};

TEST(SafeSizes, RequestsAtTheEndOfTheIndexSpaceMatchTheSameRequestNearZero) {
    if (sizeof(void*) < 8) GTEST_SKIP() << "a 32-bit address space cannot hold arrays of 2^31 doubles";
    const Bars bars = make_bars(FILLED, 31);
    std::array<ReservedArray, MAX_INPUTS> reserved = {ReservedArray(INDEX_SPACE), ReservedArray(INDEX_SPACE),
                                                       ReservedArray(INDEX_SPACE), ReservedArray(INDEX_SPACE)};
    for (const ReservedArray& array : reserved) ASSERT_NE(array.data(), nullptr);

    for (const IndicatorInfo& info : indicator_table()) {
        Request far, near;
        std::int32_t far_begin = -1, far_count = -1, near_begin = -1, near_count = -1;
        std::array<std::vector<double>, MAX_OUTPUTS> far_out, near_out;
        for (int i = 0; i < info.input_count(); ++i) {
            const std::vector<double>& values = named_series(bars, info.inputs[i]);
            std::copy(values.begin(), values.end(), reserved[i].data() + (INDEX_SPACE - FILLED));
            far.inputs[i] = reserved[i].data();
            near.inputs[i] = values.data();
        }
        for (int p = 0; p < info.param_count(); ++p) far.params[p] = near.params[p] = info.params[p].default_value;
        for (int o = 0; o < info.output_count(); ++o) {
            far_out[o].assign(REQUESTED, 0.0);
            near_out[o].assign(REQUESTED, 0.0);
            far.outputs[o] = far_out[o].data();
            near.outputs[o] = near_out[o].data();
        }
        far.first_index = std::numeric_limits<std::int32_t>::max() - (REQUESTED - 1);
        far.last_index = std::numeric_limits<std::int32_t>::max();
        near.first_index = std::int32_t(FILLED - REQUESTED);
        near.last_index = std::int32_t(FILLED - 1);
        far.out_begin = &far_begin;
        far.out_count = &far_count;
        near.out_begin = &near_begin;
        near.out_count = &near_count;

        ASSERT_EQ(info.invoke(near), RC_OK) << info.name;
        ASSERT_EQ(info.invoke(far), RC_OK) << info.name;
        EXPECT_EQ(far_begin, far.first_index) << info.name;
        ASSERT_EQ(far_count, REQUESTED) << info.name;
        ASSERT_EQ(near_count, REQUESTED) << info.name;
        for (int o = 0; o < info.output_count(); ++o)
            EXPECT_TRUE(same_values(near_out[o].data(), far_out[o].data(), REQUESTED)) << info.name;
    }
}

// 0 .. INT32_MAX holds 2^31 indices, one more than out_count can report; the
// range is rejected before anything is read or written.
TEST(SafeSizes, TheWholeIndexSpaceIsRejected) {
    std::vector<double> input(8, 1.0), output(8, -1.0);
    for (const IndicatorInfo& info : indicator_table()) {
        Request request;
        request.first_index = 0;
        request.last_index = std::numeric_limits<std::int32_t>::max();
        for (int i = 0; i < info.input_count(); ++i) request.inputs[i] = input.data();
        for (int p = 0; p < info.param_count(); ++p) request.params[p] = info.params[p].default_value;
        for (int o = 0; o < info.output_count(); ++o) request.outputs[o] = output.data();
        std::int32_t begin = -1, count = -1;
        request.out_begin = &begin;
        request.out_count = &count;
        EXPECT_EQ(info.invoke(request), RC_END_OUT_OF_RANGE) << info.name;
        EXPECT_EQ(begin, -1) << info.name;
        EXPECT_EQ(count, -1) << info.name;
    }
    for (double value : output) EXPECT_EQ(value, -1.0);
}

}  // namespace
}  // namespace movlex::test
