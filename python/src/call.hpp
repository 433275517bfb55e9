// What the compiled module's parts share: one call of an indicator on
// Python values, and the type of the package's indicator functions.
#pragma once

#include <pybind11/pybind11.h>

#include "api/indicator_table.hpp"

namespace movlex::python {

// One call of an indicator: the inputs' and parameters' values in table
// order (nullptr or None for a parameter's default), threads and out
// (nullptr or None when not given). Returns one array, or a tuple of them
// for several outputs (the out arrays themselves when out is given).
pybind11::object call_indicator(const IndicatorInfo& info, PyObject* const* inputs, PyObject* const* params,
                                PyObject* threads, PyObject* out);

// Adds IndicatorFunction(index, general, result_type) to the module.
void add_indicator_function(pybind11::module_& module);

}  // namespace movlex::python
