#include "projects/FileEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/Parallel.h"
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

// Deflate works through the plain bytes in pieces of this size, each on its own, on as many
// threads as there are cores. Every piece but the last ends in a sync flush, which leaves the
// stream on a byte boundary, so the pieces laid end to end are one deflate stream that any
// inflater reads. The size is fixed: the output does not depend on the machine.
constexpr std::size_t kPieceSize = std::size_t{2} << 20;

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

// The most a piece of `size` bytes deflates to, its flush marker included.
std::size_t pieceBound(std::size_t size) {
    return size + (size >> 12) + (size >> 14) + (size >> 25) + 13 + 16;
}

struct Piece {
    std::string_view plain;
    char* out = nullptr;  // room for pieceBound(plain.size()) bytes
    std::size_t written = 0;
    uLong crc = 0;
    bool ok = false;
};

void deflatePiece(Piece& piece, int level, bool last) {
    piece.crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(piece.plain.data()),
                      static_cast<uInt>(piece.plain.size()));
    Deflater deflater(level);
    if (!deflater.ok())
        return;
    z_stream& z = deflater.stream();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.plain.data()));
    z.avail_in = static_cast<uInt>(piece.plain.size());
    z.next_out = reinterpret_cast<Bytef*>(piece.out);
    z.avail_out = static_cast<uInt>(pieceBound(piece.plain.size()));
    const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    piece.ok = last ? status == Z_STREAM_END : status == Z_OK && z.avail_in == 0;
    piece.written = pieceBound(piece.plain.size()) - z.avail_out;
}

}  // namespace

Result<std::string> EncodeFile(std::string_view plain, int level) {
    if (plain.size() > kMaxPlainLength)
        return Error{errc::Generic, "The data is too large to encode."};
    try {
        const std::size_t count =
            std::max<std::size_t>(1, (plain.size() + kPieceSize - 1) / kPieceSize);
        std::vector<Piece> pieces(count);
        std::size_t room = kHeaderSize;
        for (std::size_t i = 0; i < count; ++i) {
            pieces[i].plain = plain.substr(i * kPieceSize, kPieceSize);
            room += pieceBound(pieces[i].plain.size());
        }
        std::string out(room, '\0');
        std::size_t at = kHeaderSize;
        for (Piece& piece : pieces) {
            piece.out = out.data() + at;
            at += pieceBound(piece.plain.size());
        }

        onEveryCore(count, [&](std::size_t i) { deflatePiece(pieces[i], level, i + 1 == count); });

        // The pieces close up behind the header, in order.
        std::size_t written = kHeaderSize;
        uLong crc = crc32(0L, Z_NULL, 0);
        for (const Piece& piece : pieces) {
            if (!piece.ok)
                return Error{errc::Generic, "The encoder failed."};
            std::memmove(out.data() + written, piece.out, piece.written);
            written += piece.written;
            crc = crc32_combine(crc, piece.crc, static_cast<z_off_t>(piece.plain.size()));
        }
        out.resize(written);
        std::string header(encoder::kMark);
        header += static_cast<char>(encoder::kFormatVersion);
        putLittleEndian(header, plain.size(), 8);
        putLittleEndian(header, static_cast<std::uint32_t>(crc), 4);
        out.replace(0, kHeaderSize, header);
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
