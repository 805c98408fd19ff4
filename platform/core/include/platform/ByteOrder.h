#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tess::bytes {

// Numbers read out of file bytes; the caller has checked that the bytes are there.
inline std::uint32_t byteAt(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]);
}

// Least significant byte first, as BMP, ICO and GIF store them.
inline std::uint32_t le16(std::string_view b, std::size_t at) {
    return byteAt(b, at) | byteAt(b, at + 1) << 8;
}

inline std::uint32_t le32(std::string_view b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

// Most significant byte first, as JPEG and PNG store them.
inline std::uint32_t be16(std::string_view b, std::size_t at) {
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}

inline std::uint32_t be32(std::string_view b, std::size_t at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}

}  // namespace tess::bytes
