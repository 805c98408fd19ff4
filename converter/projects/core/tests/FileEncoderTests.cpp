#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/testing/TempFolder.h"
#include "projects/FileEncoder.h"

namespace tess {
namespace {

std::string encoded(std::string_view plain) {
    Result<std::string> e = EncodeFile(plain);
    EXPECT_TRUE(e.ok());
    return e.ok() ? *e : std::string();
}

std::string noise(std::size_t size) {
    std::string s(size, '\0');
    std::uint32_t x = 0x12345678;
    for (char& c : s) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

// A picture file's worth of bytes: smooth rows with a little noise.
std::string pictureLike(std::size_t size) {
    std::string s(size, '\0');
    const std::string n = noise(size);
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i / 3 % 251) + (n[i] & 3));
    return s;
}

void setLength(std::string& e, std::uint64_t length) {
    for (int i = 0; i < 8; ++i)
        e[4 + static_cast<std::size_t>(i)] = static_cast<char>(length >> (8 * i));
}

std::string reasonOf(const Result<std::string>& r) {
    return r.ok() ? "<decoded>" : r.error().reason;
}

TEST(FileEncoder, TheHeaderCarriesMarkVersionLengthAndCheckSum) {
    const std::string e = encoded("123456789");
    ASSERT_GE(e.size(), encoder::kHeaderSize);
    // The CRC-32 of "123456789" is CBF43926.
    EXPECT_EQ(e.substr(0, 16), std::string("TQZ\x01\x09\0\0\0\0\0\0\0\x26\x39\xF4\xCB", 16));
}

// A long body is deflated in pieces on several threads: still one raw deflate stream that a plain
// inflate reads whole (as every earlier decoder did), with the check sum of all its bytes, and the
// same bytes on every run.
TEST(FileEncoder, ALongBodyIsOneDeflateStreamAndTheSameOnEveryRun) {
    const std::string plain = pictureLike(std::size_t{5} << 20) + noise(3 << 20) +
                              std::string(std::size_t{2} << 20, 'x') + "end";
    for (const int level : {1, encoder::kLevel, 9}) {
        SCOPED_TRACE(level);
        const Result<std::string> e = EncodeFile(plain, level);
        ASSERT_TRUE(e.ok()) << e.error().reason;
        EXPECT_EQ(*EncodeFile(plain, level), *e);

        z_stream z{};
        ASSERT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
        std::string back(plain.size() + 1, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(e->data() + encoder::kHeaderSize));
        z.avail_in = static_cast<uInt>(e->size() - encoder::kHeaderSize);
        z.next_out = reinterpret_cast<Bytef*>(back.data());
        z.avail_out = static_cast<uInt>(back.size());
        EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
        EXPECT_EQ(z.avail_in, 0u);
        back.resize(back.size() - z.avail_out);
        inflateEnd(&z);
        EXPECT_TRUE(back == plain);
        const auto crc = static_cast<std::uint32_t>(crc32(
            0L, reinterpret_cast<const Bytef*>(plain.data()), static_cast<uInt>(plain.size())));
        std::uint32_t stated = 0;
        for (int i = 3; i >= 0; --i)
            stated =
                stated << 8 | static_cast<unsigned char>((*e)[12 + static_cast<std::size_t>(i)]);
        EXPECT_EQ(stated, crc);
    }
}

TEST(FileEncoder, DecodingGivesThePlainBytesWithUpToTwoLineEndsAfterTheEncoding) {
    const struct {
        const char* name;
        std::string plain;
    } inputs[] = {
        {"empty", ""},
        {"one byte", "a"},
        {"every byte value",
         [] {
             std::string s;
             for (int i = 0; i < 256; ++i)
                 s += static_cast<char>(i);
             return s;
         }()},
        {"ends in line ends", "text\r\n\r\n"},
        {"incompressible", noise(300000)},
        {"picture-like", pictureLike(1 << 20)},
        {"zeros", std::string(5 << 20, '\0')},
    };
    for (const auto& input : inputs) {
        const std::string e = encoded(input.plain);
        for (const char* tail : {"", "\r\n", "\r\n\r\n"}) {
            Result<std::string> d = DecodeFile(e + tail);
            ASSERT_TRUE(d.ok()) << input.name << " + " << std::strlen(tail) << ": " << reasonOf(d);
            EXPECT_TRUE(*d == input.plain) << input.name << " + " << std::strlen(tail);
        }
    }
}

TEST(FileEncoder, AnyOtherTrailingBytesAreRefused) {
    const std::string e = encoded("project body");
    for (const char* tail : {"\r", "\n", "x", "\r\n\r", "\n\r", "\r\n\r\n\r\n", "\r\nx"})
        EXPECT_EQ(reasonOf(DecodeFile(e + tail)),
                  "The encoded data is followed by unexpected bytes.")
            << tail;
}

TEST(FileEncoder, EveryDamagedByteIsRefused) {
    const std::string e = encoded(pictureLike(4000));
    for (std::size_t at = 0; at < e.size(); ++at) {
        std::string bad = e;
        bad[at] = static_cast<char>(bad[at] ^ 0xFF);
        EXPECT_FALSE(DecodeFile(bad).ok()) << "byte " << at;
    }
}

TEST(FileEncoder, EveryCutIsRefused) {
    const std::string e = encoded(pictureLike(4000));
    for (std::size_t size = 0; size < e.size(); ++size)
        EXPECT_FALSE(DecodeFile(std::string_view(e).substr(0, size)).ok()) << "cut at " << size;
}

TEST(FileEncoder, EachRegionNamesWhatIsWrong) {
    const std::string plain = pictureLike(10000);
    const std::string e = encoded(plain);
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    auto with = [&](auto change) {
        std::string b = e;
        change(b);
        return b;
    };
    const Case cases[] = {
        {"no mark", with([](std::string& b) { b[0] = 'X'; }),
         "The encoded data has no encoder mark."},
        {"too short for a mark", "TP", "The encoded data has no encoder mark."},
        {"header cut", e.substr(0, 10), "The encoded data is cut short."},
        {"newer format", with([](std::string& b) { b[3] = 2; }),
         "The encoded data was made by a newer encoder."},
        {"length one short", with([&](std::string& b) { setLength(b, plain.size() - 1); }),
         "The encoded data holds more than its stated length."},
        {"length one long", with([&](std::string& b) { setLength(b, plain.size() + 1); }),
         "The encoded data is shorter than its stated length."},
        {"length beyond the cap",
         with([](std::string& b) { setLength(b, std::uint64_t{1} << 40); }),
         "The encoded data states a length beyond what can be decoded."},
        {"length its bytes cannot hold",
         with([](std::string& b) { setLength(b, encoder::kMaxPlainLength); }),
         "The encoded data states a length its bytes cannot hold."},
        {"check sum", with([](std::string& b) { b[12] = static_cast<char>(b[12] ^ 1); }),
         "The encoded data does not match its check sum."},
        {"body cut", e.substr(0, e.size() - 5), "The encoded data is cut short."},
        {"body damaged", with([](std::string& b) { b[16] = static_cast<char>(0xFF); }),
         "The encoded data is damaged."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reasonOf(DecodeFile(c.bytes)), c.reason) << c.name;
}

TEST(FileEncoder, AStreamHoldingFarMoreThanItStatesStopsAtTheStatedLength) {
    // A small file that expands to 20 MiB, claiming 1000 bytes: refused after 1000 bytes.
    std::string bomb = encoded(std::string(20 << 20, 'A'));
    setLength(bomb, 1000);
    EXPECT_EQ(reasonOf(DecodeFile(bomb)), "The encoded data holds more than its stated length.");
}

TEST(FileEncoder, FilesRoundTripAndAFailedDecodeWritesNothing) {
    testing::TempFolder folder("encoder");
    const std::string plain = pictureLike(50000);
    const std::string in = folder.write("plain.bin", plain);
    ASSERT_TRUE(EncodeFile(in, folder.file("enc.bin")).ok());
    ASSERT_TRUE(DecodeFile(folder.file("enc.bin"), folder.file("dec.bin")).ok());
    EXPECT_TRUE(testing::readFileContents(folder.file("dec.bin")) == plain);

    const std::string bad = folder.write("bad.bin", "TQZ\x01garbage that is not deflate data");
    const Status refused = DecodeFile(bad, folder.file("out.bin"));
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().reason.find(bad), std::string::npos);
    EXPECT_FALSE(folder.has("out.bin"));

    EXPECT_FALSE(EncodeFile(folder.file("missing.bin"), folder.file("x.bin")).ok());
    EXPECT_FALSE(folder.has("x.bin"));
    EXPECT_FALSE(EncodeFile(in, folder.file("no-such-folder/x.bin")).ok());
}

}  // namespace
}  // namespace tess
