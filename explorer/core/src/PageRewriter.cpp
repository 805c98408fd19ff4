#include "explorer/PageRewriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESS_MARKUP_AVX2
#endif

#include "explorer/PageFile.h"
#include "explorer/PageReader.h"
#include "platform/AtomicFile.h"
#include "platform/Text.h"

namespace tess::explorer {

namespace {

constexpr std::string_view kTitleOpen = "<title>";
constexpr std::string_view kTitleClose = "</title>";
constexpr std::string_view kBodyStart = "<body bgcolor=\"";
constexpr std::string_view kTagEnd = "\">";
constexpr std::string_view kFontSize = "<font size=\"";
constexpr std::string_view kNoFontSize = "<nofont size=\"";
constexpr std::string_view kPreRule = " pre { ";
constexpr std::string_view kNoPreRule = " nopre { ";
constexpr std::string_view kPreOpen = " pre {";
constexpr std::string_view kNoPreOpen = " nopre {";
constexpr std::string_view kSizeRule = " pre { font-size: ";
constexpr std::string_view kRuleEnd = " }";
constexpr std::string_view kPictureStart = "<center><pre>";
constexpr std::string_view kCssPrefix = "CSS - ";
constexpr std::string_view kStyleTag = "<style type=\"text/css\">";

// The first exact occurrence of `what` at or after `from`.
std::size_t findExact(std::string_view text, std::string_view what, std::size_t from = 0) {
    if (from > text.size()) {
        return std::string_view::npos;
    }
    const void* hit = ::memmem(text.data() + from, text.size() - from, what.data(), what.size());
    return hit == nullptr ? std::string_view::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// A range of a page text that no replacement may touch.
struct Kept {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// A page text changed step by step. It copies the page only once a step finds something, so
// steps that find nothing cost one search each. An occurrence that overlaps the kept range is
// left as it stands, and the range moves with the text in front of it.
class Draft {
  public:
    explicit Draft(std::string_view base, std::optional<Kept> kept = std::nullopt)
        : base_(base), kept_(kept) {}

    std::string_view text() const { return changed_ ? std::string_view(*changed_) : base_; }
    bool contains(std::string_view what) const {
        return findExact(text(), what) != std::string_view::npos;
    }
    // Every occurrence of `what` by `with`, case-sensitively; false when none was replaced.
    bool replace(std::string_view what, std::string_view with) {
        const std::string_view current = text();
        std::size_t at = findExact(current, what);
        std::string out;
        std::size_t from = 0;
        std::size_t replacedBefore = 0;  // occurrences in front of the kept range
        bool any = false;
        while (at != std::string_view::npos) {
            const std::size_t end = at + what.size();
            if (kept_ && at < kept_->end && end > kept_->begin) {
                at = findExact(current, what, at + 1);
                continue;
            }
            if (!any) {
                out.reserve(current.size() + with.size() - std::min(with.size(), what.size()));
                any = true;
            }
            out.append(current, from, at - from);
            out.append(with);
            from = end;
            if (kept_ && end <= kept_->begin) {
                ++replacedBefore;
            }
            at = findExact(current, what, from);
        }
        if (!any) {
            return false;
        }
        out.append(current, from);
        if (kept_) {
            kept_->begin =
                kept_->begin + replacedBefore * with.size() - replacedBefore * what.size();
            kept_->end = kept_->end + replacedBefore * with.size() - replacedBefore * what.size();
        }
        changed_ = std::move(out);
        return true;
    }
    bool changed() const { return changed_.has_value(); }
    const std::optional<Kept>& kept() const { return kept_; }
    std::string take() && { return std::move(*changed_); }

  private:
    std::string_view base_;
    std::optional<Kept> kept_;
    std::optional<std::string> changed_;
};

// Where the steps look. A page's markup lies in its head, and the rest (the picture's cells) holds
// nothing a rewrite matches, so the steps run on the head alone and the rest is kept as it
// stands. While they do, a reader whose answer could reach past the head (a value running into
// the head's last line end, a size rule whose end lies beyond it) marks the run as spilt, and the
// rewrite is done again on the whole page.
struct Scope {
    bool head = false;
    bool spilt = false;
};

// The page while its colour and size are rewritten: the title's text masked (MaskTitle), and the
// title element, tags included, kept from every replacement.
struct Marked {
    std::string text;
    std::optional<Kept> title;
    Scope* scope = nullptr;

    Draft draft() const { return Draft(text, title); }
    void take(Draft&& draft) {
        if (draft.changed()) {
            title = draft.kept();
            text = std::move(draft).take();
        }
    }
};

// Whether `lowerPattern` stands at `at`, letters compared without regard to case.
bool standsAt(std::string_view text, std::size_t at, std::string_view lowerPattern) {
    if (at > text.size() || text.size() - at < lowerPattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerPattern.size(); ++i) {
        const char c = text[at + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lowerPattern[i]) {
            return false;
        }
    }
    return true;
}

// The tags and rules the readers and the replacements look for, in lower case: every text a rewrite
// replaces or looks for begins with one of them.
constexpr std::string_view kMarkupTags[] = {"<title>",       "</title>",        "<body bgcolor=\"",
                                            "<font size=\"", "<nofont size=\"", kStyleTag,
                                            kPictureStart};
constexpr std::string_view kMarkupRules[] = {" pre {", " nopre {"};

// Up to the first eight bytes of `text` in one word, every byte with its 0x20 bit set: a letter in
// lower case, and every non-letter of the markup above as it is.
std::uint64_t foldedWord(std::string_view text) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data(), std::min<std::size_t>(8, text.size()));
    return word | 0x2020202020202020ull;
}

// The end of markup standing at `at`, a '<' or a '{', or 0 for none.
std::size_t markupAt(std::string_view text, std::size_t at) {
    if (text[at] == '{') {
        for (std::string_view rule : kMarkupRules) {
            if (at + 1 >= rule.size() && standsAt(text, at + 1 - rule.size(), rule)) {
                return at + 1;
            }
        }
        return 0;
    }
    // One word compare per tag turns away the picture's colour tags; a tag shorter than a word
    // compares its own bytes only.
    static const auto kWords = [] {
        std::array<std::pair<std::uint64_t, std::uint64_t>, std::size(kMarkupTags)> words{};
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::size_t n = std::min<std::size_t>(8, kMarkupTags[i].size());
            std::array<unsigned char, 8> bytes{};
            std::fill_n(bytes.begin(), n, 0xFF);
            std::uint64_t mask = 0;
            std::memcpy(&mask, bytes.data(), 8);
            words[i] = {foldedWord(kMarkupTags[i]) & mask, mask};
        }
        return words;
    }();
    const bool whole = text.size() - at >= 8;
    const std::uint64_t word = whole ? foldedWord(text.substr(at)) : 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < std::size(kMarkupTags); ++i) {
        if ((!whole || (word & kWords[i].second) == kWords[i].first) &&
            standsAt(text, at, kMarkupTags[i])) {
            end = std::max(end, at + kMarkupTags[i].size());
        }
    }
    return end;
}

