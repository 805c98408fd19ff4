#include "projects/FileEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

#include "platform/Text.h"
#include "projects/EncodedReader.h"

namespace tess {

namespace {

using encoder::kHeaderSize;
using encoder::kMaxPlainLength;

void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
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
    explicit Deflater(int level)
        : ok_(deflateInit2(&z_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK) {}
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

}  // namespace

Result<std::string> EncodeFile(std::string_view plain, int level) {
    if (plain.size() > kMaxPlainLength)
        return Error{errc::Generic, "The data is too large to encode."};
    try {
        Deflater deflater(level);
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
    Result<EncodedReader> reader = EncodedReader::open(encoded, kMaxPlainLength);
    if (!reader)
        return reader.error();
    try {
        std::string plain(static_cast<std::size_t>(reader->length()), '\0');
        if (Status read = reader->read(plain.data(), plain.size()); !read)
            return read.error();
        if (Status end = reader->finish(); !end)
            return end.error();
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
