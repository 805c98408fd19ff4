#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/CharacterModes.h"
#include "platform/Clock.h"
#include "platform/Colour.h"
#include "platform/Random.h"

namespace tess {

struct MosaicOptions;

// The characters of each cell of one run, by the options' mode. Custom text is prepared once, and
// its position cursor carries from cell to cell and from row to row; the random modes reseed the
// generator from the clock before every cell (before every letter in "Random Letters").
class CellChars {
  public:
    // A custom-text cell: up to two characters, escaped, so at most 8 bytes ("&lt;&gt;").
    struct Slot {
        std::array<char, 8> bytes{};
        std::uint8_t size = 0;
    };

    CellChars(const MosaicOptions& options, Clock& clock, Random& random);

    int mode() const { return mode_; }

    // "Custom Text": the cell at the cursor; the cursor then moves on by two characters, back to
    // the first one once it has passed the end. An empty prepared text gives empty cells.
    const Slot& nextCustom() {
        if (slots_.empty()) {
            return empty_;
        }
        const Slot& slot = slots_[next_];
        if (++next_ == slots_.size()) {
            next_ = 0;
        }
        return slot;
    }
    // The 1-based position in the prepared text of the next custom cell's first character.
    std::int32_t cursor() const { return static_cast<std::int32_t>(2 * next_ + 1); }

    // Modes 1 to 5: writes the cell's characters (two bytes) to `out`.
    void randomCell(char* out);

    // The characters of the next cell of any mode, Windows-1252 bytes.
    std::string cell(Colour c);

  private:
    // Integer part of (random × n), kept within 0..n-1 should a generator return 1.
    int draw(int n);
    void reseed();

    int mode_;
    Clock& clock_;
    Random& random_;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;
    Slot empty_;
};

}  // namespace tess