#ifdef TESS_MARKUP_AVX2
// The bulk of lastMarkupIn, 32 bytes at a time, from `at` on while a whole block lies before `to`;
// `at` is left where it stopped.
[[gnu::target("avx2")]] std::size_t lastMarkupAvx2(std::string_view text, std::size_t& at,
                                                   std::size_t to) {
    std::size_t end = 0;
    const char* data = text.data();
    const __m256i fold = _mm256_set1_epi8(0x20);
    const __m256i open = _mm256_set1_epi8('<');
    const __m256i brace = _mm256_set1_epi8('{');
    const __m256i f = _mm256_set1_epi8('f');
    const __m256i c = _mm256_set1_epi8('c');
    const __m256i slash = _mm256_set1_epi8('/');
    for (; at + 38 <= text.size() && at + 32 <= to; at += 32) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + 1));
        const __m256i third = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + 2));
        const __m256i seventh = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + 6));
        const __m256i colourTag =
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(second, fold), f),
                             _mm256_cmpeq_epi8(_mm256_or_si256(seventh, fold), c));
        const __m256i closingTag = _mm256_and_si256(
            _mm256_cmpeq_epi8(second, slash), _mm256_cmpeq_epi8(_mm256_or_si256(third, fold), f));
        const __m256i tags = _mm256_andnot_si256(_mm256_or_si256(colourTag, closingTag),
                                                 _mm256_cmpeq_epi8(first, open));
        auto hits = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_or_si256(tags, _mm256_cmpeq_epi8(first, brace))));
        while (hits != 0) {
            end = std::max(end, markupAt(text, at + static_cast<std::size_t>(__builtin_ctz(hits))));
            hits &= hits - 1;
        }
    }
    return end;
}
#endif

// The end of the last markup above that stands at a place from `from` to before `to`, or 0 for
// none. The markup may reach past `to`: the whole of `text` is looked at around each place.
std::size_t lastMarkupIn(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t end = 0;
    std::size_t at = from;
#ifdef TESS_MARKUP_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        end = lastMarkupAvx2(text, at, to);
    }
