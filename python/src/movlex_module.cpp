// The compiled half of the Python package: the indicator table as Python
// data, and one call that computes any indicator over whole arrays (one
// series, or many rows of a 2-D array on several threads). The Python half
// builds one function per indicator on top of it.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/ma_type_names.hpp"
#include "api/parallel.hpp"
#include "api/series_batch.hpp"
#include "api/stream.hpp"
#include "call.hpp"
#include "movlex.h"
#include "movlex_extended.h"

namespace py = pybind11;

namespace movlex::python {

namespace {

// MOVLEX_INIT and MOVLEX_SHUTDOWN must not run while an indicator does:
// computations hold the lock shared, the state changes hold it alone.
std::shared_mutex library_state;

const IndicatorInfo& indicator_at(std::size_t index) {
    const auto table = indicator_table();
    if (index >= table.size()) throw py::index_error("no indicator " + std::to_string(index));
    return table[index];
}

[[noreturn]] void raise(PyObject* type, const std::string& message) {
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

std::string repr_text(py::handle value) { return py::repr(value).cast<std::string>(); }

std::string number_text(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(std::int64_t(value));
    return repr_text(py::float_(value));
}

std::string range_text(const ParamInfo& param) { return number_text(param.min) + ".." + number_text(param.max); }

std::string type_name(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

std::string shape_text(const py::array& array) {
    std::string text = "(";
    for (py::ssize_t d = 0; d < array.ndim(); ++d) text += (d ? ", " : "") + std::to_string(array.shape(d));
    return text + (array.ndim() == 1 ? ",)" : ")");
}


// ---- Parameters ------------------------------------------------------------

class ParamReader {
public:
    ParamReader(const IndicatorInfo& info, const ParamInfo& param, py::handle value)
        : info_(info), param_(param), value_(value) {}

    double read() const {
        if (value_.is_none()) return param_.default_value;
        const double number = param_.kind == ParamKind::ma_type ? ma_type_code() : as_number();
        if (!in_declared_range(param_, number)) fail("is out of range " + range_text(param_));
        return number;
    }

private:
    double ma_type_code() const {
        if (py::isinstance<py::str>(value_)) {
            const std::string name = py::str(value_).attr("lower")().cast<std::string>();
            for (std::size_t code = 0; code < MA_TYPE_NAMES.size(); ++code)
                if (name == MA_TYPE_NAMES[code]) return double(code);
            fail("is not a moving-average type (sma, ema, wma, dema, tema, trima, kama, mama, t3, or 0..8)");
        }
        return as_number();
    }

    double as_number() const {
        // An array, even of one element, is not a parameter value (a 0-D
        // array is numpy's scalar and reads as one).
        if (py::isinstance<py::array>(value_) && py::reinterpret_borrow<py::array>(value_).ndim() != 0)
            raise(PyExc_TypeError, prefix() + "must be a number, not an array of shape " +
                                       shape_text(py::reinterpret_borrow<py::array>(value_)));
        if (PyIndex_Check(value_.ptr())) {
            const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value_.ptr()));
            if (!index) {
                PyErr_Clear();
                raise(PyExc_TypeError, prefix() + "must be a number, not " + type_name(value_));
            }
            int overflow = 0;
            const long long whole = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
            if (overflow != 0) fail("is out of range " + range_text(param_));
            return double(whole);
        }
        if (!PyFloat_Check(value_.ptr()) && !PyNumber_Check(value_.ptr()))
            raise(PyExc_TypeError, prefix() + "must be a number, not " + type_name(value_));
        const double number = py::float_(py::reinterpret_borrow<py::object>(value_));
        if (param_.kind != ParamKind::real && std::isfinite(number) && number != std::floor(number))
            fail("is not a whole number");
        return number;
    }

    std::string prefix() const { return std::string(info_.name) + ": " + param_.name + " "; }

    [[noreturn]] void fail(const std::string& why) const {
        raise(PyExc_ValueError, std::string(info_.name) + ": " + param_.name + "=" + repr_text(value_) + " " + why);
    }

    const IndicatorInfo& info_;
    const ParamInfo& param_;
    py::handle value_;
};

std::array<double, MAX_PARAMS> read_params(const IndicatorInfo& info, PyObject* const* values) {
    std::array<double, MAX_PARAMS> params{};
    for (int p = 0; p < info.param_count(); ++p)
        params[p] = ParamReader(info, info.params[p], values[p] ? values[p] : Py_None).read();
    return params;
}

std::array<double, MAX_PARAMS> read_params(const IndicatorInfo& info, const py::tuple& values) {
    if (int(values.size()) != info.param_count())
        raise(PyExc_TypeError, std::string(info.name) + ": expected " + std::to_string(info.param_count()) +
                                   " parameters, got " + std::to_string(values.size()));
    return read_params(info, PySequence_Fast_ITEMS(values.ptr()));
}

// ---- Arrays ------------------------------------------------------------------

using DoubleArray = py::array_t<double, py::array::c_style>;

// An object array's elements must be real numbers (None reads as NaN).
void check_objects(const IndicatorInfo& info, const char* input, const py::array& array) {
    const py::object real = py::module_::import("numbers").attr("Real");
    for (const py::handle element : array.attr("flat"))
        if (!element.is_none() && !py::isinstance(element, real))
            raise(PyExc_TypeError, std::string(info.name) + ": input '" + input + "' holds " + repr_text(element) +
                                       " (a " + type_name(element) + "), not a number");
}

// The value as a numpy array of numbers: booleans, integers, floats, or
// objects that are real numbers. Dates, durations, complex numbers, text and
// other objects are refused rather than converted; the masked elements of a
// masked array become NaN.
py::array numeric_array(const IndicatorInfo& info, const char* input, py::handle value) {
    auto& api = py::detail::npy_api::get();
    PyObject* converted =
        api.PyArray_FromAny_(value.ptr(), nullptr, 0, 0, int(py::detail::npy_api::NPY_ARRAY_ENSUREARRAY_), nullptr);
    if (converted == nullptr) throw py::error_already_set();
    auto array = py::reinterpret_steal<py::array>(converted);
    const py::dtype dtype = array.dtype();
    switch (dtype.kind()) {
        case 'b': case 'i': case 'u': case 'f': break;
        case 'O': check_objects(info, input, array); break;
        default:
            raise(PyExc_TypeError, std::string(info.name) + ": input '" + input + "' holds " +
                                       py::str(py::handle(dtype)).cast<std::string>() + " values, not numbers");
    }
    if (array.ptr() == value.ptr()) return array;  // a plain ndarray
    const py::object masked = py::module_::import("numpy.ma").attr("MaskedArray");
    if (py::isinstance(value, masked))
        return py::reinterpret_borrow<py::object>(value)
            .attr("astype")(py::dtype::of<double>())
            .attr("filled")(std::numeric_limits<double>::quiet_NaN());
    return array;
}

using npy = py::detail::npy_api;

// A float64 array in native byte order, aligned and C-contiguous, of 1 or 2
// dimensions: what the entries read as it is.
bool is_plain_doubles(PyObject* value) {
    if (Py_TYPE(value) != npy::get().PyArray_Type_) return false;
    const auto* array = py::detail::array_proxy(value);
    const auto* descr = py::detail::array_descriptor_proxy(array->descr);
    constexpr int layout = npy::NPY_ARRAY_C_CONTIGUOUS_ | npy::NPY_ARRAY_ALIGNED_;
    return descr->type_num == npy::NPY_DOUBLE_ && descr->byteorder == '=' && (array->flags & layout) == layout &&
           (array->nd == 1 || array->nd == 2);
}

// The value as a C-contiguous float64 array: the same object when it is one
// already, otherwise one converted copy.
DoubleArray as_double_array(const IndicatorInfo& info, const char* input, py::handle value) {
    if (is_plain_doubles(value.ptr())) return py::reinterpret_borrow<DoubleArray>(value);
    if (value.is_none()) raise(PyExc_TypeError, std::string(info.name) + ": input '" + input + "' is missing");
    const py::array numbers = numeric_array(info, input, value);
    auto& api = npy::get();
    PyObject* array = api.PyArray_FromAny_(numbers.ptr(), py::dtype::of<double>().release().ptr(), 0, 0,
                                           int(npy::NPY_ARRAY_ENSUREARRAY_) | int(py::array::c_style) |
                                               int(py::array::forcecast),
                                           nullptr);
    if (array == nullptr) throw py::error_already_set();
    auto result = py::reinterpret_steal<DoubleArray>(array);
    if (result.ndim() != 1 && result.ndim() != 2)
        raise(PyExc_ValueError, std::string(info.name) + ": input '" + input + "' must be 1-D (bars) or 2-D (series, bars), not " +
                                    std::to_string(result.ndim()) + "-D");
    return result;
}

// An array's elements, read from numpy's own struct.
char* bytes_of(py::handle array) { return py::detail::array_proxy(array.ptr())->data; }
double* doubles_of(py::handle array) { return reinterpret_cast<double*>(bytes_of(array)); }

// Slots for arrays are py::object: a default py::array is a numpy array
// made for nothing.
struct Inputs {
    std::array<py::object, MAX_INPUTS> arrays;  // C-contiguous float64
    int ndim = 1;
    std::array<py::ssize_t, 2> shape{};
    py::ssize_t rows = 1;
    py::ssize_t bars = 0;
};

// The Python name of an input: the single price series is called close.
std::string input_name(const IndicatorInfo& info, int i) {
    return std::string_view(info.inputs[i]) == "input" ? "close" : info.inputs[i];
}

bool same_shape(const py::array& array, const Inputs& inputs) {
    return array.ndim() == inputs.ndim && std::equal(array.shape(), array.shape() + array.ndim(), inputs.shape.begin());
}

Inputs read_inputs(const IndicatorInfo& info, PyObject* const* values) {
    Inputs inputs;
    for (int i = 0; i < info.input_count(); ++i) {
        inputs.arrays[i] = as_double_array(info, input_name(info, i).c_str(), values[i] ? values[i] : Py_None);
        const auto array = py::reinterpret_borrow<py::array>(inputs.arrays[i]);
        if (i == 0) {
            inputs.ndim = int(array.ndim());
            std::copy(array.shape(), array.shape() + array.ndim(), inputs.shape.begin());
        } else if (!same_shape(array, inputs)) {
            raise(PyExc_ValueError, std::string(info.name) + ": inputs differ in shape: '" + input_name(info, 0) +
                                        "' is " + shape_text(py::reinterpret_borrow<py::array>(inputs.arrays[0])) + ", '" + input_name(info, i) +
                                        "' is " + shape_text(array));
        }
    }
    inputs.bars = inputs.shape[std::size_t(inputs.ndim - 1)];
    inputs.rows = inputs.ndim == 2 ? inputs.shape[0] : 1;
    if (inputs.bars > py::ssize_t(INT32_MAX))
        raise(PyExc_ValueError, std::string(info.name) + ": " + std::to_string(inputs.bars) +
                                    " bars is more than one call can take (2147483647)");
    if (inputs.rows > py::ssize_t(INT32_MAX))
        raise(PyExc_ValueError, std::string(info.name) + ": " + std::to_string(inputs.rows) +
                                    " rows is more than one call can take (2147483647)");
    return inputs;
}

Inputs read_inputs(const IndicatorInfo& info, const py::tuple& values) {
    if (int(values.size()) != info.input_count())
        raise(PyExc_TypeError, std::string(info.name) + ": expected " + std::to_string(info.input_count()) +
                                   " inputs, got " + std::to_string(values.size()));
    return read_inputs(info, PySequence_Fast_ITEMS(values.ptr()));
}

// A new C-contiguous array of the inputs' shape (numpy type `type`), with
// `tail` more elements in its allocation past the last.
py::array new_array(const Inputs& inputs, int type, py::ssize_t tail = 0) {
    auto& api = npy::get();
    Py_intptr_t size = Py_intptr_t(inputs.rows * inputs.bars + tail);
    Py_intptr_t dims[2] = {Py_intptr_t(inputs.shape[0]), Py_intptr_t(inputs.shape[1])};
    const bool whole = tail == 0;
    auto made = py::reinterpret_steal<py::array>(api.PyArray_NewFromDescr_(
        api.PyArray_Type_, api.PyArray_DescrFromType_(type), whole ? inputs.ndim : 1, whole ? dims : &size, nullptr,
        nullptr, 0, nullptr));
    if (!made) throw py::error_already_set();
    if (whole) return made;
    // A view of the inputs' shape on the longer allocation.
    auto view = py::reinterpret_steal<py::array>(api.PyArray_NewFromDescr_(
        api.PyArray_Type_, api.PyArray_DescrFromType_(type), inputs.ndim, dims, nullptr, made.mutable_data(),
        npy::NPY_ARRAY_C_CONTIGUOUS_ | npy::NPY_ARRAY_ALIGNED_ | npy::NPY_ARRAY_WRITEABLE_, nullptr));
    if (!view) throw py::error_already_set();
    if (api.PyArray_SetBaseObject_(view.ptr(), made.release().ptr()) != 0) throw py::error_already_set();
    return view;
}

// ---- Computation ---------------------------------------------------------------

// Result of a row whose entry did not start where its lookback says.
constexpr RetCode MISALIGNED = -1;

// One row as a C program computes a whole series: the entry over
// first_index 0 .. last_index bars - 1 (a later first_index could change the
// bits, since running sums and recursive averages would start elsewhere).
// Its values start at bar `lookback`, so the entry is handed out + lookback
// and writes each value straight to the bar it belongs to.
RetCode compute_row(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params, std::int32_t lookback,
                    std::int32_t bars, const std::array<const double*, MAX_INPUTS>& in,
                    const std::array<double*, MAX_OUTPUTS>& out) {
    if (lookback >= bars) return RC_OK;
    std::int32_t begin = 0, count = 0;
    Request request;
    request.first_index = 0;
    request.last_index = bars - 1;
    request.inputs = in;
    request.params = params;
    request.out_begin = &begin;
    request.out_count = &count;
    for (int o = 0; o < info.output_count(); ++o) request.outputs[o] = out[o] + lookback;
    const RetCode code = info.invoke(request);
    if (code == RC_OK && (begin != lookback || count != bars - lookback)) return MISALIGNED;
    return code;
}

// compute_row into rows of exactly `bars` values with nothing past them: the
// entry writes from the row's start, as its contract has it, and the values
// then move up to the bars they belong to.
RetCode compute_row_within(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params,
                           std::int32_t lookback, std::int32_t bars, const std::array<const double*, MAX_INPUTS>& in,
                           const std::array<double*, MAX_OUTPUTS>& out) {
    if (lookback >= bars) return RC_OK;
    std::array<double*, MAX_OUTPUTS> starts{};
    for (int o = 0; o < info.output_count(); ++o) starts[o] = out[o] - lookback;
    const RetCode code = compute_row(info, params, lookback, bars, in, starts);
    if (code != RC_OK) return code;
    for (int o = 0; o < info.output_count(); ++o)
        std::memmove(out[o] + lookback, out[o], std::size_t(bars - lookback) * sizeof(double));
    return code;
}

// Every row at once through the many-series engine, which gives each row the
// bits of compute_row and leaves the bars before the lookback as they are.
RetCode compute_rows(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params, std::int32_t lookback,
                     std::int32_t rows, std::int32_t bars, unsigned threads,
                     const std::array<const double*, MAX_INPUTS>& in, const std::array<double*, MAX_OUTPUTS>& out) {
    SeriesBatch batch;
    batch.series = rows;
    batch.bars = bars;
    batch.inputs = in.data();
    batch.input_stride = bars;
    batch.outputs = out.data();
    batch.output_stride = bars;
    batch.threads = std::int32_t(threads);
    std::int32_t begin = 0, count = 0;
    const RetCode code = run_series_batch(info, params.data(), info.param_count(), batch, &begin, &count);
    if (code == RC_OK && count > 0 && (begin != lookback || count != batch.bars - lookback)) return MISALIGNED;
    return code;
}

// NaN on the bars before the first value of each row.
void fill_leads(double* out, std::ptrdiff_t rows, std::int32_t bars, std::int32_t lookback) {
    const std::int32_t lead = std::min(lookback, bars);
    for (std::ptrdiff_t r = 0; r < rows; ++r)
        std::fill(out + r * bars, out + r * bars + lead, std::numeric_limits<double>::quiet_NaN());
}

// Rows the caller owns, with nothing past the last: every row but the last
// through the engine, whose entries may run `lookback` values into the next
// row's lead, the last one alone within its bars.
RetCode compute_into(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params, std::int32_t lookback,
                     const Inputs& inputs, unsigned threads, std::array<const double*, MAX_INPUTS> in,
                     std::array<double*, MAX_OUTPUTS> out) {
    const auto rows = std::int32_t(inputs.rows), bars = std::int32_t(inputs.bars);
    if (rows == 0) return RC_OK;
    if (rows > 1) {
        const RetCode code = compute_rows(info, params, lookback, rows - 1, bars, threads, in, out);
        if (code != RC_OK) return code;
    }
    const std::ptrdiff_t last = std::ptrdiff_t(rows - 1) * bars;
    for (int i = 0; i < info.input_count(); ++i) in[i] += last;
    for (int o = 0; o < info.output_count(); ++o) out[o] += last;
    return compute_row_within(info, params, lookback, bars, in, out);
}

void raise_for(const IndicatorInfo& info, RetCode code) {
    if (code == MISALIGNED)
        raise(PyExc_RuntimeError, std::string(info.entry) + " did not start its output at its lookback");
    if (code == RC_NO_MEMORY) raise(PyExc_MemoryError, std::string(info.name) + ": out of memory for its scratch arrays");
    raise(PyExc_RuntimeError, std::string(info.entry) + " failed with code " + std::to_string(code));
}

// The most threads one call starts.
constexpr long long MAX_THREADS = 1 << 16;

unsigned thread_count(py::handle threads) {
    if (threads.ptr() == nullptr || threads.is_none()) return 0;
    const std::string text = "threads=" + repr_text(threads);
    const py::object index = PyIndex_Check(threads.ptr()) && !py::isinstance<py::array>(threads)
                                 ? py::reinterpret_steal<py::object>(PyNumber_Index(threads.ptr()))
                                 : py::object();
    if (!index) {
        PyErr_Clear();
        raise(PyExc_TypeError, text + ": threads must be a whole number, not " + type_name(threads));
    }
    int overflow = 0;
    const long long count = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow != 0 || count < 1 || count > MAX_THREADS)
        raise(PyExc_ValueError, text + " is out of range 1.." + std::to_string(MAX_THREADS));
    return unsigned(count);
}

// True when the indicator's outputs are signals (whole numbers, 0 for
// none), which Python gives as int32.
bool gives_signals(const IndicatorInfo& info) {
    for (int o = 0; o < info.output_count(); ++o)
        if (info.placement_of(o) != Placement::markers) return false;
    return true;
}

// Signals as int32: 0 where there is no value (the bars before the first).
void to_signals(const double* values, std::int32_t* signals, py::ssize_t count) {
    for (py::ssize_t k = 0; k < count; ++k) signals[k] = std::isnan(values[k]) ? 0 : std::int32_t(values[k]);
}

// ---- out= --------------------------------------------------------------------------

struct OutArrays {
    std::array<py::object, MAX_OUTPUTS> arrays;
    bool given = false;
    bool shares_input = false;  // some array overlaps an input's memory
};

bool overlaps(py::handle first, py::handle second) {
    const auto a = py::reinterpret_borrow<py::array>(first), b = py::reinterpret_borrow<py::array>(second);
    const auto* a_start = static_cast<const char*>(a.data());
    const auto* b_start = static_cast<const char*>(b.data());
    return a.nbytes() > 0 && b.nbytes() > 0 && a_start < b_start + b.nbytes() && b_start < a_start + a.nbytes();
}

// The caller's arrays of out=, one per output (a tuple of them when there
// are several), checked as numpy checks an out= argument, and against the
// inputs: an output may share memory with an input only where the
// indicator's rows allow an output to be an input.
OutArrays read_out(const IndicatorInfo& info, const Inputs& inputs, PyObject* value) {
    OutArrays result;
    if (value == nullptr || value == Py_None) return result;
    result.given = true;
    const std::string name = info.name;
    const int outputs = info.output_count();
    const bool signals = gives_signals(info);
    const bool tuple = PyTuple_Check(value);
    if (!tuple && outputs > 1)
        raise(PyExc_TypeError, name + ": out must be a tuple of " + std::to_string(outputs) + " arrays, not " +
                                   type_name(value));
    if (tuple && PyTuple_GET_SIZE(value) != outputs)
        raise(PyExc_ValueError, name + ": the out tuple must have exactly " + std::to_string(outputs) +
                                    (outputs == 1 ? " entry" : " entries") + ", not " +
                                    std::to_string(PyTuple_GET_SIZE(value)));
    const char* wanted = signals ? "int32" : "float64";
    for (int o = 0; o < outputs; ++o) {
        PyObject* item = tuple ? PyTuple_GET_ITEM(value, o) : value;
        const std::string which = name + ": out" + (tuple ? "[" + std::to_string(o) + "]" : "") + " ";
        if (!npy::get().PyArray_Check_(item))
            raise(PyExc_TypeError, which + "must be a numpy array, not " + type_name(item));
        auto array = py::reinterpret_borrow<py::array>(item);
        const auto* descr = py::detail::array_descriptor_proxy(py::detail::array_proxy(item)->descr);
        const bool native = descr->byteorder == '=' || descr->byteorder == '|';
        if (!native || descr->type_num != (signals ? int(npy::NPY_INT32_) : int(npy::NPY_DOUBLE_)))
            raise(PyExc_TypeError, which + "must have dtype " + wanted + ", not " +
                                       py::str(py::handle(array.dtype())).cast<std::string>());
        if (!same_shape(array, inputs))
            raise(PyExc_ValueError, which + "has shape " + shape_text(array) + ", the inputs " +
                                        shape_text(py::reinterpret_borrow<py::array>(inputs.arrays[0])));
        if (!(array.flags() & npy::NPY_ARRAY_C_CONTIGUOUS_) || !(array.flags() & npy::NPY_ARRAY_ALIGNED_))
            raise(PyExc_ValueError, which + "must be C-contiguous and aligned");
        if (!array.writeable()) raise(PyExc_ValueError, which + "is read-only");
        for (int k = 0; k < o; ++k)
            if (overlaps(array, result.arrays[k]))
                raise(PyExc_ValueError, which + "shares memory with out[" + std::to_string(k) + "]");
        for (int i = 0; i < info.input_count(); ++i) {
            if (!overlaps(array, inputs.arrays[i])) continue;
            if (info.aliasing != Aliasing::output_may_be_input)
                raise(PyExc_ValueError, which + "shares memory with input '" + input_name(info, i) + "', which " +
                                            name + " does not allow (its outputs must be separate arrays)");
            result.shares_input = true;
        }
        result.arrays[o] = std::move(array);
    }
    return result;
}

// ---- A call --------------------------------------------------------------------------

// Calls over fewer values than this keep the GIL: releasing and taking it
// back costs more than they do.
constexpr py::ssize_t VALUES_WITH_GIL = 1 << 14;

// The library state's lock, shared, taken without letting go of the GIL when
// no one holds it alone.
std::shared_lock<std::shared_mutex> lock_state() {
    std::shared_lock state(library_state, std::try_to_lock);
    if (!state.owns_lock()) {
        py::gil_scoped_release unlocked;
        state.lock();
    }
    return state;
}

// Runs `work` without the GIL when it is long enough to be worth it.
template <typename Work>
RetCode run_released(py::ssize_t values, const Work& work) {
    if (values < VALUES_WITH_GIL) return work();
    py::gil_scoped_release unlocked;
    return work();
}

// The outputs in new arrays: float64 with NaN before each row's first value
// (int32 with 0 for signals).
std::array<py::object, MAX_OUTPUTS> compute_new(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params,
                                               std::int32_t lookback, const Inputs& inputs, unsigned threads) {
    std::array<py::object, MAX_OUTPUTS> outputs;
    std::array<const double*, MAX_INPUTS> in{};
    std::array<double*, MAX_OUTPUTS> out{};
    // The entries may use all the values the contract gives them, which from
    // out + lookback reach `lookback` values past the last row: a tail in the
    // same allocation. Earlier rows reach into the next row's lead, filled
    // with NaN once every row is done. Small calls skip the second array
    // object the tail takes, and compute as into the caller's arrays.
    const py::ssize_t values = inputs.rows * inputs.bars;
    const bool small = values < VALUES_WITH_GIL;
    const py::ssize_t tail = lookback < inputs.bars && !small ? lookback : 0;
    for (int i = 0; i < info.input_count(); ++i) in[i] = doubles_of(inputs.arrays[i]);
    for (int o = 0; o < info.output_count(); ++o) {
        outputs[o] = new_array(inputs, npy::NPY_DOUBLE_, tail);
        out[o] = doubles_of(outputs[o]);
    }
    const auto bars = std::int32_t(inputs.bars);
    const RetCode failure = run_released(values, [&] {
        const RetCode code = small            ? compute_into(info, params, lookback, inputs, threads, in, out)
                             : inputs.rows == 1 ? compute_row(info, params, lookback, bars, in, out)
                                              : compute_rows(info, params, lookback, std::int32_t(inputs.rows), bars,
                                                             threads, in, out);
        for (int o = 0; o < info.output_count(); ++o) fill_leads(out[o], inputs.rows, bars, lookback);
        return code;
    });
    if (failure != RC_OK) raise_for(info, failure);
    if (gives_signals(info))
        for (int o = 0; o < info.output_count(); ++o) {
            py::array signals = new_array(inputs, npy::NPY_INT32_);
            to_signals(out[o], static_cast<std::int32_t*>(signals.mutable_data()), values);
            outputs[o] = std::move(signals);
        }
    return outputs;
}

// The outputs written into the caller's arrays. Signals, and outputs sharing
// memory with an input, are made in new arrays first and copied.
void compute_out(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params, std::int32_t lookback,
                 const Inputs& inputs, unsigned threads, OutArrays& given) {
    const py::ssize_t values = inputs.rows * inputs.bars;
    if (given.shares_input || gives_signals(info)) {
        const auto made = compute_new(info, params, lookback, inputs, threads);
        for (int o = 0; o < info.output_count(); ++o)
            std::memcpy(bytes_of(given.arrays[o]), bytes_of(made[o]),
                        std::size_t(py::reinterpret_borrow<py::array>(made[o]).nbytes()));
        return;
    }
    std::array<const double*, MAX_INPUTS> in{};
    std::array<double*, MAX_OUTPUTS> out{};
    for (int i = 0; i < info.input_count(); ++i) in[i] = doubles_of(inputs.arrays[i]);
    for (int o = 0; o < info.output_count(); ++o) out[o] = doubles_of(given.arrays[o]);
    const auto bars = std::int32_t(inputs.bars);
    const RetCode failure = run_released(values, [&] {
        const RetCode code = compute_into(info, params, lookback, inputs, threads, in, out);
        for (int o = 0; o < info.output_count(); ++o) fill_leads(out[o], inputs.rows, bars, lookback);
        return code;
    });
    if (failure != RC_OK) raise_for(info, failure);
}

}  // namespace

