#include "explorer/PageReader.h"

#include <array>
#include <cstring>

#include "shared/MosaicSite.h"

namespace tess::explorer {

namespace {

constexpr std::string_view kTitleOpen = "<title>";
constexpr std::string_view kTitleClose = "</title>";
constexpr std::string_view kBodyColour = "<body bgcolor=\"#";
constexpr std::string_view kFontSizeMinus = "<font size=\"-";
constexpr std::string_view kStyleTag = "<style type=\"text/css\">";
constexpr std::string_view kSizeRule = " pre { font-size: ";
constexpr std::string_view kRuleEnd = " }";

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Every occurrence of `what` replaced by `with`, case-sensitively, left to right.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, from)) {
        out.append(text, from, at - from);
        out.append(with);
        from = at + what.size();
    }
    out.append(text, from);
    return out;
}

}  // namespace

std::size_t FindNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from) {
    if (lowerPattern.empty()) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    if (lowerPattern.size() > text.size()) {
        return std::string_view::npos;
    }
    // The first character is no letter, so one memchr finds every candidate.
    const char first = lowerPattern.front();
    const std::string_view rest = lowerPattern.substr(1);
    const std::size_t last = text.size() - lowerPattern.size();
    while (from <= last) {
        const void* hit = std::memchr(text.data() + from, first, last - from + 1);
        if (hit == nullptr) {
            return std::string_view::npos;
        }
        const std::size_t at =
            static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        const char* candidate = text.data() + at + 1;
        std::size_t i = 0;
        while (i < rest.size() && lower(candidate[i]) == rest[i]) {
            ++i;
        }
        if (i == rest.size()) {
            return at;
        }
        from = at + 1;
    }
    return std::string_view::npos;
}

bool IsMosaicPage(std::string_view sTheData) {
    static const std::array<std::string, 4> patterns = [] {
        const std::string line(site::kGeneratorLineStart);
        const std::string mark = std::string(site::kGeneratorSite) + std::string(site::kBannerMark);
        return std::array<std::string, 4>{line + " Tessaryn-32 ", line + "Tessaryn-32 ",
                                          line + mark, line + " " + mark};
    }();
    for (const std::string& pattern : patterns) {
        if (sTheData.find(pattern) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::optional<TitleSpan> FindTitle(std::string_view sTheData) {
    const std::size_t open = FindNoCase(sTheData, kTitleOpen);
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = FindNoCase(sTheData, kTitleClose, open);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TitleSpan{open + kTitleOpen.size(), close};
}

std::optional<TitleSpan> MaskTitle(std::string& sTheData) {
    const std::optional<TitleSpan> span = FindTitle(sTheData);
    if (span) {
        std::memset(sTheData.data() + span->begin, 'x', span->size());
    }
    return span;
}

std::string GetTitle(std::string_view sTheData) {
    const std::optional<TitleSpan> span = FindTitle(sTheData);
    if (!span) {
        return std::string(kUnknown);
    }
    return HTMLChars(sTheData.substr(span->begin, span->size()));
}

std::string GetBGColor(std::string_view sTheData) {
    const std::size_t at = FindNoCase(sTheData, kBodyColour);
    if (at == std::string_view::npos) {
        return std::string(kUnknown);
    }
    return "#" + std::string(sTheData.substr(at + kBodyColour.size(), 6));
}

namespace {

// The size text of the CSS rule, or nothing.
std::optional<std::string> cssSize(std::string_view sTheData) {
    if (FindNoCase(sTheData, kStyleTag) == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t rule = FindNoCase(sTheData, kSizeRule);
    if (rule == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = rule + kSizeRule.size();
    const std::size_t end = FindNoCase(sTheData, kRuleEnd, start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(sTheData.substr(start, end - start));
}

}  // namespace

std::string GetSimpleFontSize(std::string_view sTheData) {
    const std::size_t font = FindNoCase(sTheData, kFontSizeMinus);
    if (font != std::string_view::npos) {
        return "-" + std::string(sTheData.substr(font + kFontSizeMinus.size(), 1));
    }
    return cssSize(sTheData).value_or(std::string(kUnknown));
}

std::string GetFontSize(std::string_view sTheData) {
    const std::size_t font = FindNoCase(sTheData, kFontSizeMinus);
    if (font != std::string_view::npos) {
        return "-" + std::string(sTheData.substr(font + kFontSizeMinus.size(), 1));
    }
    const std::optional<std::string> size = cssSize(sTheData);
    return size ? "CSS - " + *size : std::string(kUnknown);
}

std::string HTMLChars(std::string_view sText) {
    std::string text = replaceAll(sText, "&nbsp;", " ");
    text = replaceAll(text, "&quot;", "\"");
    text = replaceAll(text, "&amp;", "&");
    text = replaceAll(text, "&lt;", "<");
    text = replaceAll(text, "&gt;", ">");
    return replaceAll(text, "&quot;", "\"");
}

}  // namespace tess::explorer