#endif
#if defined(__SSE2__)
    // Sixteen bytes at a time. A page's picture has a colour tag every few cells: its "<font c"
    // and "</f" are passed over here, every other '<' and every '{' is looked at.
    const auto byte = [](char c) { return _mm_set1_epi8(c); };
    const auto at16 = [&](std::size_t i) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    };
    const __m128i fold = byte(0x20);
    for (; at + 22 <= text.size() && at + 16 <= to; at += 16) {
        const __m128i first = at16(at);
        const __m128i second = at16(at + 1);
        const __m128i colourTag =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(second, fold), byte('f')),
                          _mm_cmpeq_epi8(_mm_or_si128(at16(at + 6), fold), byte('c')));
        const __m128i closingTag =
            _mm_and_si128(_mm_cmpeq_epi8(second, byte('/')),
                          _mm_cmpeq_epi8(_mm_or_si128(at16(at + 2), fold), byte('f')));
        const __m128i tags =
            _mm_andnot_si128(_mm_or_si128(colourTag, closingTag), _mm_cmpeq_epi8(first, byte('<')));
        auto hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(tags, _mm_cmpeq_epi8(first, byte('{')))));
        while (hits != 0) {
            end = std::max(end, markupAt(text, at + static_cast<std::size_t>(__builtin_ctz(hits))));
            hits &= hits - 1;
        }
    }
#endif
    for (; at < to; ++at) {
        if (text[at] == '<' || text[at] == '{') {
            end = std::max(end, markupAt(text, at));
        }
    }
    return end;
}

// Where the part of the page begins that holds, in any letter case, none of the markup above:
// after the line end that follows the last of it; the page's length when no line end follows.
std::size_t markupEnd(std::string_view text) {
    const std::size_t end = lastMarkupIn(text, 0, text.size());
    const std::size_t lineEnd = text.find('\n', end);
    return lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
}

// The page holds a size rule in a style block, but not the rule's end.
bool ruleRunsOn(std::string_view text) {
    if (FindNoCase(text, kStyleTag) == std::string_view::npos) {
        return false;
    }
    const std::size_t rule = FindNoCase(text, kSizeRule);
    return rule != std::string_view::npos &&
           FindNoCase(text, kRuleEnd, rule + kSizeRule.size()) == std::string_view::npos;
}

// GetBGColor and GetSimpleFontSize, watching the scope.
std::string colourIn(Scope& scope, std::string_view text) {
    std::string colour = GetBGColor(text);
    if (scope.head && colour.find('\n') != std::string::npos) {
        scope.spilt = true;
    }
    return colour;
}
std::string sizeIn(Scope& scope, std::string_view text) {
    std::string size = GetSimpleFontSize(text);
    if (scope.head &&
        (size.find('\n') != std::string::npos || (size == kUnknown && ruleRunsOn(text)))) {
        scope.spilt = true;
    }
    return size;
}

FieldOutcome taken(Field field) {
    return FieldOutcome{field, true, {}};
}
FieldOutcome refused(Field field, std::string why) {
    return FieldOutcome{field, false, std::move(why)};
}

bool isColourText(std::string_view colour) {
    if (colour.size() != 7 || colour[0] != '#') {
        return false;
    }
    for (char c : colour.substr(1)) {
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!digit) {
            return false;
        }
    }
    return true;
}

// A CSS size text that cannot end its rule early or leave the head's line.
bool isCssSizeText(std::string_view size) {
    if (size.empty()) {
        return false;
    }
    for (char c : size) {
        if (c == '}' || c == '{' || c == '<' || c == '>' || c == '"' || c == ';' || c == '\r' ||
            c == '\n' || c == '\0') {
            return false;
        }
    }
    return size.find(" }") == std::string_view::npos;
}

// Every occurrence of `lowerPattern` in any letter case is exactly `exact`, and there is one.
bool onlyExact(std::string_view text, std::string_view lowerPattern, std::string_view exact) {
    std::size_t count = 0;
    for (std::size_t at = FindNoCase(text, lowerPattern); at != std::string_view::npos;
         at = FindNoCase(text, lowerPattern, at + 1)) {
        if (text.compare(at, exact.size(), exact) != 0) {
            return false;
        }
        ++count;
    }
    return count > 0;
}

FieldOutcome rewriteTitle(std::string& text, const MosaicRow& row) {
    if (std::optional<std::string> fault = titleFault(row.title)) {
        return refused(Field::Title, *fault);
    }
    const std::optional<TitleSpan> span = FindTitle(text);
    if (!span) {
        return refused(Field::Title, "the page has no title element");
    }
    const std::string raw = cp1252::fromUtf8(row.title);
    const std::string_view old = std::string_view(text).substr(span->begin, span->size());
    Draft draft(text);
    if (!draft.replace(std::string(kTitleOpen) + std::string(old) + std::string(kTitleClose),
                       std::string(kTitleOpen) + raw + std::string(kTitleClose))) {
        return refused(Field::Title, "its title tags are not written in lower case");
    }
    // The element the readers find must be the one that changed.
    const std::optional<TitleSpan> now = FindTitle(draft.text());
    if (!now || draft.text().substr(now->begin, now->size()) != raw) {
        return refused(Field::Title, "its first title element is not written in lower case");
    }
    text = std::move(draft).take();
    return taken(Field::Title);
}

// The page's first body tag reads exactly <body bgcolor="COLOUR">.
bool colourHolds(Scope& scope, std::string_view text, std::string_view colour) {
    if (colourIn(scope, text) != colour) {
        return false;
    }
    const std::string tag = std::string(kBodyStart) + std::string(colour) + std::string(kTagEnd);
    return text.compare(FindNoCase(text, "<body bgcolor=\"#"), tag.size(), tag) == 0;
}

