// Every file of the project corpus goes through the file decoder and the project reader as the
// fuzz target drives them: the bytes as a file, and as the plain body of a file of each layout.
// Each reading comes back with a result or the reason, and what is accepted survives being
// written and read again.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"
#include "projects/FileEncoder.h"
#include "projects/ProjectFile.h"

namespace tess {
namespace {

using testing::CorpusExpectation;

// Whether the project was read; a project read must come back the same from the writer.
bool readsAndRoundTrips(std::string_view file) {
    const Result<LoadedProject> project = readProject(file);
    if (!project) {
        EXPECT_FALSE(project.error().reason.empty());
        return false;
    }
    const LoadedProject& p = project.value();
    const Result<std::string> written = writeProjectFile(p.options, p.picture);
    EXPECT_TRUE(written.ok()) << written.error().reason;
    if (!written) {
        return true;
    }
    const Result<LoadedProject> back = readProject(written.value());
    EXPECT_TRUE(back.ok()) << back.error().reason;
    if (!back) {
        return true;
    }
    const MosaicOptions& a = p.options;
    const MosaicOptions& b = back.value().options;
    EXPECT_EQ(b.Title, a.Title);
    EXPECT_EQ(b.BGColor, a.BGColor);
    EXPECT_EQ(b.FontSize, a.FontSize);
    EXPECT_EQ(b.Spacer, a.Spacer);
    EXPECT_EQ(b.Mode, a.Mode);
    EXPECT_EQ(b.CustomText, a.CustomText);
    EXPECT_EQ(back.value().picture, p.picture);
    return true;
}

class ProjectCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(ProjectCorpus, ReadsOrGivesTheReasonAndRoundTrips) {
    const std::string bytes = testing::readFileContents(PROJECT_CORPUS_DIR "/" + GetParam());

    const Result<std::string> plain = DecodeFile(bytes);
    if (plain) {
        const Result<std::string> again = EncodeFile(std::string_view(plain.value()));
        ASSERT_TRUE(again.ok()) << again.error().reason;
        const Result<std::string> back = DecodeFile(std::string_view(again.value()));
        ASSERT_TRUE(back.ok()) << back.error().reason;
        EXPECT_EQ(back.value(), plain.value());
    } else {
        EXPECT_FALSE(plain.error().reason.empty());
    }

    const bool read = readsAndRoundTrips(bytes);
    const CorpusExpectation expected = testing::corpusExpectation(GetParam());
    EXPECT_NE(expected, read ? CorpusExpectation::Refused : CorpusExpectation::Read);

    const Result<std::string> body = EncodeFile(std::string_view(bytes));
    ASSERT_TRUE(body.ok()) << body.error().reason;
    for (const std::string_view header : {"TPF20053", "TPF10116"}) {
        SCOPED_TRACE(header);
        readsAndRoundTrips(std::string(header) + body.value() + "\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectCorpus,
                         ::testing::ValuesIn(testing::corpusFileNames(PROJECT_CORPUS_DIR)),
                         [](const auto& file) { return testing::corpusTestName(file.param); });

}  // namespace
}  // namespace tess
