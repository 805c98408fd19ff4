#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Folders.h"
#include "platform/OwnFiles.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

namespace fs = std::filesystem;
using testing::readFileContents;
using testing::TempFolder;
using testing::writeFileContents;

unsigned modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// ---- chooseFolders -----------------------------------------------------------------------------

// A home, a program folder and a runtime folder in a temporary tree; each test says which
// variables are set.
class FolderChoice : public ::testing::Test {
  protected:
    FolderChoice() {
        fs::create_directories(home());
        fs::create_directories(program());
        fs::create_directories(runtime());
        ::chmod(runtime().c_str(), 0700);
        env.programFolder = program();
        env.home = home();
    }

    std::string home() const { return root.file("home/user"); }
    std::string program() const { return root.file("opt/bin"); }
    std::string runtime() const { return root.file("run/user"); }

    TempFolder root{"folders"};
    FolderEnvironment env;
};

TEST_F(FolderChoice, AWritableProgramFolderHoldsEverything) {
    env.programWritable = true;
    env.dataHome = root.file("data");
    env.runtimeDir = runtime();
    const Folders folders = chooseFolders(env);
    EXPECT_EQ(folders.program, program());
    EXPECT_EQ(folders.data, program());
    EXPECT_EQ(folders.scratch, program());
    EXPECT_EQ(folders.mosaics(), program() + "/Mosaics");
    ASSERT_EQ(folders.graphics.size(), 1u);
    EXPECT_EQ(folders.graphics[0], program() + "/Graphics");
    // Nothing per-user is made for a copy that keeps its own files.
    EXPECT_FALSE(fs::exists(root.file("data")));
    EXPECT_FALSE(fs::exists(home() + "/.cache"));
}

TEST_F(FolderChoice, AReadOnlyProgramFolderSplitsByWhoOwnsWhat) {
    struct Case {
        const char* name;
        std::string dataHome;
        std::string cacheHome;
        bool runtimeSet;
        std::string data;
        std::string scratch;
    };
    const std::string h = "home/user";
    const Case cases[] = {
        {"nothing set", "", "", false, h + "/.local/share/Tessaryn", h + "/.cache/Tessaryn"},
        {"all set", "xdg/data", "xdg/cache", true, "xdg/data/Tessaryn", "run/user/Tessaryn"},
        {"missing folders are made", "new/a/b", "new/c/d", false, "new/a/b/Tessaryn",
         "new/c/d/Tessaryn"},
        // Relative values are to be ignored.
        {"relative values", "rel", "rel", false, h + "/.local/share/Tessaryn",
         h + "/.cache/Tessaryn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder caseRoot{"folders"};
        FolderEnvironment e;
        e.programFolder = program();
        e.home = caseRoot.file(h);
        fs::create_directories(e.home);
        auto inCase = [&](const std::string& rel) { return caseRoot.file(rel); };
        if (!c.dataHome.empty())
            e.dataHome = c.dataHome == "rel" ? "rel/data" : inCase(c.dataHome);
        if (!c.cacheHome.empty())
            e.cacheHome = c.cacheHome == "rel" ? "rel/cache" : inCase(c.cacheHome);
        if (c.runtimeSet) {
            fs::create_directories(inCase("run/user"));
            ::chmod(inCase("run/user").c_str(), 0700);
            e.runtimeDir = inCase("run/user");
        }
        const Folders folders = chooseFolders(e);
        EXPECT_EQ(folders.program, program());
        EXPECT_EQ(folders.data, inCase(c.data));
        EXPECT_EQ(folders.scratch, inCase(c.scratch));
        // The first start makes the mosaic folder and the private folder.
        EXPECT_TRUE(isFolder(folders.mosaics()));
        EXPECT_TRUE(isFolder(folders.scratch));
        EXPECT_EQ(modeOf(folders.scratch), 0700u);
        ASSERT_EQ(folders.graphics.size(), 2u);
        EXPECT_EQ(folders.graphics[1], inCase(c.data) + "/Graphics");
        EXPECT_FALSE(fs::exists(caseRoot.file("rel")));
    }
}

TEST_F(FolderChoice, TheRuntimeFolderCountsOnlyWhenItIsPrivate) {
    env.runtimeDir = runtime();
    ::chmod(runtime().c_str(), 0755);
    EXPECT_EQ(chooseFolders(env).scratch, home() + "/.cache/Tessaryn");
    ::chmod(runtime().c_str(), 0700);
    EXPECT_EQ(chooseFolders(env).scratch, runtime() + "/Tessaryn");
}

TEST_F(FolderChoice, AScratchFolderOpenToOthersIsClosedAndALinkInItsPlaceIsRefused) {
    // An earlier folder with loose permissions is made private again.
    const std::string cache = home() + "/.cache/Tessaryn";
    fs::create_directories(cache);
    ::chmod(cache.c_str(), 0777);
    EXPECT_EQ(chooseFolders(env).scratch, cache);
    EXPECT_EQ(modeOf(cache), 0700u);

    // A link standing for the folder could lead anywhere: with no safe folder there is none.
    fs::remove_all(cache);
    fs::create_directories(root.file("elsewhere"));
    fs::create_directory_symlink(root.file("elsewhere"), cache);
    EXPECT_EQ(chooseFolders(env).scratch, "");
    EXPECT_TRUE(fs::is_empty(root.file("elsewhere")));
}

TEST_F(FolderChoice, ShippedGraphicsAreFoundBesideTheProgramOrInTheInstalledShareFolder) {
    env.programWritable = true;
    // Neither exists: the folder beside the program is named, as the build tree has it.
    EXPECT_EQ(chooseFolders(env).graphics.front(), program() + "/Graphics");
    fs::create_directories(root.file("opt/share/tessaryn/Graphics"));
    EXPECT_EQ(chooseFolders(env).graphics.front(), root.file("opt/share/tessaryn/Graphics"));
    fs::create_directories(program() + "/Graphics");
    EXPECT_EQ(chooseFolders(env).graphics.front(), program() + "/Graphics");
}

TEST(FolderWritable, NeedsARealFolderTheUserMayWrite) {
    TempFolder folder{"folders"};
    EXPECT_TRUE(folderWritable(folder.path()));
    EXPECT_FALSE(folderWritable(folder.write("file", "x")));
    EXPECT_FALSE(folderWritable(folder.file("missing")));
    EXPECT_FALSE(folderWritable(""));
}

// ---- Files the programs make for themselves
// ------------------------------------------------------

// A victim's file elsewhere and a link to it standing at the name the program writes.
class OwnFile : public ::testing::Test {
  protected:
    OwnFile() {
        writeFileContents(victim, "the victim's own bytes");
        fs::create_symlink(victim, linked);
    }
    TempFolder folder{"ownfile"};
    const std::string victim = folder.file("victim.txt");
    const std::string linked = folder.file("own.log");
};

TEST_F(OwnFile, ALinkAtTheNameIsNeverFollowed) {
    const std::string dangling = folder.file("dangling.log");
    fs::create_symlink(folder.file("would-be-made"), dangling);
    for (const std::string& path : {linked, dangling}) {
        SCOPED_TRACE(path);
        const Status written = writeOwnFile(path, "new");
        ASSERT_FALSE(written);
        EXPECT_NE(written.error().reason.find(path), std::string::npos);
        EXPECT_FALSE(appendOwnFile(path, "more"));
        EXPECT_TRUE(isLink(path));
    }
    EXPECT_EQ(readFileContents(victim), "the victim's own bytes");
    EXPECT_FALSE(fs::exists(folder.file("would-be-made")));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"dangling.log", "own.log", "victim.txt"}));
}

