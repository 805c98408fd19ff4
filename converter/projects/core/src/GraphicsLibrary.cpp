#include "projects/GraphicsLibrary.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/Blit.h"
#include "platform/Colour.h"
#include "platform/FolderListing.h"
#include "platform/PictureHeader.h"
#include "platform/Runtime.h"
#include "platform/Text.h"
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

// A record whose data is left where the decoded body holds it.
struct RecordView {
    std::string name;
    std::string_view data;
};

// The records of a body, their data as R holds it: copied (LibraryRecord) or seen in the body.
template <class R>
std::vector<R> recordsOf(std::string_view body) {
    std::vector<R> records;
    std::size_t at = 0;
    while (body.substr(at, library::kRecordStart.size()) == library::kRecordStart) {
        const std::size_t headerAt = at + library::kRecordStart.size();
        const std::size_t lineEnd = body.find(kCrLf, headerAt);
        if (lineEnd == std::string_view::npos)
            break;
        const std::string_view header = body.substr(headerAt, lineEnd - headerAt);
        const std::size_t bar = header.find('|');
        if (bar == std::string_view::npos)
            break;
        const std::optional<std::size_t> length = lengthField(header.substr(bar + 1));
        const std::size_t dataAt = lineEnd + kCrLf.size();
        const std::size_t left = body.size() - dataAt;
        if (!length || *length > left || left - *length < kCrLf.size() ||
            body.substr(dataAt + *length, kCrLf.size()) != kCrLf)
            break;
        const std::string_view name = header.substr(0, bar);
        if (isSafeRecordName(name))
            records.push_back(
                {cp1252::toUtf8(name), decltype(R::data)(body.substr(dataAt, *length))});
        at = dataAt + *length + kCrLf.size();
    }
    return records;
}

template <class R>
std::vector<R> listedOf(std::vector<R> records) {
    // A library may hold very many records: each name is folded once and found by its fold.
    std::vector<R> files;
    std::unordered_map<std::string, std::size_t> fileOf;
    for (R& record : records) {
        const auto [at, added] = fileOf.try_emplace(rt::toLower(record.name), files.size());
        if (added)
            files.push_back(std::move(record));
        else
            files[at->second] = std::move(record);
    }
    std::vector<R> listed;
    for (R& file : files) {
        if (matchesPicturePattern(file.name) &&
            file.data.size() + kCrLf.size() <= library::kMaxListedFileSize)
            listed.push_back(std::move(file));
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const R& a, const R& b) { return listOrderLess(a.name, b.name); });
    return listed;
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
    return recordsOf<LibraryRecord>(body);
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
    return listedOf(std::move(records));
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
    const Result<std::string> body = DecodeFile(file.substr(library::kMarkSize));
    if (!body)
        return body.error();
    // Only the offered pictures' bytes are copied out of the body, and only where they wait.
    std::vector<RecordView> records = recordsOf<RecordView>(*body);
    step("Analyzing data...");
    step("Processing data...");
    for (const RecordView& record : records)
        step("Processing data... " + record.name);
    step("Loading images...");
    std::vector<LibraryPicture> pictures;
    for (RecordView& record : listedOf(std::move(records))) {
        if (statesALargePicture(record.data)) {
            pictures.push_back({std::move(record.name), Picture(), true, std::string(record.data)});
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
