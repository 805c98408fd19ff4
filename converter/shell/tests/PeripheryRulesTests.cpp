// The shell's plain rules: manifest, version numbers, web addresses, recent files, window
// placement and the transparency table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/testing/TempFolder.h"
#include "shell/RecentFiles.h"
#include "shell/Trans.h"
#include "shell/VisualStyle.h"
#include "shell/WebCommands.h"
#include "shell/WindowPlacement.h"

namespace tess {
namespace {

using testing::readFileContents;
using testing::TempFolder;
using testing::writeFileContents;

TEST(Manifest, TwentyTwoLinesJoinedByCrLfWithNoLineEndAfterTheLast) {
    const VersionData data{"Tessaryn Works / Blue Sky Art", "tessaryn q4", "My Tessaryn", 2, 0, 53};
    const std::string text = manifestText(data);
    EXPECT_EQ(text.substr(text.size() - 11), "</assembly>");
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)");
    EXPECT_EQ(lines[3], R"(    processorArchitecture="X86")");
    // The maker's prefix goes, every blank becomes "-".
    EXPECT_EQ(lines[4], R"(    name="Blue-Sky-Art.tessaryn-q4.My-Tessaryn")");
    EXPECT_EQ(lines[5], R"(    version="2.0.0.53")");
    EXPECT_EQ(lines[8], "<description>My Tessaryn</description>");
    EXPECT_EQ(lines[16], R"(            publicKeyToken="6595b64144ccf1df")");
    EXPECT_EQ(lines[18], "        />");
    EXPECT_EQ(lines[21], "</assembly>");
    EXPECT_EQ(text.find('\n', 0), text.find("\r\n") + 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 21);
}

TEST(Manifest, NamedAfterTheProgramInLowerCase) {
    EXPECT_EQ(manifestPath("/opt/Tess", "Tessaryn"), "/opt/Tess/tessaryn.exe.manifest");
    // A root folder already ends with its separator.
    EXPECT_EQ(manifestPath("/", "Tessaryn"), "/tessaryn.exe.manifest");
}

TEST(Manifest, WrittenOnlyWhenMissingAndDeletedOnlyWhenPresent) {
    TempFolder dir;
    const std::string path = dir.file("tessaryn.exe.manifest");
    ASSERT_TRUE(WriteXPManifest(false, dir.path()).ok());  // nothing to delete
    EXPECT_FALSE(dir.has("tessaryn.exe.manifest"));

    ASSERT_TRUE(WriteXPManifest(true, dir.path()).ok());
    EXPECT_EQ(readFileContents(path), manifestText(programVersionData()));
    EXPECT_TRUE(manifestPresent(dir.path()));

    writeFileContents(path, "mine");
    ASSERT_TRUE(WriteXPManifest(true, dir.path()).ok());
    EXPECT_EQ(readFileContents(path), "mine");  // an existing file is kept whatever it holds

    ASSERT_TRUE(WriteXPManifest(false, dir.path()).ok());
    EXPECT_FALSE(dir.has("tessaryn.exe.manifest"));
    EXPECT_FALSE(manifestPresent(dir.path()));
}

TEST(Manifest, AnUnwritableFolderIsReportedNotFatal) {
    EXPECT_FALSE(WriteXPManifest(true, "/proc/no-such-folder").ok());
}

TEST(WindowsVersion, MajorAndTheFirstDigitOfMinorMakeTheNumber) {
    struct Case {
        unsigned major, minor;
        int number;
        bool xpOrLater;
    };
    for (const Case& c : std::vector<Case>{{4, 0, 40, false},
                                           {4, 10, 41, false},
                                           {4, 90, 49, false},
                                           {5, 0, 50, false},
                                           {5, 1, 51, true},
                                           {5, 10, 51, true},
                                           {5, 2, 52, true},
                                           {6, 1, 61, true},
                                           {10, 0, 100, true}}) {
        EXPECT_EQ(windowsVersionNumber(c.major, c.minor), c.number) << c.major << "." << c.minor;
        EXPECT_EQ(isXPOrLater(c.major, c.minor), c.xpOrLater) << c.major << "." << c.minor;
    }
}

TEST(WebCommands, AddressesOnTheSiteWithTheVersionTexts) {
    const WebVersion v{2, 0, 53, 1};
    const InstanceFacts facts{4242, true, 77, "My Tessaryn"};
    const std::string site = "http://tessaryn.example";
    struct Case {
        WebCommand command;
        std::string address;
    };
    for (const Case& c : std::vector<Case>{
             {WebCommand::Help, site + "/q4/help/"},
             {WebCommand::Contact, site + "/contact.shtml?pf=tesinq&f=Tessaryn&v=2.0.053"},
             {WebCommand::Bug, site + "/contact.shtml?pf=tesbug&f=Tessaryn&v=2.0.053"},
             {WebCommand::Donate, site + "/cgi-bin/q4/donate.pl"},
             {WebCommand::Update,
              site + "/cgi-bin/q4/update.pl?mj=2&mn=0&rv=053&bv=1&other=4242|True|77|My Tessaryn"},
             {WebCommand::Birthday, site + "/cgi-bin/q4/birthday.pl"},
             {WebCommand::DesignerLink, site + "/cgi-bin/q4/linkme.pl?who=ilse"},
             {WebCommand::DeveloperLink, site + "/cgi-bin/q4/linkme.pl?who=orvalt"},
         }) {
        EXPECT_EQ(webAddress(c.command, facts, v), c.address);
    }
    // Eight distinct addresses.
    std::set<std::string> all;
    for (int k = 0; k <= static_cast<int>(WebCommand::DeveloperLink); ++k)
        all.insert(webAddress(static_cast<WebCommand>(k), facts, v));
    EXPECT_EQ(all.size(), 8u);
}

TEST(WebCommands, TheRevisionIsPaddedToThreeDigitsAndNeverCut) {
    EXPECT_EQ(webVersionText({2, 0, 7, 1}), "2.0.007");
    EXPECT_EQ(webVersionText({2, 0, 1234, 1}), "2.0.1234");
    EXPECT_EQ(updateQuery({1, false, 2, "T"}, {2, 0, 7, 1}),
              "?mj=2&mn=0&rv=007&bv=1&other=1|False|2|T");
}

TEST(WebCommands, TheBirthdayIsTheTwentyFourthOfDecemberOnly) {
    EXPECT_TRUE(isBirthday({2026, 12, 24}));
    EXPECT_FALSE(isBirthday({2026, 12, 25}));
    EXPECT_FALSE(isBirthday({2026, 11, 24}));
}

TEST(RecentFiles, CaptionsNumberTheEntryAndDoubleEveryAmpersand) {
    EXPECT_EQ(recentCaption(1, "/home/a/cat.tpw"), "&1. /home/a/cat.tpw");
    EXPECT_EQ(recentCaption(3, "/home/a/R&D & co.tpw"), "&3. /home/a/R&&D && co.tpw");
}

// Entries the test calls valid are those without "gone" in them.
bool validForTest(const std::string& path) {
    return !path.empty() && path.find("gone") == std::string::npos;
}

TEST(RecentFiles, AnAdditionPutsThePathFirstAndPrunesWhatIsNotShown) {
    struct Case {
        const char* name;
        RecentSlots before;
        std::string path;
        std::optional<RecentSlots> after;
    };
    const std::vector<Case> cases = {
        {"new path into an empty list", {}, "/p/a", RecentSlots{"/p/a", "", "", ""}},
        {"a fifth path drops the oldest shown",
         {"/p/a", "/p/b", "/p/c", "/p/d"},
         "/p/e",
         RecentSlots{"/p/e", "/p/a", "/p/b", "/p/c"}},
        {"the newest again changes nothing, invalid entries stay",
         {"/p/a", "/p/gone", "/p/c", ""},
         "/p/a",
         std::nullopt},
        {"the third moves first, the others keep their order",
         {"/p/a", "/p/b", "/p/c", "/p/d"},
         "/p/c",
         RecentSlots{"/p/c", "/p/a", "/p/b", "/p/d"}},
        {"an invalid entry is pruned on addition",
         {"/p/a", "/p/gone", "/p/c", "/p/d"},
         "/p/e",
         RecentSlots{"/p/e", "/p/a", "/p/c", "/p/d"}},
        {"paths differing in case are two entries",
         {"/p/A", "", "", ""},
         "/p/a",
         RecentSlots{"/p/a", "/p/A", "", ""}},
        {"an invalid path is never recorded", {"/p/a", "", "", ""}, "/p/gone", std::nullopt},
        {"an empty path is never recorded", {"/p/a", "", "", ""}, "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addRecentFile(c.before, c.path, validForTest), c.after) << c.name;
}

TEST(RecentFiles, OnlyValidEntriesAreShownInOrder) {
    EXPECT_EQ(shownRecentFiles({"/p/a", "/p/gone", "/p/c", "/p/d"}, validForTest),
              (std::vector<std::string>{"/p/a", "/p/c", "/p/d"}));
}

TEST(RecentFiles, TheRealCheckWantsAnExistingFileOnAFixedDisk) {
    TempFolder dir;
    const std::string file = dir.write("p.tpw", "x");
    EXPECT_TRUE(recentEntryValid(file));
    EXPECT_FALSE(recentEntryValid(dir.file("missing.tpw")));
    EXPECT_FALSE(recentEntryValid("p.tpw"));  // relative
    EXPECT_FALSE(recentEntryValid(""));
}

TEST(WindowPlacement, StoredNumbersRoundHalfToEvenAndRefuseTheRest) {
    EXPECT_EQ(storedWholeNumber("9600"), 9600);
    EXPECT_EQ(storedWholeNumber("2.5"), 2);
    EXPECT_EQ(storedWholeNumber("3.5"), 4);
    EXPECT_EQ(storedWholeNumber("-15"), -15);
    EXPECT_EQ(storedWholeNumber(""), std::nullopt);
    EXPECT_EQ(storedWholeNumber("left"), std::nullopt);
    EXPECT_EQ(storedWholeNumber("99999999999"), std::nullopt);
}

TEST(WindowPlacement, TheQuestionComesWhenEitherSideShrank) {
    EXPECT_TRUE(screenShrank(1024, 768, 1280, 768));  // width only
    EXPECT_TRUE(screenShrank(1280, 600, 1280, 768));  // height only
    EXPECT_FALSE(screenShrank(1280, 768, 1280, 768));
    EXPECT_FALSE(screenShrank(1920, 1080, 1280, 768));
}

TEST(WindowPlacement, AWindowOffEveryScreenComesBackOntoTheNearest) {
    const std::vector<ScreenRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    struct Case {
        const char* name;
        ScreenRect window;
        ScreenRect placed;
    };
    for (const Case& c : std::vector<Case>{
             {"on the first screen", {100, 100, 450, 400}, {100, 100, 450, 400}},
             {"across both screens", {1100, 100, 450, 400}, {1100, 100, 450, 400}},
             {"far right of the second", {5000, 50, 450, 400}, {2750, 50, 450, 400}},
             {"above the first", {100, -900, 450, 400}, {100, 0, 450, 400}},
             {"left of everything", {-3000, 2000, 450, 400}, {0, 624, 450, 400}},
             {"larger than the screen", {-5000, 0, 3000, 400}, {0, 0, 3000, 400}},
         }) {
        const ScreenRect got = ontoNearestScreen(c.window, screens);
        EXPECT_EQ(got.left, c.placed.left) << c.name;
        EXPECT_EQ(got.top, c.placed.top) << c.name;
        EXPECT_EQ(got.width, c.placed.width) << c.name;
    }
    const ScreenRect alone = ontoNearestScreen({-9000, 0, 10, 10}, {});
    EXPECT_EQ(alone.left, -9000);
}

TEST(Transparency, EachEntryHasItsAlpha) {
    const std::vector<int> alphas = {255, 225, 200, 175, 150, 125, 100, 75, 50, 25};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(transparencyAlpha(k), alphas[static_cast<std::size_t>(k)]) << k;
}

}  // namespace
}  // namespace tess
