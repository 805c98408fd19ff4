#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/ReadOnlyMount.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

namespace fs = std::filesystem;
using Step = AtomicFile::Step;
using NewFile = AtomicFile::NewFile;

using testing::onReadOnlyFileSystem;
using testing::readFileContents;
using testing::TempFolder;
using testing::writeFileContents;

TEST(AtomicFile, AReadOnlyFileSystemIsTheReason) {
    TempFolder dir("tess-atomic");
    const std::string folder = dir.file("mounted");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string told = onReadOnlyFileSystem(folder, [&] {
        std::string reasons;
        for (const char* name : {"old.txt", "new.txt"}) {
            AtomicFile file;
            const Status opened = file.open(folder + "/" + name);
            reasons += opened ? std::string("opened") : opened.error().reason;
            reasons += "|" + std::to_string(file.failedErrno()) + "\n";
        }
        return reasons + readFileContents(folder + "/old.txt");
    });
    if (told == "skip") {
        GTEST_SKIP() << "no mount namespace can be made here";
    }
    const std::string erofs = "|" + std::to_string(EROFS) + "\n";
    EXPECT_EQ(told, "Cannot write \"" + folder + "/old.txt\": Read-only file system" + erofs +
                        "Cannot write \"" + folder + "/new.txt\": Read-only file system" + erofs +
                        "old");
}

