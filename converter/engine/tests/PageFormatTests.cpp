#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/MosaicOptions.h"
#include "engine/PageFormat.h"

namespace tess {
namespace {

using enginetest::crlf;

TEST(MosaicOptionsTest, SizeTextByFontSizeChoice) {
    struct Case {
        std::int16_t fontSize;
        std::int16_t cssSize;
        const char* unit;
        const char* expected;
    };
    for (const Case& c :
         {Case{0, 60, "%", "-1"}, Case{1, 60, "%", "-2"}, Case{2, 60, "%", "60%"},
          Case{3, 60, "%", "50%"}, Case{4, 60, "%", "40%"}, Case{5, 60, "%", "30%"},
          Case{6, 60, "%", "20%"}, Case{7, 60, "%", "10%"}, Case{8, 12, "px", "12px"},
          Case{8, 0, "pt", "0pt"}, Case{8, 100, "%", "100%"}}) {
        MosaicOptions options;
        options.FontSize = c.fontSize;
        options.CSSSize = c.cssSize;
        options.CSSUnit = c.unit;
        EXPECT_EQ(options.sizeText(), c.expected) << "FontSize " << c.fontSize;
        EXPECT_EQ(options.isCssPage(), c.fontSize > 1);
    }
}

TEST(MosaicOptionsTest, ColourTextIsRedGreenBlueInUpperCaseHex) {
    for (auto [colour, expected] :
         {std::pair{255, "#FF0000"}, std::pair{16, "#100000"}, std::pair{65535, "#FFFF00"},
          std::pair{0, "#000000"}, std::pair{0xFFC80A, "#0AC8FF"}}) {
        MosaicOptions options;
        options.BGColor = colour;
        EXPECT_EQ(options.bgColourText(), expected);
        EXPECT_EQ(page::colourText(colour), expected);
    }
}

TEST(MosaicOptionsTest, ListTextsOfModeSpacerAndPriority) {
    MosaicOptions options;
    options.Mode = 6;
    EXPECT_EQ(options.modeText(), "Smart Text");
    options.Mode = 0;
    EXPECT_EQ(options.modeText(), "Custom Text");
    options.Spacer = 0;
    EXPECT_EQ(options.spacerText(), "+");
    options.Spacer = 4;
    EXPECT_EQ(options.spacerText(), "_");
    options.Spacer = 5;  // "None"
    EXPECT_EQ(options.spacerText(), "");
    EXPECT_EQ(options.priorityText(), "Normal");
    options.Priority = RunPriority::High;
    EXPECT_EQ(options.priorityText(), "High");
}

TEST(MosaicOptionsTest, OnlyATickedBoxSendsThePageToTheClipboard) {
    MosaicOptions options;
    for (auto [value, expected] : {std::pair{0, false}, std::pair{1, true}, std::pair{2, false}}) {
        options.ToClipboard = value;
        EXPECT_EQ(options.toClipboard(), expected) << value;
    }
}

TEST(PageFormatTest, CssHeadLineByLine) {
    MosaicOptions options;
    options.FontSize = 8;
    options.CSSSize = 12;
    options.CSSUnit = std::string("px");
    options.Title = "Image From /pics/a.bmp";
    options.BGColor = 0x00FF8000;
    EXPECT_EQ(page::head(options),
              crlf({"<html>", "<head>",
                    "<meta name=\"Generator\" content=\"tessaryn.example presents tessaryn q4 "
                    "(beta 1)\">",
                    "<meta name=\"Description\" content=\"tessaryn q4, "
                    "http://tessaryn.example/q4/\">",
                    "<title>Image From /pics/a.bmp</title>", "</head>", "",
                    "<body bgcolor=\"#0080FF\">", "<style type=\"text/css\">", " <!--",
                    "  pre { font-size: 12px }", " -->", "</style>", "<center><pre>"}));
}

TEST(PageFormatTest, FontHeadLineByLine) {
    MosaicOptions options;
    options.FontSize = 0;
    options.Title = "x";
    options.BGColor = 0xFFFFFF;
    EXPECT_EQ(page::head(options),
              crlf({"<html><head>",
                    "<meta name=\"Generator\" content=\"tessaryn.example presents tessaryn q4 "
                    "(beta 1)\">",
                    "<meta name=\"Description\" content=\"tessaryn q4, "
                    "http://tessaryn.example/q4/\">",
                    "<title>x</title></head>", "", "<body bgcolor=\"#FFFFFF\">",
                    "<center><pre><font size=\"-1\">"}));
}

TEST(PageFormatTest, GeneratorLineStartsWithTheBannerTheExplorerLooksFor) {
    MosaicOptions options;
    for (std::int16_t fontSize : {0, 5}) {
        options.FontSize = fontSize;
        const std::string head = page::head(options);
        const std::string expected = std::string(page::kGeneratorLineStart) +
                                     std::string(page::kGeneratorSite) + " presents tessaryn q4 ";
        const std::size_t line =
            fontSize > 1 ? 2 : 1;  // third line of a CSS page, second of a font page
        std::size_t start = 0;
        for (std::size_t i = 0; i < line; ++i) {
            start = head.find("\r\n", start) + 2;
        }
        EXPECT_EQ(head.compare(start, expected.size(), expected), 0) << head;
    }
}

TEST(PageFormatTest, TitleIsWrittenUnescapedInWindows1252) {
    MosaicOptions options;
    options.Title = "<b>Caf\xC3\xA9 & \xCE\xA9</b>";  // "é" has a byte of its own, "Ω" has none
    EXPECT_NE(page::head(options).find("<title><b>Caf\xE9 & ?</b></title>"), std::string::npos);
}

TEST(PageFormatTest, TrailersOfBothPageKindsAndOutcomes) {
    EXPECT_EQ(page::trailer(true, false), crlf({"</font></pre></center>", "</body>", "</html>"}));
    EXPECT_EQ(page::trailer(false, false),
              crlf({"</font></font></pre></center>", "</body>", "</html>"}));
    EXPECT_EQ(page::trailer(true, true),
              crlf({"</font></pre><br><br><h2><font color=\"#FFFFFF\">FILE INCOMPLETE!</font></h2>"
                    "</center>",
                    "</body>", "</html>"}));
    EXPECT_EQ(page::trailer(false, true),
              crlf({"</font></font></pre><br><br><h2><font color=\"#FFFFFF\">FILE INCOMPLETE!"
                    "</font></h2></center>",
                    "</body>", "</html>"}));
}

}  // namespace
}  // namespace tess