py::object call_indicator(const IndicatorInfo& info, PyObject* const* input_values, PyObject* const* param_values,
                          PyObject* threads_value, PyObject* out_value) {
    const std::array<double, MAX_PARAMS> params = read_params(info, param_values);
    const Inputs inputs = read_inputs(info, input_values);
    const unsigned threads = thread_count(threads_value);
    OutArrays given = read_out(info, inputs, out_value);

    // The lock is held from reading the lookback until the entries are done,
    // so that both see one library state.
    const auto state = lock_state();
    const std::int32_t lookback = info.lookback(params.data());
    if (lookback < 0) raise(PyExc_ValueError, std::string(info.name) + ": parameters out of range");
    std::array<py::object, MAX_OUTPUTS> outputs;
    if (given.given) {
        compute_out(info, params, lookback, inputs, threads, given);
        outputs = given.arrays;
    } else {
        outputs = compute_new(info, params, lookback, inputs, threads);
    }
    if (info.output_count() == 1) return std::move(outputs[0]);
    py::tuple result(std::size_t(info.output_count()));
    for (int o = 0; o < info.output_count(); ++o) result[std::size_t(o)] = std::move(outputs[o]);
    return result;
}

namespace {

py::object compute(std::size_t index, const py::tuple& input_values, const py::tuple& param_values,
                   py::handle threads_value, py::handle out_value) {
    const IndicatorInfo& info = indicator_at(index);
    if (int(input_values.size()) != info.input_count())
        raise(PyExc_TypeError, std::string(info.name) + ": expected " + std::to_string(info.input_count()) +
                                   " inputs, got " + std::to_string(input_values.size()));
    if (int(param_values.size()) != info.param_count())
        raise(PyExc_TypeError, std::string(info.name) + ": expected " + std::to_string(info.param_count()) +
                                   " parameters, got " + std::to_string(param_values.size()));
    return call_indicator(info, PySequence_Fast_ITEMS(input_values.ptr()),
                          PySequence_Fast_ITEMS(param_values.ptr()), threads_value.ptr(), out_value.ptr());
}

// ---- The table and the library state --------------------------------------------

const char* placement_name(Placement placement) {
    switch (placement) {
        case Placement::overlay: return "overlay";
        case Placement::panel: return "panel";
        case Placement::markers: return "markers";
    }
    return "?";
}

py::list describe_table() {
    py::list rows;
    for (const IndicatorInfo& info : indicator_table()) {
        py::dict row;
        row["name"] = info.name;
        row["entry"] = info.entry;
        row["summary"] = info.summary;
        py::list inputs, params, outputs;
        for (int i = 0; i < info.input_count(); ++i) inputs.append(info.inputs[i]);
        for (int o = 0; o < info.output_count(); ++o) outputs.append(info.outputs[o]);
        for (int p = 0; p < info.param_count(); ++p) {
            const ParamInfo& param = info.params[p];
            py::dict described;
            described["name"] = param.name;
            described["kind"] = param_kind_name(param.kind);
            described["default"] = param.default_value;
            described["min"] = param.min;
            described["max"] = param.max;
            params.append(described);
        }
        row["inputs"] = inputs;
        row["params"] = params;
        row["outputs"] = outputs;
        row["placement"] = placement_name(info.placement);
        py::list placements;
        for (int o = 0; o < info.output_count(); ++o) placements.append(placement_name(info.placement_of(o)));
        row["placements"] = placements;
        row["signals"] = gives_signals(info);
        // Whether an output may share memory with an input (out=).
        row["aliasing"] = info.aliasing == Aliasing::output_may_be_input ? "any" : "separate";
        rows.append(row);
    }
    return rows;
}

std::int32_t lookback(std::size_t index, const py::tuple& param_values) {
    const IndicatorInfo& info = indicator_at(index);
    const std::array<double, MAX_PARAMS> params = read_params(info, param_values);
    py::gil_scoped_release unlocked;
    std::shared_lock state(library_state);
    return info.lookback(params.data());
}

RetCode change_state(RetCode (*change)()) {
    py::gil_scoped_release unlocked;
    std::unique_lock state(library_state);
    return change();
}

// Every candlestick pattern over 1-D open, high, low, close in one pass: an
// int8 array of shape (bars, patterns), 0 on the bars before the scan's
// first row. `index` is a pattern's row, whose parameters are the settings.
py::array_t<std::int8_t> candle_scan(std::size_t index, const py::tuple& input_values, const py::tuple& param_values) {
    const IndicatorInfo& info = indicator_at(index);
    const std::array<double, MAX_PARAMS> params = read_params(info, param_values);
    const Inputs inputs = read_inputs(info, input_values);
    if (inputs.ndim != 1) raise(PyExc_ValueError, "candle_scan: the inputs must be 1-D");
    const auto patterns = py::ssize_t(movlex_candle_pattern_count());
    py::array_t<std::int8_t> result({inputs.bars, patterns});
    std::int8_t* out = result.mutable_data();
    std::fill(out, out + inputs.bars * patterns, std::int8_t(0));
    if (inputs.bars == 0) return result;
    const MovlexCandleSettings settings{std::int32_t(params[0]), params[1], params[2], params[3], params[4],
                                        params[5],               params[6], params[7], params[8]};
    RetCode code = RC_OK;
    {
        py::gil_scoped_release unlocked;
        // Rows from the first computed bar on: the entry writes from out, shifted once its begin is known.
        std::vector<std::int8_t> rows(std::size_t(inputs.bars * patterns));
        std::int32_t begin = 0, count = 0;
        code = movlex_candle_scan(0, std::int32_t(inputs.bars - 1), doubles_of(inputs.arrays[0]), doubles_of(inputs.arrays[1]),
                                  doubles_of(inputs.arrays[2]), doubles_of(inputs.arrays[3]), &settings, &begin, &count,
                                  rows.data());
        if (code == RC_OK) std::copy(rows.begin(), rows.begin() + count * patterns, out + begin * patterns);
    }
    if (code != RC_OK) raise_for(info, code);
    return result;
}

std::vector<std::string> candle_pattern_names() {
    std::vector<std::string> names;
    for (std::int32_t k = 0; k < movlex_candle_pattern_count(); ++k) names.emplace_back(movlex_candle_pattern_name(k));
    return names;
}

}  // namespace

