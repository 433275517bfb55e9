#!/usr/bin/python3
"""Writes the sources that follow from the indicator list (indicators.list).

    make_indicator_sources.py LIST SRC_DIR OUT_DIR INCLUDE_DIR
        OUT_DIR/indicator_kernels.inc     the kernel headers of every row
        OUT_DIR/indicator_rows.inc        the rows of the indicator table
        OUT_DIR/core_entries.cpp          the C entries of the core set
        OUT_DIR/core_lookbacks.cpp        their lookback routines
        OUT_DIR/core_lookbacks.hpp        the declarations of those routines
        OUT_DIR/extended_entries.cpp      the C entries of the extended set
        OUT_DIR/candle_patterns.hpp       the candlestick patterns' detectors
                                          (patterns::<name>) and the list of
                                          them, MOVLEX_CANDLE_PATTERNS(X)
        OUT_DIR/candle_entries.cpp        the patterns' C entries
        INCLUDE_DIR/movlex_extended_entries.h
                                          the documented prototypes of the
                                          extended set and the patterns
        INCLUDE_DIR/movlex_core_entry_table.inc
                                          the shapes of the core entries, for
                                          a C program that calls them by name
                                          (tests/windows/abi_host.c)
    make_indicator_sources.py --check-docs LIST DOC
        fails when an extended indicator has no section in DOC
    make_indicator_sources.py --check-pattern-docs LIST DOC
        fails when a candlestick pattern has no row in DOC's tables
    make_indicator_sources.py --check-header LIST SRC_DIR HEADER
        fails when the entries HEADER declares (movlex.h) are not the core
        set's, each with the arguments its row gives, names included

The parameters of an extended indicator are read from its declaration in
the kernel's header (integer_param, real_param, ma_type_param, an element of
another declaration, or another declaration as a whole); the generated entry
file asserts at compile time that the declaration is the one documented, so
the prototypes cannot drift from it. A file is rewritten only when its text
changes, so that nothing recompiles for an unchanged list.
"""

import pathlib
import re
import sys

PLACEMENTS = ("overlay", "panel", "markers")
ALIASING = {"any": "Aliasing::output_may_be_input", "separate": "Aliasing::separate_arrays"}
SYMBOLS = {"PERIOD_MAX": 100000.0, "REAL_LIMIT": 3e37}
MA_TYPE_MAX = 8.0


class ListError(Exception):
    pass


class Param:
    def __init__(self, name, kind, default, low, high):
        self.name, self.kind, self.default, self.low, self.high = name, kind, default, low, high

    def c_type(self):
        return {"integer": "int32_t", "real": "double", "ma_type": "MaType"}[self.kind]

    def lookback_type(self):
        return "double" if self.kind == "real" else "std::int32_t"

    def cxx(self):
        return (f'ParamInfo{{"{self.name}", ParamKind::{self.kind}, {number(self.default)}, '
                f'{number(self.low)}, {number(self.high)}}}')


class Row:
    """One line of the list: name kernel parameters inputs outputs drawn aliasing summary."""

    def __init__(self, line_number, fields, indicator_set):
        name, kernel, params, inputs, outputs, drawn, aliasing, summary = fields
        self.line = line_number
        self.name = name
        self.set = indicator_set
        self.header, _, factory = kernel.partition(":")
        self.factory = factory or f"{name}_kernel"
        self.family = self.header.split("/")[0]
        self.params_name = None if params == "-" else params
        self.inputs = inputs.split(",")
        if drawn not in PLACEMENTS:
            raise ListError(f"line {line_number}: drawn is overlay, panel or markers, not {drawn!r}")
        if aliasing not in ALIASING:
            raise ListError(f"line {line_number}: aliasing is any or separate, not {aliasing!r}")
        self.aliasing = aliasing
        self.outputs, self.placements = [], []
        for output in outputs.split(","):
            output_name, _, placement = output.partition(":")
            if placement and placement not in PLACEMENTS:
                raise ListError(f"line {line_number}: {output!r} is drawn overlay, panel or markers")
            self.outputs.append(output_name)
            self.placements.append(placement or drawn)
        self.summary = summary
        self.params = []
        self.pattern = None   # a candlestick pattern's name (patterns::<name>)
        self.settings = None  # the settings structure taken by pointer instead of parameters

    @property
    def plain_extended(self):
        """An extended row with its parameters as arguments (not a pattern)."""
        return self.set == "extended" and self.pattern is None

    @property
    def entry(self):
        return f"MOVLEX_{self.name.upper()}" if self.set == "core" else f"movlex_{self.name}"

    def output_arguments(self):
        if self.pattern:
            return ["out"]  # the signal
        return [name if name == "out" or name.startswith("out_") else f"out_{name}" for name in self.outputs]


