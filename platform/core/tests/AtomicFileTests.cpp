#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/testing/ReadOnlyMount.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

namespace fs = std::filesystem;
using Step = AtomicFile::Step;

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

TEST(AtomicFile, StreamsPiecesAndReplacesTheTargetOnlyOnCommit) {
    TempFolder dir("tess-atomic");
    const std::string path = dir.file("page.html");
    writeFileContents(path, "old");
    AtomicFile file;
    ASSERT_TRUE(file.open(path).ok());
    const std::string big(200 * 1024, 'x');
    ASSERT_TRUE(file.write("a").ok());
    ASSERT_TRUE(file.write("bc", "").ok());
    ASSERT_TRUE(file.write("", "d").ok());
    ASSERT_TRUE(file.write(big, "e").ok());

    EXPECT_EQ(readFileContents(path), "old");
    const std::vector<std::string> during = dir.names();
    ASSERT_EQ(during.size(), 2u);
    EXPECT_TRUE(std::regex_match(during[1], std::regex(R"(~page\.html\.[0-9a-f]{8})")))
        << during[1];

    ASSERT_TRUE(file.commit().ok());
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(readFileContents(path), "abcd" + big + "e");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"page.html"});
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
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 64;
            ::setrlimit(RLIMIT_FSIZE, &limit);
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

}  // namespace
}  // namespace tess
