#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "platform/Text.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/Sanitizers.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

namespace fs = std::filesystem;

// ---- Windows-1252 -----------------------------------------------------------------------------

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp1252::toUtf8(byte);
        EXPECT_EQ(cp1252::fromUtf8(utf8), byte) << "byte " << b;
        EXPECT_EQ(cp1252::encode(cp1252::decode(static_cast<unsigned char>(b))), byte[0]);
    }
}

TEST(Cp1252, HighBytesMapToTheirCharacters) {
    struct Case {
        unsigned char byte;
        char32_t codePoint;
    };
    const Case cases[] = {
        {0x80, 0x20AC},
        {0x85, 0x2026},
        {0x8A, 0x0160},
        {0x91, 0x2018},
        {0x93, 0x201C},
        {0x96, 0x2013},
        {0x97, 0x2014},
        {0x99, 0x2122},
        {0x9F, 0x0178},
        {0xA0, 0x00A0},
        {0xE9, 0x00E9},
        {0xFF, 0x00FF},
        // the unassigned bytes keep their C1 code points
        {0x81, 0x0081},
        {0x8D, 0x008D},
        {0x8F, 0x008F},
        {0x90, 0x0090},
        {0x9D, 0x009D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252::decode(c.byte), c.codePoint) << int{c.byte};
    }
    EXPECT_EQ(cp1252::toUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(cp1252::fromUtf8("\xE4\xB8\xAD"), "?");  // a CJK character
    EXPECT_EQ(cp1252::fromUtf8("\xC2\x80"), "?");      // U+0080: byte 0x80 is the euro sign
    EXPECT_EQ(cp1252::encode(0x1F600), '?');
}

TEST(Cp1252, InvalidUtf8BytesAreTakenAsCodePageBytes) {
    EXPECT_EQ(cp1252::fromUtf8("a\xE9"
                               "b"),
              "a\xE9"
              "b");
    EXPECT_EQ(cp1252::fromUtf8("\xE2\x82"), "\xE2\x82");  // a cut sequence
}

// ---- UTF-8 ------------------------------------------------------------------------------------

TEST(IsAscii, OnlyBytesBelow0x80) {
    EXPECT_TRUE(isAscii(""));
    EXPECT_TRUE(isAscii(std::string("a\0~\x7F", 4)));
    EXPECT_FALSE(isAscii("abc\x80"));
    EXPECT_FALSE(
        isAscii("\xFF"
                "abc"));
}

TEST(Utf8, DecodesValidSequences) {
    EXPECT_EQ(utf8::decode("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::u32string{U'a', 0xE9, 0x20AC, 0x1F600}));
    EXPECT_EQ(utf8::encode(std::u32string{U'a', 0xE9, 0x20AC, 0x1F600}),
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Utf8, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t replacements;
    };
    const Case cases[] = {
        {"lone continuation", "\x80", 1},  {"overlong slash", "\xC0\xAF", 2},
        {"surrogate", "\xED\xA0\x80", 3},  {"beyond U+10FFFF", "\xF4\x90\x80\x80", 4},
        {"cut at the end", "\xE2\x82", 2}, {"not a lead byte", "\xFF", 1},
    };
    for (const Case& c : cases) {
        const std::u32string decoded = utf8::decode(c.bytes);
        EXPECT_EQ(decoded, std::u32string(c.replacements, 0xFFFD)) << c.name;
        EXPECT_EQ(utf8::length(c.bytes), c.replacements) << c.name;
    }
}

TEST(Utf8, EncodesImpossibleCodePointsAsReplacement) {
    EXPECT_EQ(utf8::encode(char32_t{0xD800}), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8::encode(char32_t{0x110000}), "\xEF\xBF\xBD");
}

TEST(Utf8, LengthCountsCharacters) {
    EXPECT_EQ(utf8::length(""), 0u);
    EXPECT_EQ(utf8::length("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), 4u);
}

// ---- Files ------------------------------------------------------------------------------------

using testing::readFileContents;
using testing::writeFileContents;

// Others may enter the folder: a check that runs as an unprivileged user must reach the files.
class TempFolder : public testing::TempFolder {
  public:
    TempFolder() : testing::TempFolder("tess-text") {
        fs::permissions(path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    }
};

// Names in the folder other than `keep`: what a failed write must not leave behind.
std::vector<std::string> strayFiles(const TempFolder& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        if (entry.path().filename() != keep) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// Runs `body` in a child process, as an unprivileged user when the tests run as root, because
// root writes into read-only folders. The body returns a description of what went wrong, or "".
void expectInChild(bool dropRoot, const std::function<std::string()>& body) {
    EXPECT_EXIT(
        {
            if (dropRoot && ::geteuid() == 0) {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
                    std::cerr << "cannot drop root";
                    std::_Exit(2);
                }
            }
            const std::string failure = body();
            std::cerr << failure;
            std::_Exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ReadFileBytes, ReadsEveryByte) {
    TempFolder dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    writeFileContents(dir.file("data.bin"), bytes);
    const auto result = readFileBytes(dir.file("data.bin"));
    ASSERT_TRUE(result.ok()) << result.error().reason;
    EXPECT_EQ(*result, bytes);
}

TEST(ReadFileBytes, ReportsMissingFilesAndFoldersWithThePath) {
    TempFolder dir;
    const auto missing = readFileBytes(dir.file("none.txt"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, errc::FileNotFound);
    EXPECT_NE(missing.error().reason.find(dir.file("none.txt")), std::string::npos);

    const auto folder = readFileBytes(dir.path());
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().code, errc::Generic);
}

TEST(ReadFileBytes, AFileLargerThanMemoryIsReportedNotFatal) {
#if defined(TESSARYN_ASAN)
    GTEST_SKIP() << "the address sanitizer ends the process on a refused allocation";
#else
    TempFolder dir;
    const std::string path = dir.file("huge.txt");
    writeFileContents(path, "");
    fs::resize_file(path, std::uintmax_t{8} << 30);  // sparse: takes no disk space
    expectInChild(false, [&]() -> std::string {
        // An address space of 1 GiB stands for a machine without the memory.
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = rlim_t{1} << 30;
        ::setrlimit(RLIMIT_AS, &limit);
        const auto result = readFileBytes(path);
        if (result.ok()) {
            return "read 8 GiB in 1 GiB";
        }
        if (result.error().code != errc::OutOfMemory ||
            result.error().reason.find(path) == std::string::npos) {
            return "wrong error: " + result.error().reason;
        }
        return "";
    });
#endif
}

TEST(ReadFileBytes, ReportsAFileItMayNotRead) {
    TempFolder dir;
    writeFileContents(dir.file("secret.txt"), "x");
    fs::permissions(dir.file("secret.txt"), fs::perms::none);
    const std::string path = dir.file("secret.txt");
    expectInChild(true, [&]() -> std::string {
        const auto result = readFileBytes(path);
        if (result.ok()) {
            return "read a file without permission";
        }
        return result.error().code == errc::PermissionDenied ? "" : result.error().reason;
    });
}

TEST(ReadFileHead, ReadsAtMostTheHeadAndGivesTheWholeLength) {
    TempFolder dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    const std::string path = dir.write("data.bin", bytes);
    struct Case {
        std::size_t maxBytes;
        std::string head;
    };
    const Case cases[] = {
        {0, ""}, {3, bytes.substr(0, 3)}, {6, bytes}, {5000, bytes}, {std::string::npos, bytes}};
    for (const Case& c : cases) {
        const auto result = readFileHead(path, c.maxBytes);
        ASSERT_TRUE(result.ok()) << result.error().reason;
        EXPECT_EQ(result->bytes, c.head) << c.maxBytes;
        EXPECT_EQ(result->length, 6u);
        // The same bytes in pieces, every one full but the last.
        for (const std::size_t pieceBytes : {std::size_t{1}, std::size_t{4}, std::size_t{6}}) {
            const auto pieces = readFilePieces(path, c.maxBytes, pieceBytes);
            ASSERT_TRUE(pieces.ok()) << pieces.error().reason;
            EXPECT_EQ(pieces->bytes.joined(), c.head) << c.maxBytes << " " << pieceBytes;
            EXPECT_EQ(pieces->length, 6u);
            const std::vector<std::string>& read = pieces->bytes.pieces();
            for (std::size_t i = 0; i < read.size(); ++i) {
                EXPECT_EQ(read[i].size() == pieceBytes,
                          i + 1 < read.size() || c.head.size() % pieceBytes == 0)
                    << c.maxBytes << " " << pieceBytes << " " << i;
                EXPECT_FALSE(read[i].empty());
            }
        }
    }
    // A large file costs only its head.
    const std::string huge = dir.file("huge.html");
    writeFileContents(huge, "head");
    fs::resize_file(huge, std::uintmax_t{8} << 30);  // sparse: takes no disk space
    const auto head = readFileHead(huge, 5000);
    ASSERT_TRUE(head.ok()) << head.error().reason;
    EXPECT_EQ(head->bytes.size(), 5000u);
    EXPECT_EQ(head->bytes.substr(0, 4), "head");
    EXPECT_EQ(head->length, std::uint64_t{8} << 30);
}

// Also for the whole-file and the piece readers: a custom text named "x.txt" that is a pipe never
// hangs a load.
TEST(ReadFileHead, AnythingButARegularFileIsAnErrorAtOnce) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.html").c_str(), 0600), 0);  // no writer ever comes
    fs::create_directory(dir.file("folder.html"));
    struct Case {
        std::string path;
        int code;
    };
    const Case cases[] = {{dir.file("pipe.html"), errc::Generic},
                          {dir.file("folder.html"), errc::Generic},
                          {dir.file("none.html"), errc::FileNotFound},
                          {"/dev/zero", errc::Generic}};
    for (const Case& c : cases) {
        const auto head = readFileHead(c.path, 5000);
        ASSERT_FALSE(head.ok()) << c.path;
        EXPECT_EQ(head.error().code, c.code) << c.path;
        EXPECT_NE(head.error().reason.find(c.path), std::string::npos) << head.error().reason;
        const auto whole = readFileBytes(c.path);
        ASSERT_FALSE(whole.ok()) << c.path;
        EXPECT_EQ(whole.error().reason, head.error().reason);
        const auto pieces = readFilePieces(c.path, 5000, 1000);
        ASSERT_FALSE(pieces.ok()) << c.path;
        EXPECT_EQ(pieces.error().reason, head.error().reason);
    }
}

TEST(WriteFileAtomic, CreatesAndReplacesFiles) {
    TempFolder dir;
    const std::string path = dir.file("page.html");
    ASSERT_TRUE(writeFileAtomic(path, "first").ok());
    EXPECT_EQ(readFileContents(path), "first");
    ASSERT_TRUE(writeFileAtomic(path, std::string("se\0cond", 7)).ok());
    EXPECT_EQ(readFileContents(path), std::string("se\0cond", 7));
    ASSERT_TRUE(writeFileAtomic(path, "").ok());
    EXPECT_EQ(readFileContents(path), "");
    EXPECT_TRUE(strayFiles(dir, "page.html").empty());
}

TEST(WriteFileAtomic, KeepsThePermissionsOfTheFileItReplaces) {
    TempFolder dir;
    const std::string path = dir.file("log.txt");
    writeFileContents(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WriteFileAtomic, WritesThroughASymbolicLink) {
    TempFolder dir;
    writeFileContents(dir.file("real.txt"), "old");
    fs::create_symlink(dir.file("real.txt"), dir.file("link.txt"));
    ASSERT_TRUE(writeFileAtomic(dir.file("link.txt"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readFileContents(dir.file("real.txt")), "new");
}

TEST(WriteFileAtomic, AMissingFolderIsReportedWithThePath) {
    TempFolder dir;
    const std::string path = dir.file("no/such/folder/page.html");
    const Status status = writeFileAtomic(path, "x");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, errc::PathNotFound);
    EXPECT_NE(status.error().reason.find(path), std::string::npos);
}

TEST(WriteFileAtomic, ADirectoryInTheWayStaysAndNothingIsLeft) {
    TempFolder dir;
    fs::create_directory(dir.file("page.html"));
    writeFileContents(dir.file("page.html") + "/inside.txt", "keep");
    EXPECT_FALSE(writeFileAtomic(dir.file("page.html"), "x").ok());
    EXPECT_EQ(readFileContents(dir.file("page.html") + "/inside.txt"), "keep");
    EXPECT_TRUE(strayFiles(dir, "page.html").empty());
}

TEST(WriteFileAtomic, AReadOnlyFolderLeavesTheOldFileIntact) {
    TempFolder dir;
    fs::create_directory(dir.file("locked"));
    const std::string path = dir.file("locked/page.html");
    writeFileContents(path, "old content");
    fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    expectInChild(true, [&]() -> std::string {
        const Status status = writeFileAtomic(path, "new content");
        if (status.ok()) {
            return "the write succeeded";
        }
        if (status.error().code != errc::PermissionDenied) {
            return "wrong code: " + status.error().reason;
        }
        return readFileContents(path) == "old content" ? "" : "the old file changed";
    });
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.file("locked"))) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"page.html"});
}

TEST(WriteFileAtomic, AReadOnlyFileIsRefused) {
    TempFolder dir;
    fs::permissions(dir.path(), fs::perms::all);  // the folder itself would allow the write
    const std::string path = dir.file("page.html");
    writeFileContents(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    expectInChild(true, [&]() -> std::string {
        const Status status = writeFileAtomic(path, "new");
        if (status.ok() || status.error().code != errc::PermissionDenied) {
            return "a read-only file was not refused";
        }
        return readFileContents(path) == "old" ? "" : "the old file changed";
    });
}

TEST(WriteFileAtomic, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder dir;
    const std::string path = dir.file("big.html");
    writeFileContents(path, "old content");
    // A file size limit makes the write itself fail part-way, for root too.
    expectInChild(false, [&]() -> std::string {
        const testing::FileSizeLimit limit(64);
        const Status status = writeFileAtomic(path, std::string(4096, 'x'));
        if (status.ok()) {
            return "the write succeeded";
        }
        return readFileContents(path) == "old content" ? "" : "the old file changed";
    });
    EXPECT_TRUE(strayFiles(dir, "big.html").empty());
}

TEST(WriteFileAtomic, TheLongestNameAFolderTakesIsWritten) {
    TempFolder dir;
    // The temporary file beside it needs a longer name than the target's own.
    const std::string name = std::string(251, 'n') + ".bmp";
    const std::string path = dir.file(name);
    for (const char* bytes : {"first", "second"}) {
        const Status status = writeFileAtomic(path, bytes);
        ASSERT_TRUE(status.ok()) << status.error().reason;
        EXPECT_EQ(readFileContents(path), bytes);
    }
    EXPECT_TRUE(strayFiles(dir, name).empty());
}

TEST(WriteFileAtomic, APipeIsWrittenIntoNeverReplaced) {
    TempFolder dir;
    const std::string path = dir.file("page.html");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto isPipe = [&] {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    };

    // Nobody reads: a failure at once, not a wait.
    const Status unread = writeFileAtomic(path, "x");
    ASSERT_FALSE(unread.ok());
    EXPECT_NE(unread.error().reason.find(path), std::string::npos);
    EXPECT_TRUE(isPipe());

    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Status read = writeFileAtomic(path, "through");
    EXPECT_TRUE(read.ok()) << read.error().reason;
    char buffer[16] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 7);
    EXPECT_EQ(std::string(buffer), "through");
    ::close(reader);
    EXPECT_TRUE(isPipe());
    EXPECT_TRUE(strayFiles(dir, "page.html").empty());
}

TEST(AppendFileBytes, CreatesThenAppends) {
    TempFolder dir;
    const std::string path = dir.file("tyspeed.log");
    ASSERT_TRUE(appendFileBytes(path, "one\r\n").ok());
    ASSERT_TRUE(appendFileBytes(path, "two\r\n").ok());
    EXPECT_EQ(readFileContents(path), "one\r\ntwo\r\n");
    const Status missing = appendFileBytes(dir.file("none/x.log"), "x");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, errc::PathNotFound);
}

TEST(JoinPath, InsertsOneSeparator) {
    EXPECT_EQ(joinPath("/opt/tessaryn", "Mosaics"), "/opt/tessaryn/Mosaics");
    EXPECT_EQ(joinPath("/opt/tessaryn/", "Mosaics"), "/opt/tessaryn/Mosaics");
    EXPECT_EQ(joinPath("/", "tyspeed.log"), "/tyspeed.log");
    EXPECT_EQ(joinPath("", "tyspeed.log"), "tyspeed.log");
}

}  // namespace
}  // namespace tess
