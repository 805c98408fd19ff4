#include "projects/EncodedReader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <new>

#include "projects/FileEncoder.h"

namespace tess {

namespace {

using encoder::kHeaderSize;

// Deflate cannot shrink data by more than 1032 to 1; a stated length beyond that for the bytes at
// hand is a lie, refused before anything is inflated.
constexpr std::uint64_t kMaxRatio = 1032;
// zlib counts in 32 bits; larger pieces go through in parts.
constexpr std::size_t kMaxChunk = std::numeric_limits<uInt>::max();

Error damaged(const std::string& what) {
    return {errc::Generic, "The encoded data " + what + "."};
}

std::uint64_t getLittleEndian(std::string_view in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

bool onlyLineEnds(std::string_view rest) {
    return rest.empty() || rest == "\r\n" || rest == "\r\n\r\n";
}

}  // namespace

struct EncodedReader::State {
    State() : ok(inflateInit2(&z, -MAX_WBITS) == Z_OK) {}
    ~State() {
        if (ok)
            inflateEnd(&z);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Inflates into [out, out + count); `made` is what came out. zlib's state points back at the
    // stream, which is why the stream lives here, never moved.
    Status inflateInto(Bytef* out, std::size_t count, std::size_t& made);

    z_stream z{};
    bool ok;
    std::string_view body;
    std::size_t in = 0;
    std::uint64_t length = 0;
    std::uint64_t produced = 0;
    std::uint32_t statedCrc = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    bool ended = false;
};

Status EncodedReader::State::inflateInto(Bytef* out, std::size_t count, std::size_t& made) {
    const std::size_t inChunk = std::min(body.size() - in, kMaxChunk);
    const std::size_t outChunk = std::min(count, kMaxChunk);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + in));
    z.avail_in = static_cast<uInt>(inChunk);
    z.next_out = out;
    z.avail_out = static_cast<uInt>(outChunk);
    const int status = inflate(&z, Z_NO_FLUSH);
    const std::size_t used = inChunk - z.avail_in;
    made = outChunk - z.avail_out;
    in += used;
    if (status == Z_DATA_ERROR || status == Z_NEED_DICT)
        return damaged("is damaged");
    if (status == Z_MEM_ERROR)
        throw std::bad_alloc();
    ended = status == Z_STREAM_END;
    if (!ended && used == 0 && made == 0)
        return damaged("is cut short");
    return {};
}

EncodedReader::EncodedReader(std::unique_ptr<State> state) : state_(std::move(state)) {}
EncodedReader::EncodedReader(EncodedReader&&) noexcept = default;
EncodedReader& EncodedReader::operator=(EncodedReader&&) noexcept = default;
EncodedReader::~EncodedReader() = default;

Result<EncodedReader> EncodedReader::open(std::string_view encoded, std::uint64_t maxLength) {
    if (encoded.size() < kHeaderSize)
        return damaged(encoded.substr(0, 3) == encoder::kMark ? "is cut short"
                                                              : "has no encoder mark");
    if (encoded.substr(0, 3) != encoder::kMark)
        return damaged("has no encoder mark");
    if (static_cast<unsigned char>(encoded[3]) != encoder::kFormatVersion)
        return damaged("was made by a newer encoder");
    const std::uint64_t length = getLittleEndian(encoded, 4, 8);
    const std::string_view body = encoded.substr(kHeaderSize);
    if (length > std::min(maxLength, encoder::kMaxPlainLength))
        return damaged("states a length beyond what can be decoded");
    if (length > (body.size() + 1) * kMaxRatio)
        return damaged("states a length its bytes cannot hold");
    auto state = std::make_unique<State>();
    if (!state->ok)
        return Error{errc::OutOfMemory, "The decoder could not start."};
    state->body = body;
    state->length = length;
    state->statedCrc = static_cast<std::uint32_t>(getLittleEndian(encoded, 12, 4));
    return EncodedReader(std::move(state));
}

std::uint64_t EncodedReader::length() const {
    return state_->length;
}

std::uint64_t EncodedReader::left() const {
    return state_->length - state_->produced;
}

Status EncodedReader::read(char* out, std::size_t count) {
    State& s = *state_;
    if (count > left())
        return damaged("is shorter than its stated length");
    std::size_t done = 0;
    while (done < count) {
        if (s.ended)
            return damaged("is shorter than its stated length");
        std::size_t made = 0;
        const Status step = s.inflateInto(reinterpret_cast<Bytef*>(out + done), count - done, made);
        s.crc = crc32(s.crc, reinterpret_cast<const Bytef*>(out + done), static_cast<uInt>(made));
        done += made;
        s.produced += made;
        if (!step)
            return step;
    }
    return {};
}

Status EncodedReader::finish() {
    State& s = *state_;
    std::array<char, 64 * 1024> scratch{};
    while (left() > 0) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(left(), scratch.size()));
        if (Status r = read(scratch.data(), count); !r)
            return r;
    }
    // One spare byte past the stated length shows a stream that holds more than it states.
    while (!s.ended) {
        Bytef spare = 0;
        std::size_t made = 0;
        const Status step = s.inflateInto(&spare, 1, made);
        if (made > 0)
            return damaged("holds more than its stated length");
        if (!step)
            return step;
    }
    if (!onlyLineEnds(s.body.substr(s.in)))
        return damaged("is followed by unexpected bytes");
    if (static_cast<std::uint32_t>(s.crc) != s.statedCrc)
        return damaged("does not match its check sum");
    return {};
}

}  // namespace tess
