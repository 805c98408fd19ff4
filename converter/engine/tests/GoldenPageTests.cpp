#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "platform/testing/MemoryClipboard.h"

namespace tess {
namespace {

using enginetest::crlf;

// Three by two pixels in three colours; the middle colour's run crosses the row end.
Picture smallPicture() {
    const std::uint32_t sky = 0xFFC80A;    // #0AC8FF, brightest channel 255: "##"
    const std::uint32_t brown = 0x003264;  // #643200, brightest 100: "$$"
    const std::uint32_t night = 0x141414;  // #141414, brightest 20: two blanks
    return enginetest::pictureOf({{sky, sky, brown}, {brown, night, night}});
}

MosaicOptions goldenOptions(std::int16_t fontSize) {
    MosaicOptions options;
    options.Mode = 6;
    options.FontSize = fontSize;
    options.Title = "Test <b>Page</b>";
    options.BGColor = 0x00FF8000;
    return options;
}

const std::string kGenerator =
    "<meta name=\"Generator\" content=\"tessaryn.example presents tessaryn q4 (beta 1)\">";
const std::string kDescription =
    "<meta name=\"Description\" content=\"tessaryn q4, http://tessaryn.example/q4/\">";
const std::string kRow1 = "<font color=\"#0AC8FF\">####</font><font color=\"#643200\">$$";
const std::string kRow2 = "$$</font><font color=\"#141414\">    ";

const std::string kCssHead =
    crlf({"<html>", "<head>", kGenerator, kDescription, "<title>Test <b>Page</b></title>",
          "</head>", "", "<body bgcolor=\"#0080FF\">", "<style type=\"text/css\">", " <!--",
          "  pre { font-size: 60% }", " -->", "</style>", "<center><pre>"});
const std::string kFontHead =
    crlf({"<html><head>", kGenerator, kDescription, "<title>Test <b>Page</b></title></head>", "",
          "<body bgcolor=\"#0080FF\">", "<center><pre><font size=\"-2\">"});

struct Golden {
    const char* name;
    std::int16_t fontSize;
    bool clipboard;
    std::string page;
};

class GoldenPageTest : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenPageTest, PageMatchesByteForByte) {
    const Golden& golden = GetParam();
    enginetest::RunFixture fixture;
    const MosaicOptions options = goldenOptions(golden.fontSize);
    if (golden.clipboard) {
        testing::MemoryClipboard clipboard;
        Result<RunResult> result =
            fixture.run(smallPicture(), options, MosaicTarget::clipboard(&clipboard));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->clipboardText, golden.page);
        EXPECT_EQ(clipboard.text(), cp1252::toUtf8(golden.page));
        return;
    }
    enginetest::TempFolder folder;
    const std::string path = folder.file("golden.html");
    Result<RunResult> result = fixture.run(smallPicture(), options, MosaicTarget::file(path));
    ASSERT_TRUE(result.ok()) << result.error().reason;
    EXPECT_EQ(enginetest::readAll(path), golden.page);
    EXPECT_EQ(result->cellsWritten, 6);
    EXPECT_EQ(result->status, RunStatus::Complete);
}

INSTANTIATE_TEST_SUITE_P(
    PageKindsAndTargets, GoldenPageTest,
    ::testing::Values(Golden{"CssFile", 2, false,
                             kCssHead + "\r\n" + kRow1 + "\r\n" + kRow2 + "\r\n" +
                                 crlf({"</font></pre></center>", "</body>", "</html>"}) + "\r\n"},
                      Golden{"CssClipboard", 2, true,
                             kCssHead + kRow1 + "\r\n" + kRow2 + "\r\n" +
                                 crlf({"</font></pre></center>", "</body>", "</html>"})},
                      Golden{"FontFile", 1, false,
                             kFontHead + "\r\n" + kRow1 + "\r\n" + kRow2 + "\r\n" +
                                 crlf({"</font></font></pre></center>", "</body>", "</html>"}) +
                                 "\r\n"},
                      Golden{"FontClipboard", 1, true,
                             kFontHead + kRow1 + "\r\n" + kRow2 + "\r\n" +
                                 crlf({"</font></font></pre></center>", "</body>", "</html>"})}),
    [](const ::testing::TestParamInfo<Golden>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tess
