// Every file of the rich-text corpus goes through the fuzz target's rules: the text comes back as
// UTF-8, and a file that is no document is refused with the reason.
#include <gtest/gtest.h>

#include <string>

#include "CorpusExpect.h"
#include "RtfChecks.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

class RtfCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(RtfCorpus, GivesUtf8OrTheReason) {
    const std::string bytes = testing::readFileContents(RTF_CORPUS_DIR "/" + GetParam());
    fuzzcheck::expectKeepsTheRules(GetParam(), fuzzcheck::checkRtf(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(RTF_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
