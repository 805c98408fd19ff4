#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// Graphics libraries (".tgl" in the "Graphics" folder beside the program): the mark "TGL10" or
// "TGL11", then the body encoded by the file encoder (FileEncoder.h). The decoded body is records
// one after another, each
//   "TGL-FS:" name "|" L CR LF, then L bytes (a whole picture file), then CR LF
// with the name in Windows-1252. Libraries are made by an outside builder; the converter only
// reads them, and keeps their pictures in memory: no name from a library ever becomes a path.
namespace library {
inline constexpr std::string_view kMark10 = "TGL10";
inline constexpr std::string_view kMark11 = "TGL11";
inline constexpr std::size_t kMarkSize = 5;
inline constexpr std::string_view kRecordStart = "TGL-FS:";
// The listing pattern of the browser's libraries.
inline constexpr std::string_view kLibraryPattern = "*.TGL";
// The kinds of picture a library offers; records of other kinds are never listed.
inline constexpr std::string_view kPicturePatterns[] = {"*.BMP", "*.GIF", "*.JPG"};
// A picture is offered while the file the unpacking made of it (its bytes and the CR LF every
// unpacked file got) is at most this long.
inline constexpr std::uint64_t kMaxListedFileSize = 45000;
// Thumbnails are at most this wide and high.
inline constexpr int kThumbnailSide = 48;
// A picture of at most this many pixels, as its headers state them, is decoded when its library is
// unpacked; a larger one only when it is shown (a reduced decode) or taken (the whole loader), so
// that a library of small records that state huge pictures opens at once.
inline constexpr std::int64_t kUnpackDecodePixels = 256 * 256;
// No library comes near this; a larger file is refused before it is read.
inline constexpr std::int64_t kMaxFileSize = std::int64_t{256} << 20;
// L has at most this many digits (more than any body can hold).
inline constexpr std::size_t kMaxLengthDigits = 10;
// The unpacking reads a header line (name "|" L) of at most this many bytes: a name is a file
// name, and a longer line ends the records there as a malformed one does.
inline constexpr std::size_t kMaxHeaderLine = 64 * 1024;
}  // namespace library

struct LibraryRecord {
    std::string name;  // UTF-8
    std::string data;  // the picture file's bytes
    bool operator==(const LibraryRecord&) const = default;
};

// Whether the file's first five bytes are "TGL10" or "TGL11", exactly (letter case counts).
bool hasLibraryMark(std::string_view file);

// Whether a record's name may stand for a picture: not empty, no "/", "\", "..", no leading ".",
// no NUL or other control character.
bool isSafeRecordName(std::string_view name);

// The records of a decoded body, read one after another from its first byte. A record whose
// header line is not "TGL-FS:" name "|" digits CR LF, whose L is more than the bytes left, or
// whose data is not followed by CR LF ends the records: it and everything after it are dropped.
// A well-formed record with an unsafe name (isSafeRecordName) is skipped.
std::vector<LibraryRecord> parseRecords(std::string_view body);

// The records of a whole library file: the mark, the decoded body, its records.
Result<std::vector<LibraryRecord>> readLibrary(std::string_view file);

// A library file of the records, under `mark` ("TGL10" or "TGL11"). Refused: an unsafe name, one
// with "|" or a line end, or a mark of another kind.
Result<std::string> writeLibrary(const std::vector<LibraryRecord>& records,
                                 std::string_view mark = library::kMark11);

// A library file's bytes, read whole. Refuses what is not a regular file and a file larger than
// library::kMaxFileSize.
Result<std::string> readLibraryFile(const std::string& path);

// The names of the files in `graphicsFolder` that are libraries (listed by "*.TGL", then
// hasLibraryMark on their first five bytes), in listing order. Empty when there is none or the
// folder cannot be listed.
std::vector<std::string> listLibraries(const std::string& graphicsFolder);

// A library found in one of several graphics folders.
struct LibraryFile {
    std::string name;  // the file's name, as the browser shows and remembers it
    std::string path;  // the full path
};

// The libraries of every folder in turn (the shipped folder first, then the user's own). A name
// already found in an earlier folder is left out, so a name always means one file.
std::vector<LibraryFile> listLibraries(const std::vector<std::string>& graphicsFolders);

