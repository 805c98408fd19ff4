#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/CellChars.h"
#include "engine/MosaicTarget.h"
#include "engine/PageFile.h"
#include "engine/PageFormat.h"
#include "engine/RunResult.h"
#include "engine/SpeedLog.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Picture.h"
#include "platform/Random.h"

namespace tess {

struct MosaicOptions;

// The page writer of one run: head, cells with their colour runs, row ends and trailer, streamed
// to the target through a buffer that is flushed once it holds kFlushAt characters or more and at
// every row end. The cell loop lives here in the header so that a run's per-cell hook inlines.
class MosaicWriter {
  public:
    static constexpr std::size_t kFlushAt = 25000;

    // The picture and options must outlive the writer.
    MosaicWriter(const Picture& picture, const MosaicOptions& options, Clock& clock,
                 Random& random);
    MosaicWriter(const MosaicWriter&) = delete;
    MosaicWriter& operator=(const MosaicWriter&) = delete;

    // Takes the start of the log record, opens the target and writes the head.
    Status begin(const MosaicTarget& target);
    // The rows to write: none for a picture without pixels.
    int rows() const { return picture_.empty() ? 0 : picture_.height(); }
    // The cells of row y; afterCell(cellsWritten) follows every cell.
    template <class CellHook>
    void writeRow(int y, CellHook&& afterCell);
    // The row end; reports the first write of the row that failed.
    Status endRow();
    std::int32_t cellsWritten() const { return written_; }
    // The trailer, then the file put in place or the clipboard text handed over, then the log
    // record, written to `speedLog` when one is given and on.
    Result<RunResult> finish(bool cancelled, const SpeedLog* speedLog);

  private:
    static constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;
    // The colour-change form with room for its six digits; padded to 32 bytes so it copies whole.
    static constexpr char kChangeForm[32] = "</font><font color=\"#000000\">";
    static constexpr std::size_t kChangeLength = 29;
    static constexpr std::size_t kChangeDigits = 21;
    static constexpr std::size_t kFirstSkip = 7;  // the first cell has no "</font>" in front
    static constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
        constexpr char digits[] = "0123456789ABCDEF";
        std::array<std::array<char, 2>, 256> pairs{};
        for (std::size_t i = 0; i < 256; ++i) {
            pairs[i] = {digits[i >> 4], digits[i & 15]};
        }
        return pairs;
    }();

    void put(std::string_view piece);
    void flush(char* end);
    char* firstRun(char* out, std::uint32_t colour);

    char* openRun(char* out, std::uint32_t colour) {
        if (first_) [[unlikely]] {
            return firstRun(out, colour);
        }
        std::memcpy(out, kChangeForm, sizeof kChangeForm);
        char* digits = out + kChangeDigits;
        std::memcpy(digits, kHexPairs[colour & 255].data(), 2);
        std::memcpy(digits + 2, kHexPairs[(colour >> 8) & 255].data(), 2);
        std::memcpy(digits + 4, kHexPairs[(colour >> 16) & 255].data(), 2);
        return out + kChangeLength;
    }

    template <class CellHook, class Chars>
    void writeCells(const std::uint32_t* pixels, int width, CellHook& afterCell, Chars chars) {
        char* out = buffer_.data();
        std::uint32_t previous = previous_;
        std::int32_t written = written_;
        char* const flushAt = buffer_.data() + kFlushAt;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = pixels[x] & 0xFFFFFFu;
            if (colour != previous) {
                out = openRun(out, colour);
                previous = colour;
            }
            out = chars(out, colour);
            if (out >= flushAt || x == width - 1) {
                flush(out);
                out = buffer_.data();
            }
            ++written;
            afterCell(written);
        }
        previous_ = previous;
        written_ = written;
    }

    template <int Mode, class CellHook>
    void writeRandomRow(const std::uint32_t* pixels, int width, CellHook& afterCell) {
        chars_.readClock();
        DefaultRandom* shared = chars_.defaultRandom();
        if (shared == nullptr) {
            writeCells(pixels, width, afterCell, [this](char* out, std::uint32_t) {
                chars_.randomCell(out);
                return out + 2;
            });
            return;
        }
        // The run has the generator to itself (every other command waits for its end), so it
        // draws from a local copy for the row and hands the state back after.
        DefaultRandom random = *shared;
        CellChars::Seeds seeds = chars_.seeds();
        writeCells(pixels, width, afterCell, [&random, &seeds](char* out, std::uint32_t) {
            CellChars::randomCell<Mode>(random, seeds, out);
            return out + 2;
        });
        *shared = random;
        chars_.seeds() = seeds;
    }

    const Picture& picture_;
    const MosaicOptions& options_;
    Clock& clock_;
    CellChars chars_;
    page::Seams seams_ = page::Seams::File;
    PageSink* sink_ = nullptr;  // null: the page is gathered in text_
    PageFile file_;
    bool toFile_ = false;
    Clipboard* clipboard_ = nullptr;
    std::string text_;
    bool ascii_ = true;  // whether the page gathered in text_ is plain ASCII
    bool first_ = true;
    std::uint32_t previous_ = kNoColour;
    std::int32_t written_ = 0;
    Status status_;
    SpeedLogRecord log_;
    std::uint32_t startTick_ = 0;
    // Room behind kFlushAt for the largest cell plus the whole-form copies.
    std::array<char, kFlushAt + 64> buffer_;
};

template <class CellHook>
void MosaicWriter::writeRow(int y, CellHook&& afterCell) {
    const std::uint32_t* pixels = picture_.row(y);
    const int width = picture_.width();
    switch (chars_.mode()) {
        case 0:
            writeCells(pixels, width, afterCell, [this](char* out, std::uint32_t) {
                const CellChars::Slot& slot = chars_.nextCustom();
                std::memcpy(out, slot.bytes.data(), slot.bytes.size());
                return out + slot.size;
            });
            break;
        case 1:
            writeRandomRow<1>(pixels, width, afterCell);
            break;
        case 2:
            writeRandomRow<2>(pixels, width, afterCell);
            break;
        case 3:
            writeRandomRow<3>(pixels, width, afterCell);
            break;
        case 4:
            writeRandomRow<4>(pixels, width, afterCell);
            break;
        case 5:
            writeRandomRow<5>(pixels, width, afterCell);
            break;
        case 6:
            writeCells(pixels, width, afterCell, [](char* out, std::uint32_t colour) {
                std::memcpy(out, smart::pairOf(colour), 2);
                return out + 2;
            });
            break;
        default:
            writeCells(pixels, width, afterCell, [](char* out, std::uint32_t) { return out; });
            break;
    }
}

}  // namespace tess
