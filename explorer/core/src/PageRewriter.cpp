#include "explorer/PageRewriter.h"

#include <cstring>
#include <utility>

#include "explorer/PageReader.h"
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

// The first exact occurrence of `what` at or after `from`.
std::size_t findExact(std::string_view text, std::string_view what, std::size_t from = 0) {
    if (from > text.size()) {
        return std::string_view::npos;
    }
    const void* hit = ::memmem(text.data() + from, text.size() - from, what.data(), what.size());
    return hit == nullptr ? std::string_view::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// A page text changed step by step. It copies the page only once a step finds something, so
// steps that find nothing cost one search each.
class Draft {
  public:
    explicit Draft(std::string_view base) : base_(base) {}

    std::string_view text() const { return changed_ ? std::string_view(*changed_) : base_; }
    bool contains(std::string_view what) const {
        return findExact(text(), what) != std::string_view::npos;
    }
    // Every occurrence of `what` by `with`, case-sensitively; false when there was none.
    bool replace(std::string_view what, std::string_view with) {
        const std::string_view current = text();
        std::size_t at = findExact(current, what);
        if (at == std::string_view::npos) {
            return false;
        }
        std::string out;
        out.reserve(current.size() + with.size() - std::min(with.size(), what.size()));
        std::size_t from = 0;
        while (at != std::string_view::npos) {
            out.append(current, from, at - from);
            out.append(with);
            from = at + what.size();
            at = findExact(current, what, from);
        }
        out.append(current, from);
        changed_ = std::move(out);
        return true;
    }
    bool changed() const { return changed_.has_value(); }
    std::string take() && { return std::move(*changed_); }

  private:
    std::string_view base_;
    std::optional<std::string> changed_;
};

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

FieldOutcome rewriteColour(std::string& text, const MosaicRow& row) {
    if (!isColourText(row.bgColor)) {
        return refused(Field::BGColor, "\"" + row.bgColor + "\" is not a colour");
    }
    const std::string old = GetBGColor(text);
    if (old == kUnknown) {
        return refused(Field::BGColor, "the page has no background colour tag");
    }
    Draft draft(text);
    const std::string start(kBodyStart);
    if (!draft.replace(start + old + std::string(kTagEnd),
                       start + row.bgColor + std::string(kTagEnd)) ||
        GetBGColor(draft.text()) != row.bgColor) {
        return refused(Field::BGColor,
                       "its body tag does not read <body bgcolor=\"#RRGGBB\"> in lower case");
    }
    text = std::move(draft).take();
    return taken(Field::BGColor);
}

FieldOutcome rewriteHtmlSize(std::string& text, const std::string& size) {
    const std::string start(kFontSize);
    const std::string wanted = start + size + std::string(kTagEnd);
    Draft draft(text);
    draft.replace(kPreRule, kNoPreRule);
    auto resize = [&] {
        draft.replace(start + GetSimpleFontSize(draft.text()) + std::string(kTagEnd), wanted);
    };
    resize();
    if (!draft.contains(wanted)) {
        draft.replace(kNoFontSize, kFontSize);
        resize();
    }
    if (!draft.contains(wanted)) {
        draft.replace(kPictureStart, std::string(kPictureStart) + wanted);
    }
    const std::string_view result = draft.text();
    if (GetSimpleFontSize(result) != size ||
        FindNoCase(result, kPreRule) != std::string_view::npos ||
        !onlyExact(result, "<font size=\"", wanted)) {
        return refused(Field::FontSize,
                       "its size markup is not the converter's own (tags in capitals, a second "
                       "size rule or tag, or no picture block)");
    }
    if (draft.changed()) {
        text = std::move(draft).take();
    }
    return taken(Field::FontSize);
}

FieldOutcome rewriteCssSize(std::string& text, const std::string& size) {
    const std::string rule = std::string(kSizeRule) + size + std::string(kRuleEnd);
    Draft draft(text);
    draft.replace(kFontSize, kNoFontSize);
    auto resize = [&] {
        draft.replace(
            std::string(kSizeRule) + GetSimpleFontSize(draft.text()) + std::string(kRuleEnd), rule);
    };
    resize();
    if (!draft.contains(rule)) {
        draft.replace(kNoPreOpen, kPreOpen);
        resize();
    }
    if (!draft.contains(rule)) {
        const std::string body =
            std::string(kBodyStart) + GetBGColor(draft.text()) + std::string(kTagEnd);
        const std::string block =
            body + "\r\n<style type=\"text/css\">\r\n <!--\r\n  pre { font-size: " + size +
            " }\r\n -->\r\n</style>\r\n";
        draft.replace(body, block);
    }
    const std::string_view result = draft.text();
    if (GetSimpleFontSize(result) != size ||
        FindNoCase(result, "<font size=\"") != std::string_view::npos ||
        !onlyExact(result, kPreRule, rule)) {
        return refused(Field::FontSize,
                       "its size markup is not the converter's own (tags in capitals, a second "
                       "size rule or tag, or a body tag of another form)");
    }
    if (draft.changed()) {
        text = std::move(draft).take();
    }
    return taken(Field::FontSize);
}

FieldOutcome rewriteFontSize(std::string& text, const MosaicRow& row) {
    const std::string& size = row.fontSize;
    if (size == "-1" || size == "-2") {
        return rewriteHtmlSize(text, size);
    }
    if (size.compare(0, kCssPrefix.size(), kCssPrefix) == 0) {
        const std::string css = cp1252::fromUtf8(std::string_view(size).substr(kCssPrefix.size()));
        if (isCssSizeText(css)) {
            return rewriteCssSize(text, css);
        }
    }
    return refused(Field::FontSize, "\"" + size + "\" is not a font size");
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
    return std::nullopt;
}

PageRewrite rewritePage(std::string_view page, const MosaicRow& row) {
    PageRewrite out;
    std::string text(page);
    if (row.titleEdited()) {
        out.fields.push_back(rewriteTitle(text, row));
    }
    if (!row.bgColorEdited() && !row.fontSizeEdited()) {
        out.page = std::move(text);
        return out;
    }
    // The colour and size steps must not touch the title's text: it is masked while they run and
    // put back after. None of them inserts "<title>" or "</title>", so the first title element
    // is the masked one still.
    std::string title;
    if (const std::optional<TitleSpan> found = FindTitle(text)) {
        title = text.substr(found->begin, found->size());
    }
    const std::optional<TitleSpan> span = MaskTitle(text);
    if (row.bgColorEdited()) {
        out.fields.push_back(rewriteColour(text, row));
    }
    if (row.fontSizeEdited()) {
        out.fields.push_back(rewriteFontSize(text, row));
    }
    if (span) {
        const std::optional<TitleSpan> moved = FindTitle(text);
        if (!moved || moved->size() != title.size()) {
            // Cannot happen by the argument above; should it, nothing is written.
            PageRewrite kept;
            kept.page = std::string(page);
            for (const FieldOutcome& f : out.fields) {
                kept.fields.push_back(refused(f.field, "the page's title could not be kept"));
            }
            return kept;
        }
        std::memcpy(text.data() + moved->begin, title.data(), title.size());
    }
    out.page = std::move(text);
    return out;
}

Result<SaveReport> saveRow(const std::string& path, MosaicRow& row) {
    Result<FileHead> read = readFileHead(path);
    if (!read) {
        return read.error();
    }
    PageRewrite rewrite = rewritePage(read->bytes, row);
    SaveReport report;
    report.fields = std::move(rewrite.fields);
    if (rewrite.page != read->bytes) {
        if (Status written = writeFileAtomic(path, rewrite.page); !written) {
            return written.error();
        }
        report.written = true;
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
