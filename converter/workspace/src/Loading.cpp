#include "workspace/Loading.h"

#include <array>
#include <new>

#include "platform/RtfReader.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"

namespace tess {

namespace {

constexpr std::string_view kCrLf = "\r\n";

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The extensions are ASCII, so comparing the tail byte by byte is the case-blind test.
bool endsWithNoCase(std::string_view text, std::string_view lowerTail) {
    if (text.size() < lowerTail.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - lowerTail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (asciiLower(tail[i]) != lowerTail[i]) {
            return false;
        }
    }
    return true;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// 1234567 as "1,234,567".
std::string groupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

}  // namespace

FileDialogRequest openPictureRequest(const std::string& imagePath) {
    FileDialogRequest request;
    request.filter = std::string(kPictureFilter);
    request.filterIndex = 1;
    request.fileName = imagePath;
    request.flags = kOpenDialogFlags;
    return request;
}

bool hasPictureExtension(std::string_view path) {
    constexpr std::array<std::string_view, 6> kExtensions{".bmp",  ".gif", ".jpg",
                                                          ".jpeg", ".dib", ".ico"};
    for (std::string_view extension : kExtensions) {
        if (endsWithNoCase(path, extension)) {
            return true;
        }
    }
    return false;
}

bool hasTextExtension(std::string_view path) {
    return endsWithNoCase(path, ".txt") || endsWithNoCase(path, ".rtf");
}

DropRequest classifyDrop(const std::vector<std::string>& files, std::string_view targetWord) {
    if (files.empty()) {
        return {};
    }
    if (files.size() > 1) {
        return {DropKind::TooManyFiles, {}, tooManyFilesMessage(files.size())};
    }
    const std::string& path = files.front();
    if (targetWord == kImageTarget && hasPictureExtension(path)) {
        return {DropKind::Picture, path, loadImageQuestion(path)};
    }
    if (targetWord == kTextTarget && hasTextExtension(path)) {
        return {DropKind::Text, path, loadCustomTextQuestion(path)};
    }
    return {};
}

Message tooManyFilesMessage(std::size_t count) {
    return {"tessaryn q4 can only support dragging of 1 file, you have dragged " +
                std::to_string(count) + " files.",
            mb::Exclamation, "Cannot Load Files"};
}

Message loadImageQuestion(const std::string& path) {
    return {
        "Are you sure you want to load the image from" + std::string(kCrLf) + quoted(path + "?"),
        mb::YesNo | mb::Question, "Load Image?"};
}

Message loadCustomTextQuestion(const std::string& path) {
    return {"Are you sure you want to load custom text data from" + std::string(kCrLf) +
                quoted(path + "?"),
            mb::YesNo | mb::Question, "Load Custom Text?"};
}

Message loadImageErrorMessage(const std::string& path, const Error& error) {
    std::string text = "Error loading image" + std::string(kCrLf);
    if (error.code == errc::InvalidPicture) {
        text += quoted(path) + std::string(kCrLf) + std::string(kCrLf) +
                "tessaryn q4 only supports BMP, JPG, GIF, DIB, and ICO image formats.";
    } else {
        // A file that is missing, unreadable or too large: the reason names the path.
        text += error.reason + ".";
    }
    return {text, mb::Exclamation, "Error Loading Image"};
}

PictureLoadResult loadPictureForWorkspace(const std::string& path) {
    Result<Picture> loaded = loadPictureFile(path, kWorkingPictureBackColour);
    if (!loaded) {
        return {std::nullopt, loadImageErrorMessage(path, loaded.error())};
    }
    return {std::move(loaded).value(), {}};
}

Message customTextTooLargeMessage(const std::string& path, std::uint64_t length) {
    return {"The custom text file" + std::string(kCrLf) + quoted(path) + std::string(kCrLf) +
                "is " + groupedNumber(length) + " bytes long; a custom text holds at most " +
                groupedNumber(kMaxCustomTextBytes) + " characters.",
            mb::Exclamation, "Custom Text Too Large"};
}

Message customTextMemoryMessage(const std::string& path) {
    return {"There is not enough memory to load the custom text from" + std::string(kCrLf) +
                quoted(path) + "." + std::string(kCrLf) + std::string(kCrLf) +
                "The custom text and the picture are as they were.",
            mb::Exclamation, "Not Enough Memory"};
}

TextFileLoad loadTextFile(const std::string& path) {
    const TextFileLoad failed{false, "Error loading " + path, {}};
    // The length first: a file too long for a custom text is never read.
    Result<FileHead> head = readFileHead(path, 0);
    if (!head) {
        return failed;
    }
    if (head->length > kMaxCustomTextBytes) {
        return {false, {}, customTextTooLargeMessage(path, head->length)};
    }
    try {
        // One byte more than the bound shows a file that grew meanwhile.
        if (endsWithNoCase(path, ".rtf")) {
            head = readFileHead(path, kMaxCustomTextBytes + 1);
            if (!head) {
                return head.error().code == errc::OutOfMemory
                           ? TextFileLoad{false, {}, customTextMemoryMessage(path)}
                           : failed;
            }
            if (head->bytes.size() > kMaxCustomTextBytes) {
                return {false, {}, customTextTooLargeMessage(path, head->length)};
            }
            Result<std::string> plain = rtfDocumentToPlainText(head->bytes);
            if (!plain) {
                return failed;
            }
            return {true, std::move(plain).value(), {}};
        }
        // Plain text is read and turned into UTF-8 a piece at a time, so the file is never held
        // whole beside its text.
        Result<FilePieces> read = readFilePieces(path, kMaxCustomTextBytes + 1, kTextPieceBytes);
        if (!read) {
            return read.error().code == errc::OutOfMemory
                       ? TextFileLoad{false, {}, customTextMemoryMessage(path)}
                       : failed;
        }
        if (read->bytes.size() > kMaxCustomTextBytes) {
            return {false, {}, customTextTooLargeMessage(path, read->length)};
        }
        for (std::string& piece : read->bytes.pieces()) {
            // Plain ASCII reads the same in UTF-8.
            if (!isAscii(piece)) {
                piece = cp1252::toUtf8(piece);
            }
        }
        return {true, std::move(read->bytes), {}};
    } catch (const std::bad_alloc&) {
        return {false, {}, customTextMemoryMessage(path)};
    }
}

}  // namespace tess