// The page reads the HTML size `size` from its one kind of size tag, and holds no active rule.
bool htmlSizeHolds(Scope& scope, std::string_view text, std::string_view size) {
    const std::string wanted = std::string(kFontSize) + std::string(size) + std::string(kTagEnd);
    return sizeIn(scope, text) == size && FindNoCase(text, kPreRule) == std::string_view::npos &&
           onlyExact(text, "<font size=\"", wanted);
}

// The page reads the CSS size `size` from its one rule, and holds no active size tag.
bool cssSizeHolds(Scope& scope, std::string_view text, std::string_view size) {
    const std::string rule = std::string(kSizeRule) + std::string(size) + std::string(kRuleEnd);
    return sizeIn(scope, text) == size &&
           FindNoCase(text, "<font size=\"") == std::string_view::npos &&
           onlyExact(text, kPreRule, rule);
}

// A piece of the page for a message: at most `most` bytes, as UTF-8.
std::string shown(std::string_view bytes, std::size_t most = 24) {
    return cp1252::toUtf8(bytes.substr(0, most)) + (bytes.size() > most ? "..." : "");
}

// Why the colour step cannot rewrite the page's background colour: what its body tag holds in
// place of the one form the step changes, <body bgcolor="#RRGGBB">.
std::string colourTagFault(std::string_view text) {
    constexpr std::string_view kAttribute = "<body bgcolor=";
    const std::size_t at = FindNoCase(text, kAttribute);
    if (at == std::string_view::npos) {
        return "the page has no background colour tag (<body bgcolor=...>)";
    }
    std::string_view tag = text.substr(at);
    tag = tag.substr(0, std::min(tag.find_first_of(">\r\n"), tag.size()));
    const std::string_view value = tag.substr(kAttribute.size());
    if (value.substr(0, 2) != "\"#") {
        const std::string_view written =
            value.substr(0, std::min(value.find_first_of(" \t"), value.size()));
        return value.substr(0, 1) == "\""
                   ? "its background colour is written " + shown(written) +
                         ", not as \"#RRGGBB\" in hexadecimal digits"
                   : "its background colour is written without quotes (bgcolor=" + shown(written) +
                         "), not as bgcolor=\"#RRGGBB\"";
    }
    const std::string_view digits = value.substr(1, std::min(value.find('"', 1), value.size()) - 1);
    if (!isColourText(digits)) {
        return "its background colour is written \"" + shown(digits) +
               "\", not in six hexadecimal digits as \"#RRGGBB\"";
    }
    if (tag.compare(0, kAttribute.size(), kAttribute) != 0) {
        return "its body tag is written in capitals (" + shown(tag.substr(0, kAttribute.size())) +
               "...), not as <body bgcolor=\"#RRGGBB\">";
    }
    if (tag.size() != kAttribute.size() + digits.size() + 2) {
        return "its body tag holds more than the colour (" + shown(tag, 40) +
               ">), not only <body bgcolor=\"#RRGGBB\">";
    }
    return "its body tag does not read <body bgcolor=\"#RRGGBB\">";
}

FieldOutcome rewriteColour(Marked& page, const MosaicRow& row) {
    if (!isColourText(row.bgColor)) {
        return refused(Field::BGColor, "\"" + row.bgColor + "\" is not a colour");
    }
    const std::string old = colourIn(*page.scope, page.text);
    if (old == kUnknown) {
        return refused(Field::BGColor, colourTagFault(page.text));
    }
    Draft draft = page.draft();
    const std::string start(kBodyStart);
    if (!draft.replace(start + old + std::string(kTagEnd),
                       start + row.bgColor + std::string(kTagEnd)) ||
        !colourHolds(*page.scope, draft.text(), row.bgColor)) {
        return refused(Field::BGColor, colourTagFault(page.text));
    }
    page.take(std::move(draft));
    return taken(Field::BGColor);
}

FieldOutcome rewriteHtmlSize(Marked& page, const std::string& size) {
    Scope& scope = *page.scope;
    const std::string start(kFontSize);
    const std::string wanted = start + size + std::string(kTagEnd);
    Draft draft = page.draft();
    draft.replace(kPreRule, kNoPreRule);
    auto resize = [&] {
        draft.replace(start + sizeIn(scope, draft.text()) + std::string(kTagEnd), wanted);
    };
    resize();
    if (!draft.contains(wanted)) {
        draft.replace(kNoFontSize, kFontSize);
        resize();
    }
    if (!draft.contains(wanted)) {
        draft.replace(kPictureStart, std::string(kPictureStart) + wanted);
    }
    if (!htmlSizeHolds(scope, draft.text(), size)) {
        return refused(Field::FontSize,
                       "its size markup is not the converter's own (tags in capitals, a second "
                       "size rule or tag, or no picture block)");
    }
    page.take(std::move(draft));
    return taken(Field::FontSize);
}

