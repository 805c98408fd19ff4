#pragma once

#include <cstdint>
#include <string>

namespace tess::testing {

// Numbers appended to the bytes of a fixture least significant byte first, as BMP, ICO and GIF
// store them. Kept apart from the project's own BMP writer, so the tests of its readers don't
// check them with the same code.
inline void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace tess::testing