// Whether the file system under `folder` makes files without a name.
bool hasAnonymousFiles(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// Both ways of making the new file; the anonymous one only where the folder's file system has it.
std::vector<NewFile> newFileKinds(const std::string& folder) {
    if (hasAnonymousFiles(folder)) {
        return {NewFile::AnonymousWherePossible, NewFile::Named};
    }
    return {NewFile::Named};
}

const char* kindName(NewFile kind) {
    return kind == NewFile::Named ? "named" : "anonymous";
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Sets the file's times (not following a link) to `seconds` ago.
void makeOld(const std::string& path, long seconds) {
    const timespec then{std::time(nullptr) - seconds, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

TEST(AtomicFile, StreamsPiecesAndReplacesTheTargetOnlyOnCommit) {
    TempFolder probe("tess-atomic");
    for (NewFile kind : newFileKinds(probe.path())) {
        SCOPED_TRACE(kindName(kind));
        TempFolder dir("tess-atomic");
        const std::string path = dir.file("page.html");
        writeFileContents(path, "old");
        AtomicFile file(kind);
        ASSERT_TRUE(file.open(path).ok());
        const std::string big(200 * 1024, 'x');
        ASSERT_TRUE(file.write("a").ok());
        ASSERT_TRUE(file.write("bc", "").ok());
        ASSERT_TRUE(file.write("", "d").ok());
        ASSERT_TRUE(file.write(big, "e").ok());

        EXPECT_EQ(readFileContents(path), "old");
        const std::vector<std::string> during = dir.names();
        if (kind == NewFile::Named) {
            ASSERT_EQ(during.size(), 2u);
            EXPECT_TRUE(std::regex_match(during[1], std::regex(R"(~page\.html\.[0-9a-f]{8})")))
                << during[1];
        } else {
            EXPECT_EQ(during, std::vector<std::string>{"page.html"});
        }

        ASSERT_TRUE(file.commit().ok());
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(readFileContents(path), "abcd" + big + "e");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"});
    }
}

TEST(AtomicFile, BothKindsOfNewFileKeepWhatTheWriterPromises) {
    TempFolder probe("tess-atomic");
    for (NewFile kind : newFileKinds(probe.path())) {
        SCOPED_TRACE(kindName(kind));
        TempFolder dir("tess-atomic");
        const auto write = [kind](const std::string& path, std::string_view bytes) {
            AtomicFile file(kind);
            Status status = file.open(path);
            if (status.ok()) {
                status = file.write(bytes);
            }
            return status.ok() ? file.commit() : status;
        };

        // A new file takes the usual mode of the user's new files.
        const mode_t mask = ::umask(027);
        const Status created = write(dir.file("new.html"), "new");
        ::umask(mask);
        ASSERT_TRUE(created.ok()) << created.error().reason;
        EXPECT_EQ(modeOf(dir.file("new.html")), 0640u);

        // A replaced file keeps its mode, however narrow or wide.
        for (mode_t mode : {0600u, 0664u}) {
            writeFileContents(dir.file("kept.html"), "old");
            ASSERT_EQ(::chmod(dir.file("kept.html").c_str(), mode), 0);
            ASSERT_TRUE(write(dir.file("kept.html"), "new").ok());
            EXPECT_EQ(modeOf(dir.file("kept.html")), mode);
        }

        // A link is followed and stays.
        writeFileContents(dir.file("real.html"), "old");
        fs::create_symlink(dir.file("real.html"), dir.file("link.html"));
        ASSERT_TRUE(write(dir.file("link.html"), "through").ok());
        EXPECT_TRUE(fs::is_symlink(dir.file("link.html")));
        EXPECT_EQ(readFileContents(dir.file("real.html")), "through");

        // A missing folder reads as it always did.
        const std::string missing = dir.file("none/page.html");
        const Status refused = write(missing, "x");
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().reason,
                  "Cannot write \"" + missing + "\": No such file or directory");
        EXPECT_EQ(refused.error().code, errc::PathNotFound);

        EXPECT_EQ(dir.names(),
                  (std::vector<std::string>{"kept.html", "link.html", "new.html", "real.html"}));
    }
}

// A writer killed half way through its bytes, as the user's kill or a crash ends it. Returns the
// names in the folder afterwards.
std::vector<std::string> killWriterHalfWay(const TempFolder& dir, const std::string& path,
                                           NewFile kind) {
    const pid_t child = ::fork();
    if (child == 0) {
        AtomicFile file(kind);
        if (file.open(path).ok() && file.write(std::string(1 << 20, 'h')).ok()) {
            ::kill(::getpid(), SIGKILL);
        }
        std::_Exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer was not killed";
    return dir.names();
}

TEST(AtomicFile, AWriterKilledHalfWayLeavesTheOldFileAndNothingThatOutlivesTheNextWrite) {
    TempFolder probe("tess-atomic");
    for (NewFile kind : newFileKinds(probe.path())) {
        SCOPED_TRACE(kindName(kind));
        TempFolder dir("tess-atomic");
        const std::string path = dir.file("page.html");
        writeFileContents(path, "old");
        const std::vector<std::string> left = killWriterHalfWay(dir, path, kind);
        EXPECT_EQ(readFileContents(path), "old");
        if (kind == NewFile::AnonymousWherePossible) {
            EXPECT_EQ(left, std::vector<std::string>{"page.html"});
            continue;
        }
        // Without anonymous files the dead writer's file stays, until a later write of the same
        // target finds it abandoned: nobody holds it and nobody has written it for a while.
        ASSERT_EQ(left.size(), 2u);
        const std::string stale = dir.file(left[1]);
        AtomicFile soon(kind);
        ASSERT_TRUE(soon.open(path).ok());
        soon.discard();
        EXPECT_TRUE(fs::exists(stale)) << "a file written a moment ago may still be in use";

        makeOld(stale, AtomicFile::kAbandonedAfterSeconds + 1);
        AtomicFile later(kind);
        ASSERT_TRUE(later.open(path).ok());
        ASSERT_TRUE(later.write("new").ok());
        ASSERT_TRUE(later.commit().ok());
        EXPECT_EQ(readFileContents(path), "new");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"});
    }
}

TEST(AtomicFile, OnlyItsOwnAbandonedFilesForTheSameTargetAreRemoved) {
    constexpr long kOld = AtomicFile::kAbandonedAfterSeconds + 60;
    struct Case {
        const char* what;
        const char* name;
        std::function<void(const std::string& path)> make;
        bool removed;
    };
    const auto oldFile = [](const std::string& path) {
        writeFileContents(path, "left");
        makeOld(path, kOld);
    };
    const std::vector<Case> cases = {
        {"abandoned", "~page.html.0123abcd", oldFile, true},
        {"written a moment ago", "~page.html.0123abcd",
         [](const std::string& path) { writeFileContents(path, "left"); }, false},
        {"another target's", "~other.html.0123abcd", oldFile, false},
        {"upper-case digits", "~page.html.0123ABCD", oldFile, false},
        {"seven digits", "~page.html.0123abc", oldFile, false},
        {"nine digits", "~page.html.0123abcde", oldFile, false},
        {"no tilde", "page.html.0123abcd", oldFile, false},
        {"a link to an old file", "~page.html.0123abcd",
         [&](const std::string& path) {
             oldFile(path + "-target");
             fs::create_symlink(path + "-target", path);
             makeOld(path, kOld);
         },
         false},
        {"a folder", "~page.html.0123abcd",
         [](const std::string& path) {
             fs::create_directory(path);
             makeOld(path, kOld);
         },
         false},
        {"a pipe", "~page.html.0123abcd",
         [](const std::string& path) {
             ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
             makeOld(path, kOld);
         },
         false},
        {"a file with a second name", "~page.html.0123abcd",
         [&](const std::string& path) {
             oldFile(path);
             fs::create_hard_link(path, path + "-second");
         },
         false},
    };
    for (const Case& c : cases) {
        TempFolder dir("tess-atomic");
        const std::string path = dir.file(c.name);
        c.make(path);
        const std::vector<std::string> before = dir.names();
        AtomicFile::removeAbandoned(dir.path(), "page.html");
        std::vector<std::string> expected = before;
        if (c.removed) {
            std::erase(expected, c.name);
        }
        EXPECT_EQ(dir.names(), expected) << c.what;
    }

    // A writer that still holds its file, however long it has not written.
    TempFolder dir("tess-atomic");
    const std::string held = dir.file("~page.html.0123abcd");
    oldFile(held);
    const int fd = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    AtomicFile::removeAbandoned(dir.path(), "page.html");
    EXPECT_TRUE(fs::exists(held));
    ::close(fd);
    AtomicFile::removeAbandoned(dir.path(), "page.html");
    EXPECT_FALSE(fs::exists(held));
}

TEST(AtomicFile, WithAnonymousFilesTheFirstWriteInAFolderRemovesWhatOlderWritersLeft) {
    TempFolder dir("tess-atomic");
    if (!hasAnonymousFiles(dir.path())) {
        GTEST_SKIP() << "the file system here makes no files without a name";
    }
    constexpr long kOld = AtomicFile::kAbandonedAfterSeconds + 60;
    for (const char* name : {"page.html", "other.html"}) {
        writeFileContents(dir.file(name), "page");
    }
    for (const char* name : {"~page.html.0123abcd", "~gone.html.0123abcd"}) {
        writeFileContents(dir.file(name), "left");
        makeOld(dir.file(name), kOld);
    }
    writeFileContents(dir.file("~other.html.89abcdef"), "being written");

    AtomicFile file;
    ASSERT_TRUE(file.open(dir.file("new.html")).ok());
    file.discard();
    // The target that went away leaves its file to the user: nothing says it is ours.
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"other.html", "page.html", "~gone.html.0123abcd",
                                        "~other.html.89abcdef"}));

    // Once per folder and run: a second write does not read the folder again.
    writeFileContents(dir.file("~page.html.fedcba98"), "left");
    makeOld(dir.file("~page.html.fedcba98"), kOld);
    ASSERT_TRUE(file.open(dir.file("page.html")).ok());
    file.discard();
    EXPECT_TRUE(dir.has("~page.html.fedcba98"));
}

TEST(AtomicFile, AnotherUsersFileIsNeverRemoved) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempFolder dir("tess-atomic");
    const std::string path = dir.file("~page.html.0123abcd");
    writeFileContents(path, "theirs");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    makeOld(path, AtomicFile::kAbandonedAfterSeconds + 60);
    AtomicFile::removeAbandoned(dir.path(), "page.html");
    EXPECT_EQ(readFileContents(path), "theirs");
}

