#pragma once

#include <optional>

namespace tess::bench {

// The benchmarks that time work in a newly started program start this benchmark program again
// with arguments of their own. When `argv` holds such arguments this runs that work, reports it
// and gives the exit code; otherwise it does nothing and gives nothing.
std::optional<int> runStartedCase(int argc, char** argv);

}  // namespace tess::bench
