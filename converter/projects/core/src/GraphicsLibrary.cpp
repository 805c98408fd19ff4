#include "projects/GraphicsLibrary.h"

#include <algorithm>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "platform/Blit.h"
#include "platform/Colour.h"
#include "platform/FolderListing.h"
#include "platform/PictureHeader.h"
#include "platform/Runtime.h"
#include "platform/Text.h"
#include "projects/EncodedReader.h"
#include "projects/FileEncoder.h"
#include "projects/StoredFile.h"

namespace tess {

namespace {

constexpr std::string_view kCrLf = "\r\n";

Error fault(std::string reason) {
    return {errc::Generic, std::move(reason)};
}

bool isMark(std::string_view mark) {
    return mark == library::kMark10 || mark == library::kMark11;
}

// The position of `needle` in `text` without regard to letter case, or npos.
std::size_t findNoCase(std::string_view text, std::string_view needle) {
    return rt::toLower(text).find(rt::toLower(needle));
}

bool matchesPicturePattern(std::string_view name) {
    return std::any_of(std::begin(library::kPicturePatterns), std::end(library::kPicturePatterns),
                       [&](std::string_view pattern) { return matchesListPattern(name, pattern); });
}

// The length field of a header line: digits only, few enough to be a length at all.
std::optional<std::size_t> lengthField(std::string_view text) {
    if (text.empty() || text.size() > library::kMaxLengthDigits)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return static_cast<std::size_t>(value);
}

// A record's header line between "TGL-FS:" and its CR LF: name "|" length.
struct RecordHeader {
    std::string_view name;
    std::size_t length = 0;
};

std::optional<RecordHeader> headerOf(std::string_view line) {
    const std::size_t bar = line.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    const std::optional<std::size_t> length = lengthField(line.substr(bar + 1));
    if (!length)
        return std::nullopt;
    return RecordHeader{line.substr(0, bar), *length};
}

// The pictures a library offers, as its records come one after another: a later record of a name
// that differs only in letter case takes the earlier one's place, as its unpacked file did, and
// when it is too large to be offered the name is offered no more. Only names of a picture kind
// (matchesPicturePattern) are given: no other record can be offered or take an offered one's place.
class Offers {
  public:
    // Whether a picture's unpacked file (its data and a CR LF) is small enough to be offered.
    static bool fits(std::uint64_t size) {
        return size + kCrLf.size() <= library::kMaxListedFileSize;
    }

    // The next picture; `data` is kept only where it fits.
    void add(std::string name, bool offered, std::string data) {
        // A library may hold very many records: each name is folded once and found by its fold.
        const auto [at, added] = entryOf_.try_emplace(rt::toLower(name), entries_.size());
        Entry entry{{std::move(name), offered ? std::move(data) : std::string()}, offered};
        if (added)
            entries_.push_back(std::move(entry));
        else
            entries_[at->second] = std::move(entry);
    }

    // The offered records in listing order.
    std::vector<LibraryRecord> listed() && {
        std::vector<LibraryRecord> listed;
        for (Entry& entry : entries_) {
            if (entry.offered)
                listed.push_back(std::move(entry.record));
        }
        std::stable_sort(listed.begin(), listed.end(),
                         [](const LibraryRecord& a, const LibraryRecord& b) {
                             return listOrderLess(a.name, b.name);
                         });
        return listed;
    }

  private:
    struct Entry {
        LibraryRecord record;
        bool offered = false;
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> entryOf_;
};

// The decoded body of a library, inflated as its records are read: the reading looks at a window
// of bounded size, copies out the data it keeps and passes over the rest. Every failure is the
// stream's, with the reason DecodeFile gives.
class BodyStream {
  public:
    // A header line is looked at whole: the window holds it, its start and its CR LF, twice.
    static constexpr std::size_t kLookahead =
        library::kRecordStart.size() + library::kMaxHeaderLine + kCrLf.size();

    explicit BodyStream(EncodedReader& reader) : reader_(reader), window_(2 * kLookahead, '\0') {}

    // The bytes of the body not taken yet.
    std::uint64_t left() const { return (end_ - at_) + reader_.left(); }

    // The next bytes, at least `count` of them (at most kLookahead) where the body has them.
    Result<std::string_view> peek(std::size_t count) {
        if (end_ - at_ < count && reader_.left() > 0) {
            if (at_ + count > window_.size()) {
                std::copy(window_.begin() + static_cast<std::ptrdiff_t>(at_),
                          window_.begin() + static_cast<std::ptrdiff_t>(end_), window_.begin());
                end_ -= at_;
                at_ = 0;
            }
            const auto more = static_cast<std::size_t>(
                std::min<std::uint64_t>(window_.size() - end_, reader_.left()));
            if (Status read = reader_.read(window_.data() + end_, more); !read)
                return read.error();
            end_ += more;
        }
        return std::string_view(window_).substr(at_, end_ - at_);
    }

