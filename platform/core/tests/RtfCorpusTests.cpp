// Every file of the rich-text corpus goes through the reader the fuzz target drives: the text
// comes back as UTF-8, and a file that is no document is refused with the reason.
#include <gtest/gtest.h>

#include <string>

#include "platform/Result.h"
#include "platform/RtfReader.h"
#include "platform/Text.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::CorpusExpectation;

bool isUtf8(const std::string& text) {
    return utf8::encode(utf8::decode(text)) == text;
}

class RtfCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(RtfCorpus, GivesUtf8OrTheReason) {
    const std::string bytes = testing::readFileContents(RTF_CORPUS_DIR "/" + GetParam());
    EXPECT_TRUE(isUtf8(rtfToPlainText(bytes)));
    const Result<std::string> document = rtfDocumentToPlainText(bytes);
    if (document) {
        EXPECT_TRUE(isUtf8(document.value()));
        EXPECT_NE(testing::corpusExpectation(GetParam()), CorpusExpectation::Refused);
    } else {
        EXPECT_FALSE(document.error().reason.empty());
        EXPECT_NE(testing::corpusExpectation(GetParam()), CorpusExpectation::Read)
            << document.error().reason;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(RTF_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
