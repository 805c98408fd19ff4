#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "LibraryChecks.h"
#include "platform/Bmp.h"
#include "platform/FolderListing.h"
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

// One record of a body: "TGL-FS:" name "|" length CR LF, the data, CR LF.
std::string recordOf(std::string_view name, std::string_view data) {
    return "TGL-FS:" + std::string(name) + "|" + std::to_string(data.size()) + "\r\n" +
           std::string(data) + "\r\n";
}

// A library file with one byte of its encoded part changed, or its stated length or check sum.
std::string withByte(std::string file, std::size_t at, char byte) {
    file[library::kMarkSize + at] = byte;
    return file;
}

std::string withStatedLength(std::string file, std::uint64_t length) {
    for (std::size_t i = 0; i < 8; ++i)
        file[library::kMarkSize + 4 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return file;
}

std::uint64_t statedLength(std::string_view file) {
    std::uint64_t length = 0;
    for (std::size_t i = 8; i-- > 0;)
        length = length << 8 | static_cast<unsigned char>(file[library::kMarkSize + 4 + i]);
    return length;
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

// The body is inflated as its records are read and never held: a library whose records are far
// larger than what can be mapped opens with only the offered pictures kept, and a damaged stream
// is still found past them.
TEST(GraphicsLibrary, UnpackingHoldsNeitherTheBodyNorRecordsTooLargeToBeOffered) {
    const std::string small = recordOf("small.bmp", bmp(8, 8));
    // Large bodies are built in place, never copied.
    auto addZeros = [](std::string& body, std::string_view name, std::size_t size) {
        body += "TGL-FS:" + std::string(name) + "|" + std::to_string(size) + "\r\n";
        body.append(size, '\0');
        body += "\r\n";
    };
    auto libraryOf = [&](std::size_t count, std::size_t size, std::string_view kind) {
        std::string body = small;
        for (std::size_t i = 0; i < count; ++i)
            addZeros(body, "p" + std::to_string(i) + std::string(kind), size);
        return libraryOfBody(body);
    };
    std::string bothKinds;
    addZeros(bothKinds, "a_large.bmp", std::size_t{128} << 20);
    bothKinds += small;
    addZeros(bothKinds, "c_large.txt", std::size_t{128} << 20);
    std::string endless = small + "TGL-FS:";
    endless.append(std::size_t{128} << 20, 'a');
    const std::string damaged = libraryOf(1, std::size_t{128} << 20, ".bmp");
    const struct {
        const char* name;
        std::string file;
        const char* reason;  // empty: small.bmp is offered
    } cases[] = {
        {"one record of 600 MB", libraryOf(1, std::size_t{600} << 20, ".bmp"), ""},
        {"many large records", libraryOf(48, std::size_t{4} << 20, ".gif"), ""},
        {"large records of both kinds around the picture", libraryOfBody(bothKinds), ""},
        {"a header line without an end", libraryOfBody(endless), ""},
        {"a check sum that does not match past the large record",
         withByte(damaged, 12, static_cast<char>(damaged[library::kMarkSize + 12] ^ 1)),
         "The encoded data does not match its check sum."},
        {"a stream shorter than its stated length",
         withStatedLength(damaged, statedLength(damaged) + 1),
         "The encoded data is shorter than its stated length."},
        {"cut inside the large record", damaged.substr(0, damaged.size() / 2),
         "The encoded data is cut short."},
    };
    for (const auto& c : cases) {
        testing::AddressSpaceLimit limit(std::size_t{32} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        Result<std::vector<LibraryPicture>> pictures = unpackLibrary(c.file, decodeBmp, {});
        if (*c.reason) {
            ASSERT_FALSE(pictures.ok()) << c.name;
            EXPECT_EQ(pictures.error().reason, c.reason) << c.name;
            continue;
        }
        ASSERT_TRUE(pictures.ok()) << c.name << ": " << pictures.error().reason;
        EXPECT_EQ(namesOf(*pictures), (std::vector<std::string>{"small.bmp"})) << c.name;
    }
}

// The offered pictures' data is kept until they are decoded; when that cannot be had, the
// unpacking says so as decoding the whole body did.
TEST(GraphicsLibrary, UnpackingTellsWhenTheMemoryForTheOfferedPicturesIsMissing) {
    // 256 MiB of pictures of the largest size offered, more than the process holds free.
    const std::size_t size = library::kMaxListedFileSize - 2;
    std::string body;
    for (std::size_t i = 0; i < (std::size_t{256} << 20) / size; ++i) {
        body += "TGL-FS:p" + std::to_string(i) + ".bmp|" + std::to_string(size) + "\r\n";
        body.append(size, '\0');
        body += "\r\n";
    }
    const std::string file = libraryOfBody(body);
    body = std::string();
    testing::AddressSpaceLimit limit(std::size_t{16} << 20);
    if (!limit.active())
        GTEST_SKIP() << "the address space cannot be limited here";
    Result<std::vector<LibraryPicture>> pictures = unpackLibrary(file, decodeBmp, {});
    ASSERT_FALSE(pictures.ok());
    EXPECT_EQ(pictures.error().code, errc::OutOfMemory);
    EXPECT_EQ(pictures.error().reason, "There is not enough memory to decode the data.");
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

// Hostile and broken libraries: each fails with a reason, or yields only what is sound. The
// unpacking reads the body a piece at a time and makes what reading the whole body makes
// (fuzzcheck's rule: the reasons of readLibrary, the listing of listedPictures).
TEST(GraphicsLibrary, HostileLibrariesYieldNothingUnsound) {
    const std::string picture = bmp(3, 2);
    const std::string good =
        "TGL-FS:good.bmp|" + std::to_string(picture.size()) + "\r\n" + picture + "\r\n";
    const std::string tooLarge(library::kMaxListedFileSize - 1, '\0');
    const std::string sound = libraryOfBody(good + recordOf("large.bmp", tooLarge) + good);
    // Three rounds over 1000 names, crossing the window the unpacking reads through: the last
    // round decides, offering the even names' pictures.
    std::string manyRecords;
    std::vector<std::string> evenNames;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "n" + std::to_string(i % 1000) + ".bmp";
        const bool last = i >= 2000;
        const bool even = i % 2 == 0;
        manyRecords += recordOf(name, !last ? picture.substr(0, 5) : even ? picture : tooLarge);
        if (i % 3 == 0)
            manyRecords += recordOf("t" + std::to_string(i) + ".txt", picture);
        if (last && even)
            evenNames.push_back(name);
    }
    std::sort(evenNames.begin(), evenNames.end(), listOrderLess);
    // A picture's name whose header line (name "|" length) is `line` bytes long.
    auto nameOfLine = [&](std::size_t line) {
        return std::string(line - 1 - std::to_string(picture.size()).size() - 4, 'n') + ".bmp";
    };
    const std::string atTheBound = nameOfLine(library::kMaxHeaderLine);
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> pictures;  // empty: the unpacking fails
        std::string reason = "The library holds no picture that can be shown.";
    } corpus[] = {
        {"a sound library", libraryOfBody(good), {"good.bmp"}},
        {"lower-case mark",
         libraryOfBody(good, "tgl10"),
         {},
         "The file is not a graphics library."},
        {"another mark", libraryOfBody(good, "TGL12"), {}, "The file is not a graphics library."},
        {"mark only", "TGL10", {}, "The encoded data has no encoder mark."},
        {"empty file", "", {}, "The file is not a graphics library."},
        {"not encoded", "TGL10" + good, {}, "The encoded data has no encoder mark."},
        {"cut short", libraryOfBody(good).substr(0, 30), {}, "The encoded data is cut short."},
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
        {"a later record too large to be offered hides the earlier",
         libraryOfBody(good + recordOf("b.bmp", picture) + recordOf("GOOD.BMP", tooLarge)),
         {"b.bmp"}},
        {"a later small record offers a name again",
         libraryOfBody(recordOf("good.bmp", tooLarge) + recordOf("Good.bmp", picture)),
         {"Good.bmp"}},
        {"another kind of the same name takes no place",
         libraryOfBody(good + recordOf("GOOD.BMP.txt", picture)),
         {"good.bmp"}},
        {"a record cut short",
         libraryOfBody(good + "TGL-FS:b.bmp|" + std::to_string(picture.size()) + "\r\n" +
                       picture.substr(0, 20)),
         {"good.bmp"}},
        {"trailing garbage",
         libraryOfBody(good + "garbage\r\n" + recordOf("b.bmp", picture)),
         {"good.bmp"}},
        {"records on both sides of one too large", sound, {"good.bmp"}},
        {"thousands of records, named again and again", libraryOfBody(manyRecords), evenNames},
        {"a header line at the longest read",
         libraryOfBody(recordOf(atTheBound, picture)),
         {atTheBound}},
        {"a header line longer than the unpacking reads ends the records",
         libraryOfBody(good + recordOf(nameOfLine(library::kMaxHeaderLine + 1), picture) + good),
         {"good.bmp"}},
        {"deflate data damaged",
         withByte(sound, 16, static_cast<char>(0xFF)),
         {},
         "The encoded data is damaged."},
        {"cut inside a record too large to be offered",
         sound.substr(0, sound.size() / 2),
         {},
         "The encoded data is cut short."},
        {"a check sum that does not match",
         withByte(sound, 12, static_cast<char>(sound[library::kMarkSize + 12] ^ 1)),
         {},
         "The encoded data does not match its check sum."},
        {"bytes after the stream",
         sound + "x",
         {},
         "The encoded data is followed by unexpected bytes."},
        {"a stream holding more than it states",
         withStatedLength(sound, statedLength(sound) - 1),
         {},
         "The encoded data holds more than its stated length."},
        {"a stream shorter than it states",
         withStatedLength(sound, statedLength(sound) + 1),
         {},
         "The encoded data is shorter than its stated length."},
        {"no encoder mark",
         "TGL11XQZ" + sound.substr(8),
         {},
         "The encoded data has no encoder mark."},
    };
    for (const auto& c : corpus) {
        EXPECT_EQ(fuzzcheck::detail::checkUnpacking(c.file), "") << c.name;
        Result<std::vector<LibraryPicture>> unpacked = unpackLibrary(c.file, decodeBmp, {});
        if (c.pictures.empty()) {
            ASSERT_FALSE(unpacked.ok()) << c.name;
            EXPECT_EQ(unpacked.error().reason, c.reason) << c.name;
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
