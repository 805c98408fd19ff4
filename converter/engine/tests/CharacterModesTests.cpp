#include <gtest/gtest.h>

#include <set>

#include "EngineTestSupport.h"
#include "engine/CellChars.h"
#include "engine/CharacterModes.h"
#include "platform/DefaultRandom.h"

namespace tess {
namespace {

TEST(ApplySpacerTest, ReplacesEveryWhiteSpaceCharacter) {
    struct Case {
        const char* text;
        const char* spacer;
        const char* expected;
    };
    for (const Case& c : {Case{"ab cd", "+", "ab+cd"}, Case{"a\r\nb", "+", "a++b"},
                          Case{"a\tb  c", "~", "a~b~~c"}, Case{"a b\r\n", "", "ab"},
                          Case{"", "+", ""}, Case{"caf\xC3\xA9 x", "_", "caf\xC3\xA9_x"}}) {
        EXPECT_EQ(ApplySpacer(c.text, c.spacer), c.expected) << c.text;
    }
}

TEST(PrepareCustomTextTest, PadsToAnEvenLengthEndingInTheSpacer) {
    struct Case {
        const char* text;
        const char* spacer;
        const char* expected;
    };
    for (const Case& c : {Case{"ab cd", "+", "ab+cd+"}, Case{"abcd", "+", "abcd++"},
                          Case{"", "+", "++"}, Case{"abc", "", "abc"}, Case{"", "", ""},
                          // Characters count, not bytes: "é" is one character of two bytes.
                          Case{"\xC3\xA9", "+", "\xC3\xA9+"}}) {
        EXPECT_EQ(prepareCustomText(c.text, c.spacer), c.expected) << c.text;
    }
}

TEST(FixLTGTTest, EscapesOnlyAngleBrackets) {
    EXPECT_EQ(FixLTGT("<b>&\"'"), "&lt;b&gt;&\"'");
    EXPECT_EQ(FixLTGT(""), "");
}

TEST(SmartRenderTest, BandsOfTheBrightestChannel) {
    auto grey = [](int v) { return rgb(v, v, v); };
    struct Case {
        Colour colour;
        const char* expected;
    };
    for (const Case& c :
         {Case{0, "  "}, Case{grey(31), "  "}, Case{grey(32), "!!"}, Case{grey(63), "!!"},
          Case{grey(64), "}}"}, Case{grey(96), "$$"}, Case{grey(128), "%%"}, Case{grey(160), "&&"},
          Case{grey(192), "@@"}, Case{grey(223), "@@"}, Case{grey(224), "WW"},
          Case{grey(240), "WW"}, Case{grey(241), "##"}, Case{0xFFFFFF, "##"}, Case{255, "##"},
          Case{rgb(0, 0, 100), "$$"}, Case{rgb(10, 200, 5), "@@"}}) {
        EXPECT_EQ(SmartRender(c.colour), c.expected) << std::hex << c.colour;
    }
}

// The cells of `count` pixels in the given mode, read one by one.
std::vector<std::string> cellsOf(const MosaicOptions& options, Clock& clock, Random& random,
                                 int count) {
    CellChars chars(options, clock, random);
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(chars.cell(0));
    }
    return cells;
}

TEST(CellCharsTest, CustomTextCellsFollowTheCursor) {
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    struct Case {
        const char* text;
        std::int16_t spacer;
        std::vector<std::string> expected;
    };
    for (const Case& c : {
             Case{"ab cd", 0, {"ab", "+c", "d+", "ab", "+c"}},
             Case{"abc", 5, {"ab", "c", "ab", "c"}},
             Case{"", 0, {"++", "++"}},
             Case{"", 5, {"", ""}},
             Case{"a<b&", 5, {"a&lt;", "b&", "a&lt;"}},
             Case{"<>", 5, {"&lt;&gt;", "&lt;&gt;"}},
             Case{"\xCE\xA9\xC3\xA9", 5, {"?\xE9"}},
         }) {
        MosaicOptions options;
        options.Mode = 0;
        options.CustomText = c.text;
        options.Spacer = c.spacer;
        EXPECT_EQ(cellsOf(options, clock, random, static_cast<int>(c.expected.size())), c.expected)
            << c.text;
    }
}

TEST(CellCharsTest, CursorIsThePositionOfTheNextCell) {
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    MosaicOptions options;
    options.CustomText = "abcde";  // prepared "abcde+"
    CellChars chars(options, clock, random);
    std::vector<std::int32_t> positions;
    for (int i = 0; i < 4; ++i) {
        positions.push_back(chars.cursor());
        (void)chars.nextCustom();
    }
    EXPECT_EQ(positions, (std::vector<std::int32_t>{1, 3, 5, 1}));
}

TEST(CellCharsTest, RandomModesDrawAndReseedAsScripted) {
    struct Case {
        std::int16_t mode;
        std::vector<float> script;
        std::vector<std::string> expected;
        const char* history;  // "r" reseed, "n" draw
    };
    const std::string machine = {static_cast<char>(161), static_cast<char>(254),
                                 static_cast<char>(208), static_cast<char>(161)};
    for (const Case& c : {
             Case{1, {0.0f, 0.999f, 0.5f}, {"AZ", "NA"}, "rnrnrnrn"},
             Case{2, {0.0f, 0.95f, 0.35f}, {"00", "90", "30"}, "rnrnrn"},
             Case{3, {0.0f, 0.5f, 0.7f}, {"01", "10"}, "rnnrnn"},
             Case{4, {0.0f, 0.999f, 0.5f}, {machine.substr(0, 2), machine.substr(2, 2)}, "rnnrnn"},
             Case{5, {0.0f, 0.999f, 0.04f}, {"00", "FF", "0A"}, "rnrnrn"},
         }) {
        testing::FixedClock clock({}, 77);
        testing::ScriptedRandom random(c.script);
        MosaicOptions options;
        options.Mode = c.mode;
        EXPECT_EQ(cellsOf(options, clock, random, static_cast<int>(c.expected.size())), c.expected)
            << "mode " << c.mode;
        EXPECT_EQ(random.history(), c.history) << "mode " << c.mode;
        // Each reseed mixes the clock's tick with its own place in the run.
        const std::vector<std::uint64_t>& entropy = random.reseeds();
        for (std::size_t i = 0; i < entropy.size(); ++i) {
            EXPECT_EQ(entropy[i] >> 32, 77u) << "mode " << c.mode;
            EXPECT_EQ(entropy[i] & 0xFFFFFFFFu, i) << "mode " << c.mode;
        }
    }
}

TEST(CellCharsTest, ReseedingFromAStillClockDoesNotRepeatCells) {
    // Every reseed sees the same tick count, as happens for all cells within one millisecond.
    testing::FixedClock clock({}, 12345);
    DefaultRandom random;
    for (std::int16_t mode : {1, 2, 3, 4, 5}) {
        MosaicOptions options;
        options.Mode = mode;
        const std::vector<std::string> cells = cellsOf(options, clock, random, 64);
        const std::set<std::string> distinct(cells.begin(), cells.end());
        EXPECT_GT(distinct.size(), 1u) << "mode " << mode;
    }
}

TEST(CellCharsTest, RandomModesKeepTheirAlphabets) {
    testing::FixedClock clock;
    DefaultRandom random(99);
    for (std::int16_t mode : {1, 2, 3, 4, 5}) {
        MosaicOptions options;
        options.Mode = mode;
        for (const std::string& cell : cellsOf(options, clock, random, 500)) {
            ASSERT_EQ(cell.size(), 2u);
            for (std::size_t i = 0; i < 2; ++i) {
                const auto ch = static_cast<unsigned char>(cell[i]);
                switch (mode) {
                    case 1:
                        EXPECT_TRUE(ch >= 'A' && ch <= 'Z') << cell;
                        break;
                    case 2:
                        EXPECT_TRUE(i == 1 ? ch == '0' : std::isdigit(ch) != 0) << cell;
                        break;
                    case 3:
                        EXPECT_TRUE(ch == '0' || ch == '1') << cell;
                        break;
                    case 4:
                        EXPECT_TRUE(ch >= 161 && ch <= 254) << cell;
                        break;
                    case 5:
                        EXPECT_TRUE(std::isxdigit(ch) && !std::islower(ch)) << cell;
                        break;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tess
