#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// Decodes an encoded file (FileEncoder.h) a piece at a time: a reader checks what it has read
// before the rest is inflated, and holds only the pieces it keeps. Every check of DecodeFile
// holds, with its reasons; finish() makes the ones that need the whole stream.
class EncodedReader {
  public:
    // Checks the header: the mark, the version, a stated length within `maxLength` (and
    // encoder::kMaxPlainLength) and within what the bytes can hold. `encoded` must outlive the
    // reader.
    static Result<EncodedReader> open(std::string_view encoded, std::uint64_t maxLength);

    EncodedReader(EncodedReader&&) noexcept;
    EncodedReader& operator=(EncodedReader&&) noexcept;
    ~EncodedReader();

    // The plain length the header states, and what of it is not read yet.
    std::uint64_t length() const;
    std::uint64_t left() const;

    // The next `count` plain bytes (at most left()) into `out`. Fails when the stream is damaged
    // or cut short before them.
    Status read(char* out, std::size_t count);
    // Inflates what is left without keeping it, then checks that the stream ends at the stated
    // length, that only line ends follow it and that the check sum matches.
    Status finish();

  private:
    struct State;
    explicit EncodedReader(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace tess
