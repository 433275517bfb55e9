// Programs that link the library statically (the tool, the Python extension,
// the tests) hold the library state themselves: a new stream reads it.
#include "api/stream.hpp"

namespace movlex {

UnstablePeriods unstable_periods_in_force() { return current_unstable_periods(); }

}  // namespace movlex