# What every candlestick pattern's row shares: its kernel (the pattern kernel
# of its detector, declared in the generated catalogue), settings, inputs and
# output.
CANDLE_CATALOGUE = "candle_patterns.hpp"
CANDLE_SETTINGS = "MovlexCandleSettings"


def pattern_row(line_number, fields):
    """A line of [patterns]: name detector summary."""
    name, detector, summary = fields
    header, _, form = detector.partition(":")
    if not form or not re.fullmatch(r"patterns/\w+\.hpp", header):
        raise ListError(f"line {line_number}: the detector is patterns/<header>.hpp:<type>, not {detector!r}")
    row = Row(line_number, [f"candle_{name}", f"{CANDLE_CATALOGUE}:pattern_kernel<patterns::{name}>",
                            "CANDLE_PARAMS", "open,high,low,close", "signal", "markers", "any", summary], "extended")
    row.family = "patterns"
    row.pattern, row.detector, row.detector_header = name, form, header
    row.settings = CANDLE_SETTINGS
    return row


def number(value):
    if value == int(value) and abs(value) < 1e15:
        return str(int(value))
    return repr(value).replace("e+", "e")


def read_list(path):
    rows, indicator_set = [], None
    for line_number, text in enumerate(pathlib.Path(path).read_text().splitlines(), 1):
        text = text.strip()
        if not text or text.startswith("#"):
            continue
        if text in ("[core]", "[extended]", "[patterns]"):
            indicator_set = text[1:-1]
            continue
        if indicator_set is None:
            raise ListError(f"line {line_number}: a row before [core], [extended] or [patterns]")
        wanted = 3 if indicator_set == "patterns" else 8
        fields = text.split(None, wanted - 1)
        if len(fields) != wanted:
            raise ListError(f"line {line_number}: {wanted} fields wanted, {len(fields)} found")
        rows.append(pattern_row(line_number, fields) if indicator_set == "patterns"
                    else Row(line_number, fields, indicator_set))
    names = [row.name for row in rows]
    for name in names:
        if names.count(name) > 1:
            raise ListError(f"{name} is listed twice")
    return rows


# ---- Parameter declarations ----------------------------------------------------

def split_top_level(text):
    parts, depth, current = [], 0, ""
    for char in text:
        if char in "([{":
            depth += 1
        elif char in ")]}":
            depth -= 1
        if char == "," and depth == 0:
            parts.append(current.strip())
            current = ""
        else:
            current += char
    if current.strip():
        parts.append(current.strip())
    return parts


def value_of(text):
    text = text.strip()
    sign = -1.0 if text.startswith("-") else 1.0
    text = text.lstrip("-").strip()
    return sign * (SYMBOLS[text] if text in SYMBOLS else float(text))


def parse_element(text, declarations):
    call = re.fullmatch(r'(\w+)\(\s*"(\w+)"\s*(?:,(.*))?\)', text, re.S)
    if call:
        function, name, rest = call.group(1), call.group(2), call.group(3)
        values = [value_of(v) for v in split_top_level(rest or "")]
        if function == "integer_param" and len(values) in (2, 3):
            return Param(name, "integer", values[0], values[1], values[2] if len(values) == 3 else SYMBOLS["PERIOD_MAX"])
        if function == "real_param" and 1 <= len(values) <= 3:
            bounds = values[1:] + [-SYMBOLS["REAL_LIMIT"], SYMBOLS["REAL_LIMIT"]][len(values) - 1:]
            return Param(name, "real", values[0], bounds[0], bounds[1])
        if function == "ma_type_param" and not values:
            return Param(name, "ma_type", 0.0, 0.0, MA_TYPE_MAX)
    element = re.fullmatch(r"(\w+)\[(\d+)\]", text)
    if element:
        return declarations(element.group(1))[int(element.group(2))]
    raise ListError(f"cannot read the parameter {text!r}")