// The pictures the browser offers of unpacked records, in the order a listing of the unpacked
// files gives (names without regard to letter case): names matching "*.BMP", "*.GIF" or "*.JPG",
// whose unpacked file was at most 45,000 bytes (data + 2). A later record of a name that differs
// only in letter case took the earlier one's place, as its unpacked file did.
std::vector<LibraryRecord> listedPictures(std::vector<LibraryRecord> records);

// FormatFName: first character upper case, every character after a blank upper case (a blank in
// the first position excepted), every other character lower case; then trimmed of blanks.
// Underscores are kept.
std::string FormatFName(std::string_view sTheText);

// A library's caption: the text before ".tgl" (any letter case), "_" as blanks, FormatFName.
std::string libraryDisplayName(std::string_view fileName);

// The order in which the picture extensions are tried for a picture's caption; each one found
// sets the caption, so the last one found wins. The first picture of a load tries ".bmp", ".gif",
// ".jpg"; showing and taking a picture try ".bmp", ".jpg", ".gif".
enum class ExtensionOrder { Load, Browse };
// A picture's caption: FormatFName of the text before the extension (any letter case); the whole
// name when it holds none.
std::string pictureDisplayName(std::string_view fileName, ExtensionOrder order);

// The library name LoadGFXLibFile shows: the file name with every ".tgl" removed (letter case
// counts).
std::string libraryName(std::string_view fileName);

// The listed library that "Default" opens: the one named exactly "default.tgl", else the only one
// whose name is "default.tgl" in another letter case. Empty when there is none, or several.
std::optional<std::size_t> defaultLibraryIndex(const std::vector<std::string>& listed);

// The library the browser opens first, from the listed libraries (not empty) and the stored
// "PrevGFXLib": the listed one the setting names in any letter case; else the default library
// (the first captioned "Default"), given as "Default" where libraryFileIndex finds its file and by
// its own name otherwise; else the first listed.
struct LibraryChoice {
    std::size_t checked = 0;  // the menu entry that carries the check mark: the loaded one
    std::string loadName;     // what LoadGFXLibFile is given: a listed name, or "Default"
    std::string currentName;  // CurrentLibName
    bool operator==(const LibraryChoice&) const = default;
};
LibraryChoice chooseLibrary(const std::vector<std::string>& listed, std::string_view prevGFXLib);

// The listed file a name given to LoadGFXLibFile stands for; "Default" as defaultLibraryIndex
// finds it. Empty when there is none.
std::optional<std::size_t> libraryFileIndex(const std::vector<std::string>& listed,
                                            std::string_view sFileName);

// The thumbnail of a picture: one wider or higher than 48 pixels squeezed onto 48 x 48 (the
// proportions are not kept), a smaller one unchanged.
Picture libraryThumbnail(const Picture& picture);

// The picture file decoder, for pictures nobody checked (the converter's is decodePicture).
using PictureDecoder = std::function<Result<Picture>(std::string_view bytes)>;
// The unpacking's progress: each step's text for the progress window.
using UnpackProgress = std::function<void(const std::string& step)>;

struct LibraryPicture {
    std::string name;
    Picture thumbnail;
    // A picture whose headers state more than library::kUnpackDecodePixels keeps its file's bytes
    // here and has no thumbnail yet: pendingThumbnail makes it when the picture is first shown, and
    // a taking decodes the bytes with the loader.
    bool pending = false;
    std::string data;
};

// Unpacks a library file into the thumbnails of its offered pictures (listedPictures), in order.
// Reports "Analyzing data...", "Processing data...", "Processing data... " and each record's name
// as it is read, then "Loading images...". A picture is decoded with `decode` (the loader) unless
// its headers state a larger picture than library::kUnpackDecodePixels that the loader takes: that
// one is left pending. A picture that does not decode is left out. Fails when the file is no
// library, the body does not decode, or no picture is left. The body is inflated as its records are
// read (up to a header line longer than library::kMaxHeaderLine, where they end), never held: only
// the data of the records that can be offered is kept, and the rest of the stream is still checked
// to its end.
Result<std::vector<LibraryPicture>> unpackLibrary(std::string_view file,
                                                  const PictureDecoder& decode,
                                                  const UnpackProgress& progress);

// The thumbnail of a pending picture, from what `preview` makes of its bytes (a picture decoded
// at a reduced size where its format allows) squeezed as libraryThumbnail does; the placeholder
// when the preview gives none.
Picture pendingThumbnail(std::string_view data, const PictureDecoder& preview);
// What a picture that cannot be shown shows: 48 x 48, framed and crossed.
Picture placeholderThumbnail();

}  // namespace tess
