#include "engine/CellChars.h"

#include "engine/MosaicOptions.h"
#include "platform/Text.h"

namespace tess {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}  // namespace

CellChars::CellChars(const MosaicOptions& options, Clock& clock, Random& random)
    : mode_(options.Mode), clock_(clock), random_(random) {
    if (mode_ != 0) {
        return;
    }
    // One byte a character from here on, so cell positions are byte positions.
    const std::string prepared =
        cp1252::fromUtf8(prepareCustomText(options.CustomText, options.spacerText()));
    for (std::size_t at = 0; at < prepared.size(); at += 2) {
        const std::string text = FixLTGT(prepared.substr(at, 2));
        Slot slot;
        text.copy(slot.bytes.data(), slot.bytes.size());
        slot.size = static_cast<std::uint8_t>(text.size());
        slots_.push_back(slot);
    }
}

void CellChars::reseed() {
    random_.reseed(clock_.tickCount());
}

int CellChars::draw(int n) {
    const int value = static_cast<int>(static_cast<double>(random_.next()) * n);
    return value < 0 ? 0 : (value >= n ? n - 1 : value);
}

void CellChars::randomCell(char* out) {
    switch (mode_) {
        case 1:
            for (int i = 0; i < 2; ++i) {
                reseed();
                out[i] = static_cast<char>('A' + draw(26));
            }
            break;
        case 2:
            reseed();
            out[0] = static_cast<char>('0' + draw(10));
            out[1] = '0';
            break;
        case 3:
            reseed();
            out[0] = static_cast<char>('0' + draw(2));
            out[1] = static_cast<char>('0' + draw(2));
            break;
        case 4:
            reseed();
            out[0] = static_cast<char>(161 + draw(94));
            out[1] = static_cast<char>(161 + draw(94));
            break;
        case 5: {
            reseed();
            const int value = draw(256);
            out[0] = kHexDigits[value >> 4];
            out[1] = kHexDigits[value & 15];
            break;
        }
        default:
            break;
    }
}

std::string CellChars::cell(Colour c) {
    switch (mode_) {
        case 0: {
            const Slot& slot = nextCustom();
            return std::string(slot.bytes.data(), slot.size);
        }
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            char pair[2];
            randomCell(pair);
            return std::string(pair, 2);
        }
        case 6:
            return SmartRender(c);
        default:
            return {};
    }
}

}  // namespace tess
