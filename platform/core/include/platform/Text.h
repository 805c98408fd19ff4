#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Result.h"
#include "platform/TextPieces.h"

namespace tess {

// Texts inside the programs are UTF-8. Files the programs write or read as text (pages, logs,
// project and library bodies) are Windows-1252, one byte a character.
namespace cp1252 {
// UTF-8 to Windows-1252 bytes; a character the code page cannot hold becomes "?". Invalid UTF-8
// bytes are taken as Windows-1252 bytes already.
std::string fromUtf8(std::string_view utf8);
// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+0081 and friends, so every byte
// round-trips).
std::string toUtf8(std::string_view bytes);
// The single byte for one code point, or '?' when the code page cannot hold it.
char encode(char32_t codePoint);
char32_t decode(unsigned char byte);
}  // namespace cp1252

namespace utf8 {
std::u32string decode(std::string_view text);
std::string encode(std::u32string_view text);
std::string encode(char32_t codePoint);
std::size_t length(std::string_view text);  // in characters
}  // namespace utf8

// Whether every byte is below 0x80: such a text reads the same in UTF-8 and in Windows-1252.
bool isAscii(std::string_view bytes);

// Whole-file helpers. Paths are UTF-8.
// A file too large for memory is errc::OutOfMemory; anything but a regular file is refused as
// readFileHead refuses it.
Result<std::string> readFileBytes(const std::string& path);
// The first `maxBytes` bytes of a regular file (all of it when it is shorter) and the file's whole
// length, for readers that need only a file's head. Anything but a regular file (a folder, pipe or
// device) is an error at once, so the read never waits on a writer that does not come.
struct FileHead {
    std::string bytes;
    std::uint64_t length = 0;
};
Result<FileHead> readFileHead(const std::string& path, std::size_t maxBytes = std::string::npos);
// The same read, the bytes in pieces of `pieceBytes` (the last one shorter), so that a long file
// is never in one block beside what a reader makes of it.
struct FilePieces {
    TextPieces bytes;
    std::uint64_t length = 0;
};
Result<FilePieces> readFilePieces(const std::string& path, std::size_t maxBytes,
                                  std::size_t pieceBytes);
// Writes to a temporary file beside `path` and renames it over `path` only when every byte was
// written and the file closed, so a failed write never destroys what was there. A pipe or device
// at `path` is written into instead (a pipe that nobody reads is a failure, not a wait).
Status writeFileAtomic(const std::string& path, std::string_view bytes);
// Appends to a file, creating it when missing.
Status appendFileBytes(const std::string& path, std::string_view bytes);

// Path joining as the programs do it: insert "/" unless the folder already ends with one.
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace tess
