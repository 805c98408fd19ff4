#include "platform/RtfReader.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess {

namespace {

// Destinations whose content is not document text (tables, metadata, pictures, objects, headers
// and footers, field instructions, list and bookmark helpers). Kept sorted for the binary search.
constexpr std::string_view kSkippedDestinations[] = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atndate",
    "atnid",
    "atnref",
    "atntime",
    "author",
    "bkmkend",
    "bkmkstart",
    "buptim",
    "category",
    "colorschememapping",
    "colortbl",
    "comment",
    "company",
    "creatim",
    "datastore",
    "doccomm",
    "docvar",
    "falt",
    "filetbl",
    "fldinst",
    "fonttbl",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "footnote",
    "ftncn",
    "ftnsep",
    "ftnsepc",
    "generator",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "hlinkbase",
    "keywords",
    "latentstyles",
    "levelnumbers",
    "leveltext",
    "listoverridetable",
    "listpicture",
    "listtable",
    "listtext",
    "manager",
    "mmathPr",
    "nonshppict",
    "object",
    "objdata",
    "operator",
    "panose",
    "passwordhash",
    "pgdsctbl",
    "pict",
    "pn",
    "pntext",
    "pntxta",
    "pntxtb",
    "printim",
    "private",
    "protusertbl",
    "revtbl",
    "revtim",
    "rsidtbl",
    "rxe",
    "shpinst",
    "shppict",
    "sn",
    "sp",
    "stylesheet",
    "subject",
    "sv",
    "tc",
    "template",
    "themedata",
    "title",
    "txe",
    "userprops",
    "wgrffmtfilter",
    "xe",
    "xmlnstbl",
    "info",
};

bool isSkippedDestination(std::string_view word) {
    static const std::vector<std::string_view> sorted = [] {
        std::vector<std::string_view> v(std::begin(kSkippedDestinations),
                                        std::end(kSkippedDestinations));
        std::sort(v.begin(), v.end());
        return v;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), word);
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct GroupState {
    int unicodeSkip = 1;  // \ucN: fallback characters that follow each \uN
    bool skipped = false;
};

class Reader {
  public:
    // `wholeDocument`: the input is one document group; whatever follows its end is not read.
    Reader(std::string_view rtf, bool wholeDocument) : in_(rtf), wholeDocument_(wholeDocument) {
        groups_.push_back(GroupState{});
    }

