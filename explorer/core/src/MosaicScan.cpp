#include "explorer/MosaicScan.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

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

std::string displaySizeText(std::string_view padded) {
    return rt::formatFixed(rt::val(RemZeros(padded)), 1, 2) + "K";
}

std::optional<DateTime> GetFileDate(const std::string& sFileName) {
    struct statx sx {};
    if (::statx(AT_FDCWD, sFileName.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) != 0) {
        return std::nullopt;
    }
    // The creation time where the file system keeps one, else the last change of the content.
    const bool born = (sx.stx_mask & STATX_BTIME) != 0 && sx.stx_btime.tv_sec != 0;
    const statx_timestamp& stamp = born ? sx.stx_btime : sx.stx_mtime;
    const std::time_t seconds = static_cast<std::time_t>(stamp.tv_sec);
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
    t.millisecond = static_cast<int>(stamp.tv_nsec / 1000000);
    return t;
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
    const std::string path = joinPath(folder, fileName);
    Result<FileHead> head = readFileHead(path, kHeadBytes);
    if (!head) {
        return std::nullopt;
    }
    std::optional<MosaicRow> row = rowFromHead(head->bytes, head->length, fileName);
    if (row) {
        if (const std::optional<DateTime> date = GetFileDate(path)) {
            row->createdOn = rt::formatDateTimeMDY12(*date);
        }
    }
    return row;
}

}  // namespace tess::explorer
