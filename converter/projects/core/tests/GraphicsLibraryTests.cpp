#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Bmp.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/TempFolder.h"
#include "projects/FileEncoder.h"
#include "projects/GraphicsLibrary.h"

namespace tess {
namespace {

std::string bmp(int width, int height, Colour colour = 0x336699) {
    return encodeBmp24(Picture(width, height, colour));
}

// The 24-bit BMPs of the tests; anything else is no picture here.
Result<Picture> decodeBmp(std::string_view bytes) {
    std::optional<Result<Picture>> decoded = decodeBmp24(bytes);
    if (!decoded)
        return Error{errc::InvalidPicture, "not a picture"};
    return *decoded;
}

std::string library(const std::vector<LibraryRecord>& records,
                    std::string_view mark = library::kMark11) {
    Result<std::string> file = writeLibrary(records, mark);
    EXPECT_TRUE(file.ok()) << (file.ok() ? "" : file.error().reason);
    return file.ok() ? *file : std::string();
}

// A library file whose body is exactly `body`, as an outside builder might have written it.
std::string libraryOfBody(std::string_view body, std::string_view mark = library::kMark10) {
    Result<std::string> encoded = EncodeFile(body);
    EXPECT_TRUE(encoded.ok());
    return std::string(mark) + (encoded.ok() ? *encoded : std::string());
}

std::vector<std::string> namesOf(const std::vector<LibraryRecord>& records) {
    std::vector<std::string> names;
    for (const LibraryRecord& r : records)
        names.push_back(r.name);
    return names;
}

std::vector<std::string> namesOf(const std::vector<LibraryPicture>& pictures) {
    std::vector<std::string> names;
    for (const LibraryPicture& p : pictures)
        names.push_back(p.name);
    return names;
}

TEST(GraphicsLibrary, TheWriterMakesTheFormatTheReaderTakesBack) {
    const std::vector<LibraryRecord> records = {
        {"sky_blue.bmp", bmp(2, 1)}, {"empty.gif", ""}, {"caf\xC3\xA9.jpg", "\r\nTGL-FS:x|1\r\n"}};
    for (const std::string_view mark : {library::kMark10, library::kMark11}) {
        const std::string file = library(records, mark);
        EXPECT_EQ(file.substr(0, 5), mark);
        Result<std::string> body = DecodeFile(std::string_view(file).substr(5));
        ASSERT_TRUE(body.ok());
        EXPECT_EQ(*body, "TGL-FS:sky_blue.bmp|" + std::to_string(records[0].data.size()) + "\r\n" +
                             records[0].data +
                             "\r\nTGL-FS:empty.gif|0\r\n\r\n"
                             "TGL-FS:caf\xE9.jpg|14\r\n\r\nTGL-FS:x|1\r\n\r\n");
        Result<std::vector<LibraryRecord>> back = readLibrary(file);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(*back, records);
    }
}

TEST(GraphicsLibrary, TheWriterRefusesNamesNoRecordCanCarry) {
    for (const char* name : {"", "a|b.bmp", "a\r\nb.bmp", "../x.bmp", "sub/x.bmp", ".hidden.bmp"})
        EXPECT_FALSE(writeLibrary({{name, "x"}}).ok()) << name;
    EXPECT_FALSE(writeLibrary({{"a.bmp", "x"}}, "tgl11").ok());
}

TEST(GraphicsLibrary, OnlyTheExactMarksMakeALibrary) {
    EXPECT_TRUE(hasLibraryMark("TGL10..."));
    EXPECT_TRUE(hasLibraryMark("TGL11"));
    for (const char* file : {"tgl11...", "TGL12...", "TGL1", "", " TGL11", "TPF20053"})
        EXPECT_FALSE(hasLibraryMark(file)) << file;
    const std::string good = library({{"a.bmp", bmp(1, 1)}});
    EXPECT_FALSE(readLibrary("tgl11" + good.substr(5)).ok());
}

TEST(GraphicsLibrary, RecordNamesThatCouldLeaveTheLibraryAreSkipped) {
    const std::vector<std::string> unsafe = {"../evil.bmp",
                                             "..\\evil.bmp",
                                             "/etc/evil.bmp",
                                             "sub/evil.bmp",
                                             "a..b.bmp",
                                             ".evil.bmp",
                                             "..",
                                             "",
                                             std::string("nul\0.bmp", 8),
                                             "tab\t.bmp",
                                             "del\x7F.bmp",
                                             "esc\x1B.bmp"};
    std::string body;
    for (const std::string& name : unsafe)
        body += "TGL-FS:" + name + "|1\r\nx\r\n";
    body += "TGL-FS:kept.bmp|1\r\ny\r\n";
    EXPECT_EQ(parseRecords(body), (std::vector<LibraryRecord>{{"kept.bmp", "y"}}));
    for (const std::string& name : unsafe)
        EXPECT_FALSE(isSafeRecordName(name)) << name;
    EXPECT_TRUE(isSafeRecordName("my photo.JPG"));
    EXPECT_TRUE(isSafeRecordName("a.b.c.bmp"));
}

TEST(GraphicsLibrary, ARecordThatLiesEndsTheRecords) {
    const std::string first = "TGL-FS:first.bmp|3\r\nabc\r\n";
    const std::string last = "TGL-FS:last.bmp|1\r\nz\r\n";
    const struct {
        const char* name;
        std::string liar;
    } cases[] = {
        {"length beyond the body", "TGL-FS:big.bmp|999\r\nabc\r\n"},
        {"length one too long", "TGL-FS:big.bmp|4\r\nabc\r\n"},
        {"length one too short", "TGL-FS:big.bmp|2\r\nabc\r\n"},
        {"no CR LF after the data", "TGL-FS:big.bmp|3\r\nabcXY"},
        {"no CR LF after the header", "TGL-FS:big.bmp|3"},
        {"no bar", "TGL-FS:big.bmp3\r\nabc\r\n"},
        {"no length", "TGL-FS:big.bmp|\r\nabc\r\n"},
        {"a sign", "TGL-FS:big.bmp|+3\r\nabc\r\n"},
        {"a blank", "TGL-FS:big.bmp| 3\r\nabc\r\n"},
        {"a second bar", "TGL-FS:big.bmp|3|4\r\nabc\r\n"},
        {"too many digits", "TGL-FS:big.bmp|00000000003\r\nabc\r\n"},
        {"huge", "TGL-FS:big.bmp|18446744073709551619\r\nabc\r\n"},
        {"another kind of line", "Junk\r\nTGL-FS:big.bmp|3\r\nabc\r\n"},
        {"lower-case start", "tgl-fs:big.bmp|3\r\nabc\r\n"},
    };
    for (const auto& c : cases) {
        const std::vector<LibraryRecord> records = parseRecords(first + c.liar + last);
        EXPECT_EQ(records, (std::vector<LibraryRecord>{{"first.bmp", "abc"}})) << c.name;
    }
    // Leading zeros are still digits, and a record's data may look like a record.
    EXPECT_EQ(parseRecords("TGL-FS:a.bmp|0015\r\n\r\nTGL-FS:b|1\r\nq\r\n\r\n"),
              (std::vector<LibraryRecord>{{"a.bmp", "\r\nTGL-FS:b|1\r\nq"}}));
    EXPECT_TRUE(parseRecords("").empty());
}

TEST(GraphicsLibrary, ACorruptBodyIsNoLibrary) {
    std::string file = library({{"a.bmp", bmp(4, 4)}});
    EXPECT_TRUE(readLibrary(file).ok());
    file[file.size() / 2] = static_cast<char>(file[file.size() / 2] ^ 0x55);
    EXPECT_FALSE(readLibrary(file).ok());
    EXPECT_FALSE(readLibrary("TGL11").ok());
    EXPECT_FALSE(readLibrary("TGL11not encoded at all").ok());
}

TEST(GraphicsLibrary, PicturesAreListedByKindAndByTheSizeTheirUnpackedFileHad) {
    // 44,998 bytes of data and the CR LF the unpacking added make 45,000.
    const std::string atLimit = bmp(70, 212);
    ASSERT_EQ(atLimit.size(), 44998u);
    const std::vector<LibraryRecord> listed = listedPictures({
        {"zebra.BMP", "1"},
        {"notes.txt", "2"},
        {"limit.bmp", atLimit},
        {"over.bmp", atLimit + "x"},
        {"Apple.gif", "3"},
        {"photo.jpeg", "4"},
        {"icon.ico", "5"},
        {"moon.jpg", "6"},
        {"noextension", "7"},
    });
    EXPECT_EQ(namesOf(listed),
              (std::vector<std::string>{"Apple.gif", "limit.bmp", "moon.jpg", "zebra.BMP"}));
}

TEST(GraphicsLibrary, ALaterRecordOfTheSameNameTakesTheEarliersPlace) {
    const std::vector<LibraryRecord> listed =
        listedPictures({{"b.bmp", "old"}, {"a.bmp", "a"}, {"B.BMP", "new"}});
    EXPECT_EQ(listed, (std::vector<LibraryRecord>{{"a.bmp", "a"}, {"B.BMP", "new"}}));
}

TEST(GraphicsLibrary, DisplayNames) {
    const struct {
        std::string_view in;
        std::string_view out;
    } formatted[] = {
        {"sky_blue", "Sky_blue"},
        {"my photo", "My Photo"},
        {"MY PHOTO", "My Photo"},
        {" leading blank", "leading Blank"},
        {"two  blanks", "Two  Blanks"},
        {"", ""},
        {"trailing ", "Trailing"},
        {"\xC3\xA9t\xC3\xA9 \xC3\xA0", "\xC3\x89t\xC3\xA9 \xC3\x80"},
    };
    for (const auto& f : formatted)
        EXPECT_EQ(FormatFName(f.in), f.out) << f.in;

    EXPECT_EQ(pictureDisplayName("sky_blue.bmp", ExtensionOrder::Browse), "Sky_blue");
    EXPECT_EQ(pictureDisplayName("my photo.JPG", ExtensionOrder::Browse), "My Photo");
    EXPECT_EQ(pictureDisplayName("arrow_up.gif", ExtensionOrder::Load), "Arrow_up");
    // With two extensions the last one tried wins: ".jpg" at load, ".gif" while browsing.
    EXPECT_EQ(pictureDisplayName("a.jpg.gif", ExtensionOrder::Load), "A");
    EXPECT_EQ(pictureDisplayName("a.jpg.gif", ExtensionOrder::Browse), "A.jpg");
    EXPECT_EQ(pictureDisplayName("b.gif.jpg", ExtensionOrder::Load), "B.gif");
    EXPECT_EQ(pictureDisplayName("b.gif.jpg", ExtensionOrder::Browse), "B");

    EXPECT_EQ(libraryDisplayName("default.tgl"), "Default");
    EXPECT_EQ(libraryDisplayName("DEFAULT.TGL"), "Default");
    EXPECT_EQ(libraryDisplayName("space_ships.tgl"), "Space Ships");
    EXPECT_EQ(libraryName("art.tgl"), "art");
    EXPECT_EQ(libraryName("ART.TGL"), "ART.TGL");
}

TEST(GraphicsLibrary, TheLibraryOpenedFirst) {
    const std::vector<std::string> listed = {"animals.tgl", "default.tgl", "space_ships.tgl"};
    const struct {
        const char* name;
        std::vector<std::string> listed;
        std::string prev;
        LibraryChoice choice;
    } cases[] = {
        {"nothing stored: the default", listed, "", {1, "Default", "Default"}},
        {"stored, in another case",
         listed,
         "SPACE_SHIPS.TGL",
         {2, "space_ships.tgl", "Space Ships"}},
        {"stored: the default itself", listed, "default.tgl", {1, "default.tgl", "Default"}},
        {"stored but gone", listed, "lost.tgl", {1, "Default", "Default"}},
        {"no default", {"b.tgl", "a.tgl"}, "", {0, "b.tgl", "B"}},
        {"no default, stored but gone", {"b.tgl", "a.tgl"}, "c.tgl", {0, "b.tgl", "B"}},
        {"default with an upper-case extension",
         {"a.tgl", "Default.TGL"},
         "",
         {1, "Default", "Default"}},
        {"the exact name before another case",
         {"DEFAULT.tgl", "default.tgl"},
         "",
         {1, "Default", "Default"}},
        {"two other cases: the first captioned Default",
         {"a.tgl", "DEFAULT.tgl", "Default.tgl"},
         "",
         {1, "DEFAULT.tgl", "Default"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseLibrary(c.listed, c.prev), c.choice) << c.name;

    EXPECT_EQ(libraryFileIndex(listed, "Default"), 1u);
    EXPECT_EQ(libraryFileIndex({"a.tgl", "Default.TGL"}, "Default"), 1u);
    EXPECT_EQ(libraryFileIndex({"DEFAULT.tgl", "Default.tgl"}, "Default"), std::nullopt);
    EXPECT_EQ(libraryFileIndex(listed, "animals.tgl"), 0u);
    EXPECT_EQ(libraryFileIndex(listed, "ANIMALS.tgl"), std::nullopt);
}

TEST(GraphicsLibrary, ThumbnailsAreSqueezedOnlyWhenASideExceeds48) {
    const struct {
        int w, h, thumbW, thumbH;
    } sizes[] = {{49, 10, 48, 48}, {64, 32, 48, 48}, {10, 49, 48, 48}, {100, 60, 48, 48},
                 {48, 48, 48, 48}, {32, 32, 32, 32}, {1, 1, 1, 1}};
    for (const auto& s : sizes) {
        Picture picture(s.w, s.h, 0x0000FF);
        picture.setPixel(0, 0, 0x00FF00);
        const Picture thumbnail = libraryThumbnail(picture);
        EXPECT_EQ(thumbnail.width(), s.thumbW) << s.w << "x" << s.h;
        EXPECT_EQ(thumbnail.height(), s.thumbH) << s.w << "x" << s.h;
        // The whole picture is drawn: its far corner lands in the thumbnail's.
        if (s.w > 1) {
            EXPECT_EQ(thumbnail.pixel(s.thumbW - 1, s.thumbH - 1), 0x0000FFu);
        }
        if (s.w <= 48 && s.h <= 48) {
            EXPECT_EQ(thumbnail, picture);
        }
    }
}

TEST(GraphicsLibrary, UnpackingKeepsTheThumbnailsOfThePicturesThatDecode) {
    const std::string file = library({{"wide.bmp", bmp(49, 10)},
                                      {"broken.bmp", "BM not a picture"},
                                      {"small.bmp", bmp(32, 32)},
                                      {"readme.txt", "text"}});
    std::vector<std::string> steps;
    Result<std::vector<LibraryPicture>> pictures =
        unpackLibrary(file, decodeBmp, [&](const std::string& s) { steps.push_back(s); });
    ASSERT_TRUE(pictures.ok());
    EXPECT_EQ(namesOf(*pictures), (std::vector<std::string>{"small.bmp", "wide.bmp"}));
    EXPECT_EQ((*pictures)[0].thumbnail.width(), 32);
    EXPECT_EQ((*pictures)[1].thumbnail.width(), 48);
    EXPECT_EQ((*pictures)[1].thumbnail.height(), 48);
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "Analyzing data...", "Processing data...", "Processing data... wide.bmp",
                         "Processing data... broken.bmp", "Processing data... small.bmp",
                         "Processing data... readme.txt", "Loading images..."}));
}

// A GIF whose screen is `side` pixels square around its one pixel.
std::string gifOfScreen(int side) {
    std::string gif = testing::gifFixture(1, 1, {0});
    for (const std::size_t at : {std::size_t{6}, std::size_t{8}}) {
        gif[at] = static_cast<char>(side & 0xFF);
        gif[at + 1] = static_cast<char>(side >> 8);
    }
    return gif;
}

// What the headers state decides: a picture of more pixels than the unpacking decodes, that the
// loader would take, waits with its bytes; every other one goes through the loader at once.
TEST(GraphicsLibrary, PicturesStatingMoreThanTheUnpackingDecodesWaitForTheirShowing) {
    const std::string big = gifOfScreen(257);
    const struct {
        const char* name;
        std::string data;
        bool pending;
    } records[] = {
        {"a_big.gif", big, true},
        {"b_at_the_bound.gif", gifOfScreen(256), false},
        {"c_big_but_cut.gif", big.substr(0, big.size() - 3), false},
        {"d_beyond_the_loader.gif", gifOfScreen(Picture::kMaxSide + 1), false},
        {"e_small.bmp", bmp(60, 30), false},
    };
    std::vector<LibraryRecord> library_;
    for (const auto& r : records)
        library_.push_back({r.name, r.data});
    std::vector<std::string> decoded;
    Result<std::vector<LibraryPicture>> pictures =
        unpackLibrary(library(library_),
                      [&](std::string_view bytes) {
                          for (const auto& r : records) {
                              if (r.data == bytes)
                                  decoded.push_back(r.name);
                          }
                          return decodeBmp(bytes);
                      },
                      {});
    ASSERT_TRUE(pictures.ok()) << pictures.error().reason;
    std::vector<std::string> expectDecoded;
    for (const auto& r : records) {
        if (!r.pending)
            expectDecoded.push_back(r.name);
    }
    EXPECT_EQ(decoded, expectDecoded);
    ASSERT_EQ(namesOf(*pictures), (std::vector<std::string>{"a_big.gif", "e_small.bmp"}));
    EXPECT_TRUE((*pictures)[0].pending);
    EXPECT_EQ((*pictures)[0].data, big);
    EXPECT_EQ((*pictures)[0].thumbnail.width(), 0);
    EXPECT_FALSE((*pictures)[1].pending);
    EXPECT_EQ((*pictures)[1].data, "");
    EXPECT_EQ((*pictures)[1].thumbnail, Picture(48, 48, 0x336699));
}

// The unpacking holds the decoded body and the offered pictures, never a copy of records too large
// to be offered.
TEST(GraphicsLibrary, UnpackingCopiesNoRecordTooLargeToBeOffered) {
    const std::size_t large = std::size_t{128} << 20;
    const std::string file = library({{"a_large.bmp", std::string(large, '\0')},
                                      {"b_small.bmp", bmp(8, 8)},
                                      {"c_large.txt", std::string(large, '\0')}});
    testing::AddressSpaceLimit limit(2 * large + (std::size_t{64} << 20));
    if (!limit.active())
        GTEST_SKIP() << "the address space cannot be limited here";
    Result<std::vector<LibraryPicture>> pictures = unpackLibrary(file, decodeBmp, {});
    ASSERT_TRUE(pictures.ok()) << pictures.error().reason;
    EXPECT_EQ(namesOf(*pictures), (std::vector<std::string>{"b_small.bmp"}));
}

TEST(GraphicsLibrary, APendingThumbnailIsThePreviewSqueezedOrThePlaceholder) {
    const struct {
        const char* name;
        std::function<Result<Picture>()> preview;
        Picture thumbnail;
    } cases[] = {
        {"refused",
         [] {
             return Result<Picture>(Error{errc::OutOfMemory, "too large"});
         },
         placeholderThumbnail()},
        {"empty", [] { return Result<Picture>(Picture()); }, placeholderThumbnail()},
        {"larger than a thumbnail", [] { return Result<Picture>(Picture(100, 60, 0x00FF00)); },
         Picture(48, 48, 0x00FF00)},
        {"small", [] { return Result<Picture>(Picture(30, 20, 0x0000FF)); },
         Picture(30, 20, 0x0000FF)},
    };
    for (const auto& c : cases) {
        std::string seen;
        const Picture thumbnail = pendingThumbnail("bytes", [&](std::string_view bytes) {
            seen = bytes;
            return c.preview();
        });
        EXPECT_EQ(seen, "bytes") << c.name;
        EXPECT_EQ(thumbnail, c.thumbnail) << c.name;
    }
    const Picture placeholder = placeholderThumbnail();
    EXPECT_EQ(placeholder.width(), 48);
    EXPECT_EQ(placeholder.height(), 48);
    EXPECT_NE(placeholder.pixel(0, 0), placeholder.pixel(10, 20));
}

// Hostile and broken libraries: each fails with a reason, or yields only what is sound.
TEST(GraphicsLibrary, HostileLibrariesYieldNothingUnsound) {
    const std::string picture = bmp(3, 2);
    const std::string good =
        "TGL-FS:good.bmp|" + std::to_string(picture.size()) + "\r\n" + picture + "\r\n";
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> pictures;  // empty: the unpacking fails
    } corpus[] = {
        {"a sound library", libraryOfBody(good), {"good.bmp"}},
        {"lower-case mark", libraryOfBody(good, "tgl10"), {}},
        {"another mark", libraryOfBody(good, "TGL12"), {}},
        {"mark only", "TGL10", {}},
        {"empty file", "", {}},
        {"not encoded", "TGL10" + good, {}},
        {"cut short", libraryOfBody(good).substr(0, 30), {}},
        {"empty body", libraryOfBody(""), {}},
        {"traversal names only",
         libraryOfBody("TGL-FS:../../x.bmp|" + std::to_string(picture.size()) + "\r\n" + picture +
                       "\r\nTGL-FS:..\\x.bmp|" + std::to_string(picture.size()) + "\r\n" + picture +
                       "\r\n"),
         {}},
        {"traversal name beside a good one",
         libraryOfBody("TGL-FS:/tmp/x.bmp|" + std::to_string(picture.size()) + "\r\n" + picture +
                       "\r\n" + good),
         {"good.bmp"}},
        {"length beyond the body", libraryOfBody("TGL-FS:a.bmp|99999999\r\n" + picture), {}},
        {"liar after a good one", libraryOfBody(good + "TGL-FS:b.bmp|5\r\nab\r\n"), {"good.bmp"}},
        {"missing CR LF",
         libraryOfBody("TGL-FS:a.bmp|" + std::to_string(picture.size()) + "\r\n" + picture),
         {}},
        {"only pictures that do not decode", libraryOfBody("TGL-FS:a.bmp|3\r\nBMx\r\n"), {}},
        {"only other kinds", libraryOfBody("TGL-FS:a.png|3\r\nabc\r\n"), {}},
    };
    for (const auto& c : corpus) {
        Result<std::vector<LibraryPicture>> unpacked = unpackLibrary(c.file, decodeBmp, {});
        if (c.pictures.empty()) {
            EXPECT_FALSE(unpacked.ok()) << c.name;
            continue;
        }
        ASSERT_TRUE(unpacked.ok()) << c.name << ": " << unpacked.error().reason;
        EXPECT_EQ(namesOf(*unpacked), c.pictures) << c.name;
    }
}