// A stream of one indicator: made with the parameters read as the functions
// read them, fed one bar at a time, saved to bytes and made again from them.
class PyStream {
public:
    PyStream(std::size_t index, const py::tuple& param_values) {
        const IndicatorInfo& info = indicator_at(index);
        const std::array<double, MAX_PARAMS> params = read_params(info, param_values);
        std::shared_lock<std::shared_mutex> state(library_state);
        const RetCode code = make_stream(info, params.data(), info.param_count(), stream_);
        if (code != RC_OK) raise_for(info, code);
    }
    explicit PyStream(std::unique_ptr<Stream> stream) : stream_(std::move(stream)) {}
    // Moved only when just made, before any other thread can see it.
    PyStream(PyStream&& made) noexcept : stream_(std::move(made.stream_)) {}

    // The bar's outputs, or None while there is no value yet.
    py::object update(const std::vector<double>& inputs) {
        const IndicatorInfo& info = stream_->indicator();
        if (int(inputs.size()) != info.input_count())
            throw py::value_error(std::string(info.name) + ": a bar has " + std::to_string(info.input_count()) +
                                  " input(s), got " + std::to_string(inputs.size()));
        double out[MAX_OUTPUTS];
        bool has_value = false;
        {
            const auto lock = locked();
            has_value = stream_->update(inputs.data(), out);
        }
        if (!has_value) return py::none();
        py::tuple values(std::size_t(info.output_count()));
        for (int k = 0; k < info.output_count(); ++k) values[std::size_t(k)] = out[k];
        return values;
    }