def parameter_declarations(src_dir):
    """name -> function returning its list of Param, from every header under src_dir."""
    texts = {}
    for header in sorted(pathlib.Path(src_dir).glob("*/*.hpp")):
        source = header.read_text()
        for match in re.finditer(r"inline constexpr std::array(?:<ParamInfo, 0>)? (\w+)\{(.*?)\};", source, re.S):
            texts[match.group(1)] = ("list", match.group(2))
        for match in re.finditer(r"inline constexpr auto& (\w+) = (\w+);", source):
            texts[match.group(1)] = ("alias", match.group(2))
    cache = {}

    def declarations(name):
        if name not in cache:
            if name not in texts:
                raise ListError(f"no declaration {name} in the family headers")
            kind, text = texts[name]
            cache[name] = (declarations(text) if kind == "alias"
                           else [parse_element(e, declarations) for e in split_top_level(text)])
        return cache[name]

    return declarations


# ---- The generated files -------------------------------------------------------

GENERATED = "Generated by src/api/make_indicator_sources.py from src/api/indicators.list: edit the list."


def kernels_inc(rows):
    headers = sorted({row.header for row in rows})
    return f"// {GENERATED}\n" + "".join(f'#include "{header}"\n' for header in headers)


def quoted(names):
    return "{" + ", ".join(f'"{name}"' for name in names) + "}"


def table_row(row):
    params = f"row_params({row.params_name})" if row.params_name else "{}"
    if row.set == "core":
        lookback = f"invoke_lookback<&{row.name}_lookback>"
    else:
        lookback = f"extended_lookback<&{row.factory}>"
    placements = "{" + ", ".join(f"Placement::{p}" for p in row.placements) + "}"
    return (f'{{"{row.name}", "{row.entry}", "{row.summary}", {quoted(row.inputs)}, {params}, '
            f'{quoted(row.outputs)}, invoke_entry<&{row.entry}>, {lookback}, {ALIASING[row.aliasing]}, '
            f'Placement::{row.placements[0]}, stream_of<&{row.factory}>, IndicatorSet::{row.set}, '
            f'"{row.family}", {placements}}},\n')


def rows_inc(rows):
    return f"// {GENERATED}\n" + "".join(table_row(row) for row in rows)


def entry_arguments(row):
    arguments = ["int32_t first_index", "int32_t last_index"]
    arguments += [f"const double *{name}" for name in row.inputs]
    if row.settings:
        arguments.append(f"const {row.settings} *settings")
    else:
        arguments += [f"{param.c_type()} {param.name}" for param in row.params]
    arguments += ["int32_t *out_begin", "int32_t *out_count"]
    arguments += [f"double *{name}" for name in row.output_arguments()]
    return arguments


def wrapped(head, arguments, tail, indent_to=None):
    """head(arguments...)tail, wrapped at 118 columns under the opening parenthesis."""
    indent = " " * (indent_to if indent_to is not None else len(head) + 1)
    lines, current = [], head + "("
    for k, argument in enumerate(arguments):
        piece = argument + ("," if k + 1 < len(arguments) else ")" + tail)
        if len(current) + len(piece) + 1 > 118 and current.strip() and not current.endswith("("):
            lines.append(current.rstrip())
            current = indent + piece
        else:
            current += ("" if current.endswith("(") else " ") + piece
    lines.append(current)
    return "\n".join(lines) + "\n"


def extended_entries_cpp(rows):
    extended = [row for row in rows if row.plain_extended]
    out = [f"// {GENERATED}\n",
           "// The entries of the extended set: each checks its request and runs its kernel.\n",
           '#include "api/extended_entry.hpp"\n', '#include "movlex_extended.h"\n']
    out += [f'#include "{header}"\n' for header in sorted({row.header for row in extended})]
    out.append("\nusing namespace movlex;\n\n")
    out.append("// The declarations are the ones the prototypes document.\n")
    for row in extended:
        declared = row.params_name or "std::array<ParamInfo, 0>{}"
        documented = ", ".join(param.cxx() for param in row.params)
        out.append(f"static_assert(same_params({declared}, std::array<ParamInfo, {len(row.params)}>{{{documented}}}),\n"
                   f'              "{row.name}: the declaration was read wrongly");\n')
    out += [entry_definition(row, "MOVLEX_EXTENDED_API", "extended_entry") for row in extended]
    return "".join(out)


