#include "platform/PrivateFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::readFileContents;
using testing::TempFolder;

namespace fs = std::filesystem;

// What may stand at a private file's name before it is made: left by an earlier run, or put
// there by someone else in a shared folder.
enum class Entry { None, OwnFile, LinkToVictim, DanglingLink, Pipe, Folder };

struct Place {
    TempFolder folder{"tess-private"};
    std::string path = folder.file("~undo.dat");
    std::string victim = folder.write("victim.txt", "the victim's own bytes");

    void put(Entry entry) const {
        switch (entry) {
            case Entry::None:
                break;
            case Entry::OwnFile:
                (void)folder.write("~undo.dat", "left by an earlier run");
                break;
            case Entry::LinkToVictim:
                fs::create_symlink(victim, path);
                break;
            case Entry::DanglingLink:
                fs::create_symlink(folder.file("nowhere"), path);
                break;
            case Entry::Pipe:
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
                break;
            case Entry::Folder:
                fs::create_directories(path + "/inside");
                break;
        }
    }
    bool victimIntact() const { return readFileContents(victim) == "the victim's own bytes"; }
};

struct EntryCase {
    const char* name;
    Entry entry;
    bool created;  // create() makes the new file
    bool read;     // read() gives the old file's bytes
};
const EntryCase kEntries[] = {
    {"nothing", Entry::None, true, false},
    {"own file", Entry::OwnFile, true, true},
    {"link to a victim", Entry::LinkToVictim, true, false},
    {"dangling link", Entry::DanglingLink, true, false},
    {"pipe", Entry::Pipe, true, false},
    {"folder", Entry::Folder, false, false},
};

TEST(PrivateFile, ANewFileReplacesWhateverEntryItCanAndNeverWhatALinkPointsAt) {
    for (const EntryCase& c : kEntries) {
        Place place;
        place.put(c.entry);
        PrivateFile file;
        const Status made = file.create(place.path);
        EXPECT_EQ(made.ok(), c.created) << c.name;
        if (made) {
            ASSERT_TRUE(file.write("new bytes").ok()) << c.name;
            ASSERT_TRUE(file.commit().ok()) << c.name;
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(place.path))) << c.name;
            EXPECT_EQ(readFileContents(place.path), "new bytes") << c.name;
            EXPECT_TRUE(PrivateFile::isOwnFile(place.path)) << c.name;
        } else {
            EXPECT_NE(made.error().reason.find(place.path), std::string::npos) << c.name;
            EXPECT_TRUE(fs::is_directory(place.path + "/inside")) << c.name;
        }
        EXPECT_TRUE(place.victimIntact()) << c.name;
    }
}

TEST(PrivateFile, OnlyARegularFileOfThisUserReachedWithoutALinkIsRead) {
    for (const EntryCase& c : kEntries) {
        Place place;
        place.put(c.entry);
        const Result<std::string> bytes = PrivateFile::read(place.path);
        EXPECT_EQ(bytes.ok(), c.read) << c.name;
        EXPECT_EQ(PrivateFile::isOwnFile(place.path), c.read) << c.name;
        if (bytes) {
            EXPECT_EQ(*bytes, "left by an earlier run");
        }
    }
    Place place;
    EXPECT_EQ(PrivateFile::read(place.path).error().code, errc::FileNotFound);
    // Another user's file at the name is not taken for ours.
    if (::geteuid() == 0) {
        place.put(Entry::OwnFile);
        ASSERT_EQ(::chown(place.path.c_str(), 4321, 4321), 0);
        EXPECT_FALSE(PrivateFile::read(place.path).ok());
        EXPECT_FALSE(PrivateFile::isOwnFile(place.path));
    }
}

TEST(PrivateFile, OnlyTheOwnerMayReadOrWriteIt) {
    Place place;
    const mode_t old = ::umask(0);
    PrivateFile file;
    const Status made = file.create(place.path);
    ::umask(old);
    ASSERT_TRUE(made.ok());
    ASSERT_TRUE(file.commit().ok());
    struct stat st {};
    ASSERT_EQ(::lstat(place.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(PrivateFile, AFileNotCommittedIsRemoved) {
    Place place;
    {
        PrivateFile file;
        ASSERT_TRUE(file.create(place.path).ok());
        ASSERT_TRUE(file.write("half").ok());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(place.path)));
    PrivateFile file;
    ASSERT_TRUE(file.create(place.path).ok());
    const Error failed = file.fail(ENOSPC);
    EXPECT_EQ(failed.code, errc::DiskFull);
    EXPECT_FALSE(fs::exists(fs::symlink_status(place.path)));
    EXPECT_FALSE(file.write("more").ok());
    EXPECT_FALSE(file.commit().ok());
}

TEST(PrivateFile, RemovingTakesTheEntryItselfAway) {
    for (const EntryCase& c : kEntries) {
        Place place;
        place.put(c.entry);
        const Status removed = PrivateFile::remove(place.path);
        EXPECT_EQ(removed.ok(), c.entry != Entry::Folder) << c.name;
        if (c.entry != Entry::Folder) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(place.path))) << c.name;
        }
        EXPECT_TRUE(place.victimIntact()) << c.name;
    }
}

// Opening to write over keeps only our own file of mode 0600; anything else is replaced as a new
// file replaces it.
TEST(PrivateFile, OnlyOurOwnFileIsWrittenOverInPlace) {
    for (const EntryCase& c : kEntries) {
        Place place;
        place.put(c.entry);
        if (c.entry == Entry::OwnFile) {
            ASSERT_EQ(::chmod(place.path.c_str(), 0600), 0);
        }
        PrivateFile file;
        const Status opened = file.open(place.path);
        EXPECT_EQ(opened.ok(), c.created) << c.name;
        if (!opened) {
            continue;
        }
        ASSERT_TRUE(file.write("new").ok()) << c.name;
        ASSERT_TRUE(file.commit().ok()) << c.name;
        struct stat after {};
        ASSERT_EQ(::lstat(place.path.c_str(), &after), 0) << c.name;
        EXPECT_TRUE(S_ISREG(after.st_mode)) << c.name;
        EXPECT_EQ(after.st_mode & 07777, 0600u) << c.name;
        // Written over in place, the old file keeps what lies beyond the new bytes.
        EXPECT_EQ(readFileContents(place.path),
                  c.entry == Entry::OwnFile ? "newt by an earlier run" : "new")
            << c.name;
        EXPECT_TRUE(place.victimIntact()) << c.name;
    }
    // A file of ours open to others, or with a second name, is replaced by a new one.
    for (const char* variant : {"mode 0644", "second name"}) {
        Place place;
        place.put(Entry::OwnFile);
        if (std::string(variant) == "mode 0644") {
            ASSERT_EQ(::chmod(place.path.c_str(), 0644), 0);
        } else {
            ASSERT_EQ(::chmod(place.path.c_str(), 0600), 0);
            fs::create_hard_link(place.path, place.folder.file("second"));
        }
        PrivateFile file;
        ASSERT_TRUE(file.open(place.path).ok()) << variant;
        ASSERT_TRUE(file.write("new").ok()) << variant;
        ASSERT_TRUE(file.commit().ok()) << variant;
        EXPECT_EQ(readFileContents(place.path), "new") << variant;
        if (std::string(variant) == "second name") {
            EXPECT_EQ(readFileContents(place.folder.file("second")), "left by an earlier run");
        }
    }
}

}  // namespace
}  // namespace tess