    void drop(std::size_t count) { at_ += count; }

    // The next `count` bytes (at most left()).
    Result<std::string> take(std::size_t count) {
        std::string out(count, '\0');
        const std::size_t held = std::min(count, end_ - at_);
        std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(at_), held, out.begin());
        at_ += held;
        if (held < count) {
            if (Status read = reader_.read(out.data() + held, count - held); !read)
                return read.error();
        }
        return out;
    }

    // Passes over the next `count` bytes (at most left()), inflating them a window at a time.
    Status skip(std::uint64_t count) {
        const std::size_t held =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - at_));
        at_ += held;
        count -= held;
        if (count > 0)
            at_ = end_ = 0;
        while (count > 0) {
            const auto piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, window_.size()));
            if (Status read = reader_.read(window_.data(), piece); !read)
                return read;
            count -= piece;
        }
        return {};
    }

  private:
    EncodedReader& reader_;
    std::string window_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

// Reads the records of the body as parseRecords does, up to a header line longer than
// library::kMaxHeaderLine, reports each one's name, and keeps the data of those that can be
// offered. Then inflates and checks the rest of the stream.
Result<std::vector<LibraryRecord>> offeredRecords(EncodedReader& reader,
                                                  const UnpackProgress& progress) {
    BodyStream body(reader);
    Offers offers;
    const std::size_t headerAt = library::kRecordStart.size();
    for (;;) {
        const Result<std::string_view> ahead = body.peek(BodyStream::kLookahead);
        if (!ahead)
            return ahead.error();
        if (ahead->substr(0, headerAt) != library::kRecordStart)
            break;
        const std::size_t lineEnd = ahead->find(kCrLf, headerAt);
        if (lineEnd == std::string_view::npos || lineEnd - headerAt > library::kMaxHeaderLine)
            break;
        const std::optional<RecordHeader> header =
            headerOf(ahead->substr(headerAt, lineEnd - headerAt));
        if (!header)
            break;
        const bool safe = isSafeRecordName(header->name);
        std::string name = safe ? cp1252::toUtf8(header->name) : std::string();
        const std::size_t length = header->length;
        body.drop(lineEnd + kCrLf.size());
        if (length > body.left() || body.left() - length < kCrLf.size())
            break;
        const bool picture = safe && matchesPicturePattern(name);
        const bool kept = picture && Offers::fits(length);
        std::string data;
        if (kept) {
            Result<std::string> taken = body.take(length);
            if (!taken)
                return taken.error();
            data = std::move(taken).value();
        } else if (Status skipped = body.skip(length); !skipped) {
            return skipped.error();
        }
        const Result<std::string_view> end = body.peek(kCrLf.size());
        if (!end)
            return end.error();
        if (end->substr(0, kCrLf.size()) != kCrLf)
            break;
        body.drop(kCrLf.size());
        if (!safe)
            continue;
        if (progress)
            progress("Processing data... " + name);
        if (picture)
            offers.add(std::move(name), kept, std::move(data));
    }
    if (Status end = reader.finish(); !end)
        return end.error();
    return std::move(offers).listed();
}

// Whether the headers state a picture the loader takes that is too large to decode at the
// unpacking. Headers that are damaged, or state a picture beyond the loader's limits, are left to
// the loader, which refuses them from the headers alone.
bool statesALargePicture(std::string_view data) {
    const PictureLayout layout = inspectPicture(data);
    if (!layout.readable || !layout.complete)
        return false;
    if (layout.width > Picture::kMaxSide || layout.height > Picture::kMaxSide)
        return false;
    const std::int64_t pixels = layout.width * layout.height;
    return pixels > library::kUnpackDecodePixels && pixels <= Picture::kMaxPixels;
}

}  // namespace

bool hasLibraryMark(std::string_view file) {
    return isMark(file.substr(0, library::kMarkSize));
}

bool isSafeRecordName(std::string_view name) {
    if (name.empty() || name[0] == '.')
        return false;
    if (name.find("..") != std::string_view::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7F;
    });
}

