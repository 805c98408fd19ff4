// Every file of the graphics library corpus goes through the fuzz target's rules: the bytes as a
// decoded body and as a whole library file. Every record kept has a safe name and lies inside the
// bytes, the records come back the same from the writer, and a file that is refused says why.
#include <gtest/gtest.h>

#include <string>

#include "CorpusExpect.h"
#include "LibraryChecks.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

class LibraryCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(LibraryCorpus, ReadsSoundRecordsOrGivesTheReason) {
    const std::string bytes = testing::readFileContents(LIBRARY_CORPUS_DIR "/" + GetParam());
    fuzzcheck::expectKeepsTheRules(GetParam(), fuzzcheck::checkLibrary(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, LibraryCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(LIBRARY_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
