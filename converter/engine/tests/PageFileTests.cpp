#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "EngineTestSupport.h"
#include "engine/PageFile.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/ReadOnlyMount.h"

namespace tess {
namespace {

using enginetest::RunFixture;
using enginetest::smartOptions;
using enginetest::TempFolder;
using testing::FileSizeLimit;

const std::string kOldPage = "<html>the page that was here</html>\r\n";

void writeOldPage(const std::string& path) {
    ASSERT_TRUE(writeFileAtomic(path, kOldPage).ok());
}

TEST(PageFileTest, MissingFolderIsReportedWithPathAndReason) {
    TempFolder folder;
    const std::string path = folder.file("missing/page.html");
    RunFixture fixture;
    Result<RunResult> result = fixture.run(Picture(2, 2), smartOptions(), MosaicTarget::file(path));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, errc::PathNotFound);
    EXPECT_NE(result.error().reason.find(path), std::string::npos) << result.error().reason;
    EXPECT_NE(result.error().reason.find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(folder.names().empty());
}

TEST(PageFileTest, ReadOnlyPageIsRefusedAndKept) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    writeOldPage(path);
    ::chmod(path.c_str(), 0444);
    RunFixture fixture;
    Result<RunResult> result = fixture.run(Picture(2, 2), smartOptions(), MosaicTarget::file(path));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, errc::PermissionDenied);
    EXPECT_NE(result.error().reason.find(path), std::string::npos);
    EXPECT_EQ(enginetest::readAll(path), kOldPage);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

TEST(PageFileTest, APageOnAReadOnlyFileSystemSaysSo) {
    TempFolder dir;
    const std::string folder = dir.file("mounted");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string told = testing::onReadOnlyFileSystem(folder, [&] {
        RunFixture fixture;
        Result<RunResult> result =
            fixture.run(Picture(2, 2), smartOptions(), MosaicTarget::file(folder + "/old.txt"));
        if (result.ok()) {
            return std::string("written");
        }
        return std::to_string(result.error().code) + "|" + result.error().reason + "|" +
               enginetest::readAll(folder + "/old.txt");
    });
    if (told == "skip") {
        GTEST_SKIP() << "no mount namespace can be made here";
    }
    EXPECT_EQ(told, std::to_string(errc::PermissionDenied) + "|Cannot replace " + folder +
                        "/old.txt: Read-only file system|old");
}

TEST(PageFileTest, FolderAtThePathIsRefused) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    std::filesystem::create_directory(path);
    RunFixture fixture;
    Result<RunResult> result = fixture.run(Picture(2, 2), smartOptions(), MosaicTarget::file(path));
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().reason.find(path), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(PageFileTest, FullDiskKeepsTheOldPageAndLeavesNothingBehind) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    writeOldPage(path);
    Picture picture(200, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            picture.setPixel(x, y, (x + y) % 2 == 0 ? 0x0000FF : 0x00FF00);
        }
    }
    RunFixture fixture;
    Result<RunResult> result = [&] {
        FileSizeLimit limit(64 * 1024);
        return fixture.run(picture, smartOptions(), MosaicTarget::file(path));
    }();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, errc::DiskFull);
    EXPECT_NE(result.error().reason.find(path), std::string::npos) << result.error().reason;
    EXPECT_LT(fixture.hooks.rowCalls, 200);  // the run stopped at the failing row
    EXPECT_EQ(enginetest::readAll(path), kOldPage);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

TEST(PageFileTest, FinishedRunsReplaceThePageAndKeepItsPermissions) {
    for (int cancelAfter : {0, 1}) {
        TempFolder folder;
        const std::string path = folder.file("page.html");
        writeOldPage(path);
        ::chmod(path.c_str(), 0640);
        RunFixture fixture;
        fixture.hooks.cancelAfterRows = cancelAfter;
        Result<RunResult> result =
            fixture.run(Picture(2, 3), smartOptions(), MosaicTarget::file(path));
        ASSERT_TRUE(result.ok()) << result.error().reason;
        const std::string page = enginetest::readAll(path);
        EXPECT_TRUE(page.starts_with("<html>\r\n<head>\r\n"));
        EXPECT_EQ(page.find("FILE INCOMPLETE!") != std::string::npos, cancelAfter > 0);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
    }
}