    // Every bar of the inputs (arrays of one length), outputs as arrays with
    // NaN where there is no value yet.
    py::list update_many(const py::sequence& values) {
        const IndicatorInfo& info = stream_->indicator();
        if (int(values.size()) != info.input_count())
            throw py::value_error(std::string(info.name) + ": expected " + std::to_string(info.input_count()) +
                                  " input array(s)");
        std::vector<DoubleArray> inputs;
        for (int i = 0; i < info.input_count(); ++i)
            inputs.push_back(as_double_array(info, input_name(info, i).c_str(), values[std::size_t(i)]));
        const py::ssize_t bars = inputs.empty() ? 0 : inputs[0].size();
        for (const auto& input : inputs)
            if (input.ndim() != 1 || input.size() != bars)
                throw py::value_error(std::string(info.name) + ": the inputs must be 1-D arrays of one length");
        std::vector<py::array_t<double>> outputs;
        for (int k = 0; k < info.output_count(); ++k) outputs.emplace_back(bars);
        std::vector<const double*> in;
        for (const auto& input : inputs) in.push_back(input.data());
        std::vector<double*> out;
        for (auto& output : outputs) out.push_back(output.mutable_data());
        {
            py::gil_scoped_release released;
            const std::lock_guard lock(mutex_);
            double bar[MAX_INPUTS], value[MAX_OUTPUTS];
            for (py::ssize_t t = 0; t < bars; ++t) {
                for (std::size_t k = 0; k < in.size(); ++k) bar[k] = in[k][t];
                const bool has_value = stream_->update(bar, value);
                for (std::size_t k = 0; k < out.size(); ++k)
                    out[k][t] = has_value ? value[k] : std::numeric_limits<double>::quiet_NaN();
            }
        }
        py::list result;
        for (auto& output : outputs) result.append(output);
        return result;
    }

