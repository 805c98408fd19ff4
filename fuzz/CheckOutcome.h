#pragma once

// What a reader of outside bytes made of one input, as the rules in the *Checks.h headers report
// it: the fuzz targets abort on a broken rule, the readers' tests run the same rules over their
// regression corpus and match `read` against the file's name.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tess::fuzzcheck {

struct Outcome {
    // Whether the reader took the bytes; false when it refused them with a reason.
    bool read = false;
    // The refusal's reason, or a short account of what was read, for test failure messages.
    std::string what;
    // The first rule the reader broke, empty when all hold.
    std::string broken;
};

// A fuzz target's end for a broken rule: the message, then the abort the fuzzer keeps as a find.
inline void abortIfBroken(const std::string& broken) {
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
}

}  // namespace tess::fuzzcheck