std::vector<LibraryRecord> parseRecords(std::string_view body) {
    std::vector<LibraryRecord> records;
    std::size_t at = 0;
    while (body.substr(at, library::kRecordStart.size()) == library::kRecordStart) {
        const std::size_t headerAt = at + library::kRecordStart.size();
        const std::size_t lineEnd = body.find(kCrLf, headerAt);
        if (lineEnd == std::string_view::npos)
            break;
        const std::optional<RecordHeader> header =
            headerOf(body.substr(headerAt, lineEnd - headerAt));
        const std::size_t dataAt = lineEnd + kCrLf.size();
        const std::size_t left = body.size() - dataAt;
        if (!header || header->length > left || left - header->length < kCrLf.size() ||
            body.substr(dataAt + header->length, kCrLf.size()) != kCrLf)
            break;
        if (isSafeRecordName(header->name))
            records.push_back(
                {cp1252::toUtf8(header->name), std::string(body.substr(dataAt, header->length))});
        at = dataAt + header->length + kCrLf.size();
    }
    return records;
}

Result<std::vector<LibraryRecord>> readLibrary(std::string_view file) {
    if (!hasLibraryMark(file))
        return fault("The file is not a graphics library.");
    Result<std::string> body = DecodeFile(file.substr(library::kMarkSize));
    if (!body)
        return body.error();
    return parseRecords(*body);
}

Result<std::string> writeLibrary(const std::vector<LibraryRecord>& records, std::string_view mark) {
    if (!isMark(mark))
        return fault("\"" + std::string(mark) + "\" is not a library mark.");
    std::string body;
    for (const LibraryRecord& record : records) {
        const std::string name = cp1252::fromUtf8(record.name);
        if (!isSafeRecordName(name) || name.find('|') != std::string::npos)
            return fault("\"" + record.name + "\" cannot name a picture of a library.");
        body += library::kRecordStart;
        body += name;
        body += '|';
        body += std::to_string(record.data.size());
        body += kCrLf;
        body += record.data;
        body += kCrLf;
    }
    Result<std::string> encoded = EncodeFile(std::string_view(body));
    if (!encoded)
        return encoded.error();
    return std::string(mark) + *encoded;
}

Result<std::string> readLibraryFile(const std::string& path) {
    return readStoredFile(path, library::kMaxFileSize, "a graphics library");
}

std::vector<std::string> listLibraries(const std::string& graphicsFolder) {
    Result<std::vector<std::string>> listed = listFolder(graphicsFolder, library::kLibraryPattern);
    std::vector<std::string> libraries;
    if (!listed)
        return libraries;
    for (std::string& name : *listed) {
        Result<FileHead> head = readFileHead(joinPath(graphicsFolder, name), library::kMarkSize);
        if (head && hasLibraryMark(head->bytes))
            libraries.push_back(std::move(name));
    }
    return libraries;
}

std::vector<LibraryFile> listLibraries(const std::vector<std::string>& graphicsFolders) {
    std::vector<LibraryFile> libraries;
    std::unordered_set<std::string> names;
    for (const std::string& folder : graphicsFolders) {
        for (std::string& name : listLibraries(folder)) {
            if (names.insert(rt::toLower(name)).second) {
                std::string path = joinPath(folder, name);
                libraries.push_back(LibraryFile{std::move(name), std::move(path)});
            }
        }
    }
    return libraries;
}

std::vector<LibraryRecord> listedPictures(std::vector<LibraryRecord> records) {
    Offers offers;
    for (LibraryRecord& record : records) {
        if (matchesPicturePattern(record.name)) {
            const bool fits = Offers::fits(record.data.size());
            offers.add(std::move(record.name), fits, std::move(record.data));
        }
    }
    return std::move(offers).listed();
}

std::string FormatFName(std::string_view sTheText) {
    const std::u32string text = utf8::decode(sTheText);
    std::string out;
    out.reserve(sTheText.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string c = utf8::encode(text[i]);
        const bool upper = i == 0 || (i >= 2 && text[i - 1] == U' ');
        out += upper ? rt::toUpper(c) : rt::toLower(c);
    }
    return rt::trim(out);
}

std::string libraryDisplayName(std::string_view fileName) {
    std::string name(fileName.substr(0, findNoCase(fileName, ".tgl")));
    std::replace(name.begin(), name.end(), '_', ' ');
    return FormatFName(name);
}

std::string pictureDisplayName(std::string_view fileName, ExtensionOrder order) {
    static constexpr std::string_view kLoad[] = {".bmp", ".gif", ".jpg"};
    static constexpr std::string_view kBrowse[] = {".bmp", ".jpg", ".gif"};
    std::string_view shown = fileName;
    for (const std::string_view extension : order == ExtensionOrder::Load ? kLoad : kBrowse) {
        const std::size_t at = findNoCase(fileName, extension);
        if (at != std::string_view::npos)
            shown = fileName.substr(0, at);
    }
    return FormatFName(shown);
}

std::string libraryName(std::string_view fileName) {
    std::string name(fileName);
    for (std::size_t at; (at = name.find(".tgl")) != std::string::npos;)
        name.erase(at, 4);
    return name;
}