TEST(AtomicFile, WhatIsNotCommittedLeavesTheTargetAndNothingElse) {
    const std::vector<std::pair<const char*, std::function<void(AtomicFile&)>>> ends = {
        {"discard", [](AtomicFile& file) { file.discard(); }},
        {"destructor", [](AtomicFile&) {}},
        {"open again", [](AtomicFile& file) { ASSERT_FALSE(file.open("").ok()); }},
    };
    for (const auto& [name, end] : ends) {
        TempFolder dir("tess-atomic");
        const std::string path = dir.file("page.html");
        writeFileContents(path, "old");
        {
            AtomicFile file;
            ASSERT_TRUE(file.open(path).ok());
            ASSERT_TRUE(file.write("new").ok());
            end(file);
        }
        EXPECT_EQ(readFileContents(path), "old") << name;
        EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"}) << name;
    }
}

TEST(AtomicFile, FailuresTellTheirStepCodeAndPath) {
    TempFolder dir("tess-atomic");
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::string path;
        Step step;
        int err;
        int code;
    };
    const Case cases[] = {
        {"no name", "", Step::Name, ENOENT, errc::PathNotFound},
        {"directory", dir.file("folder"), Step::Folder, EISDIR, errc::Generic},
        {"missing folder", dir.file("none/page.html"), Step::Create, ENOENT, errc::PathNotFound},
        {"pipe nobody reads", dir.file("pipe"), Step::Open, ENXIO, errc::Generic},
    };
    for (const Case& c : cases) {
        AtomicFile file;
        const Status status = file.open(c.path);
        ASSERT_FALSE(status.ok()) << c.name;
        EXPECT_FALSE(file.isOpen()) << c.name;
        EXPECT_EQ(file.failedStep(), c.step) << c.name;
        EXPECT_EQ(file.failedErrno(), c.err) << c.name;
        EXPECT_EQ(status.error().code, c.code) << c.name;
        EXPECT_NE(status.error().reason.find(c.path), std::string::npos) << status.error().reason;
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"folder", "pipe"}));

    AtomicFile never;
    EXPECT_FALSE(never.write("x").ok());
    EXPECT_EQ(never.failedErrno(), EBADF);
    EXPECT_FALSE(never.commit().ok());
    EXPECT_EQ(never.failedStep(), Step::Write);
}

