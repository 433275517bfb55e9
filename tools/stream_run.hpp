// --stream and --by: the rows read, computed through the library's streams
// and written one at a time: the same output as the batch run, in memory
// that does not grow with the input. A failure can come after earlier rows
// were written.
#pragma once

#include "options.hpp"

namespace movlex::cli {

void run_streaming(const Options& options);

}  // namespace movlex::cli
