#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "platform/Result.h"
#include "platform/TextPieces.h"
#include "workspace/Message.h"

namespace tess {

// The open dialogs of pictures and of custom text: hide the read-only box, the path and the file
// must exist, no network button.
inline constexpr int kOpenDialogFlags = 137220;
inline constexpr std::string_view kPictureFilter =
    "Images (*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico)|*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico";

// The Browse button's open dialog, starting at the last picture chosen.
FileDialogRequest openPictureRequest(const std::string& imagePath);

// Whether the name ends in .bmp, .gif, .jpg, .jpeg, .dib or .ico, in any letter case.
bool hasPictureExtension(std::string_view path);
// Whether the name's last four characters, lower-cased, are ".txt" or ".rtf".
bool hasTextExtension(std::string_view path);

// The target words the drop handlers add: Command1, Picture1, srcPic and Text1 take pictures,
// Text3 takes custom text.
inline constexpr std::string_view kImageTarget = "Image";
inline constexpr std::string_view kTextTarget = "Text";

enum class DropKind {
    Ignore,        // no file, a file of another type, or an unknown target: nothing happens
    TooManyFiles,  // show `message` and stop
    Picture,       // ask `message`; on Yes load `path` as the working picture
    Text,          // ask `message`; on Yes load `path` into the custom text
};

struct DropRequest {
    DropKind kind = DropKind::Ignore;
    std::string path;
    Message message;
    bool operator==(const DropRequest&) const = default;
};

// What DragNDrop does with the dropped local files for a target word.
DropRequest classifyDrop(const std::vector<std::string>& files, std::string_view targetWord);

Message tooManyFilesMessage(std::size_t count);
Message loadImageQuestion(const std::string& path);
Message loadCustomTextQuestion(const std::string& path);
// The box for a picture file that could not be loaded; `error` is the decoder's reason.
Message loadImageErrorMessage(const std::string& path, const Error& error);
// The boxes of a custom-text file too large to be a custom text, and of one there is not the
// memory for.
Message customTextTooLargeMessage(const std::string& path, std::uint64_t length);
Message customTextMemoryMessage(const std::string& path);

// srcPic's back colour, which transparent pixels of a loaded picture show.
inline constexpr Colour kWorkingPictureBackColour = 0xFFFFFF;

// A picture file decoded before anything of the workspace changes: either the picture, or the box
// to show while everything stays as it was.
struct PictureLoadResult {
    std::optional<Picture> picture;
    Message error;
};
PictureLoadResult loadPictureForWorkspace(const std::string& path);

// The longest custom text, in characters: a project stores no longer one (its length field has
// eight digits), so no custom-text file above this many bytes is read.
inline constexpr std::uint64_t kMaxCustomTextBytes = 99'999'999;

// The size of the pieces a custom-text file is read in.
inline constexpr std::size_t kTextPieceBytes = std::size_t{1} << 20;

// A custom-text file as Text3 receives it, in UTF-8: a name ending ".rtf" (any case) is read as
// rich text and reduced to its plain text, anything else as Windows-1252 plain text. A file that
// cannot be read, or an ".rtf" that holds no rich-text document, gives "Error loading " and the
// path, with `ok` clear. A file larger than kMaxCustomTextBytes, or one there is not the memory
// for, is not taken: `refusal` is the box to show, and Text3 keeps what it holds.
// A plain text file's text comes in pieces of kTextPieceBytes (the last one shorter), each of
// which Text3 lets go once it holds it.
struct TextFileLoad {
    bool ok = false;
    TextPieces text;
    Message refusal;
    bool operator==(const TextFileLoad&) const = default;
};
TextFileLoad loadTextFile(const std::string& path);

}  // namespace tess
