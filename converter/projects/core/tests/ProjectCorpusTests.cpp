// Every file of the project corpus goes through the fuzz target's rules: the file decoder and the
// project reader take the bytes as a file, and as the plain body of a file of each layout. Each
// reading comes back with a result or the reason, and what is accepted survives being written and
// read again.
#include <gtest/gtest.h>

#include <string>

#include "CorpusExpect.h"
#include "ProjectChecks.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

class ProjectCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(ProjectCorpus, ReadsOrGivesTheReasonAndRoundTrips) {
    const std::string bytes = testing::readFileContents(PROJECT_CORPUS_DIR "/" + GetParam());
    fuzzcheck::expectKeepsTheRules(GetParam(), fuzzcheck::checkProject(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(PROJECT_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
