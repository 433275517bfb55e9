// The package's functions, movlex.sma and the others: one object per
// indicator that reads its own arguments (vectorcall), so that a call with a
// numpy array goes from Python to the entry without tuples, dictionaries or
// a Python frame. Any other call (pandas objects, lists, arguments it cannot
// place) goes to the indicator's Python function, which the object carries
// and which gives the same results and errors.
#include <cstddef>
#include <exception>
#include <new>

#include <pybind11/numpy.h>

#include "call.hpp"

namespace py = pybind11;

namespace movlex::python {

namespace {

// Inputs, parameters, threads and out.
constexpr int MAX_SLOTS = MAX_INPUTS + MAX_PARAMS + 2;

struct IndicatorFunction {
    PyObject_HEAD
    vectorcallfunc vectorcall;
    PyObject* dict;
    const IndicatorInfo* info;
    int slots;
    PyObject* names[MAX_SLOTS];  // keyword names of the slots, interned
    PyObject* general;           // the indicator's Python function
    PyObject* result_type;       // the named tuple of several outputs, or None
};

// The slot a keyword names, or -1.
int slot_named(const IndicatorFunction& self, PyObject* name) {
    for (int s = 0; s < self.slots; ++s)
        if (self.names[s] == name) return s;
    for (int s = 0; s < self.slots; ++s)
        if (PyUnicode_Compare(self.names[s], name) == 0) return s;
    PyErr_Clear();
    return -1;
}

PyObject* call(PyObject* object, PyObject* const* args, std::size_t nargsf, PyObject* kwnames) {
    auto& self = *reinterpret_cast<IndicatorFunction*>(object);
    const IndicatorInfo& info = *self.info;
    const Py_ssize_t positional = PyVectorcall_NARGS(nargsf);
    const int threads = self.slots - 2;
    PyObject* values[MAX_SLOTS] = {};
    bool placed = positional <= threads;
    for (Py_ssize_t k = 0; placed && k < positional; ++k) values[k] = args[k];
    const Py_ssize_t keywords = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; placed && k < keywords; ++k) {
        const int slot = slot_named(self, PyTuple_GET_ITEM(kwnames, k));
        placed = slot >= 0 && values[slot] == nullptr;
        if (placed) values[slot] = args[positional + k];
    }
    for (int i = 0; placed && i < info.input_count(); ++i) placed = values[i] != nullptr && values[i] != Py_None;
    if (!placed || Py_TYPE(values[0]) != py::detail::npy_api::get().PyArray_Type_)
        return PyObject_Vectorcall(self.general, args, nargsf, kwnames);
    try {
        py::object result =
            call_indicator(info, values, values + info.input_count(), values[threads], values[threads + 1]);
        if (self.result_type != Py_None) return PyObject_Call(self.result_type, result.ptr(), nullptr);
        return result.release().ptr();
    } catch (py::error_already_set& error) {
        error.restore();
    } catch (const py::builtin_exception& error) {
        error.set_error();
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
    } catch (const std::exception& error) {
        PyErr_SetString(PyExc_RuntimeError, error.what());
    }
    return nullptr;
}

PyObject* make(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    Py_ssize_t index = 0;
    PyObject *general = nullptr, *result_type = nullptr;
    static const char* keywords[] = {"index", "general", "result_type", nullptr};
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "nOO:IndicatorFunction", const_cast<char**>(keywords), &index,
                                     &general, &result_type))
        return nullptr;
    const auto table = indicator_table();
    if (index < 0 || std::size_t(index) >= table.size()) {
        PyErr_Format(PyExc_IndexError, "no indicator %zd", index);
        return nullptr;
    }
    auto* self = reinterpret_cast<IndicatorFunction*>(type->tp_alloc(type, 0));
    if (self == nullptr) return nullptr;
    self->vectorcall = call;
    self->info = &table[std::size_t(index)];
    const IndicatorInfo& info = *self->info;
    int slot = 0;
    for (int i = 0; i < info.input_count(); ++i)
        self->names[slot++] = PyUnicode_InternFromString(std::string_view(info.inputs[i]) == "input" ? "close"
                                                                                                   : info.inputs[i]);
    for (int p = 0; p < info.param_count(); ++p) self->names[slot++] = PyUnicode_InternFromString(info.params[p].name);
    self->names[slot++] = PyUnicode_InternFromString("threads");
    self->names[slot++] = PyUnicode_InternFromString("out");
    self->slots = slot;
    self->general = Py_NewRef(general);
    self->result_type = Py_NewRef(result_type);
    for (int s = 0; s < slot; ++s)
        if (self->names[s] == nullptr) {
            Py_DECREF(self);
            return nullptr;
        }
    return reinterpret_cast<PyObject*>(self);
}

int traverse(PyObject* object, visitproc visit, void* arg) {
    auto* self = reinterpret_cast<IndicatorFunction*>(object);
    Py_VISIT(self->dict);
    Py_VISIT(self->general);
    Py_VISIT(self->result_type);
    return 0;
}

int clear(PyObject* object) {
    auto* self = reinterpret_cast<IndicatorFunction*>(object);
    Py_CLEAR(self->dict);
    Py_CLEAR(self->general);
    Py_CLEAR(self->result_type);
    return 0;
}

void destroy(PyObject* object) {
    PyObject_GC_UnTrack(object);
    clear(object);
    auto* self = reinterpret_cast<IndicatorFunction*>(object);
    for (int s = 0; s < self->slots; ++s) Py_CLEAR(self->names[s]);
    Py_TYPE(object)->tp_free(object);
}

PyObject* repr(PyObject* object) {
    return PyUnicode_FromFormat("<movlex function %s>", reinterpret_cast<IndicatorFunction*>(object)->info->name);
}

// Pickled by name, as functions are: movlex.<name>.
PyObject* reduce(PyObject* object, PyObject*) {
    return PyUnicode_FromString(reinterpret_cast<IndicatorFunction*>(object)->info->name);
}

PyMethodDef methods[] = {{"__reduce__", reduce, METH_NOARGS, nullptr}, {nullptr, nullptr, 0, nullptr}};

PyGetSetDef attributes[] = {{"__dict__", PyObject_GenericGetDict, PyObject_GenericSetDict, nullptr, nullptr},
                            {nullptr, nullptr, nullptr, nullptr, nullptr}};

PyTypeObject function_type = [] {
    PyTypeObject type{};
    Py_SET_REFCNT(reinterpret_cast<PyObject*>(&type), 1);  // static: never freed
    type.tp_name = "movlex._movlex.IndicatorFunction";
    type.tp_basicsize = sizeof(IndicatorFunction);
    type.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_HAVE_VECTORCALL;
    type.tp_doc = "An indicator's function: IndicatorFunction(index, general, result_type).";
    type.tp_new = make;
    type.tp_dealloc = destroy;
    type.tp_traverse = traverse;
    type.tp_clear = clear;
    type.tp_repr = repr;
    type.tp_call = PyVectorcall_Call;
    type.tp_vectorcall_offset = offsetof(IndicatorFunction, vectorcall);
    type.tp_dictoffset = offsetof(IndicatorFunction, dict);
    type.tp_getattro = PyObject_GenericGetAttr;
    type.tp_setattro = PyObject_GenericSetAttr;
    type.tp_methods = methods;
    type.tp_getset = attributes;
    return type;
}();

}  // namespace

void add_indicator_function(py::module_& module) {
    if (PyType_Ready(&function_type) != 0) throw py::error_already_set();
    Py_INCREF(&function_type);
    module.add_object("IndicatorFunction", reinterpret_cast<PyObject*>(&function_type));
}

}  // namespace movlex::python