TEST(AtomicFile, AFailedWriteIsDiscardedAndCannotBeCommitted) {
    TempFolder dir("tess-atomic");
    const std::string path = dir.file("page.html");
    writeFileContents(path, "old content");
    // A file size limit makes the write fail part-way, for root too.
    EXPECT_EXIT(
        {
            const testing::FileSizeLimit limit(64);
            AtomicFile file;
            const bool opened = file.open(path).ok();
            const Status written = file.write(std::string(4096, 'x'));
            const bool refused = !written.ok() && written.error().code == errc::DiskFull &&
                                 file.failedStep() == Step::Write && !file.isOpen() &&
                                 !file.commit().ok();
            if (!opened || !refused || readFileContents(path) != "old content") {
                std::cerr << "the failed write was not refused";
                std::_Exit(1);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFileContents(path), "old content");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"});
}

TEST(AtomicFile, AFolderPutInTheTargetsPlaceFailsTheCommit) {
    TempFolder dir("tess-atomic");
    const std::string path = dir.file("page.html");
    AtomicFile file;
    ASSERT_TRUE(file.open(path).ok());
    ASSERT_TRUE(file.write("new").ok());
    fs::create_directory(path);
    const Status status = file.commit();
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(file.failedStep(), Step::Rename);
    EXPECT_NE(status.error().reason.find(path), std::string::npos);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"});
}

TEST(AtomicFile, KeepsTheOwnerAndEveryModeBitOfTheFileItReplaces) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempFolder dir("tess-atomic");
    const std::string path = dir.file("tool.sh");
    writeFileContents(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    // Set-id bits are what a change of owner clears.
    ASSERT_EQ(::chmod(path.c_str(), 06750), 0);
    AtomicFile file;
    ASSERT_TRUE(file.open(path).ok());
    ASSERT_TRUE(file.write("new").ok());
    ASSERT_TRUE(file.commit().ok());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 06750u);
    EXPECT_EQ(readFileContents(path), "new");
}

TEST(AtomicFile, ALinkIsFollowedWhenItsOwnerOrItsFolderVouchesForIt) {
    using Verdict = AtomicFile::LinkVerdict;
    constexpr uid_t kUs = 1000;
    constexpr uid_t kOther = 1001;
    constexpr uid_t kThird = 1002;
    struct Case {
        const char* what;
        uid_t linkOwner;
        uid_t folderOwner;
        mode_t folderMode;
        Verdict verdict;
    };
    const Case cases[] = {
        {"ours, in a folder anyone may write", kUs, kOther, 0777, Verdict::Follow},
        {"ours, in a sticky shared folder", kUs, 0, 01777, Verdict::Follow},
        {"root's, in a folder anyone may write", 0, kOther, 0777, Verdict::Follow},
        {"another's, in its own private folder", kOther, kOther, 0755, Verdict::Follow},
        {"another's, in its own folder without any rights", kOther, kOther, 0500, Verdict::Follow},
        {"another's, in root's private folder", kOther, 0, 0755, Verdict::NotFolderOwners},
        {"another's, in our private folder", kOther, kUs, 0700, Verdict::NotFolderOwners},
        {"another's, in a folder others may write", kOther, kThird, 0777,
         Verdict::FolderOpenToOthers},
        {"another's, in its own folder others may write", kOther, kOther, 0757,
         Verdict::FolderOpenToOthers},
        {"another's, in a folder its group may write", kOther, kOther, 0775,
         Verdict::FolderOpenToOthers},
        {"another's, in a sticky shared folder", kOther, 0, 01777, Verdict::FolderOpenToOthers},
        {"another's, in our folder our group may write", kOther, kUs, 0770,
         Verdict::FolderOpenToOthers},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AtomicFile::judgeLink(c.linkOwner, c.folderOwner, S_IFDIR | c.folderMode, kUs),
                  c.verdict)
            << c.what;
    }
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// Folders as two users on one machine have them: the user's own ("home", only the user may enter)
// with the file a planted link would aim at, a folder anyone may write without the sticky bit
// ("shared"), one its group may write ("team"), and one only its owner may write ("private"),
// which belongs to the stranger where the test may give it away.
//
// The stranger's links: as root, links given to another user; otherwise the test's own links,
// with the writer told that it writes for another user (nor root nor the test), so that the
// test's links and folders stand for the stranger's and give the same verdicts.
class PlantedLinks {
  public:
    static constexpr uid_t kStranger = 65534;

    PlantedLinks() {
        for (const auto& [name, mode] : {std::pair{"home", 0700}, std::pair{"shared", 0777},
                                         std::pair{"team", 0770}, std::pair{"private", 0755}}) {
            const std::string folder = root_.file(name);
            EXPECT_EQ(::mkdir(folder.c_str(), 0700), 0) << folder;
            EXPECT_EQ(::chmod(folder.c_str(), static_cast<mode_t>(mode)), 0) << folder;
        }
        writeFileContents(mine(), "mine");
        if (asRoot()) {
            EXPECT_EQ(::chown(file("private").c_str(), kStranger, kStranger), 0);
        }
    }

    static bool asRoot() { return ::geteuid() == 0; }
    // Whom the writer writes for when the case has a stranger's link.
    static uid_t writerForStrangers() { return asRoot() ? 0 : ::geteuid() + 1; }

    std::string file(const std::string& name) const { return root_.file(name); }
    std::string mine() const { return file("home/mine.html"); }

    // A link of the user at `at` to `target`.
    std::string own(const std::string& at, const std::string& target) const {
        fs::create_symlink(target, file(at));
        return file(at);
    }
    // The stranger's link at `at` to `target`.
    std::string strangers(const std::string& at, const std::string& target) {
        own(at, target);
        if (asRoot()) {
            EXPECT_EQ(::lchown(file(at).c_str(), kStranger, kStranger), 0) << at;
        }
        planted_ = true;
        return file(at);
    }
    bool planted() const { return planted_; }

    // Every name under the folders that the writer's new file would have.
    std::vector<std::string> newFilesLeft() const {
        std::vector<std::string> left;
        for (const auto& entry : fs::recursive_directory_iterator(root_.path())) {
            if (entry.path().filename().string().front() == '~') {
                left.push_back(entry.path().string());
            }
        }
        return left;
    }

  private:
    TempFolder root_{"tess-links"};
    bool planted_ = false;
};

TEST(AtomicFile, AStrangersLinkWhereOthersMayWriteIsRefusedAndNothingIsWritten) {
    enum class Outcome {
        Followed,  // the file the link leads to holds the new bytes, the link stays
        Refused,   // nothing changed; the reason names the link
        Replaced,  // the link itself gave way to the new file, as ever for one leading nowhere
    };
    struct Case {
        const char* what;
        // Makes the links and returns the path to write.
        std::function<std::string(PlantedLinks&)> plant;
        Outcome outcome;
        const char* link = "";    // the refused link, under the folders
        const char* reason = "";  // a piece of the refusal's reason
    };
    const char* const kOpen = "a folder others may write (mode 0777)";
    const std::vector<Case> cases = {
        {"own link in a shared folder",
         [](PlantedLinks& at) { return at.own("shared/page.html", at.mine()); }, Outcome::Followed},
        {"stranger's link in a shared folder",
         [](PlantedLinks& at) { return at.strangers("shared/page.html", at.mine()); },
         Outcome::Refused, "shared/page.html", kOpen},
        {"stranger's link in a folder its group may write",
         [](PlantedLinks& at) { return at.strangers("team/page.html", at.mine()); },
         Outcome::Refused, "team/page.html", "a folder others may write (mode 0770)"},
        {"stranger's link in its own private folder",
         [](PlantedLinks& at) { return at.strangers("private/page.html", at.mine()); },
         Outcome::Followed},
        {"own dangling link in a shared folder",
         [](PlantedLinks& at) { return at.own("shared/page.html", at.file("home/gone.html")); },
         Outcome::Replaced},
        {"stranger's dangling link in a shared folder",
         [](PlantedLinks& at) {
             return at.strangers("shared/page.html", at.file("home/gone.html"));
         },
         Outcome::Replaced},
        {"own link to a stranger's link in a shared folder",
         [](PlantedLinks& at) {
             at.strangers("shared/next.html", at.mine());
             return at.own("home/page.html", at.file("shared/next.html"));
         },
         Outcome::Refused, "shared/next.html", kOpen},
        {"own link to a stranger's dangling link in a shared folder",
         [](PlantedLinks& at) {
             at.strangers("shared/next.html", at.file("home/gone.html"));
             return at.own("home/page.html", at.file("shared/next.html"));
         },
         Outcome::Replaced},
        {"stranger's folder link in a shared folder on the way",
         [](PlantedLinks& at) {
             at.strangers("shared/in", at.file("home"));
             return at.file("shared/in/mine.html");
         },
         Outcome::Refused, "shared/in", kOpen},
        {"stranger's link in a shared folder reached through an own link",
         [](PlantedLinks& at) {
             at.own("home/via", at.file("shared"));
             at.strangers("shared/page.html", at.mine());
             return at.file("home/via/page.html");
         },
         Outcome::Refused, "shared/page.html", kOpen},
        {"stranger's relative link in a shared folder",
         [](PlantedLinks& at) { return at.strangers("shared/page.html", "../home/mine.html"); },
         Outcome::Refused, "shared/page.html", kOpen},
    };
    TempFolder probe("tess-atomic");
    for (NewFile kind : newFileKinds(probe.path())) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + kindName(kind));
            PlantedLinks at;
            const std::string path = c.plant(at);
            struct stat before {};
            ASSERT_EQ(::lstat(path.c_str(), &before), 0);
            const std::size_t descriptors = openDescriptors();
            AtomicFile file(kind, at.planted() ? PlantedLinks::writerForStrangers() : ::geteuid());
            Status status = file.open(path);
            if (status.ok()) {
                status = file.write("new");
            }
            if (status.ok()) {
                status = file.commit();
            }
            switch (c.outcome) {
                case Outcome::Followed:
                    ASSERT_TRUE(status.ok()) << status.error().reason;
                    EXPECT_EQ(readFileContents(at.mine()), "new");
                    EXPECT_TRUE(fs::is_symlink(path));
                    break;
                case Outcome::Refused: {
                    ASSERT_FALSE(status.ok());
                    EXPECT_EQ(file.failedStep(), Step::Link);
                    EXPECT_EQ(file.failedErrno(), EACCES);
                    EXPECT_EQ(status.error().code, errc::PermissionDenied);
                    const std::string& reason = status.error().reason;
                    EXPECT_NE(reason.find("Cannot write \"" + path + "\": the symbolic link \"" +
                                          at.file(c.link) + "\" belongs to another user"),
                              std::string::npos)
                        << reason;
                    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
                    EXPECT_EQ(readFileContents(at.mine()), "mine");
                    struct stat after {};
                    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
                    EXPECT_EQ(after.st_ino, before.st_ino);
                    break;
                }
                case Outcome::Replaced:
                    ASSERT_TRUE(status.ok()) << status.error().reason;
                    EXPECT_FALSE(fs::is_symlink(path));
                    EXPECT_EQ(readFileContents(path), "new");
                    EXPECT_FALSE(fs::exists(at.file("home/gone.html")));
                    EXPECT_EQ(readFileContents(at.mine()), "mine");
                    break;
            }
            EXPECT_EQ(at.newFilesLeft(), std::vector<std::string>{});
            // The walk's folders are let go however it ends.
            EXPECT_EQ(openDescriptors(), descriptors);
        }
    }
}

