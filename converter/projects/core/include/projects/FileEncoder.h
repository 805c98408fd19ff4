#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// The encoder of project and graphics library bodies. An encoded file is
//   "TQZ" and the format version (one byte, 1),
//   the plain length (8 bytes, little-endian),
//   the CRC-32 of the plain bytes (4 bytes, little-endian),
//   the plain bytes compressed by raw deflate.
// Decoding accepts up to two CR LF pairs after the compressed data (the line ends the files get
// when they are written as text) and refuses anything else: a wrong mark or version, a length the
// data cannot hold or beyond kMaxPlainLength, data cut short, extra bytes, a check sum that does
// not match. It never allocates more than the stated plain length. EncodedReader.h decodes a
// piece at a time.
namespace encoder {
inline constexpr std::string_view kMark = "TQZ";
inline constexpr unsigned char kFormatVersion = 1;
inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::uint64_t kMaxPlainLength = std::uint64_t{1} << 30;
// The deflate level of every encoding (1 fastest to 9 smallest; the README's project benchmark
// shows the choice). Any level decodes alike.
inline constexpr int kLevel = 1;
}  // namespace encoder

// Over bytes in memory. `level` is for measuring the others.
Result<std::string> EncodeFile(std::string_view plain, int level = encoder::kLevel);
Result<std::string> DecodeFile(std::string_view encoded);

// Over files: reads the input whole and writes the output atomically.
Status EncodeFile(const std::string& inputPath, const std::string& outputPath);
Status DecodeFile(const std::string& inputPath, const std::string& outputPath);

}  // namespace tess
