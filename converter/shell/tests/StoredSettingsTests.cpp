#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "shell/CommandLine.h"
#include "shell/FileListBox.h"
#include "shell/StoredSettings.h"

namespace tess {
namespace {

TEST(StoredSettings, ListChoicesTakeOnlyTheExactDigitTexts) {
    struct Case {
        const char* text;
        int count;
        int fallback;
        int expected;
    };
    const Case cases[] = {
        {"0", 8, 0, 0},  {"7", 8, 0, 7},  {"8", 8, 0, 0},   // the custom CSS entry is no default
        {"6", 7, 3, 6},  {" 2", 7, 3, 3}, {"2 ", 7, 3, 3},  // blanks are not trimmed
        {"02", 7, 3, 3}, {"-1", 7, 3, 3}, {"", 7, 3, 3},
        {"x", 7, 3, 3},  {"4", 5, 0, 4},  {"5", 5, 0, 0},  // the spacer "None" cannot be stored
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::listIndex(c.text, c.count, c.fallback), c.expected)
            << "'" << c.text << "' of " << c.count;
    }
}

TEST(StoredSettings, BackgroundColourIsTheLeadingNumberWhenItIsAColour) {
    struct Case {
        const char* text;
        Colour expected;
    };
    const Case cases[] = {
        {"0", 0},        {"255", 255},       {"16777215", 0xFFFFFF},
        {"255abc", 255},                                          // trailing text is ignored
        {"", 0},         {"blue", 0},        {"99999999999", 0},  // beyond 32 bits
        {"16777216", 0},  // above white: no colour, so black for the swatch and the page alike
        {"-1", 0},       {"-2147483648", 0}, {"65535.4", 65535},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::backgroundColour(c.text), c.expected) << "'" << c.text << "'";
    }
}

TEST(StoredSettings, TransparencyIndexOfTheStoredMode) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"9", 9},
        {"7", 7},
        {"10", std::nullopt},
        {"-1", std::nullopt},
        {"9.6", std::nullopt},
        {"2.5", 2},  // halves go to the even neighbour
        {"3.5", 4},
        {"abc", 0},  // no number at all: the first entry
        {"3abc", 0},
        {"9.4", std::nullopt},
        {"8.6", 9},
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::transparencyIndex(c.text, 10), c.expected) << "'" << c.text << "'";
    }
}

TEST(CommandLine, SwitchAndProjectPath) {
    struct Case {
        std::vector<std::string> arguments;
        CommandLine expected;
    };
    const Case cases[] = {
        {{}, {false, ""}},
        {{"/speedlog"}, {true, ""}},
        {{"/SpeedLog", "\"/home/ann/my work/cat.tpw\""}, {true, "/home/ann/my work/cat.tpw"}},
        {{"/home/ann/my work/cat.tpw"}, {false, "/home/ann/my work/cat.tpw"}},
        {{"/home/ann/my", "work/cat.tpw"}, {false, "/home/ann/my work/cat.tpw"}},
        {{"/tmp/cat.tpw", "/SPEEDLOG"}, {true, "/tmp/cat.tpw"}},
        // A path that merely contains the switch's letters is left as it is.
        {{"/data/speedlog/cat.tpw"}, {false, "/data/speedlog/cat.tpw"}},
        {{"/data/x/speedlog"}, {false, "/data/x/speedlog"}},
        {{"  /tmp/cat.tpw  "}, {false, "/tmp/cat.tpw"}},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = parseCommandLine(c.arguments);
        EXPECT_EQ(parsed.speedLog, c.expected.speedLog) << c.expected.projectPath;
        EXPECT_EQ(parsed.projectPath, c.expected.projectPath);
    }
}

TEST(FileListBox, PatternsIgnoreCaseAndTakeLongExtensions) {
    EXPECT_TRUE(FileListBox::matches("Image1.html", "*.htm"));
    EXPECT_TRUE(FileListBox::matches("IMAGE2.HTM", "*.htm"));
    EXPECT_FALSE(FileListBox::matches("Image3.ht", "*.htm"));
    EXPECT_FALSE(FileListBox::matches("Image4.txt", "*.htm"));
    EXPECT_FALSE(FileListBox::matches("htm", "*.htm"));
    EXPECT_TRUE(FileListBox::matches("Art.TGL", "*.tgl"));
    EXPECT_TRUE(FileListBox::matches("anything", "*.*"));
}

TEST(FileListBox, ListsTheMatchingVisibleFilesOfAFolder) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    for (const char* name : {"b.html", "A.htm", "c.txt", ".hidden.htm"}) {
        std::ofstream(folder + "/" + name) << "x";
    }
    QDir(dir.path()).mkdir("folder.htm");

    FileListBox list;
    ASSERT_TRUE(list.setPath(folder));
    list.setPattern("*.htm");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"A.htm", "b.html"}));

    const Status missing = list.setPath(folder + "/missing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, errc::PathNotFound);
    EXPECT_EQ(list.path(), folder);
    EXPECT_EQ(list.listCount(), 2);
}

}  // namespace
}  // namespace tess
