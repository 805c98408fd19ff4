#include <gtest/gtest.h>

#include <string>

#include "ExplorerTestSupport.h"
#include "explorer/PageReader.h"
#include "platform/Runtime.h"
#include "platform/Text.h"
#include "shared/MosaicSite.h"

namespace tess::explorer {
namespace {

using explorertest::converterPage;

// ---- Pages the converter wrote ----------------------------------------------------------------

TEST(PageReader, ReadsBackWhatTheConverterWrote) {
    struct Case {
        const char* name;
        const char* title;  // as typed, UTF-8
        std::int16_t fontSize;
        std::int16_t cssSize;
        const char* cssUnit;
        const char* readTitle;  // what the list shows
        const char* fontSizeText;
        const char* simpleSize;
    };
    const Case cases[] = {
        {"font -1", "Image From /home/a/b.bmp", 0, 60, "%", "Image From /home/a/b.bmp", "-1", "-1"},
        {"font -2", "T", 1, 60, "%", "T", "-2", "-2"},
        {"css 60%", "T", 2, 60, "%", "T", "CSS - 60%", "60%"},
        {"css 10%", "T", 7, 60, "%", "T", "CSS - 10%", "10%"},
        {"custom px", "T", 8, 12, "px", "T", "CSS - 12px", "12px"},
        {"custom pt", "T", 8, 9, "pt", "T", "CSS - 9pt", "9pt"},
        // Titles are written as typed; the reader decodes the five entities.
        {"ampersand", "Tom & Jerry", 0, 60, "%", "Tom & Jerry", "-1", "-1"},
        {"markup", "a <b>bold</b> move", 2, 60, "%", "a <b>bold</b> move", "CSS - 60%", "60%"},
        {"entities", "x &amp; y &lt;3 &quot;q&quot; &nbsp;", 0, 60, "%", "x & y <3 \"q\"  ", "-1",
         "-1"},
        {"double escaped", "&amp;lt;tag&amp;gt;", 1, 60, "%", "<tag>", "-2", "-2"},
        {"numeric entity", "caf&#233;", 0, 60, "%", "caf&#233;", "-1", "-1"},
        {"latin-1", "Caf\xC3\xA9 \xE2\x82\xAC", 0, 60, "%", "Caf\xC3\xA9 \xE2\x82\xAC", "-1", "-1"},
        {"empty", "", 2, 60, "%", "", "CSS - 60%", "60%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string page = converterPage(c.title, c.fontSize, c.cssSize, c.cssUnit);
        ASSERT_FALSE(page.empty());
        const std::string head = page.substr(0, kHeadBytes);
        EXPECT_TRUE(IsMosaicPage(head));
        EXPECT_EQ(cp1252::toUtf8(GetTitle(head)), c.readTitle);
        EXPECT_EQ(GetBGColor(head), "#0080FF");
        EXPECT_EQ(GetFontSize(head), c.fontSizeText);
        EXPECT_EQ(GetSimpleFontSize(head), c.simpleSize);
    }
}

// ---- The generator test -----------------------------------------------------------------------

TEST(PageReader, GeneratorTestIsCaseSensitiveOnTheSharedBanner) {
    const std::string line(site::kGeneratorLineStart);
    const std::string banner = std::string(site::kGeneratorSite) + std::string(site::kBannerTail);
    struct Case {
        std::string text;
        bool mosaic;
    };
    const Case cases[] = {
        {line + banner + "\">", true},
        {"<html>\r\n" + line + " " + banner + "\">", true},  // untrimmed banner
        {line + "Tessaryn-32 v2\">", true},                  // an earlier converter
        {line + " Tessaryn-32 v2\">", true},
        {line + std::string(site::kGeneratorSite) + " presents tessaryn q4 (beta 9)\">", true},
        {line + rt::toUpper(banner) + "\">", false},
        {line + "Tessaryn-32\">", false},  // the pattern ends with a blank
        {line + "  " + banner + "\">", false},
        {"<META NAME=\"Generator\" content=\"" + banner + "\">", false},
        {"<meta name=\"generator\" content=\"" + banner + "\">", false},
        {line + "other.example presents tessaryn q4 (beta 1)\">", false},
        {line + std::string(site::kGeneratorSite) + " presents tessaryn q4", false},  // cut short
        {"", false},
        {std::string("\0\xFF\x01", 3) + line + banner, true},  // binary bytes in front
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsMosaicPage(c.text), c.mosaic) << c.text;
    }
}

// ---- The readers on hand-made pages -----------------------------------------------------------

TEST(PageReader, TitleIsFoundInAnyCaseAndDecoded) {
    struct Case {
        std::string text;
        std::string title;
    };
    const Case cases[] = {
        {"<TITLE>My Page</TITLE>", "My Page"},  // tags in any case, title keeps its own
        {"<Title>a</tItLe>", "a"},
        {"<title>A &amp; B</title>", "A & B"},
        {"<title>&amp;lt;b&amp;gt;</title>", "<b>"},
        {"<title>&amp;quot;</title>", "\""},
        {"<title>&amp;nbsp;</title>", "&nbsp;"},
        {"<title>&lt;&gt;&quot;&nbsp;&#60;&copy;</title>", "<>\" &#60;&copy;"},
        {"<title></title>", ""},
        {"<title>first</title><title>second</title>", "first"},
        {"</title><title>only an opening after the closing", "Unknown"},
        {"</title>x<title>y</title>", "y"},
        {"<title>no closing tag", "Unknown"},
        {"no title at all", "Unknown"},
        {"<title>", "Unknown"},
        {"", "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetTitle(c.text), c.title) << c.text;
    }
}

TEST(PageReader, TitleCutByTheScanWindowIsUnknown) {
    std::string page = converterPage(std::string(6000, 'L'), 0);
    EXPECT_EQ(GetTitle(page.substr(0, kHeadBytes)), "Unknown");
    EXPECT_EQ(GetTitle(page), std::string(6000, 'L'));
    // The rest of the head lies beyond the window too.
    EXPECT_EQ(GetBGColor(page.substr(0, kHeadBytes)), "Unknown");
    EXPECT_EQ(GetFontSize(page.substr(0, kHeadBytes)), "Unknown");
}

TEST(PageReader, BackgroundColourIsTakenAsItStands) {
    struct Case {
        std::string text;
        std::string colour;
    };
    const Case cases[] = {
        {"<body bgcolor=\"#00FF80\">", "#00FF80"},
        {"<BODY BGCOLOR=\"#00ff80\">", "#00ff80"},  // digits keep their case
        {"<body bgcolor=\"#FFF\">\r\n<center>", "#FFF\">\r"},
        {"<body bgcolor=\"#12", "#12"},  // the text ends sooner
        {"<body bgcolor=\"#", "#"},
        {"<body bgcolor=#00FF80>", "Unknown"},
        {"<body text=\"#000000\" bgcolor=\"#00FF80\">", "Unknown"},
        {"", "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetBGColor(c.text), c.colour) << c.text;
    }
}

TEST(PageReader, FontSizeReadsTheFontTagFirstThenTheCssRule) {
    const std::string style = "<style type=\"text/css\">\r\n <!--\r\n";
    struct Case {
        std::string text;
        std::string simple;
        std::string listed;
    };
    const Case cases[] = {
        {"<center><pre><font size=\"-1\">", "-1", "-1"},
        {"<CENTER><PRE><FONT SIZE=\"-2\">", "-2", "-2"},
        {"<font size=\"-12\">", "-1", "-1"},  // one digit only
        {"<font size=\"-", "-", "-"},         // the text ends after the sign
        {"<font size=\"+1\">", "Unknown", "Unknown"},
        {"<font size=\"+1\">" + style + "  pre { font-size: 30% }", "30%", "CSS - 30%"},
        {style + "  pre { font-size: 60% }\r\n -->", "60%", "CSS - 60%"},
        {style + "  pre { font-size: 12px }", "12px", "CSS - 12px"},
        {style + "  PRE { FONT-SIZE: 9pt }", "9pt", "CSS - 9pt"},
        {style + "  pre { font-size: 60% }<font size=\"-2\">", "-2", "-2"},  // font markup first
        {style + "  pre{font-size:60%}", "Unknown", "Unknown"},
        {style + "  pre { font-size: 60%", "Unknown", "Unknown"},
        {style, "Unknown", "Unknown"},
        {"  pre { font-size: 60% }", "Unknown", "Unknown"},  // no style block
        {style + "  nopre { font-size: 60% }", "Unknown", "Unknown"},
        {"<nofont size=\"-1\">", "Unknown", "Unknown"},
        {"", "Unknown", "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetSimpleFontSize(c.text), c.simple) << c.text;
        EXPECT_EQ(GetFontSize(c.text), c.listed) << c.text;
    }
}

TEST(PageReader, HtmlCharsDecodesFiveEntitiesInOrder) {
    struct Case {
        const char* text;
        const char* decoded;
    };
    const Case cases[] = {
        {"a&nbsp;b", "a b"},
        {"&quot;x&quot;", "\"x\""},
        {"&amp;", "&"},
        {"&lt;&gt;", "<>"},
        {"&amp;lt;", "<"},
        {"&amp;gt;", ">"},
        {"&amp;quot;", "\""},
        {"&amp;nbsp;", "&nbsp;"},
        {"&amp;amp;", "&amp;"},
        {"&AMP; &Lt;", "&AMP; &Lt;"},  // case-sensitive
        {"&#38; &copy;", "&#38; &copy;"},
        {"&amp", "&amp"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HTMLChars(c.text), c.decoded) << c.text;
    }
}

TEST(PageReader, FindNoCaseMatchesTheLowerCopy) {
    EXPECT_EQ(FindNoCase("xx<TiTlE>", "<title>"), 2u);
    EXPECT_EQ(FindNoCase("<title><TITLE>", "<title>", 1), 7u);
    EXPECT_EQ(FindNoCase("<titl", "<title>"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("<title>", "<title>", 8), std::string_view::npos);
    EXPECT_EQ(FindNoCase("", "<"), std::string_view::npos);
    EXPECT_EQ(FindNoCase(std::string_view("\0<B", 3), "<b"), 1u);
}

}  // namespace
}  // namespace tess::explorer