    py::bytes save() const {
        std::vector<std::uint8_t> bytes;
        {
            const auto lock = locked();
            bytes = stream_->save();
        }
        return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    static PyStream from_state(const py::bytes& state) {
        const std::string bytes = state;
        std::unique_ptr<Stream> stream;
        const RetCode code = stream_from_state(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), stream);
        if (code != RC_OK) throw py::value_error("not a movlex stream state (code " + std::to_string(code) + ")");
        return PyStream(std::move(stream));
    }

    PyStream copy() const {
        const auto lock = locked();
        return PyStream(stream_->clone());
    }
    std::int64_t bars() const {
        const auto lock = locked();
        return stream_->bars();
    }
    std::size_t index() const { return std::size_t(&stream_->indicator() - indicator_table().data()); }

private:
    // The stream's lock, taken with the GIL held. A thread that has to wait
    // (another is in update_many, which runs without the GIL) lets the
    // other Python threads run meanwhile.
    std::unique_lock<std::mutex> locked() const {
        std::unique_lock lock(mutex_, std::try_to_lock);
        if (!lock.owns_lock()) {
            py::gil_scoped_release released;
            lock.lock();
        }
        return lock;
    }

    std::unique_ptr<Stream> stream_;
    // One thread at a time updates, saves or copies the stream: update_many
    // releases the GIL, so two Python threads sharing a stream could
    // otherwise step it at once and lose bars.
    mutable std::mutex mutex_;
};

