#include "engine/CellChars.h"

#include "engine/MosaicOptions.h"
#include "platform/Text.h"

namespace tess {

CellChars::CellChars(const MosaicOptions& options, Clock& clock, Random& random)
    : mode_(options.Mode),
      clock_(clock),
      random_(random),
      defaultRandom_(dynamic_cast<DefaultRandom*>(&random)),
      seeds_{clock.tickCount(), 0} {
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

bool CellChars::asciiOnly() const {
    if (mode_ == 4) {
        return false;
    }
    for (const Slot& slot : slots_) {
        if (!isAscii(std::string_view(slot.bytes.data(), slot.size))) {
            return false;
        }
    }
    return true;
}

void CellChars::randomCell(char* out) {
    switch (mode_) {
        case 1:
            randomCell<1>(random_, seeds_, out);
            break;
        case 2:
            randomCell<2>(random_, seeds_, out);
            break;
        case 3:
            randomCell<3>(random_, seeds_, out);
            break;
        case 4:
            randomCell<4>(random_, seeds_, out);
            break;
        case 5:
            randomCell<5>(random_, seeds_, out);
            break;
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