def entry_definition(row, export, template):
    """The C entry of a row: one call of the entry template."""
    values = ", ".join(param.name for param in row.params)
    declared = row.params_name or "std::array<ParamInfo, 0>{}"
    return ("\n" + wrapped(f'extern "C" {export} RetCode MOVLEX_CALL {row.entry}', entry_arguments(row), " {") +
            f"    return {template}<&{row.factory}>({declared}, first_index, last_index, "
            f"std::array{{{', '.join(row.inputs)}}},\n"
            f"                                  out_begin, out_count, "
            f"std::array{{{', '.join(row.output_arguments())}}}{', ' + values if values else ''});\n}}\n")


def core_entries_cpp(rows):
    core = [row for row in rows if row.set == "core"]
    out = [f"// {GENERATED}\n",
           "// The entries of the core set: each checks its request and runs its kernel. movlex.h\n",
           "// declares them, so a prototype that differs from its row does not compile.\n",
           '#include "frame/entry_form.hpp"\n', '#include "movlex.h"\n']
    out += [f'#include "{header}"\n' for header in sorted({row.header for row in core})]
    out.append("\nusing namespace movlex;\n")
    out += [entry_definition(row, "MOVLEX_API", "core_entry") for row in core]
    return "".join(out)


def lookback_head(row, tail):
    """std::int32_t <name>_lookback(parameters...)tail: a core lookback routine's head."""
    arguments = [f"{param.lookback_type()} {param.name}" for param in row.params]
    return (wrapped(f"std::int32_t {row.name}_lookback", arguments, tail) if arguments
            else f"std::int32_t {row.name}_lookback(){tail}\n")


def core_lookbacks_hpp(rows):
    out = [f"// {GENERATED}\n",
           "// The lookback routines of the core set: the index of the first bar each\n",
           "// indicator writes for the parameters given (defaults and unstable periods\n",
           "// applied), -1 where a parameter is out of its range.\n",
           "#pragma once\n\n#include <cstdint>\n\nnamespace movlex {\n\n"]
    out += [lookback_head(row, ";") for row in rows if row.set == "core"]
    out.append("\n}  // namespace movlex\n")
    return "".join(out)


def core_lookbacks_cpp(rows):
    core = [row for row in rows if row.set == "core"]
    out = [f"// {GENERATED}\n",
           "// The lookback routines of the core set (core_lookbacks.hpp): the lookback of\n",
           "// each indicator's kernel for the parameters given.\n",
           '#include "core_lookbacks.hpp"\n',
           '#include "frame/entry_form.hpp"\n']
    out += [f'#include "{header}"\n' for header in sorted({row.header for row in core})]
    out.append("\nnamespace movlex {\n")
    for row in core:
        values = ", ".join(param.name for param in row.params)
        declared = row.params_name or "std::array<ParamInfo, 0>{}"
        out.append("\n" + lookback_head(row, " {"))
        out.append(f"    return core_lookback<&{row.factory}>({declared}{', ' + values if values else ''});\n}}\n")
    out.append("\n}  // namespace movlex\n")
    return "".join(out)


def param_text(param):
    if param.kind == "ma_type":
        return f"{param.name}: moving-average type, default MA_SMA"
    return f"{param.name}: default {number(param.default)}, range {number(param.low)}..{number(param.high)}"


def comment(row):
    sentences = [f"{row.summary} ({row.name})."]
    if row.params:
        sentences.append("; ".join(param_text(param) for param in row.params) + ".")
    outputs = row.output_arguments()
    if row.aliasing == "any":
        sentences.append("Outputs may be inputs." if len(outputs) > 1 else f"{outputs[0]} may be an input.")
    words, lines, current = " ".join(sentences).split(), [], "/*"
    for word in words:
        if len(current) + 1 + len(word) > 78:
            lines.append(current)
            current = " *"
        current += " " + word
    lines.append(current + " */")
    return "\n".join(lines) + "\n"


PATTERN_SECTION = """
/* ---- Candlestick patterns ----------------------------------------------
 * docs/patterns.md defines each pattern. Each entry takes open, high, low,
 * close and the settings (MovlexCandleSettings, NULL for the defaults) and
 * writes one value per bar, held in a double; movlex_extended.h states what
 * the values mean. The lookback is period + the pattern's candles - 1. */
"""