// One indicator's streams for many symbols, fed one bar of every symbol at a
// time (api/stream_set.hpp): inputs are 1-D arrays of one value per symbol.
class PyStreamSet {
public:
    PyStreamSet(std::size_t index, const py::tuple& param_values, py::ssize_t symbols) : info_(&indicator_at(index)) {
        if (symbols < 0 || symbols > INT32_MAX) throw py::value_error("symbols must be between 0 and 2**31 - 1");
        const std::array<double, MAX_PARAMS> params = read_params(*info_, param_values);
        std::unique_ptr<Stream> prototype;
        {
            std::shared_lock<std::shared_mutex> state(library_state);
            const RetCode code = make_stream(*info_, params.data(), info_->param_count(), prototype);
            if (code != RC_OK) raise_for(*info_, code);
        }
        set_ = prototype->make_set(std::size_t(symbols));
    }

    // The bar's outputs of every symbol as arrays, or None while there is no
    // value yet.
    py::object update(const py::sequence& values) {
        const IndicatorInfo& info = *info_;
        if (int(values.size()) != info.input_count())
            throw py::value_error(std::string(info.name) + ": expected " + std::to_string(info.input_count()) +
                                  " input array(s)");
        const auto symbols = py::ssize_t(set_->symbols());
        std::vector<DoubleArray> inputs;
        std::vector<const double*> in;
        for (int i = 0; i < info.input_count(); ++i) {
            inputs.push_back(as_double_array(info, input_name(info, i).c_str(), values[std::size_t(i)]));
            if (inputs.back().ndim() != 1 || inputs.back().size() != symbols)
                throw py::value_error(std::string(info.name) + ": each input holds one value per symbol (" +
                                      std::to_string(symbols) + ")");
            in.push_back(inputs.back().data());
        }
        std::vector<py::array_t<double>> outputs;
        std::vector<double*> out;
        for (int k = 0; k < info.output_count(); ++k) {
            outputs.emplace_back(symbols);
            out.push_back(outputs.back().mutable_data());
        }
        bool has_value = false;
        {
            const std::lock_guard lock(mutex_);
            has_value = set_->update(in.data(), out.data());
        }
        if (!has_value) return py::none();
        py::list result;
        for (auto& output : outputs) result.append(output);
        return result;
    }