TEST_F(OwnFile, NewFilesAreTheUsersAloneAndAppendsGoToTheEnd) {
    const std::string path = folder.file("made.log");
    ASSERT_TRUE(writeOwnFile(path, "head\r\n"));
    EXPECT_EQ(modeOf(path), 0600u);
    ASSERT_TRUE(appendOwnFile(path, "one\r\n"));
    ASSERT_TRUE(appendOwnFile(path, "two\r\n"));
    EXPECT_EQ(readFileContents(path), "head\r\none\r\ntwo\r\n");
    ASSERT_TRUE(writeOwnFile(path, "whole"));
    EXPECT_EQ(readFileContents(path), "whole");

    const std::string appended = folder.file("appended.log");
    ASSERT_TRUE(appendOwnFile(appended, "first"));
    EXPECT_EQ(modeOf(appended), 0600u);
    // Nothing but the files themselves is left behind.
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"appended.log", "made.log", "own.log", "victim.txt"}));
}

TEST_F(OwnFile, APipeOrAFolderAtTheNameIsRefusedAtOnce) {
    const std::string pipe = folder.file("pipe.log");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(appendOwnFile(pipe, "x"));
    EXPECT_FALSE(writeOwnFile(pipe, "x"));
    fs::create_directory(folder.file("dir.log"));
    EXPECT_FALSE(appendOwnFile(folder.file("dir.log"), "x"));
    EXPECT_FALSE(writeOwnFile(folder.file("dir.log"), "x"));
}

TEST(OwnFileInMissingFolder, GivesTheReason) {
    TempFolder folder{"ownfile"};
    const Status written = writeOwnFile(folder.file("no/such/file"), "x");
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().reason,
              "Cannot write \"" + folder.file("no/such/file") + "\": No such file or directory");
}

}  // namespace
}  // namespace tess
