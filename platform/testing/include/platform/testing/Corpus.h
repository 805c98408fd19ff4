#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tess::testing {

// The regression corpora of the readers of outside bytes: a folder of small files per reader,
// each run through the entry point its fuzz target calls. A file's name says what the reader must
// make of it: "good-..." must be read, "bad-..." must be refused with a reason, and any other
// (fuzzer finds, crash reproducers) must only come back, read or refused.
enum class CorpusExpectation { Read, Refused, Either };

// The names of the regular files directly in `folder`, sorted; none when it cannot be listed.
std::vector<std::string> corpusFileNames(const std::string& folder);

CorpusExpectation corpusExpectation(std::string_view fileName);
// "read", "refused" or "either", for test failure messages.
std::ostream& operator<<(std::ostream& out, CorpusExpectation expectation);

// The file name as a test name: every character outside [A-Za-z0-9] becomes "_".
std::string corpusTestName(std::string_view fileName);

}  // namespace tess::testing
