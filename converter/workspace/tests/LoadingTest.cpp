#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "TempFolder.h"
#include "platform/Bmp.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "workspace/Loading.h"

namespace tess {
namespace {

TEST(LoadPictureTest, DecodesABitmapWhateverItsExtension) {
    TempFolder folder;
    Picture picture(6, 4, 0x204060);
    picture.setPixel(5, 3, 0xFF0000);
    const std::string path = folder.write("Photo.JPEG", encodeBmp24(picture));
    const PictureLoadResult loaded = loadPictureForWorkspace(path);
    ASSERT_TRUE(loaded.picture.has_value()) << loaded.error.text;
    EXPECT_EQ(*loaded.picture, picture);
}

TEST(LoadPictureTest, TextFileNamedAsPictureGivesTheFormatsMessage) {
    TempFolder folder;
    const std::string path = folder.write("x.jpg", "just some text\r\n");
    const PictureLoadResult loaded = loadPictureForWorkspace(path);
    EXPECT_FALSE(loaded.picture.has_value());
    EXPECT_EQ(loaded.error, (Message{"Error loading image\r\n\"" + path +
                                         "\"\r\n\r\ntessaryn q4 only supports BMP, JPG, GIF, DIB, "
                                         "and ICO image formats.",
                                     48, "Error Loading Image"}));
}

// The headers of a 24-bit bitmap of the given size, without its pixels.
std::string bitmapHeaders(std::int32_t width, std::int32_t height) {
    std::string bytes = encodeBmp24(Picture(1, 1));
    auto put32 = [&bytes](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
        }
    };
    put32(18, width);
    put32(22, height);
    return bytes;
}

TEST(LoadPictureTest, OtherFailuresNameTheFileAndItsReason) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", folder.file("gone.bmp")},
        {"too large", folder.write("huge.bmp", bitmapHeaders(40000, 2))},
    };
    for (const Case& c : cases) {
        const PictureLoadResult loaded = loadPictureForWorkspace(c.path);
        EXPECT_FALSE(loaded.picture.has_value()) << c.name;
        EXPECT_EQ(loaded.error.title, "Error Loading Image") << c.name;
        EXPECT_EQ(loaded.error.style, 48) << c.name;
        EXPECT_EQ(loaded.error.text.rfind("Error loading image\r\n\"" + c.path + "\"", 0), 0u)
            << c.name << ": " << loaded.error.text;
        EXPECT_EQ(loaded.error.text.find("only supports"), std::string::npos) << c.name;
    }
}

TEST(LoadTextFileTest, PlainTextIsWindows1252AndRichTextIsReduced) {
    TempFolder folder;
    struct Case {
        const char* name;
        const char* bytes;
        TextFileLoad expected;
    };
    const Case cases[] = {
        {"README.TXT",
         "caf\xE9 \x80 line\r\nnext",
         {true, "caf\xC3\xA9 \xE2\x82\xAC line\r\nnext", {}}},
        {"empty.txt", "", {true, "", {}}},
        {"notes.text", "{\\rtf1 kept as it is}", {true, "{\\rtf1 kept as it is}", {}}},
        {"Styled.RTF",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b bold\\b0\\par caf\\'e9}",
         {true, "Hello bold\r\ncaf\xC3\xA9", {}}},
    };
    for (const Case& c : cases) {
        const std::string path = folder.write(c.name, c.bytes);
        EXPECT_EQ(loadTextFile(path), c.expected) << c.name;
    }
}

TEST(LoadTextFileTest, UnreadableFileGivesTheErrorText) {
    TempFolder folder;
    const std::string missing = folder.file("gone.txt");
    EXPECT_EQ(loadTextFile(missing), (TextFileLoad{false, "Error loading " + missing, {}}));
    const std::string missingRtf = folder.file("gone.rtf");
    EXPECT_EQ(loadTextFile(missingRtf), (TextFileLoad{false, "Error loading " + missingRtf, {}}));
    // A rich text box loads no document from bytes that are not rich text.
    for (const char* bytes : {"Hi there\r\nsecond line", "", "{\\rt"}) {
        const std::string notRtf = folder.write("x.rtf", bytes);
        EXPECT_EQ(loadTextFile(notRtf), (TextFileLoad{false, "Error loading " + notRtf, {}}))
            << bytes;
    }
}

// A custom text is bounded by what a project stores: a longer file is refused before it is read,
// and a file there is not the memory for is told, not thrown.
TEST(LoadTextFileTest, AFileLongerThanAProjectStoresOrBeyondTheMemoryIsRefusedWithABox) {
    TempFolder folder;
    for (const char* name : {"long.txt", "long.rtf"}) {
        const std::string path = folder.write(name, "");
        std::filesystem::resize_file(path, kMaxCustomTextBytes + 1);
        testing::AddressSpaceLimit limit(std::size_t{16} << 20);
        const TextFileLoad load = loadTextFile(path);
        EXPECT_FALSE(load.ok) << name;
        EXPECT_EQ(load.text, "") << name;
        EXPECT_EQ(load.refusal, customTextTooLargeMessage(path, kMaxCustomTextBytes + 1)) << name;
        EXPECT_EQ(load.refusal.text, "The custom text file\r\n\"" + path +
                                         "\"\r\nis 100,000,000 bytes long; a custom text holds "
                                         "at most 99,999,999 characters.")
            << name;
    }
    // The longest custom text is read.
    const std::string longest = folder.write("longest.txt", "");
    std::filesystem::resize_file(longest, kMaxCustomTextBytes);
    TextFileLoad load = loadTextFile(longest);
    EXPECT_TRUE(load.ok);
    EXPECT_EQ(load.text.size(), kMaxCustomTextBytes);
    EXPECT_EQ(load.refusal, Message{});
    load = {};

    for (const char* name : {"wide.txt", "wide.rtf"}) {
        const std::string path = folder.write(name, std::string(std::size_t{48} << 20, 'x'));
        testing::AddressSpaceLimit limit(std::size_t{24} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        const TextFileLoad starved = loadTextFile(path);
        EXPECT_FALSE(starved.ok) << name;
        EXPECT_EQ(starved.refusal, customTextMemoryMessage(path)) << name;
    }
}

}  // namespace
}  // namespace tess
