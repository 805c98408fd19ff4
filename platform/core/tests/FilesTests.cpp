#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "platform/MountTable.h"
#include "platform/Text.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

namespace fs = std::filesystem;

// ---- ThreeDigits ------------------------------------------------------------------------------

TEST(ThreeDigits, PadsToThreeCharacters) {
    EXPECT_EQ(ThreeDigits(""), "000");
    EXPECT_EQ(ThreeDigits("7"), "007");
    EXPECT_EQ(ThreeDigits("53"), "053");
    EXPECT_EQ(ThreeDigits("123"), "123");
    EXPECT_EQ(ThreeDigits("1234"), "1234");
    EXPECT_EQ(ThreeDigits("x"), "00x");                               // not checked for digits
    EXPECT_EQ(ThreeDigits("\xC3\xA9\xC3\xA9"), "0\xC3\xA9\xC3\xA9");  // counts characters
}

// ---- ShortFileName ----------------------------------------------------------------------------

TEST(ShortFileName, ShortensLongPathsForDisplay) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"C:/Documents and Settings/Owner/My Documents/art/cat.tpw",
         "C:/Documents and Settings/.../cat.tpw"},
        // the 71-character candidate is cut to 5 + 7 + 32 characters
        {"C:/Documents and Settings/Owner/My Documents/Work/Mosaic project for the hallway "
         "poster.tpw",
         "C:/Do.../...oject for the hallway poster.tpw"},
        // only two separators: the result is longer than the input
        {"C:/Projects/a-very-long-project-file-name-here.tpw",
         "C:/Projects/.../a-very-long-project-file-name-here.tpw"},
        // a single separator: the drive part is gone
        {"C:/a-very-long-file-name-without-more-folders.tpw",
         ".../a-very-long-file-name-without-more-folders.tpw"},
        // ends with a separator: only the head
        {"D:/Data/Clients/Archive/2005/October/Mosaics/", "D:/Data/.../"},
        // a Linux path starts with its first separator
        {"/home/owner/Documents/art/mosaics/cat-on-the-sofa.tpw", "/home/.../cat-on-the-sofa.tpw"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortFileName(c.input), c.expected) << c.input;
    }
    EXPECT_EQ(utf8::length(ShortFileName(cases[1].input)), 44u);
}

TEST(ShortFileName, FortyCharactersStayAndFortyOneAreShortened) {
    const std::string forty = "/data/mosaics/" + std::string(26, 'x');
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(ShortFileName(forty), forty);

    const std::string fortyOne = forty + "y";
    EXPECT_EQ(ShortFileName(fortyOne), "/data/.../" + std::string(26, 'x') + "y");
}

TEST(ShortFileName, CountsCharactersNotBytes) {
    // 40 characters, 60 bytes: unchanged
    std::string wide = "/";
    for (int i = 0; i < 39; ++i) {
        wide += i % 2 == 0 ? "\xC3\xA9" : "a";
    }
    ASSERT_EQ(utf8::length(wide), 40u);
    EXPECT_EQ(ShortFileName(wide), wide);

    // 41 characters without a separator: first 5, ".../...", last 32, cut on characters
    std::string noSeparator;
    for (int i = 0; i < 41; ++i) {
        noSeparator += "\xC3\xA9";
    }
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        expected += "\xC3\xA9";
    }
    expected += ".../...";
    for (int i = 0; i < 32; ++i) {
        expected += "\xC3\xA9";
    }
    EXPECT_EQ(ShortFileName(noSeparator), expected);
}

// ---- FileExists -------------------------------------------------------------------------------