def extended_header(rows):
    out = ["/*\n * " + GENERATED + "\n *\n",
           " * The entries of the extended set, then those of the candlestick patterns, in\n",
           " * the order of the list; movlex_extended.h includes this file and states their\n",
           " * calling contract. docs/indicators.md defines each indicator: formula, seed,\n",
           " * lookback, defaults and source.\n */\n",
           "#ifndef MOVLEX_EXTENDED_ENTRIES_H\n#define MOVLEX_EXTENDED_ENTRIES_H\n\n",
           "#ifdef __cplusplus\nextern \"C\" {\n#endif\n"]
    head = "MOVLEX_EXTENDED_API RetCode MOVLEX_CALL "
    in_patterns = False
    for row in rows:
        if row.set != "extended":
            continue
        if row.pattern and not in_patterns:
            in_patterns = True
            out.append(PATTERN_SECTION)
        out.append("\n" + comment(row))
        out.append(wrapped(head + row.entry, entry_arguments(row), ";"))
    out.append("\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n")
    return "".join(out)


def patterns_of(rows):
    return [row for row in rows if row.pattern]


def candle_catalogue(rows):
    patterns = patterns_of(rows)
    out = [f"// {GENERATED}\n",
           "// The detector of every candlestick pattern, patterns::<name>, and the list of\n",
           "// them in the order of the list (the scan's columns): MOVLEX_CANDLE_PATTERNS(X)\n",
           "// calls X(name) for each.\n",
           "#pragma once\n\n",
           '#include "patterns/pattern_kernel.hpp"\n']
    out += [f'#include "{header}"\n' for header in sorted({row.detector_header for row in patterns})]
    out.append("\nnamespace movlex::patterns {\n\nusing namespace shapes;\n\n")
    out += [f"struct {row.pattern} : {row.detector} {{}};\n" for row in patterns]
    out.append("\n}  // namespace movlex::patterns\n\n#define MOVLEX_CANDLE_PATTERNS(X)")
    out += [f" \\\n    X({row.pattern})" for row in patterns]
    out.append("\n")
    return "".join(out)


def candle_entries_cpp(rows):
    out = [f"// {GENERATED}\n",
           "// The entries of the candlestick patterns: each checks its request and settings\n",
           "// and runs its pattern's kernel.\n",
           '#include "api/candle_entry.hpp"\n', f'#include "{CANDLE_CATALOGUE}"\n',
           "\nusing namespace movlex;\n"]
    for row in patterns_of(rows):
        out.append("\n" + wrapped(f'extern "C" MOVLEX_EXTENDED_API RetCode MOVLEX_CALL {row.entry}',
                                  entry_arguments(row), " {"))
        arguments = ["first_index", "last_index", *row.inputs, "settings", "out_begin", "out_count", "out"]
        out.append(wrapped(f"    return candle_entry<&{row.factory}>", arguments, ";", indent_to=8) + "}\n")
    return "".join(out)


INPUT_LETTERS = {"input": "c", "open": "o", "high": "h", "low": "l", "close": "c", "volume": "v"}
KIND_LETTERS = {"integer": "i", "ma_type": "m", "real": "d"}


def core_entry_table(rows):
    """The core entries as C initialisers: name, inputs, parameter kinds, outputs, ranges."""
    out = ["/*\n * " + GENERATED + "\n *\n",
           " * The entries of the core set, in the order of the list, one initialiser each:\n",
           " * name, input arrays (o h l c v; c is also the single input series), parameter\n",
           " * kinds (i integer, m moving-average type, d double), number of output arrays,\n",
           " * and for each parameter its default, lowest and highest value.\n */\n"]
    for row in rows:
        if row.set != "core":
            continue
        inputs = "".join(INPUT_LETTERS[name] for name in row.inputs)
        kinds = "".join(KIND_LETTERS[param.kind] for param in row.params)
        ranges = ", ".join(f"{{{number(p.default)}, {number(p.low)}, {number(p.high)}}}" for p in row.params)
        out.append(f'{{"{row.entry}", "{inputs}", "{kinds}", {len(row.outputs)}, {{{ranges or "{0, 0, 0}"}}}}},\n')
    return "".join(out)


