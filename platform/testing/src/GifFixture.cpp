#include "platform/testing/GifFixture.h"

#include <cstddef>
#include <cstdint>

#include "platform/testing/LittleEndian.h"

namespace tess::testing {

std::string gifFixture(int w, int h, const std::vector<int>& indices, int transparentIndex) {
    std::string out = "GIF89a";
    put16(out, static_cast<unsigned>(w));
    put16(out, static_cast<unsigned>(h));
    out += '\x81';  // global colour table of 4 entries
    out += '\0';
    out += '\0';
    const unsigned char table[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    out.append(reinterpret_cast<const char*>(table), sizeof table);
    if (transparentIndex >= 0) {
        out += "\x21\xF9\x04\x01";
        out += std::string(2, '\0');
        out += static_cast<char>(transparentIndex);
        out += '\0';
    }
    out += '\x2C';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(w));
    put16(out, static_cast<unsigned>(h));
    out += '\0';
    out += '\x02';  // minimum code size

    std::vector<int> codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) {
            codes.push_back(4);  // clear
        }
        codes.push_back(indices[i]);
    }
    codes.push_back(5);  // end of information
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    for (const int code : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += 3;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) {
        data += static_cast<char>(bits & 0xFF);
    }
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    out += '\x3B';
    return out;
}

}  // namespace tess::testing