TEST(FileExists, OnlyVisibleRegularFilesCount) {
    testing::TempFolder dir("tess-files");
    const std::string file = dir.write("Cat.tpw", "x");
    fs::create_directory(dir.file("folder"));
    dir.write(".hidden", "x");
    fs::create_directory(dir.file(".config"));
    const std::string inHidden = dir.write(".config/settings.ini", "x");
    fs::create_symlink(file, dir.file("link.tpw"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling.tpw"));

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(inHidden));  // only the file's own name can hide it
    EXPECT_TRUE(FileExists(dir.file("link.tpw")));
    EXPECT_FALSE(FileExists(dir.file("dangling.tpw")));
    EXPECT_FALSE(FileExists(dir.file("folder")));
    EXPECT_FALSE(FileExists(dir.file(".hidden")));
    EXPECT_FALSE(FileExists(dir.file("missing.tpw")));
    EXPECT_FALSE(FileExists(dir.file("cat.tpw")));  // file names differ by case here
    EXPECT_FALSE(FileExists(file + "/"));
    EXPECT_FALSE(FileExists(""));
}

TEST(FileExists, APathIsNeverAPattern) {
    testing::TempFolder dir("tess-files");
    dir.write("a.htm", "x");
    const std::string starred = dir.write("*.htm", "x");
    EXPECT_TRUE(FileExists(starred));
    fs::remove(starred);
    EXPECT_FALSE(FileExists(dir.file("*.htm")));
    EXPECT_FALSE(FileExists(dir.file("?.htm")));
}

// ---- IsFixedDrive -----------------------------------------------------------------------------

TEST(IsFixedDrive, NeedsAnAbsolutePath) {
    EXPECT_FALSE(IsFixedDrive(""));
    EXPECT_FALSE(IsFixedDrive("C:"));
    EXPECT_FALSE(IsFixedDrive("projects/cat.tpw"));
    EXPECT_FALSE(IsFixedDrive("\\\\server\\share\\cat.tpw"));
}

TEST(IsFixedDrive, AMissingFileIsJudgedByTheFolderThatHoldsIt) {
    testing::TempFolder dir("tess-files");
    const std::string existing = dir.write("cat.tpw", "x");
    EXPECT_EQ(IsFixedDrive(dir.file("no/such/cat.tpw")), IsFixedDrive(existing));
    EXPECT_TRUE(IsFixedDrive("/"));
}

TEST(MountTable, ParsesMountInfoLines) {
    const std::string text =
        "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 28 0:45 / /mnt/my\\040disk rw shared:7 - xfs /dev/sdb1 rw\n"
        "bad line\n"
        "41 28 0:46 / /srv/share rw - nfs4 server:/export rw,vers=4.2\n";
    const auto mounts = mounts::parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[1].mountPoint, "/mnt/my disk");
    EXPECT_EQ(mounts[1].fsType, "xfs");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].fsType, "nfs4");
    EXPECT_EQ(mounts[2].source, "server:/export");
}

TEST(MountTable, FindsTheInnermostMountOnWholeFolderNames) {
    const std::vector<mounts::MountEntry> mounts = {
        {"/", "ext4", "/dev/vda"},
        {"/srv/share", "nfs4", "server:/export"},
        {"/srv", "xfs", "/dev/sdb1"},
        {"/srv/share", "cifs", "//host/share"},  // mounted over the first one
    };
    EXPECT_EQ(mounts::findMount(mounts, "/home/u/cat.tpw")->fsType, "ext4");
    EXPECT_EQ(mounts::findMount(mounts, "/srv/shared/cat.tpw")->fsType, "xfs");
    EXPECT_EQ(mounts::findMount(mounts, "/srv/share/cat.tpw")->fsType, "cifs");
    EXPECT_EQ(mounts::findMount(mounts, "/srv/share")->fsType, "cifs");
    EXPECT_EQ(mounts::findMount({}, "/x"), nullptr);
}

TEST(MountTable, FixedMeansLocalAndPermanentlyAttached) {
    struct Case {
        mounts::MountEntry mount;
        bool fixed;
    };
    const Case cases[] = {
        {{"/", "ext4", "/dev/vda"}, true},
        {{"/", "overlay", "overlay"}, true},
        {{"/", "fuse.fuse-overlayfs", "fuse-overlayfs"}, true},
        {{"/tmp", "tmpfs", "tmpfs"}, true},
        {{"/data", "fuseblk", "/dev/sdb1"}, true},  // NTFS through FUSE on a local disk
        {{"/mediafiles", "ext4", "/dev/sdc1"}, true},
        {{"/mnt/share", "nfs4", "server:/export"}, false},
        {{"/mnt/win", "cifs", "//host/share"}, false},
        {{"/mnt/win", "smb3", "//host/share"}, false},
        {{"/home/u/remote", "fuse.sshfs", "u@host:"}, false},
        {{"/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse"}, false},
        {{"/media/u/STICK", "vfat", "/dev/sdd1"}, false},
        {{"/run/media/u/disk", "ext4", "/dev/sde1"}, false},
        {{"/mnt/cdrom", "iso9660", "/dev/sr0"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mounts::isFixedMount(c.mount), c.fixed)
            << c.mount.fsType << " at " << c.mount.mountPoint;
    }
}

}  // namespace
}  // namespace tess
