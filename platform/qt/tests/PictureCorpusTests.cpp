// Every file of the picture corpus goes through the decoder the fuzz target drives: it comes back
// with a picture inside the limits or with the reason there is none.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/Picture.h"
#include "platform/Result.h"
#include "platform/qt/PictureFile.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::CorpusExpectation;

class PictureCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(PictureCorpus, DecodesOrGivesTheReason) {
    const std::string bytes = testing::readFileContents(PICTURE_CORPUS_DIR "/" + GetParam());
    const Result<Picture> picture = decodePicture(bytes, 0xFFFFFF);
    if (picture) {
        EXPECT_LE(std::int64_t{picture->width()} * picture->height(), Picture::kMaxPixels);
        EXPECT_NE(testing::corpusExpectation(GetParam()), CorpusExpectation::Refused)
            << picture->width() << " x " << picture->height();
    } else {
        EXPECT_FALSE(picture.error().reason.empty());
        EXPECT_TRUE(picture.error().code == errc::InvalidPicture ||
                    picture.error().code == errc::OutOfMemory)
            << picture.error().code;
        EXPECT_NE(testing::corpusExpectation(GetParam()), CorpusExpectation::Read)
            << picture.error().reason;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PictureCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(PICTURE_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
