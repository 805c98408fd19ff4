#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/MosaicOptions.h"
#include "platform/Result.h"

namespace tess {

// Project files (".tpw", ".tpf"): an 8-character header "TPF" + version, then the encoded body
// (FileEncoder.h), then CR LF. The body is a block of fixed-width settings fields, each padded
// with blanks and followed by CR LF, an empty line, the custom text, CR LF CR LF, the bytes of a
// picture file and CR LF. Texts are Windows-1252 in the file and UTF-8 in MosaicOptions.
//
// Layout B (version 10149 and later, the one written):
//   field  position  width
//   output path  1  265 | title  268  512 | background colour  782  8 | font size  792  2 |
//   CSS size and unit  796  6 | spacer  804  2 | mode  808  2 | open in browser  812  1 |
//   custom text length N  815  8 | picture length M  825  8
// Layout A (older, read only) has no CSS field, so the fields after it sit 8 positions earlier.
namespace project {
inline constexpr std::string_view kMark = "TPF";
inline constexpr std::size_t kHeaderSize = 8;
// The version this writer puts in the header; files of a higher version were written by a newer
// program.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 53;
inline constexpr int kVersion = 20053;
// The first version with the CSS field (layout B), and the last one that numbered the modes
// without "Machine Code".
inline constexpr int kFirstLayoutBVersion = 10149;
inline constexpr int kLastOldModesVersion = 10116;
// The longest output path stored as it is; a longer one is replaced (projectOutputPath).
inline constexpr std::size_t kMaxStoredOutputPath = 256;
// The custom text and the picture file each hold at most this many bytes: their lengths have
// eight digits.
inline constexpr std::size_t kMaxLength = 99'999'999;
// The longest plain body of layout B (layout A's is 8 shorter): the settings block (834), the
// empty line, the longest custom text, CR LF CR LF, the longest picture file, CR LF.
inline constexpr std::uint64_t kMaxBodyB = 834 + 2 + kMaxLength + 4 + kMaxLength + 2;
// The largest file that body can be encoded into (deflate's worst case, as zlib bounds it), with
// the header and two line ends: no project file is larger.
inline constexpr std::int64_t kMaxFileSize =
    static_cast<std::int64_t>(kHeaderSize + 16 + kMaxBodyB + (kMaxBodyB >> 12) + (kMaxBodyB >> 14) +
                              (kMaxBodyB >> 25) + 13 + 4);
}  // namespace project

// Field 1: the output path, or for one longer than 256 characters a made-up
// "C:\Mosaic<digits>.html" from the time of day (a fraction of a day) and a random number in
// [0, 1).
std::string projectOutputPath(std::string_view outputPath, double dayFraction, double random);

// The plain body of layout B for the options (OutputPath as projectOutputPath gave it, CustomText
// with CR LF line ends) and the stored picture file. Refused: a field wider than its place (a
// title over 512 characters, a CSS size and unit over 6), a custom text or picture longer than
// 99,999,999.
Result<std::string> writeProjectBody(const MosaicOptions& options, std::string_view picture);
// The whole file: header, encoded body, CR LF.
Result<std::string> writeProjectFile(const MosaicOptions& options, std::string_view picture);

// A project file's bytes, read whole. Refuses what is not a regular file (a pipe would never end)
// and a file larger than any project can be.
Result<std::string> readProjectFile(const std::string& path);

// The version in a project file's header, or why the file is no project.
Result<int> readProjectVersion(std::string_view file);

struct LoadedProject {
    int version = 0;
    // FontSize, Spacer and Mode are the list entries to select (old mode numbers mapped); Title is
    // trimmed. OutputPath and OpenInBrowser are as stored (the window keeps its own).
    MosaicOptions options;
    // The custom CSS entry takes CSSSize and CSSUnit (only with FontSize 8).
    bool customCss = false;
    // The bytes of the stored picture file.
    std::string picture;
};

// Decodes and checks the whole file: header, body, every field's bounds, the lengths against
// what the body holds. The settings are inflated and checked first; a body longer than the
// layout's fields allow is refused from the header, and bytes after the picture's CR LF are
// inflated only to check the stream. A font size, spacer or mode of -1 (no selection) is read as
// -1. The picture bytes are not decoded here.
Result<LoadedProject> readProject(std::string_view file);

}  // namespace tess