FieldOutcome rewriteCssSize(Marked& page, const std::string& size) {
    Scope& scope = *page.scope;
    const std::string rule = std::string(kSizeRule) + size + std::string(kRuleEnd);
    Draft draft = page.draft();
    draft.replace(kFontSize, kNoFontSize);
    auto resize = [&] {
        draft.replace(std::string(kSizeRule) + sizeIn(scope, draft.text()) + std::string(kRuleEnd),
                      rule);
    };
    resize();
    if (!draft.contains(rule)) {
        draft.replace(kNoPreOpen, kPreOpen);
        resize();
    }
    if (!draft.contains(rule)) {
        const std::string body =
            std::string(kBodyStart) + colourIn(scope, draft.text()) + std::string(kTagEnd);
        const std::string block =
            body + "\r\n<style type=\"text/css\">\r\n <!--\r\n  pre { font-size: " + size +
            " }\r\n -->\r\n</style>\r\n";
        draft.replace(body, block);
    }
    if (!cssSizeHolds(scope, draft.text(), size)) {
        return refused(Field::FontSize,
                       "its size markup is not the converter's own (tags in capitals, a second "
                       "size rule or tag, or a body tag of another form)");
    }
    page.take(std::move(draft));
    return taken(Field::FontSize);
}

// The CSS size text of a font size "CSS - v", or nothing for any other font size.
std::optional<std::string> cssSizeOf(std::string_view fontSize) {
    if (fontSize.compare(0, kCssPrefix.size(), kCssPrefix) != 0) {
        return std::nullopt;
    }
    return cp1252::fromUtf8(fontSize.substr(kCssPrefix.size()));
}

bool isHtmlSize(std::string_view fontSize) {
    return fontSize == "-1" || fontSize == "-2";
}

FieldOutcome rewriteFontSize(Marked& page, const MosaicRow& row) {
    if (isHtmlSize(row.fontSize)) {
        return rewriteHtmlSize(page, row.fontSize);
    }
    if (const std::optional<std::string> css = cssSizeOf(row.fontSize);
        css && isCssSizeText(*css)) {
        return rewriteCssSize(page, *css);
    }
    return refused(Field::FontSize, "\"" + row.fontSize + "\" is not a font size");
}

// Whether the page now holds every field the steps took, as the readers find it.
bool readsBack(Scope& scope, std::string_view text, const MosaicRow& row,
               const std::vector<FieldOutcome>& fields) {
    std::string markup(text);
    const std::optional<TitleSpan> title = MaskTitle(markup);
    for (const FieldOutcome& f : fields) {
        if (!f.taken) {
            continue;
        }
        switch (f.field) {
            case Field::Title:
                if (!title ||
                    text.substr(title->begin, title->size()) != cp1252::fromUtf8(row.title)) {
                    return false;
                }
                break;
            case Field::BGColor:
                if (!colourHolds(scope, markup, row.bgColor)) {
                    return false;
                }
                break;
            case Field::FontSize:
                if (isHtmlSize(row.fontSize)
                        ? !htmlSizeHolds(scope, markup, row.fontSize)
                        : !cssSizeHolds(scope, markup, cssSizeOf(row.fontSize).value_or(""))) {
                    return false;
                }
                break;
        }
    }
    return true;
}

// The rewrite of `page` as the steps do it, within the scope.
PageRewrite rewriteIn(std::string_view page, const MosaicRow& row, Scope& scope) {
    PageRewrite out;
    std::string text(page);
    if (row.titleEdited()) {
        out.fields.push_back(rewriteTitle(text, row));
    }
    if (row.bgColorEdited() || row.fontSizeEdited()) {
        // The colour and size steps must not read or touch the title's text: it is masked while
        // they run, its element (tags included) is kept from their replacements, and its text is
        // put back after.
        Marked marked;
        marked.scope = &scope;
        std::string title;
        if (const std::optional<TitleSpan> span = FindTitle(text)) {
            title = text.substr(span->begin, span->size());
            marked.title = Kept{span->begin - kTitleOpen.size(), span->end + kTitleClose.size()};
        }
        MaskTitle(text);
        marked.text = std::move(text);
        if (row.bgColorEdited()) {
            out.fields.push_back(rewriteColour(marked, row));
        }
        if (row.fontSizeEdited()) {
            out.fields.push_back(rewriteFontSize(marked, row));
        }
        if (marked.title) {
            std::memcpy(marked.text.data() + marked.title->begin + kTitleOpen.size(), title.data(),
                        title.size());
        }
        text = std::move(marked.text);
    }
    // One step's replacement can take away what an earlier one wrote (a page whose size rule
    // holds its body tag): then the page keeps all its old values.
    if (!readsBack(scope, text, row, out.fields)) {
        PageRewrite kept;
        kept.page = std::string(page);
        for (const FieldOutcome& f : out.fields) {
            kept.fields.push_back(refused(
                f.field, f.taken ? "its markup for this field overlaps another edit's" : f.why));
        }
        return kept;
    }
    out.page = std::move(text);
    return out;
}

