"""The type stubs installed beside the package describe the functions and
stream classes it makes at import time, keyword for keyword."""

import ast
import inspect
import pathlib

import pytest

import movlex
from movlex import _stub

PACKAGE = pathlib.Path(movlex.__file__).parent


def definitions(path):
    """{name: [nodes]} of the top-level definitions of a stub."""
    found = {}
    for node in ast.parse(path.read_text()).body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            found.setdefault(node.name, []).append(node)
        elif isinstance(node, ast.AnnAssign):
            found.setdefault(node.target.id, []).append(node)
        elif isinstance(node, ast.ImportFrom):
            for alias in node.names:
                if alias.asname == alias.name:  # re-exported
                    found.setdefault(alias.name, []).append(node)
    return found


def stub_signature(function):
    """(name, kind, default) of each argument but self, as inspect names them."""
    arguments = function.args
    positional = [a for a in arguments.args if a.arg != "self"]
    defaults = [inspect.Parameter.empty] * (len(positional) - len(arguments.defaults))
    defaults += [ast.literal_eval(d) for d in arguments.defaults]
    result = [(a.arg, "POSITIONAL_OR_KEYWORD", d) for a, d in zip(positional, defaults)]
    result += [(a.arg, "KEYWORD_ONLY", ast.literal_eval(d)) for a, d in zip(arguments.kwonlyargs, arguments.kw_defaults)]
    return result


def runtime_signature(function):
    return [(p.name, p.kind.name, p.default) for p in inspect.signature(function).parameters.values()]


@pytest.fixture(scope="module")
def init_stub():
    return definitions(PACKAGE / "__init__.pyi")


@pytest.fixture(scope="module")
def stream_stub():
    return definitions(PACKAGE / "stream.pyi")


def test_the_package_is_typed_and_its_stubs_are_current():
    assert (PACKAGE / "py.typed").exists()
    assert (PACKAGE / "__init__.pyi").read_text() == _stub.init_stub()
    assert (PACKAGE / "stream.pyi").read_text() == _stub.stream_stub()


def test_every_public_name_is_in_the_stub(init_stub, stream_stub):
    assert set(movlex.__all__) - set(init_stub) == set()
    assert set(movlex.stream.__all__) - set(stream_stub) == set()


@pytest.mark.parametrize("name", sorted(movlex.INDICATORS))
def test_each_function_and_stream_has_its_keywords_and_defaults(name, init_stub, stream_stub):
    overloads = init_stub[name]
    assert len(overloads) == 2 and all(ast.get_docstring(o) == getattr(movlex, name).__doc__ for o in overloads)
    for overload in overloads:
        assert stub_signature(overload) == runtime_signature(getattr(movlex, name))
    indicator = movlex.INDICATORS[name]
    (stream_class,) = stream_stub[name.upper()]
    methods = {node.name: node for node in stream_class.body if isinstance(node, ast.FunctionDef)}
    assert [(p, d) for p, _, d in stub_signature(methods["__init__"])] == [
        (p.name, movlex._indicators._default_value(p)) for p in indicator.params]
    assert [a for a, _, _ in stub_signature(methods["update"])] == list(indicator.inputs)