TEST(PageFileTest, WritesThroughASymbolicLink) {
    TempFolder folder;
    const std::string real = folder.file("real.html");
    const std::string link = folder.file("link.html");
    writeOldPage(real);
    std::filesystem::create_symlink(real, link);
    RunFixture fixture;
    ASSERT_TRUE(fixture.run(Picture(1, 1), smartOptions(), MosaicTarget::file(link)).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(enginetest::readAll(real).starts_with("<html>\r\n"));
}

TEST(PageFileTest, AnotherUsersLinkInASharedFolderIsRefusedNamingItAndTheReason) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a link to another user";
    }
    // A read-only page behind the link is refused for the link, not for the page it leads to.
    for (const mode_t pageMode : {mode_t{0644}, mode_t{0444}}) {
        SCOPED_TRACE(pageMode);
        TempFolder folder;
        const std::string mine = folder.file("mine.html");
        const std::string shared = folder.file("shared");
        const std::string link = shared + "/page.html";
        writeOldPage(mine);
        ASSERT_EQ(::chmod(mine.c_str(), pageMode), 0);
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
        std::filesystem::create_symlink(mine, link);
        ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
        RunFixture fixture;
        Result<RunResult> result =
            fixture.run(Picture(1, 1), smartOptions(), MosaicTarget::file(link));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().code, errc::PermissionDenied);
        EXPECT_EQ(result.error().reason,
                  "Cannot write \"" + link + "\": the symbolic link \"" + link +
                      "\" belongs to another user (uid 65534) and stands in \"" + shared +
                      "\", a folder others may write (mode 0777), so it was not followed");
        EXPECT_EQ(enginetest::readAll(mine), kOldPage);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"mine.html", "shared"}));
        EXPECT_TRUE(std::filesystem::is_symlink(link));
    }
}

TEST(PageFileTest, TheLongestNameAFolderTakesIsWritten) {
    // The new file beside the target needs a name of its own that the folder also takes.
    for (bool existing : {false, true}) {
        TempFolder folder;
        const std::string name = std::string(250, 'n') + ".html";
        const std::string path = folder.file(name);
        if (existing) {
            writeOldPage(path);
        }
        RunFixture fixture;
        Result<RunResult> result =
            fixture.run(Picture(1, 1), smartOptions(), MosaicTarget::file(path));
        ASSERT_TRUE(result.ok()) << result.error().reason;
        EXPECT_TRUE(enginetest::readAll(path).starts_with("<html>\r\n"));
        EXPECT_EQ(folder.names(), std::vector<std::string>{name});
    }
}

TEST(PageFileTest, PipeWithoutReaderIsReportedInsteadOfWaitedFor) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    RunFixture fixture;
    Result<RunResult> result = fixture.run(Picture(1, 1), smartOptions(), MosaicTarget::file(path));
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().reason.find(path), std::string::npos) << result.error().reason;
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(PageFileTest, DiscardLeavesTheTargetAsItWas) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    writeOldPage(path);
    {
        PageFile file;
        ASSERT_TRUE(file.open(path).ok());
        ASSERT_TRUE(file.write(std::string(300 * 1024, 'x')).ok());
        EXPECT_EQ(enginetest::readAll(path), kOldPage);  // the bytes went to a new file
    }                                                    // never committed
    EXPECT_EQ(enginetest::readAll(path), kOldPage);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

TEST(PageFileTest, AWriterKilledDuringALargePageLeavesTheOldPageAndNothingElse) {
    TempFolder folder;
    const int probe = ::open(folder.path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (probe < 0) {
        GTEST_SKIP() << "the file system here makes no files without a name";
    }
    ::close(probe);
    const std::string path = folder.file("page.html");
    writeOldPage(path);
    const pid_t child = ::fork();
    if (child == 0) {
        PageFile file;
        if (file.open(path).ok()) {
            const std::string row(25000, 'r');
            for (int i = 0; i < 200 && file.write(row).ok(); ++i) {
            }
            ::kill(::getpid(), SIGKILL);
        }
        std::_Exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer was not killed";
    EXPECT_EQ(enginetest::readAll(path), kOldPage);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

TEST(PageFileTest, PiecesOfAnySizeArriveInOrder) {
    TempFolder folder;
    const std::string path = folder.file("page.html");
    std::string expected;
    PageFile file;
    ASSERT_TRUE(file.open(path).ok());
    for (std::size_t size : {2u, 25000u, 200000u, 7u, 131072u, 1u, 131071u}) {
        const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
        ASSERT_TRUE(file.write(piece).ok());
        expected += piece;
    }
    ASSERT_TRUE(file.commit().ok());
    EXPECT_EQ(enginetest::readAll(path), expected);
}

}  // namespace
}  // namespace tess