// A rewrite as two parts: the rewritten text of the page up to `rest`, and the page from `rest`
// on, which is kept as it stands.
struct Parts {
    PageRewrite head;
    std::size_t rest = 0;
};

Parts rewriteParts(std::string_view page, const MosaicRow& row) {
    const std::size_t end = markupEnd(page);
    if (end < page.size()) {
        Scope scope{true, false};
        PageRewrite head = rewriteIn(page.substr(0, end), row, scope);
        if (!scope.spilt) {
            return {std::move(head), end};
        }
    }
    Scope whole;
    return {rewriteIn(page, row, whole), page.size()};
}

// ---- A save, read and written piece by piece ----

// How much of a page a save reads first to find its head, and the pieces in which it copies the
// rest: only the head and one piece are ever held, whatever the page's length.
constexpr std::size_t kFirstRead = 64 * 1024;
constexpr std::size_t kPiece = 256 * 1024;
// What the markup search needs around a place: back to the start of the longest rule (" nopre {"
// is found at its '{'), and ahead over the longest tag (<style type="text/css">).
constexpr std::size_t kBehind = 8;
constexpr std::size_t kAhead = 32;

// Why a save left a page alone.
constexpr const char* kGone = "it was deleted or moved after the scan";
constexpr const char* kLink = "it is now a symbolic link to another file";
constexpr const char* kNotAFile = "it is no longer a regular file";
constexpr const char* kReplaced = "another file took its place after the scan";
constexpr const char* kChanged = "another program changed it after the scan";
constexpr const char* kChangedMeanwhile = "another program changed it while it was being saved";
constexpr const char* kNotAMosaic = "it is no longer a mosaic page (it has no generator line)";

// What a pass over the rest of a page found.
struct RestPass {
    std::uint64_t markupEnd = 0;  // the end of the last markup found, 0 for none
    bool shortened = false;       // the file ended before the length it had when opened
};

// The page from `from` to `length`, piece by piece: each piece goes to `out` (when given) and is
// searched for markup. `known` holds the page's first bytes, so what was read already is not read
// again. With `stopAtMarkup` the pass ends at the first piece that holds markup.
Result<RestPass> passRest(const PageFile& page, std::uint64_t from, std::uint64_t length,
                          std::string_view known, AtomicFile* out, bool stopAtMarkup) {
    RestPass pass;
    std::string buffer(kBehind + kAhead + kPiece, '\0');
    std::size_t kept = 0;        // bytes before the new piece: looked back at, or not yet searched
    std::size_t unsearched = 0;  // the last of those, not yet searched
    for (std::uint64_t at = from; at < length;) {
        char* into = buffer.data() + kept;
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, length - at));
        if (at < known.size()) {
            n = std::min(n, known.size() - static_cast<std::size_t>(at));
            std::memcpy(into, known.data() + at, n);
        } else {
            Result<std::size_t> got = page.readAt(at, into, n);
            if (!got) {
                return got.error();
            }
            if (*got == 0) {
                pass.shortened = true;
                return pass;
            }
            n = *got;
        }
        if (out != nullptr) {
            if (Status written = out->write(std::string_view(into, n)); !written) {
                return written.error();
            }
        }
        at += n;
        // Places with less than kAhead bytes after them wait for the next piece.
        const std::size_t size = kept + n;
        const std::size_t first = kept - unsearched;
        const std::size_t last =
            std::max(first, at == length ? size : size - std::min(size, kAhead));
        if (const std::size_t end =
                lastMarkupIn(std::string_view(buffer.data(), size), first, last);
            end != 0) {
            pass.markupEnd = std::max(pass.markupEnd, at - size + end);
            if (stopAtMarkup) {
                return pass;
            }
        }
        unsearched = size - last;
        const std::size_t keep = std::min(size, unsearched + kBehind);
        std::memmove(buffer.data(), buffer.data() + size - keep, keep);
        kept = keep;
    }
    return pass;
}

// The page's bytes from 0 to `end`; `shortened` when the file ends sooner.
Result<std::string> readTo(const PageFile& page, std::uint64_t end, bool& shortened) {
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(end));
    } catch (const std::exception&) {
        return Error{errc::OutOfMemory, "Not enough memory for the page's head"};
    }
    Result<std::size_t> got = page.readAt(0, bytes.data(), bytes.size());
    if (!got) {
        return got.error();
    }
    shortened = *got < bytes.size();
    return bytes;
}

