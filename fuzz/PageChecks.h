#pragma once

// What must hold for the explorer's page readers and its rewriter on any bytes. The fuzz target
// aborts on a broken rule; the explorer's tests run the same rules over their regression corpus.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/MosaicScan.h"
#include "explorer/PageReader.h"
#include "explorer/PageRewriter.h"
#include "platform/Text.h"

namespace tess::pagecheck {

// Inputs larger than this are cut: every rule is linear in the page, and small inputs keep the
// fuzzer fast.
inline constexpr std::size_t kMaxPage = 1 << 16;

namespace detail {

inline std::optional<std::string> rawTitle(std::string_view page) {
    const std::optional<explorer::TitleSpan> span = explorer::FindTitle(page);
    if (!span) {
        return std::nullopt;
    }
    return std::string(page.substr(span->begin, span->size()));
}

// The page as the size and colour readers see it: the title's own text masked.
inline std::string masked(std::string_view page) {
    std::string text(page);
    explorer::MaskTitle(text);
    return text;
}

inline std::string checkReaders(std::string_view text) {
    const std::optional<explorer::TitleSpan> span = explorer::FindTitle(text);
    if (span && (span->begin > span->end || span->end > text.size())) {
        return "the title's span lies outside the text";
    }
    const std::string title = explorer::GetTitle(text);
    if (span ? title.size() > span->size() : title != explorer::kUnknown) {
        return "GetTitle gave more than the title element holds";
    }
    const std::string colour = explorer::GetBGColor(text);
    if (colour != explorer::kUnknown && (colour.size() > 7 || colour.front() != '#')) {
        return "GetBGColor gave more than \"#\" and six characters";
    }
    const std::string simple = explorer::GetSimpleFontSize(text);
    const std::string listed = explorer::GetFontSize(text);
    if (simple != listed && listed != "CSS - " + simple) {
        return "GetFontSize and GetSimpleFontSize disagree";
    }
    if (explorer::FindNoCase(text, "<font size=\"-") != std::string_view::npos &&
        simple.size() > 2) {
        return "an HTML size of more than one digit";
    }
    (void)explorer::IsMosaicPage(text);
    return {};
}

inline std::size_t count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

struct Edit {
    const char* title = nullptr;
    const char* colour = nullptr;
    const char* size = nullptr;
};

// Each field alone, to both size forms and back, and several at once.
inline constexpr Edit kEdits[] = {
    {"New title", nullptr, nullptr},  {"a & b <i> &amp; pre { ", nullptr, nullptr},
    {"", nullptr, nullptr},           {"bad </TITLE> title", nullptr, nullptr},
    {nullptr, "#A0B1C2", nullptr},    {nullptr, nullptr, "-1"},
    {nullptr, nullptr, "-2"},         {nullptr, nullptr, "CSS - 60%"},
    {nullptr, nullptr, "CSS - 12px"}, {"T2", "#000000", "CSS - 40%"},
    {"T3", "#FFFFFF", "-2"},
};

inline std::string checkRewrite(std::string_view page, const explorer::MosaicRow& read,
                                const Edit& edit) {
    explorer::MosaicRow row = read;
    if (edit.title) {
        row.title = edit.title;
    }
    if (edit.colour) {
        row.bgColor = edit.colour;
    }
    if (edit.size) {
        row.fontSize = edit.size;
    }
    row.markChanged();
    const std::size_t edited = (row.titleEdited() ? 1 : 0) + (row.bgColorEdited() ? 1 : 0) +
                               (row.fontSizeEdited() ? 1 : 0);
    const explorer::PageRewrite r = explorer::rewritePage(page, row);
    const explorer::PageRewrite whole = explorer::rewriteWholePage(page, row);
    if (r.page != whole.page || r.allTaken() != whole.allTaken() ||
        r.fields.size() != whole.fields.size()) {
        return "the head's rewrite differs from the whole page's";
    }
    if (r.fields.size() != edited) {
        return "the rewrite did not report exactly the edited fields";
    }
    bool titleTaken = false;
    bool anyTaken = false;
    for (const explorer::FieldOutcome& f : r.fields) {
        if (!f.taken) {
            if (f.why.empty()) {
                return "a field not taken without a reason";
            }
            continue;
        }
        anyTaken = true;
        switch (f.field) {
            case explorer::Field::Title:
                titleTaken = true;
                if (rawTitle(r.page) != cp1252::fromUtf8(row.title)) {
                    return "a title taken is not the page's title";
                }
                break;
            case explorer::Field::BGColor:
                if (explorer::GetBGColor(masked(r.page)) != row.bgColor) {
                    return "a colour taken is not the page's colour";
                }
                break;
            case explorer::Field::FontSize: {
                const std::string listed = explorer::GetFontSize(masked(r.page));
                if (listed != row.fontSize) {
                    return "a font size taken is not the page's font size";
                }
                break;
            }
        }
    }
    if (!titleTaken && rawTitle(r.page) != rawTitle(page)) {
        return "a rewrite changed a title it was not asked to take";
    }
    if (count(r.page, explorer::kUnknown) > count(page, explorer::kUnknown)) {
        return "a rewrite wrote \"Unknown\" into the page";
    }
    if (!anyTaken && r.page != page) {
        return "a rewrite that took nothing changed the page";
    }
    if (r.allTaken()) {
        // A page that took the edits takes them again without a change.
        const explorer::PageRewrite again = explorer::rewritePage(r.page, row);
        if (!again.allTaken() || again.page != r.page) {
            return "the same edits made again changed the page";
        }
    }
    return {};
}

}  // namespace detail

// The first rule that `bytes` breaks, empty when all hold.
inline std::string checkPage(std::string_view bytes) {
    const std::string_view page = bytes.substr(0, kMaxPage);
    const std::string_view head = page.substr(0, explorer::kHeadBytes);
    for (std::string_view text : {head, page}) {
        if (std::string broken = detail::checkReaders(text); !broken.empty()) {
            return broken;
        }
    }
    // The row the scan makes of it; for a page without the generator line, the same fields read
    // from the whole text, so the rewriter meets every page the fuzzer finds.
    explorer::MosaicRow read;
    if (std::optional<explorer::MosaicRow> row = explorer::rowFromHead(head, page.size(), "f")) {
        read = *row;
    } else {
        const std::string markup = detail::masked(page);
        read.title = cp1252::toUtf8(explorer::GetTitle(page));
        read.fontSize = cp1252::toUtf8(explorer::GetFontSize(markup));
        read.bgColor = cp1252::toUtf8(explorer::GetBGColor(markup));
        read.pageTitle = read.title;
        read.pageFontSize = read.fontSize;
        read.pageBGColor = read.bgColor;
    }
    if (explorer::rewritePage(page, read).page != page) {
        return "a row without edits changed the page";
    }
    for (const detail::Edit& edit : detail::kEdits) {
        if (std::string broken = detail::checkRewrite(page, read, edit); !broken.empty()) {
            return broken + " (edit: " + (edit.title ? edit.title : "-") + ", " +
                   (edit.colour ? edit.colour : "-") + ", " + (edit.size ? edit.size : "-") + ")";
        }
    }
    return {};
}

}  // namespace tess::pagecheck