def write_if_changed(path, text):
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    if not path.exists() or path.read_text() != text:
        path.write_text(text)


def check_pattern_docs(rows, doc_path):
    """Each pattern is a row of a table headed | pattern | definition | ... in DOC."""
    named, header = set(), None
    for line in pathlib.Path(doc_path).read_text().splitlines():
        if not line.startswith("|"):
            header = None
        elif header is None:
            header = line
        elif header.replace(" ", "").startswith("|pattern|definition|"):
            named.update(re.findall(r"^\| `(\w+)` \|", line))
    missing = [row.pattern for row in patterns_of(rows) if row.pattern not in named]
    if missing:
        raise ListError(f"{doc_path} has no row for " + ", ".join(missing))


def check_docs(rows, doc_path):
    headings = [line for line in pathlib.Path(doc_path).read_text().splitlines() if line.startswith("### ")]
    named = set()
    for heading in headings:
        names = heading[4:].partition(":")[0]
        named.update(name.strip() for name in names.split(","))
    missing = [row.name for row in rows if row.plain_extended and row.name not in named]
    if missing:
        raise ListError(f"{doc_path} has no section for " + ", ".join(missing))


def declared_entries(header_path):
    """entry name -> its argument list, from the prototypes of a public header."""
    text = re.sub(r"/\*.*?\*/", " ", pathlib.Path(header_path).read_text(), flags=re.S)
    entries = {}
    for match in re.finditer(r"RetCode\s+MOVLEX_CALL\s+(\w+)\s*\(([^)]*)\)\s*;", text):
        arguments = [" ".join(argument.replace("*", " * ").split()).replace(" * ", " *")
                     for argument in match.group(2).split(",")]
        entries[match.group(1)] = [] if arguments == ["void"] else arguments
    return entries


def check_header(rows, declarations, header_path):
    declared = declared_entries(header_path)
    problems = []
    for row in rows:
        if row.set != "core":
            continue
        if row.params_name:
            row.params = declarations(row.params_name)
        wanted = entry_arguments(row)
        if row.entry not in declared:
            problems.append(f"{row.entry} is not declared")
        elif declared.pop(row.entry) != wanted:
            problems.append(f"{row.entry} is not declared as ({', '.join(wanted)})")
    problems += [f"{name} has no row" for name in declared if name not in ("MOVLEX_INIT", "MOVLEX_SHUTDOWN")]
    if problems:
        raise ListError(f"{header_path}: " + "; ".join(problems))


def main(argv):
    if len(argv) == 4 and argv[1] == "--check-docs":
        check_docs(read_list(argv[2]), argv[3])
        return
    if len(argv) == 4 and argv[1] == "--check-pattern-docs":
        check_pattern_docs(read_list(argv[2]), argv[3])
        return
    if len(argv) == 5 and argv[1] == "--check-header":
        check_header(read_list(argv[2]), parameter_declarations(argv[3]), argv[4])
        return
    if len(argv) != 5:
        raise ListError(__doc__)
    list_path, src_dir, out_dir, include_dir = argv[1:]
    rows = read_list(list_path)
    declarations = parameter_declarations(src_dir)
    for row in rows:
        if row.params_name and not row.settings:
            row.params = declarations(row.params_name)
    out = pathlib.Path(out_dir)
    write_if_changed(out / "indicator_kernels.inc", kernels_inc(rows))
    write_if_changed(out / "indicator_rows.inc", rows_inc(rows))
    write_if_changed(out / "core_entries.cpp", core_entries_cpp(rows))
    write_if_changed(out / "core_lookbacks.hpp", core_lookbacks_hpp(rows))
    write_if_changed(out / "core_lookbacks.cpp", core_lookbacks_cpp(rows))
    write_if_changed(out / "extended_entries.cpp", extended_entries_cpp(rows))
    write_if_changed(out / "candle_patterns.hpp", candle_catalogue(rows))
    write_if_changed(out / "candle_entries.cpp", candle_entries_cpp(rows))
    write_if_changed(pathlib.Path(include_dir) / "movlex_extended_entries.h", extended_header(rows))
    write_if_changed(pathlib.Path(include_dir) / "movlex_core_entry_table.inc", core_entry_table(rows))


if __name__ == "__main__":
    try:
        main(sys.argv)
    except ListError as error:
        sys.exit(f"make_indicator_sources.py: {error}")