TEST(GraphicsLibrary, TheFolderListsTheFilesWithAMark) {
    testing::TempFolder folder("tgl");
    folder.write("b.tgl", library({{"a.bmp", bmp(1, 1)}}, library::kMark10));
    folder.write("A.TGL", library({{"a.bmp", bmp(1, 1)}}));
    folder.write("lower.tgl", "tgl11 is not a mark");
    folder.write("short.tgl", "TGL");
    folder.write("other.txt", "TGL11");
    EXPECT_EQ(listLibraries(folder.path()), (std::vector<std::string>{"A.TGL", "b.tgl"}));
    EXPECT_TRUE(listLibraries(folder.file("missing")).empty());

    EXPECT_TRUE(readLibraryFile(folder.file("b.tgl")).ok());
    EXPECT_FALSE(readLibraryFile(folder.file("missing.tgl")).ok());
    EXPECT_FALSE(readLibraryFile(folder.path()).ok());
}

TEST(GraphicsLibrary, SeveralFoldersListTheShippedLibrariesFirstAndEachNameOnce) {
    testing::TempFolder shipped("tgl");
    testing::TempFolder own("tgl");
    shipped.write("default.tgl", library({{"a.bmp", bmp(1, 1)}}));
    own.write("Default.TGL", library({{"b.bmp", bmp(1, 1)}}));
    own.write("mine.tgl", library({{"c.bmp", bmp(1, 1)}}));
    const std::vector<LibraryFile> listed =
        listLibraries(std::vector<std::string>{shipped.path(), own.file("missing"), own.path()});
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "default.tgl");
    EXPECT_EQ(listed[0].path, shipped.file("default.tgl"));
    EXPECT_EQ(listed[1].name, "mine.tgl");
    EXPECT_EQ(listed[1].path, own.file("mine.tgl"));
}

}  // namespace
}  // namespace tess