// The page's first bytes, up to a line end after all the markup they hold (the whole page when no
// line end follows it). Where the head ends is a guess until the rest has been searched.
Result<std::string> readStart(const PageFile& page, bool& shortened) {
    const std::uint64_t length = page.stamp().size;
    for (std::uint64_t want = kFirstRead;; want *= 2) {
        Result<std::string> head = readTo(page, std::min(want, length), shortened);
        if (!head || shortened || head->size() == length || markupEnd(*head) < head->size()) {
            return head;
        }
    }
}

// Where the page's head ends, by a search of the whole file: after the line end that follows
// its last markup (its length when none follows).
Result<std::uint64_t> headEnd(const PageFile& page, bool& shortened) {
    const std::uint64_t length = page.stamp().size;
    Result<RestPass> all = passRest(page, 0, length, {}, nullptr, false);
    if (!all) {
        return all.error();
    }
    shortened = all->shortened;
    std::string piece(kPiece, '\0');
    for (std::uint64_t at = all->markupEnd; at < length && !shortened;) {
        Result<std::size_t> got = page.readAt(at, piece.data(), piece.size());
        if (!got) {
            return got.error();
        }
        shortened = *got == 0;
        if (const void* line = std::memchr(piece.data(), '\n', *got)) {
            return at + static_cast<std::uint64_t>(static_cast<const char*>(line) - piece.data()) +
                   1;
        }
        at += *got;
    }
    return length;
}

// What became of one try at writing a page.
enum class Written {
    Done,          // written, or nothing had changed
    MarkupBeyond,  // the head reaches further than its guessed end: nothing was written
    Spilt,         // a value runs past the head: the rewrite needs the whole page
    Changed,       // the file changed while it was read: nothing was written
};

// Writes the page with the rewritten `head` (its bytes up to where the head ends) followed by the
// rest from `restFrom`, taken from `whole` when the page is in memory, else copied piece by piece
// from the file. The new file takes the page's place only while the name still leads to the page
// as it was opened. Then the creation time the user saw is kept on the new file, and the row's
// stamp becomes the new file's.
Result<Written> replacePage(const PageFile& page, const std::string& path, std::string_view head,
                            std::uint64_t restFrom, std::string_view whole, std::string_view known,
                            MosaicRow& row, SaveReport& report) {
    const std::optional<PageStamp::Time> created = page.created();
    AtomicFile out;
    Status written = out.open(path);
    if (written) {
        written = out.write(head, whole.substr(std::min<std::uint64_t>(restFrom, whole.size())));
    }
    if (!written) {
        return written.error();
    }
    if (whole.empty()) {
        Result<RestPass> rest = passRest(page, restFrom, page.stamp().size, known, &out, true);
        if (!rest) {
            return rest.error();
        }
        if (rest->shortened) {
            return Written::Changed;
        }
        if (rest->markupEnd != 0) {
            return Written::MarkupBeyond;
        }
    }
    Result<PageStamp> now = page.restamp();
    if (!now) {
        return now.error();
    }
    if (!now->unchanged(page.stamp()) || !page.isAt(path)) {
        return Written::Changed;
    }
    if (Status committed = out.commit(); !committed) {
        return committed.error();
    }
    report.written = true;
    PageFile replaced;
    if (replaced.open(path, page.stamp().link)) {
        if (created) {
            (void)replaced.keepCreated(*created);
        }
        row.stamp = replaced.stamp();
    }
    return Written::Done;
}

// One try at a save: the rewrite of the page's head (`start`, the page's first bytes, whole or up
// to a line end after its markup) with its end at `end`.
Result<Written> saveOnce(const PageFile& page, const std::string& path, const std::string& start,
                         std::uint64_t end, MosaicRow& row, SaveReport& report) {
    const bool inMemory = start.size() == page.stamp().size;
    if (inMemory) {
        Parts parts = rewriteParts(start, row);
        report.fields = std::move(parts.head.fields);
        if (parts.head.page == std::string_view(start).substr(0, parts.rest)) {
            return Written::Done;
        }
        return replacePage(page, path, parts.head.page, parts.rest, start, {}, row, report);
    }
    Scope scope{true, false};
    const std::string_view head = std::string_view(start).substr(0, static_cast<std::size_t>(end));
    PageRewrite rewritten = rewriteIn(head, row, scope);
    if (scope.spilt) {
        return Written::Spilt;
    }
    report.fields = std::move(rewritten.fields);
    if (rewritten.page == head) {
        // Nothing to write, provided the head is where it was guessed to end.
        Result<RestPass> rest = passRest(page, end, page.stamp().size, start, nullptr, true);
        if (!rest) {
            return rest.error();
        }
        return rest->shortened        ? Written::Changed
               : rest->markupEnd != 0 ? Written::MarkupBeyond
                                      : Written::Done;
    }
    return replacePage(page, path, rewritten.page, end, {}, start, row, report);
}

}  // namespace

std::string_view fieldCaption(Field field) {
    switch (field) {
        case Field::Title:
            return MosaicRow::kColumnCaptions[0];
        case Field::FontSize:
            return MosaicRow::kColumnCaptions[3];
        case Field::BGColor:
            return MosaicRow::kColumnCaptions[4];
    }
    return {};
}