    std::string run() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            switch (c) {
                case '{':
                    pendingSkip_ = 0;
                    groups_.push_back(groups_.back());
                    groupStart_ = pos_;
                    break;
                case '}':
                    pendingSkip_ = 0;
                    if (groups_.size() > 1) {
                        groups_.pop_back();
                        if (wholeDocument_ && groups_.size() == 1) {
                            pos_ = in_.size();
                        }
                    }
                    break;
                case '\\':
                    controlSequence();
                    break;
                case '\r':
                case '\n':
                case '\0':
                    break;
                default:
                    text(cp1252::decode(static_cast<unsigned char>(c)));
                    break;
            }
        }
        flushSurrogate();
        // The document's last paragraph mark ends the text without a line break of its own.
        if (finalBreakEnd_ != std::string::npos && finalBreakEnd_ == out_.size()) {
            out_.erase(out_.size() - 2);
        }
        return std::move(out_);
    }

  private:
    GroupState& group() { return groups_.back(); }

    // One character of document text, or of the fallback after \uN, which is dropped.
    void text(char32_t cp) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        emit(cp);
    }

    void emit(char32_t cp) {
        if (group().skipped) {
            return;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            flushSurrogate();
            highSurrogate_ = cp;
            return;
        }
        if (cp >= 0xDC00 && cp <= 0xDFFF) {
            if (highSurrogate_ != 0) {
                cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
                highSurrogate_ = 0;
            } else {
                cp = 0xFFFD;
            }
        }
        flushSurrogate();
        out_ += utf8::encode(cp);
    }

    void flushSurrogate() {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            out_ += utf8::encode(char32_t{0xFFFD});
        }
    }

    void lineBreak(bool paragraphMark) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (group().skipped) {
            return;
        }
        flushSurrogate();
        out_ += "\r\n";
        finalBreakEnd_ = paragraphMark ? out_.size() : std::string::npos;
    }

    // Counts a control word or symbol without text against the fallback of a \uN.
    void consumeFallback() {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
        }
    }

    void controlSequence() {
        if (pos_ >= in_.size()) {
            return;
        }
        const char c = in_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                text(static_cast<unsigned char>(c));
                break;
            case '\'':
                hexCharacter();
                break;
            case '~':
                text(0x00A0);
                break;
            case '_':
                text('-');
                break;
            case '*':
                // Marks the group it opens as one to skip when its destination is unknown; we
                // skip every such group. Elsewhere the symbol means nothing.
                consumeFallback();
                if (opensGroup(pos_ - 2)) {
                    group().skipped = true;
                }
                break;
            case '\r':
            case '\n':
                lineBreak(true);
                break;
            default:  // \- optional hyphen, \: index entry, \| formula and unknown symbols
                consumeFallback();
                break;
        }
    }

    bool opensGroup(std::size_t backslash) const {
        if (groupStart_ == std::string::npos || backslash < groupStart_) {
            return false;
        }
        const std::string_view between = in_.substr(groupStart_, backslash - groupStart_);
        return between.find_first_not_of(" \r\n") == std::string_view::npos;
    }

    void hexCharacter() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < in_.size() && rt::hexDigitValue(in_[pos_]) >= 0) {
            value = value * 16 + rt::hexDigitValue(in_[pos_]);
            ++pos_;
            ++digits;
        }
        if (digits == 0) {
            consumeFallback();
            return;
        }
        text(cp1252::decode(static_cast<unsigned char>(value)));
    }

    void controlWord() {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_])) {
            ++pos_;
        }
        const std::string_view word = in_.substr(start, pos_ - start);
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() &&
            isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            hasParam = true;
            if (param < 100'000'000'000LL) {
                param = param * 10 + (in_[pos_] - '0');
            }
            ++pos_;
        }
        if (negative) {
            param = -param;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') {
            ++pos_;  // the blank that ends a control word belongs to it
        }

        if (word == "bin") {
            // Raw binary data of the given length follows; it is never text.
            const auto length = static_cast<std::size_t>(hasParam && param > 0 ? param : 0);
            pos_ += std::min(length, in_.size() - pos_);
            consumeFallback();
            return;
        }
        if (word == "u" && hasParam) {
            unicode(param);
            return;
        }
        if (word == "uc") {
            consumeFallback();
            group().unicodeSkip = static_cast<int>(std::clamp(param, 0LL, 1'000'000LL));
            return;
        }
        if (word == "par") {
            lineBreak(true);
            return;
        }
        if (word == "line" || word == "sect" || word == "page" || word == "row" ||
            word == "nestrow") {
            lineBreak(false);
            return;
        }
        if (const char32_t special = specialCharacter(word)) {
            text(special);
            return;
        }
        consumeFallback();
        if (isSkippedDestination(word)) {
            group().skipped = true;
        }
    }

    static char32_t specialCharacter(std::string_view word) {
        static constexpr std::pair<std::string_view, char32_t> kSpecials[] = {
            {"tab", U'\t'},        {"cell", U'\t'},       {"nestcell", U'\t'}, {"emdash", 0x2014},
            {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", U' '},   {"enspace", U' '},
            {"qmspace", U' '},
        };
        for (const auto& [name, cp] : kSpecials) {
            if (name == word) {
                return cp;
            }
        }
        return 0;
    }

    void unicode(long long param) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
        } else {
            long long cp = param;
            if (cp < 0) {
                cp += 65536;
            }
            if (cp > 0) {
                emit(cp >= 0 && cp <= 0x10FFFF ? static_cast<char32_t>(cp) : char32_t{0xFFFD});
            }
        }
        pendingSkip_ = group().unicodeSkip;
    }

    std::string_view in_;
    bool wholeDocument_ = false;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    std::string out_;
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;
    std::size_t finalBreakEnd_ = std::string::npos;
    std::size_t groupStart_ = std::string::npos;  // position just after the last "{"
};

}  // namespace

std::string rtfToPlainText(std::string_view rtf) {
    return Reader(rtf, false).run();
}

Result<std::string> rtfDocumentToPlainText(std::string_view bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || bytes.substr(start, 5) != "{\\rtf") {
        return Error{errc::Generic, "The file is not a rich-text document"};
    }
    return Reader(bytes.substr(start), true).run();
}

}  // namespace tess