// /dev/stdout and /dev/fd/N lead through a descriptor's entry in /proc, which names the pipe
// without a path: the pipe is written into and the links stay.
TEST(AtomicFile, ALinkThroughADescriptorsEntryWritesIntoThePipeBehindIt) {
    TempFolder dir("tess-atomic");
    std::array<int, 2> ends{};
    // A read that finds nothing fails at once instead of waiting for the bytes.
    ASSERT_EQ(::pipe2(ends.data(), O_NONBLOCK), 0);
    const std::string entry = "/proc/self/fd/" + std::to_string(ends[1]);
    const std::string own = dir.file("out");
    ASSERT_EQ(::symlink(entry.c_str(), own.c_str()), 0);
    const std::string chained = dir.file("chained");
    ASSERT_EQ(::symlink(own.c_str(), chained.c_str()), 0);
    for (const std::string& path : {own, chained, entry}) {
        SCOPED_TRACE(path);
        AtomicFile file;
        const Status opened = file.open(path);
        ASSERT_TRUE(opened.ok()) << opened.error().reason;
        ASSERT_TRUE(file.write("hello").ok());
        ASSERT_TRUE(file.commit().ok());
        std::array<char, 16> got{};
        ASSERT_EQ(::read(ends[0], got.data(), got.size()), 5);
        EXPECT_EQ(std::string(got.data(), 5), "hello");
    }
    struct stat info {};
    ASSERT_EQ(::lstat(own.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(chained.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"chained", "out"}));
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(AtomicFile, AStrangersLinkIsRefusedBeforeAPipeOrDeviceBehindItIsOpened) {
    PlantedLinks at;
    const std::string pipe = at.file("home/pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string path = at.strangers("shared/page.html", pipe);
    AtomicFile file(NewFile::AnonymousWherePossible, PlantedLinks::writerForStrangers());
    const Status status = file.open(path);
    ASSERT_FALSE(status.ok());
    // Not "No such device or address": the pipe nobody reads was never opened.
    EXPECT_EQ(file.failedStep(), Step::Link) << status.error().reason;
    EXPECT_FALSE(file.isOpen());
}

}  // namespace
}  // namespace tess
