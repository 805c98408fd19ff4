#include "projects/FileEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

#include "platform/Text.h"

namespace tess {

namespace {

using encoder::kHeaderSize;
using encoder::kMaxPlainLength;

// Deflate cannot shrink data by more than 1032 to 1; a stated length beyond that for the bytes at
// hand is a lie, refused before anything is allocated.
constexpr std::uint64_t kMaxRatio = 1032;

Error damaged(const std::string& what) {
    return {errc::Generic, "The encoded data " + what + "."};
}

void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLittleEndian(std::string_view in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

// zlib counts in 32 bits; larger buffers go through in pieces.
constexpr std::size_t kMaxChunk = std::numeric_limits<uInt>::max();

std::uint32_t crcOf(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min(bytes.size() - at, kMaxChunk);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(n));
        at += n;
    }
    return static_cast<std::uint32_t>(crc);
}

class Deflater {
  public:
    Deflater()
        : ok_(deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                           Z_DEFAULT_STRATEGY) == Z_OK) {}
    ~Deflater() {
        if (ok_)
            deflateEnd(&z_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    bool ok() const { return ok_; }
    z_stream& stream() { return z_; }

  private:
    z_stream z_{};
    bool ok_;
};

class Inflater {
  public:
    Inflater() : ok_(inflateInit2(&z_, -MAX_WBITS) == Z_OK) {}
    ~Inflater() {
        if (ok_)
            inflateEnd(&z_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    bool ok() const { return ok_; }
    z_stream& stream() { return z_; }

  private:
    z_stream z_{};
    bool ok_;
};

bool onlyLineEnds(std::string_view rest) {
    return rest.empty() || rest == "\r\n" || rest == "\r\n\r\n";
}

}  // namespace

Result<std::string> EncodeFile(std::string_view plain) {
    if (plain.size() > kMaxPlainLength)
        return Error{errc::Generic, "The data is too large to encode."};
    try {
        Deflater deflater;
        if (!deflater.ok())
            return Error{errc::OutOfMemory, "The encoder could not start."};
        z_stream& z = deflater.stream();
        std::string out;
        out.reserve(kHeaderSize + deflateBound(&z, static_cast<uLong>(plain.size())));
        out += encoder::kMark;
        out += static_cast<char>(encoder::kFormatVersion);
        putLittleEndian(out, plain.size(), 8);
        putLittleEndian(out, crcOf(plain), 4);
        const std::size_t start = out.size();
        out.resize(out.capacity());

        std::size_t in = 0;
        std::size_t written = start;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            if (written == out.size())
                out.resize(out.size() + out.size() / 2 + 64);
            const std::size_t inChunk = std::min(plain.size() - in, kMaxChunk);
            const std::size_t outChunk = std::min(out.size() - written, kMaxChunk);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data() + in));
            z.avail_in = static_cast<uInt>(inChunk);
            z.next_out = reinterpret_cast<Bytef*>(out.data() + written);
            z.avail_out = static_cast<uInt>(outChunk);
            const bool last = in + inChunk == plain.size();
            status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                return Error{errc::Generic, "The encoder failed."};
            in += inChunk - z.avail_in;
            written += outChunk - z.avail_out;
        }
        out.resize(written);
        return out;
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "There is not enough memory to encode the data."};
    }
}

Result<std::string> DecodeFile(std::string_view encoded) {
    if (encoded.size() < kHeaderSize)
        return damaged(encoded.substr(0, 3) == encoder::kMark ? "is cut short"
                                                              : "has no encoder mark");
    if (encoded.substr(0, 3) != encoder::kMark)
        return damaged("has no encoder mark");
    if (static_cast<unsigned char>(encoded[3]) != encoder::kFormatVersion)
        return damaged("was made by a newer encoder");
    const std::uint64_t length = getLittleEndian(encoded, 4, 8);
    const auto crc = static_cast<std::uint32_t>(getLittleEndian(encoded, 12, 4));
    const std::string_view body = encoded.substr(kHeaderSize);
    if (length > kMaxPlainLength)
        return damaged("states a length beyond what can be decoded");
    if (length > (body.size() + 1) * kMaxRatio)
        return damaged("states a length its bytes cannot hold");
    try {
        Inflater inflater;
        if (!inflater.ok())
            return Error{errc::OutOfMemory, "The decoder could not start."};
        z_stream& z = inflater.stream();
        std::string plain(static_cast<std::size_t>(length), '\0');
        std::size_t in = 0;
        std::size_t out = 0;
        // One spare byte past the stated length shows a stream that holds more than it states.
        unsigned char spare = 0;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            const std::size_t inChunk = std::min(body.size() - in, kMaxChunk);
            const bool full = out == plain.size();
            const std::size_t outChunk = full ? 1 : std::min(plain.size() - out, kMaxChunk);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + in));
            z.avail_in = static_cast<uInt>(inChunk);
            z.next_out = full ? &spare : reinterpret_cast<Bytef*>(plain.data() + out);
            z.avail_out = static_cast<uInt>(outChunk);
            status = inflate(&z, Z_NO_FLUSH);
            const std::size_t used = inChunk - z.avail_in;
            const std::size_t made = outChunk - z.avail_out;
            in += used;
            if (full && made > 0)
                return damaged("holds more than its stated length");
            out += full ? 0 : made;
            if (status == Z_DATA_ERROR || status == Z_NEED_DICT)
                return damaged("is damaged");
            if (status == Z_MEM_ERROR)
                throw std::bad_alloc();
            if (status != Z_STREAM_END && used == 0 && made == 0)
                return damaged("is cut short");
        }
        if (out != plain.size())
            return damaged("is shorter than its stated length");
        if (!onlyLineEnds(body.substr(in)))
            return damaged("is followed by unexpected bytes");
        if (crcOf(plain) != crc)
            return damaged("does not match its check sum");
        return plain;
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "There is not enough memory to decode the data."};
    }
}

Status EncodeFile(const std::string& inputPath, const std::string& outputPath) {
    Result<std::string> plain = readFileBytes(inputPath);
    if (!plain)
        return plain.error();
    Result<std::string> encoded = EncodeFile(std::string_view(*plain));
    if (!encoded)
        return encoded.error();
    return writeFileAtomic(outputPath, *encoded);
}

Status DecodeFile(const std::string& inputPath, const std::string& outputPath) {
    Result<std::string> encoded = readFileBytes(inputPath);
    if (!encoded)
        return encoded.error();
    Result<std::string> plain = DecodeFile(std::string_view(*encoded));
    if (!plain)
        return Error{plain.error().code, "\"" + inputPath + "\": " + plain.error().reason};
    return writeFileAtomic(outputPath, *plain);
}

}  // namespace tess
