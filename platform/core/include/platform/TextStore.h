#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

// The characters of a long editable text, in UTF-16, with the start of each of its lines. A line
// ends with a CR LF, a lone CR or a lone LF, and the line after the last break may be empty. The
// characters lie in one block with a gap at the place of the last change, so a change costs the
// distance from the one before; the text costs two bytes a character and four a line.
class TextStore {
  public:
    // The most characters a store holds.
    static constexpr std::size_t kMaxSize = UINT32_MAX - 1;

    TextStore();

    std::size_t size() const { return capacity_ - (gapEnd_ - gapStart_); }
    char16_t at(std::size_t i) const {
        return i < gapStart_ ? chars_[i] : chars_[i + (gapEnd_ - gapStart_)];
    }
    // Copies the characters [from, from + count) to `out`.
    void copy(std::size_t from, std::size_t count, char16_t* out) const;
    std::u16string mid(std::size_t from, std::size_t count) const;

    std::size_t lineCount() const { return starts_.size(); }
    std::size_t lineStart(std::size_t line) const { return starts_[line]; }
    // The end of the line's characters, before its break.
    std::size_t lineEnd(std::size_t line) const;
    // The line that holds `place` (a place inside a break belongs to the line it ends).
    std::size_t lineOf(std::size_t place) const;
    // Whether `place` lies between the CR and the LF of one line end, where no caret may stand.
    bool insideBreak(std::size_t place) const {
        return place > 0 && place < size() && at(place - 1) == u'\r' && at(place) == u'\n';
    }

    // Replaces the characters [from, from + count) by `text`. Throws std::bad_alloc, with the
    // store as it was, when the memory is not there or the text would pass kMaxSize.
    void replace(std::size_t from, std::size_t count, std::u16string_view text);
    void append(std::u16string_view text) { replace(size(), 0, text); }
    // Takes the room for `units` characters and `lines` lines in all at once, so a store filled
    // with append grows no further (and a fill that cannot fit fails at the start).
    void reserve(std::size_t units, std::size_t lines);
    void swap(TextStore& other) noexcept;

  private:
    void moveGap(std::size_t to);
    void growChars(std::size_t units);

    std::unique_ptr<char16_t[]> chars_;
    std::size_t capacity_ = 0;
    std::size_t gapStart_ = 0;
    std::size_t gapEnd_ = 0;
    // The first place of every line; the first is 0.
    std::vector<std::uint32_t> starts_;
};

}  // namespace tess
