#include "platform/TextStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tess {

namespace {

// Room left beside a text that has just been filled or has just grown, so typing into it does not
// move the whole text at every key.
constexpr std::size_t kSpareUnits = std::size_t{1} << 14;
constexpr std::size_t kSpareLines = 1024;

std::size_t breaksIn(std::u16string_view text) {
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        breaks +=
            text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
                ? 1
                : 0;
    return breaks;
}

// memmove that takes no pointer when there is nothing to move (an empty store has no block, and
// an empty view may have no characters).
void moveChars(char16_t* to, const char16_t* from, std::size_t count) {
    if (count > 0)
        std::memmove(to, from, count * sizeof(char16_t));
}

}  // namespace

TextStore::TextStore() : starts_{0} {}

void TextStore::copy(std::size_t from, std::size_t count, char16_t* out) const {
    const std::size_t before = from < gapStart_ ? std::min(count, gapStart_ - from) : 0;
    moveChars(out, chars_.get() + from, before);
    const std::size_t gap = gapEnd_ - gapStart_;
    moveChars(out + before, chars_.get() + from + before + gap, count - before);
}

std::u16string TextStore::mid(std::size_t from, std::size_t count) const {
    std::u16string text(count, u'\0');
    copy(from, count, text.data());
    return text;
}

std::size_t TextStore::lineEnd(std::size_t line) const {
    if (line + 1 == starts_.size())
        return size();
    const std::size_t next = starts_[line + 1];
    return next >= 2 && at(next - 2) == u'\r' && at(next - 1) == u'\n' ? next - 2 : next - 1;
}

std::size_t TextStore::lineOf(std::size_t place) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), place);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void TextStore::moveGap(std::size_t to) {
    char16_t* chars = chars_.get();
    const std::size_t gap = gapEnd_ - gapStart_;
    if (to < gapStart_)
        moveChars(chars + to + gap, chars + to, gapStart_ - to);
    else if (to > gapStart_)
        moveChars(chars + gapStart_, chars + gapEnd_, to - gapStart_);
    gapStart_ = to;
    gapEnd_ = to + gap;
}

// A new block of `units` characters, the text in it with the gap where it was.
void TextStore::growChars(std::size_t units) {
    auto chars = std::unique_ptr<char16_t[]>(new char16_t[units]);
    const std::size_t tail = capacity_ - gapEnd_;
    moveChars(chars.get(), chars_.get(), gapStart_);
    moveChars(chars.get() + units - tail, chars_.get() + gapEnd_, tail);
    chars_ = std::move(chars);
    gapEnd_ = units - tail;
    capacity_ = units;
}

void TextStore::reserve(std::size_t units, std::size_t lines) {
    if (units > kMaxSize || lines > kMaxSize)
        throw std::bad_alloc();
    if (units > size())
        growChars(std::max(capacity_, units + kSpareUnits));
    starts_.reserve(lines + kSpareLines);
}

void TextStore::replace(std::size_t from, std::size_t count, std::u16string_view text) {
    const std::size_t oldSize = size();
    if (text.size() > kMaxSize - (oldSize - count))
        throw std::bad_alloc();
    const std::size_t newSize = oldSize - count + text.size();
    const std::size_t to = from + text.size();

    // Whether a line starts at a place of the new text, told from the old one and `text`.
    const auto newAt = [&](std::size_t i) {
        return i < from ? at(i) : i < to ? text[i - from] : at(i - text.size() + count);
    };
    const auto startsNewLine = [&](std::size_t place) {
        const char16_t last = newAt(place - 1);
        return last == u'\n' || (last == u'\r' && (place == newSize || newAt(place) != u'\n'));
    };
    // Only the starts in [from, from + count] can change (each depends on the characters on its
    // two sides); there, they are those of [from, to] in the new text.
    std::vector<std::uint32_t> made;
    made.reserve(breaksIn(text) + 2);
    for (std::size_t place = std::max<std::size_t>(from, 1); place <= to; ++place)
        if (startsNewLine(place))
            made.push_back(static_cast<std::uint32_t>(place));
    const auto first = std::lower_bound(starts_.begin() + 1, starts_.end(), from);
    const auto last = std::upper_bound(first, starts_.end(), from + count);
    const auto firstAt = static_cast<std::size_t>(first - starts_.begin());
    const auto dropped = static_cast<std::size_t>(last - first);
    const std::size_t lines = starts_.size() - dropped + made.size();
    if (lines > starts_.capacity())
        starts_.reserve(lines + lines / 8 + kSpareLines);
    if (text.size() > count + (gapEnd_ - gapStart_))
        growChars(newSize + newSize / 8 + kSpareUnits);

    // Nothing below allocates.
    moveGap(from);
    gapEnd_ += count;
    moveChars(chars_.get() + gapStart_, text.data(), text.size());
    gapStart_ += text.size();

    const auto shift = static_cast<std::uint32_t>(text.size() - count);  // modulo 2^32
    for (std::size_t i = firstAt + dropped; i < starts_.size(); ++i)
        starts_[i] += shift;
    if (made.size() >= dropped) {
        starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(firstAt + dropped),
                       made.size() - dropped, 0);
    } else {
        starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(firstAt + made.size()),
                      starts_.begin() + static_cast<std::ptrdiff_t>(firstAt + dropped));
    }
    std::copy(made.begin(), made.end(), starts_.begin() + static_cast<std::ptrdiff_t>(firstAt));
}

void TextStore::swap(TextStore& other) noexcept {
    std::swap(chars_, other.chars_);
    std::swap(capacity_, other.capacity_);
    std::swap(gapStart_, other.gapStart_);
    std::swap(gapEnd_, other.gapEnd_);
    starts_.swap(other.starts_);
}

}  // namespace tess
