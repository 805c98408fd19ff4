#include "explorer/MosaicScan.h"

#include <ctime>

#include "explorer/PageFile.h"
#include "explorer/PageReader.h"
#include "platform/FolderListing.h"
#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess::explorer {

Result<std::vector<std::string>> listPages(const std::string& folder) {
    return listFolder(folder, kPagePattern);
}

std::string paddedSizeText(std::uint64_t length) {
    return rt::formatFixed(static_cast<double>(length) / 1024.0, 7, 2);
}

std::string RemZeros(std::string_view sTheText) {
    // The last "0" before the first "." or the first digit from 1 to 9.
    std::size_t lastZero = std::string_view::npos;
    for (std::size_t i = 0; i < sTheText.size(); ++i) {
        const char c = sTheText[i];
        if (c == '.' || (c >= '1' && c <= '9')) {
            break;
        }
        if (c == '0') {
            lastZero = i;
        }
    }
    std::string result(lastZero == std::string_view::npos ? sTheText
                                                          : sTheText.substr(lastZero + 1));
    if (!result.empty() && result.front() == '.') {
        result.insert(result.begin(), '0');
    }
    return result;
}

namespace {

// Whether a number text has digits with no leading zero (but a single one before the point), a
// point and two decimals, at most 15 digits in all: such a number comes back unchanged from a
// double formatted to two decimals.
bool isTwoDecimalNumber(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point < 1 || point > 13 || text.size() != point + 3)
        return false;
    if (text[0] == '0' && point > 1)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && (text[i] < '0' || text[i] > '9'))
            return false;
    }
    return true;
}

}  // namespace

std::string displaySizeText(std::string_view padded) {
    std::string shown = RemZeros(padded);
    // The padded text has its two decimals already: reading and formatting it again (which
    // writes out the double's every digit) would give the same text.
    if (!isTwoDecimalNumber(shown))
        shown = rt::formatFixed(rt::val(shown), 1, 2);
    return shown + "K";
}

namespace {

std::optional<DateTime> localTime(const PageStamp::Time& stamp) {
    const std::time_t seconds = static_cast<std::time_t>(stamp.seconds);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return std::nullopt;
    }
    DateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = static_cast<int>(stamp.nanoseconds / 1000000);
    return t;
}

std::optional<DateTime> createdOf(const PageFile& file) {
    const std::optional<PageStamp::Time> created = file.created();
    return created ? localTime(*created) : std::nullopt;
}

}  // namespace

std::optional<DateTime> GetFileDate(const std::string& sFileName) {
    PageFile file;
    if (!file.open(sFileName, true)) {
        return std::nullopt;
    }
    return createdOf(file);
}

std::optional<MosaicRow> rowFromHead(std::string_view head, std::uint64_t length,
                                     std::string fileName) {
    if (!IsMosaicPage(head)) {
        return std::nullopt;
    }
    MosaicRow row;
    row.title = cp1252::toUtf8(GetTitle(head));
    row.fileName = std::move(fileName);
    row.sizeText = paddedSizeText(length);
    // Size and colour are read as the rewrite finds them: never from the title's own text.
    std::string markup(head);
    MaskTitle(markup);
    row.fontSize = cp1252::toUtf8(GetFontSize(markup));
    row.bgColor = cp1252::toUtf8(GetBGColor(markup));
    row.pageTitle = row.title;
    row.pageFontSize = row.fontSize;
    row.pageBGColor = row.bgColor;
    return row;
}

std::optional<MosaicRow> scanPage(const std::string& folder, const std::string& fileName) {
    PageFile file;
    if (!file.open(joinPath(folder, fileName), true)) {
        return std::nullopt;
    }
    Result<std::string> head = file.head(kHeadBytes);
    if (!head) {
        return std::nullopt;
    }
    std::optional<MosaicRow> row = rowFromHead(*head, file.stamp().size, fileName);
    if (row) {
        row->stamp = file.stamp();
        row->created = createdOf(file);
        if (row->created) {
            row->createdOn = rt::formatDateTimeMDY12(*row->created);
        }
    }
    return row;
}

}  // namespace tess::explorer