    std::int64_t bars() const { return set_->bars(); }
    std::size_t symbols() const { return set_->symbols(); }
    std::size_t index() const { return std::size_t(info_ - indicator_table().data()); }

private:
    const IndicatorInfo* info_;
    std::unique_ptr<StreamSet> set_;
    // Updates hold the GIL; the lock keeps a set's bars in order all the same.
    std::mutex mutex_;
};

PYBIND11_MODULE(_movlex, module) {
    py::class_<PyStreamSet>(module, "StreamSet")
        .def(py::init<std::size_t, const py::tuple&, py::ssize_t>(), py::arg("index"), py::arg("params"),
             py::arg("symbols"))
        .def("update", &PyStreamSet::update)
        .def_property_readonly("bars", &PyStreamSet::bars)
        .def_property_readonly("symbols", &PyStreamSet::symbols)
        .def_property_readonly("index", &PyStreamSet::index);
    py::class_<PyStream>(module, "Stream")
        .def(py::init<std::size_t, const py::tuple&>(), py::arg("index"), py::arg("params"))
        .def("update", &PyStream::update)
        .def("update_many", &PyStream::update_many)
        .def("save", &PyStream::save)
        .def_static("from_state", &PyStream::from_state)
        .def("copy", &PyStream::copy)
        .def_property_readonly("bars", &PyStream::bars)
        .def_property_readonly("index", &PyStream::index);
    module.doc() = "movlex's compiled core; use the functions of the movlex package.";
    module.def("indicator_table", &describe_table, "Every indicator of the table as a dict.");
    module.def("ma_type_names", [] { return std::vector<std::string>(MA_TYPE_NAMES.begin(), MA_TYPE_NAMES.end()); });
    module.def("compute", &compute, py::arg("index"), py::arg("inputs"), py::arg("params"), py::arg("threads"),
               py::arg("out") = py::none(),
               "Computes indicator `index` over 1-D or 2-D inputs; one array, or a tuple of arrays.");
    add_indicator_function(module);
    module.def("lookback", &lookback, py::arg("index"), py::arg("params"));
    module.def("candle_scan", &candle_scan, py::arg("index"), py::arg("inputs"), py::arg("params"));
    module.def("candle_pattern_names", &candle_pattern_names);
    module.def("initialize", [] { return change_state([] { return MOVLEX_INIT(); }); });
    module.def("shutdown", [] { return change_state([] { return MOVLEX_SHUTDOWN(); }); });
    module.def("hardware_threads", &hardware_threads);
}

}  // namespace movlex::python
