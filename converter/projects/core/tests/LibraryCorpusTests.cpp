// Every file of the graphics library corpus goes through the library reader as its fuzz target
// drives it: the bytes as a decoded body and as a whole library file. Every record kept has a safe
// name and lies inside the bytes, the records come back the same from the writer, and a file that
// is refused says why.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"
#include "projects/GraphicsLibrary.h"

namespace tess {
namespace {

using testing::CorpusExpectation;

void expectSoundRecords(const std::vector<LibraryRecord>& records) {
    for (const LibraryRecord& record : records) {
        EXPECT_TRUE(isSafeRecordName(record.name)) << record.name;
    }
    const Result<std::string> file = writeLibrary(records);
    ASSERT_TRUE(file.ok()) << file.error().reason;
    const Result<std::vector<LibraryRecord>> back = readLibrary(file.value());
    ASSERT_TRUE(back.ok()) << back.error().reason;
    EXPECT_EQ(back.value(), records);
    for (const LibraryRecord& listed : listedPictures(records)) {
        EXPECT_LE(listed.data.size() + 2, library::kMaxListedFileSize) << listed.name;
    }
}

class LibraryCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(LibraryCorpus, ReadsSoundRecordsOrGivesTheReason) {
    const std::string bytes = testing::readFileContents(LIBRARY_CORPUS_DIR "/" + GetParam());

    const std::vector<LibraryRecord> body = parseRecords(bytes);
    std::size_t total = 0;
    for (const LibraryRecord& record : body) {
        total += record.data.size();
    }
    EXPECT_LE(total, bytes.size());
    {
        SCOPED_TRACE("as a body");
        expectSoundRecords(body);
    }

    const Result<std::vector<LibraryRecord>> read = readLibrary(bytes);
    const CorpusExpectation expected = testing::corpusExpectation(GetParam());
    if (read) {
        EXPECT_NE(expected, CorpusExpectation::Refused) << read->size() << " records";
        SCOPED_TRACE("as a file");
        expectSoundRecords(read.value());
    } else {
        EXPECT_FALSE(read.error().reason.empty());
        EXPECT_NE(expected, CorpusExpectation::Read) << read.error().reason;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LibraryCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(LIBRARY_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