bool PageRewrite::allTaken() const {
    for (const FieldOutcome& f : fields) {
        if (!f.taken) {
            return false;
        }
    }
    return true;
}

std::vector<FieldOutcome> PageRewrite::refused() const {
    std::vector<FieldOutcome> out;
    for (const FieldOutcome& f : fields) {
        if (!f.taken) {
            out.push_back(f);
        }
    }
    return out;
}

bool SaveReport::allTaken() const {
    for (const FieldOutcome& f : fields) {
        if (!f.taken) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> titleFault(std::string_view title) {
    if (FindNoCase(title, kTitleClose) != std::string_view::npos) {
        return "the title holds \"</title>\"";
    }
    if (title.find_first_of("\r\n") != std::string_view::npos) {
        return "the title holds a line break";
    }
    if (title.find('\0') != std::string_view::npos) {
        return "the title holds a NUL character";
    }
    // The page is Windows-1252: a character it cannot hold would be written as "?".
    std::u32string missing;
    for (const char32_t c : utf8::decode(title)) {
        if (c != U'?' && cp1252::encode(c) == '?' && missing.find(c) == std::u32string::npos) {
            missing += c;
        }
    }
    if (!missing.empty()) {
        return "the page's code page (Windows-1252) cannot hold \"" + utf8::encode(missing) + "\"";
    }
    return std::nullopt;
}

PageRewrite rewritePage(std::string_view page, const MosaicRow& row) {
    Parts parts = rewriteParts(page, row);
    parts.head.page.append(page.substr(parts.rest));
    return std::move(parts.head);
}

PageRewrite rewriteWholePage(std::string_view page, const MosaicRow& row) {
    Scope whole;
    return rewriteIn(page, row, whole);
}

Result<SaveReport> saveRow(const std::string& path, MosaicRow& row) {
    SaveReport report;
    PageFile page;
    const bool viaLink = row.stamp && row.stamp->link;
    if (Status opened = page.open(path, viaLink); !opened) {
        switch (page.failedErrno()) {
            case ENOENT:
            case ENOTDIR:
                report.left = kGone;
                return report;
            case ELOOP:
                report.left = kLink;
                return report;
            case EISDIR:
            case ENODEV:
                report.left = kNotAFile;
                return report;
            default:
                return opened.error();
        }
    }
    bool shortened = false;
    Result<std::string> start = readStart(page, shortened);
    if (!start) {
        return start.error();
    }
    if (!IsMosaicPage(std::string_view(*start).substr(0, kHeadBytes))) {
        report.left = kNotAMosaic;
        return report;
    }
    if (row.stamp && !page.stamp().sameFile(*row.stamp)) {
        report.left = kReplaced;
        return report;
    }
    if (row.stamp && !page.stamp().unchanged(*row.stamp)) {
        report.left = kChanged;
        return report;
    }
    if (shortened) {
        report.left = kChangedMeanwhile;
        return report;
    }
    // Where the head ends is guessed from the start; a save that finds markup beyond it searches
    // the whole page for the end and tries again.
    std::uint64_t end = markupEnd(*start);
    bool searched = false;
    for (;;) {
        Result<Written> written = saveOnce(page, path, *start, end, row, report);
        if (!written) {
            return written.error();
        }
        if (*written == Written::Done) {
            break;
        }
        if (*written == Written::Spilt) {
            end = page.stamp().size;
        } else if (*written == Written::MarkupBeyond && !searched) {
            Result<std::uint64_t> found = headEnd(page, shortened);
            if (!found) {
                return found.error();
            }
            end = *found;
        } else {
            // The file changed under the save, or holds markup beyond the end a search of the
            // whole page found: it changed meanwhile.
            shortened = true;
        }
        searched = true;
        if (!shortened) {
            start = readTo(page, end, shortened);
            if (!start) {
                return start.error();
            }
        }
        if (shortened) {
            report.fields.clear();
            report.left = kChangedMeanwhile;
            return report;
        }
    }
    for (const FieldOutcome& f : report.fields) {
        if (!f.taken) {
            continue;
        }
        switch (f.field) {
            case Field::Title:
                row.pageTitle = row.title;
                break;
            case Field::BGColor:
                row.pageBGColor = row.bgColor;
                break;
            case Field::FontSize:
                row.pageFontSize = row.fontSize;
                break;
        }
    }
    if (report.allTaken()) {
        row.markSaved();
    }
    return report;
}

Status UpdateMosaic(std::string_view sWhat, std::string_view sWith, const std::string& sFileName) {
    Result<FileHead> read = readFileHead(sFileName);
    if (!read) {
        return read.error();
    }
    Draft draft(read->bytes);
    if (sWhat.empty() || !draft.replace(sWhat, sWith)) {
        return {};
    }
    return writeFileAtomic(sFileName, draft.text());
}

}  // namespace tess::explorer
