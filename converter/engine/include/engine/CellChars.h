#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/CharacterModes.h"
#include "platform/Clock.h"
#include "platform/Colour.h"
#include "platform/DefaultRandom.h"
#include "platform/Random.h"

namespace tess {

struct MosaicOptions;

// The characters of each cell of one run, by the options' mode. Custom text is prepared once, and
// its position cursor carries from cell to cell and from row to row; the random modes reseed the
// generator from the clock before every cell (before every letter in "Random Letters").
//
// Reading the clock for every reseed would cost more than the rest of the cell: the tick is read
// at construction and at every readClock() (the writer calls it at each row's start), and each
// reseed mixes that tick with its own running number, so two reseeds within one tick still differ
// and a tick that moves changes every cell after it.
class CellChars {
  public:
    // A custom-text cell: up to two characters, escaped, so at most 8 bytes ("&lt;&gt;").
    struct Slot {
        std::array<char, 8> bytes{};
        std::uint8_t size = 0;
    };

    CellChars(const MosaicOptions& options, Clock& clock, Random& random);

    int mode() const { return mode_; }
    // Whether every cell of the run is plain ASCII: not so in "Machine Code", nor with a custom
    // text beyond ASCII.
    bool asciiOnly() const;

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

    // The entropy of the reseeds: the tick last read from the clock with a running number.
    struct Seeds {
        std::uint32_t tick = 0;
        std::uint32_t count = 0;
        std::uint64_t next() { return static_cast<std::uint64_t>(tick) << 32 | count++; }
    };

    // Takes the clock's tick for the reseeds that follow.
    void readClock() { seeds_.tick = clock_.tickCount(); }
    Seeds& seeds() { return seeds_; }

    // Modes 1 to 5: writes the cell's characters (two bytes) to `out`, reseeding `random` from
    // `seeds`. The writer passes copies it keeps in registers for a row (bytes written through a
    // char pointer could alias any member) and the generator as the DefaultRandom it is, so the
    // draws inline.
    template <int Mode, class Gen>
    [[gnu::always_inline]] static void randomCell(Gen& random, Seeds& seeds, char* out);
    void randomCell(char* out);
    // The run's generator when it is the program's own, else null.
    DefaultRandom* defaultRandom() const { return defaultRandom_; }

    // The characters of the next cell of any mode, Windows-1252 bytes.
    std::string cell(Colour c);

  private:
    static constexpr char kHexDigits[] = "0123456789ABCDEF";

    // Integer part of (random × n), kept within 0..n-1 should a generator return 1.
    static int draw(Random& random, int n) {
        const int value = static_cast<int>(static_cast<double>(random.next()) * n);
        return value < 0 ? 0 : (value >= n ? n - 1 : value);
    }
    static int draw(DefaultRandom& random, int n) {
        return static_cast<int>(random.below(static_cast<std::uint32_t>(n)));
    }

    int mode_;
    Clock& clock_;
    Random& random_;
    DefaultRandom* defaultRandom_;
    Seeds seeds_;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;
    Slot empty_;
};

template <int Mode, class Gen>
inline void CellChars::randomCell(Gen& random, Seeds& seeds, char* out) {
    if constexpr (Mode == 1) {
        for (int i = 0; i < 2; ++i) {
            random.reseed(seeds.next());
            out[i] = static_cast<char>('A' + draw(random, 26));
        }
    } else if constexpr (Mode == 2) {
        random.reseed(seeds.next());
        out[0] = static_cast<char>('0' + draw(random, 10));
        out[1] = '0';
    } else if constexpr (Mode == 3) {
        random.reseed(seeds.next());
        out[0] = static_cast<char>('0' + draw(random, 2));
        out[1] = static_cast<char>('0' + draw(random, 2));
    } else if constexpr (Mode == 4) {
        random.reseed(seeds.next());
        out[0] = static_cast<char>(161 + draw(random, 94));
        out[1] = static_cast<char>(161 + draw(random, 94));
    } else if constexpr (Mode == 5) {
        random.reseed(seeds.next());
        const int value = draw(random, 256);
        out[0] = kHexDigits[value >> 4];
        out[1] = kHexDigits[value & 15];
    }
}

}  // namespace tess