std::optional<std::size_t> defaultLibraryIndex(const std::vector<std::string>& listed) {
    constexpr std::string_view kDefaultFile = "default.tgl";
    std::optional<std::size_t> found;
    int matches = 0;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == kDefaultFile)
            return i;
        if (rt::toLower(listed[i]) == kDefaultFile) {
            found = i;
            ++matches;
        }
    }
    return matches == 1 ? found : std::nullopt;
}

std::optional<std::size_t> libraryFileIndex(const std::vector<std::string>& listed,
                                            std::string_view sFileName) {
    if (sFileName == "Default")
        return defaultLibraryIndex(listed);
    const auto at = std::find(listed.begin(), listed.end(), sFileName);
    if (at == listed.end())
        return std::nullopt;
    return static_cast<std::size_t>(at - listed.begin());
}

LibraryChoice chooseLibrary(const std::vector<std::string>& listed, std::string_view prevGFXLib) {
    if (!prevGFXLib.empty()) {
        const std::string wanted = rt::toLower(prevGFXLib);
        for (std::size_t p = 0; p < listed.size(); ++p) {
            if (rt::toLower(listed[p]) == wanted)
                return {p, listed[p], libraryDisplayName(listed[p])};
        }
    }
    // The first entry captioned "Default" is the default library. "Default" opens the file of
    // that name; where no single file has it, the entry opens by its own name.
    const auto firstDefault = std::find_if(listed.begin(), listed.end(), [](const std::string& n) {
        return rt::toLower(libraryDisplayName(n)) == "default";
    });
    if (firstDefault != listed.end()) {
        if (const std::optional<std::size_t> d = defaultLibraryIndex(listed))
            return {*d, "Default", "Default"};
        return {static_cast<std::size_t>(firstDefault - listed.begin()), *firstDefault, "Default"};
    }
    if (listed.empty())
        return {};
    return {0, listed[0], libraryDisplayName(listed[0])};
}

Picture libraryThumbnail(const Picture& picture) {
    constexpr int side = library::kThumbnailSide;
    if (picture.width() <= side && picture.height() <= side)
        return picture;
    Picture thumbnail(side, side);
    stretchBlt(thumbnail, 0, 0, side, side, picture, 0, 0, picture.width(), picture.height(),
               RasterOp::SrcCopy);
    return thumbnail;
}

Result<std::vector<LibraryPicture>> unpackLibrary(std::string_view file,
                                                  const PictureDecoder& decode,
                                                  const UnpackProgress& progress) {
    auto step = [&](const std::string& text) {
        if (progress)
            progress(text);
    };
    if (!hasLibraryMark(file))
        return fault("The file is not a graphics library.");
    Result<EncodedReader> reader =
        EncodedReader::open(file.substr(library::kMarkSize), encoder::kMaxPlainLength);
    if (!reader)
        return reader.error();
    // The body is never held: only the data of the records that can be offered is kept.
    Result<std::vector<LibraryRecord>> listed = [&]() -> Result<std::vector<LibraryRecord>> {
        try {
            step("Analyzing data...");
            step("Processing data...");
            return offeredRecords(*reader, progress);
        } catch (const std::bad_alloc&) {
            return Error{errc::OutOfMemory, "There is not enough memory to decode the data."};
        }
    }();
    if (!listed)
        return listed.error();
    step("Loading images...");
    std::vector<LibraryPicture> pictures;
    for (LibraryRecord& record : *listed) {
        if (statesALargePicture(record.data)) {
            pictures.push_back({std::move(record.name), Picture(), true, std::move(record.data)});
            continue;
        }
        Result<Picture> picture = decode(record.data);
        if (picture)
            pictures.push_back({std::move(record.name), libraryThumbnail(*picture), false, {}});
    }
    if (pictures.empty())
        return fault("The library holds no picture that can be shown.");
    return pictures;
}

Picture pendingThumbnail(std::string_view data, const PictureDecoder& preview) {
    Result<Picture> picture = preview(data);
    if (!picture || picture->width() == 0 || picture->height() == 0)
        return placeholderThumbnail();
    return libraryThumbnail(*picture);
}

Picture placeholderThumbnail() {
    constexpr int side = library::kThumbnailSide;
    Picture p(side, side, rgb(212, 208, 200));
    const Colour ink = rgb(128, 128, 128);
    p.fillBox(0, 0, side - 1, 0, ink);
    p.fillBox(0, side - 1, side - 1, side - 1, ink);
    p.fillBox(0, 0, 0, side - 1, ink);
    p.fillBox(side - 1, 0, side - 1, side - 1, ink);
    p.line(0, 0, side, side, ink);
    p.line(side - 1, 0, -1, side, ink);
    return p;
}

}  // namespace tess
