// The default run: every indicator computed over the whole input at once
// through its entry, then the rows written back with the results. Only the
// numbers of the columns read and the results are held: the input is read
// twice (a pipe is first copied to a temporary file), the second time as
// the rows are written. Nothing is written before every result is computed.
#pragma once

#include "options.hpp"

namespace movlex::cli {

void run_batch(const Options& options);

// --scan: every candlestick pattern over the prices in one pass, written as
// a long table of the patterns that fired: the row (1 for the first data
// row), the row's date or time when the input has one, the pattern, its
// signal (docs/patterns.md).
void run_scan(const Options& options);

}  // namespace movlex::cli
