// Every file of the picture corpus goes through the fuzz target's rules: the decoder comes back
// with a picture inside the limits or with the reason there is none.
#include <gtest/gtest.h>

#include <string>

#include "CorpusExpect.h"
#include "PictureChecks.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

class PictureCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(PictureCorpus, DecodesOrGivesTheReason) {
    const std::string bytes = testing::readFileContents(PICTURE_CORPUS_DIR "/" + GetParam());
    fuzzcheck::expectKeepsTheRules(GetParam(), fuzzcheck::checkPicture(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, PictureCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(PICTURE_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
