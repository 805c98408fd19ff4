#include <gtest/gtest.h>

#include <string>

#include "platform/RtfReader.h"

namespace tess {
namespace {

struct RtfCase {
    const char* name;
    std::string rtf;
    std::string text;
};

void expectAll(const std::vector<RtfCase>& cases) {
    for (const RtfCase& c : cases) {
        EXPECT_EQ(rtfToPlainText(c.rtf), c.text) << c.name;
    }
}

TEST(RtfReader, LineBreaksTabsAndTheFinalParagraphMark) {
    expectAll({
        {"plain", R"({\rtf1\ansi Hello})", "Hello"},
        {"paragraphs", R"({\rtf1 One\par Two})", "One\r\nTwo"},
        {"final mark gives no break", R"({\rtf1 One\par Two\par})", "One\r\nTwo"},
        {"empty last paragraph stays", R"({\rtf1 One\par\par})", "One\r\n"},
        {"final mark before closing groups", "{\\rtf1 One\\par\r\n{\\*\\themedata 0102}\r\n}",
         "One"},
        {"line break", R"({\rtf1 a\line b})", "a\r\nb"},
        {"line break at the end stays", R"({\rtf1 a\line})", "a\r\n"},
        {"backslash and newline is a paragraph", "{\\rtf1 a\\\nb}", "a\r\nb"},
        {"tab", R"({\rtf1 a\tab b})", "a\tb"},
        {"table cells and rows", R"({\rtf1\trowd a\cell b\cell\row c})", "a\tb\t\r\nc"},
        {"raw line ends are not text", "{\\rtf1 a\r\nb}", "ab"},
    });
}

TEST(RtfReader, CharactersEscapesAndCodePages) {
    expectAll({
        {"escaped symbols", R"({\rtf1 \\ \{ \}})", "\\ { }"},
        {"hex bytes in Windows-1252", R"({\rtf1 caf\'e9 \'80})", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"raw 8-bit text", "{\\rtf1 caf\xE9}", "caf\xC3\xA9"},
        {"non-breaking space, optional and non-breaking hyphen", R"({\rtf1 a\~b\-c\_d})",
         "a\xC2\xA0"
         "bc-d"},
        {"typographic characters",
         R"({\rtf1 \lquote x\rquote \ldblquote y\rdblquote \emdash\endash\bullet})",
         "\xE2\x80\x98x\xE2\x80\x99\xE2\x80\x9Cy\xE2\x80\x9D\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2"},
        {"formatting words and their delimiter", R"({\rtf1\b bold\b0  x\fs24 y})", "bold xy"},
    });
}

TEST(RtfReader, UnicodeWithFallbackSkipping) {
    expectAll({
        {"default skip of one", R"({\rtf1 \u8364?x})",
         "\xE2\x82\xAC"
         "x"},
        {"skip of none", R"({\rtf1\uc0 \u8364 x})",
         "\xE2\x82\xAC"
         "x"},
        {"hex fallback of two", R"({\rtf1\uc2 \u8364\'80\'80x})",
         "\xE2\x82\xAC"
         "x"},
        {"negative values and surrogate pairs", R"({\rtf1 \u-10179?\u-8704?})", "\xF0\x9F\x98\x80"},
        {"lone surrogate", R"({\rtf1 \u-10179?x})",
         "\xEF\xBF\xBD"
         "x"},
        {"skip count ends with the group", R"({\rtf1 {\uc2 \u8364??}\u8364?})",
         "\xE2\x82\xAC\xE2\x82\xAC"},
        {"a brace ends the fallback early", R"({\rtf1\uc3 {\u8364?}ab})",
         "\xE2\x82\xAC"
         "ab"},
        {"large positive value", R"({\rtf1\uc0 \u20013})", "\xE4\xB8\xAD"},
    });
}

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
    expectAll({
        {"document head",
         R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1 Times;}}{\colortbl;\red255\green0\blue0;})"
         R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author A}}{\*\generator Riched20 10.0;}Body})",
         "Body"},
        {"headers, footers and footnotes",
         R"({\rtf1{\header Head}{\footerl Foot}Text{\footnote Note}})", "Text"},
        {"pictures and objects",
         R"({\rtf1 a{\pict\wmetafile8\picw10 0123abcd}b{\object\objemb{\*\objdata 01}{\result R}}c})",
         "abc"},
        {"fields keep their result",
         R"({\rtf1 see {\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "see link"},
        {"unknown starred destination", R"({\rtf1 a{\*\mynewthing hidden {nested}}b})", "ab"},
        {"a star inside text skips nothing", R"({\rtf1 a\*b})", "ab"},
        {"list numbering text", R"({\rtf1{\pntext\f1 1.\tab}{\*\pn\pnlvlbody}Item})", "Item"},
        {"binary data with braces", std::string("{\\rtf1 a{\\pict\\bin4 }{}\\}b}"), "ab"},
    });
}

TEST(RtfReader, MalformedInputNeverFails) {
    expectAll({
        {"empty", "", ""},
        {"unbalanced closing braces", R"(}}}{\rtf1 x)", "x"},
        {"unclosed group", R"({\rtf1 {x)", "x"},
        {"backslash at the end", "{\\rtf1 x\\", "x"},
        {"hex escape at the end", "{\\rtf1 x\\'", "x"},
        {"half a hex escape", "{\\rtf1 x\\'4", "x\x04"},
        {"bad hex escape", R"({\rtf1 \'zz})", "zz"},
        {"unicode word at the end", "{\\rtf1 x\\u", "x"},
        {"huge parameters", R"({\rtf1 \u99999999999999999999?\uc99999999999 a})",
         "\xEF\xBF\xBD"
         "a"},
        {"binary length past the end", R"({\rtf1 a\bin999999999 bcd})", "a"},
        {"not rich text at all", "just words", "just words"},
    });
    const std::string deep = std::string(200000, '{') + "x" + std::string(200000, '}');
    EXPECT_EQ(rtfToPlainText(deep), "x");
}

TEST(RtfReader, FilesMustBeRichTextDocuments) {
    const auto ok = rtfDocumentToPlainText("\r\n  {\\rtf1 Hi\\par}");
    ASSERT_TRUE(ok.ok());
    EXPECT_EQ(*ok, "Hi");
    EXPECT_EQ(*rtfDocumentToPlainText("{\\rtf1 Hi}\r\ntrailing junk {x}"), "Hi");
    EXPECT_FALSE(rtfDocumentToPlainText("Hi there").ok());
    EXPECT_FALSE(rtfDocumentToPlainText("").ok());
    EXPECT_FALSE(rtfDocumentToPlainText("{\\rt").ok());
}

}  // namespace
}  // namespace tess
