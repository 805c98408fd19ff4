#include "platform/Text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/ReadFully.h"

namespace tess {

namespace {

// Bytes 0x80-0x9F of Windows-1252; the five unassigned bytes keep their C1 code points.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char32_t kReplacement = 0xFFFD;

// One UTF-8 sequence at `pos`: the code point and its length, or length 0 when the byte there
// does not start a valid, shortest-form sequence.
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded decodeOne(std::string_view text, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        return {b0, 1};
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1Fu;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0Fu;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07u;
        min = 0x10000;
    } else {
        return {};
    }
    if (pos + length > text.size()) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0u) != 0x80u) {
            return {};
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {};
    }
    return {cp, length};
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacement;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string describe(int err) {
    return std::generic_category().message(err);
}

Error ioError(int code, const std::string& what, const std::string& path, int err) {
    return Error{code, what + " \"" + path + "\": " + describe(err)};
}

int codeForOpen(int err) {
    switch (err) {
        case ENOENT:
            return errc::FileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return errc::PermissionDenied;
        case ENOMEM:
            return errc::OutOfMemory;
        default:
            return errc::Generic;
    }
}

}  // namespace

namespace cp1252 {

char32_t decode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighTable[byte - 0x80];
    }
    return byte;
}

char encode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(static_cast<unsigned char>(codePoint));
    }
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == codePoint) {
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
        }
    }
    return '?';
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const Decoded d = decodeOne(utf8, pos);
        if (d.length == 0) {
            out += utf8[pos];
            ++pos;
            continue;
        }
        out += encode(d.codePoint);
        pos += d.length;
    }
    return out;
}

std::string toUtf8(std::string_view bytes) {
    // Sized exactly first: a long text of accented letters would otherwise grow the string by
    // doubling, holding two copies at once, up to six times its own bytes.
    std::size_t size = 0;
    for (char c : bytes) {
        const char32_t cp = decode(static_cast<unsigned char>(c));
        size += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    }
    std::string out;
    out.reserve(size);
    for (char c : bytes) {
        appendUtf8(out, decode(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace cp1252

namespace utf8 {

std::u32string decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded d = decodeOne(text, pos);
        if (d.length == 0) {
            out += kReplacement;
            ++pos;
            continue;
        }
        out += d.codePoint;
        pos += d.length;
    }
    return out;
}

std::string encode(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        appendUtf8(out, c);
    }
    return out;
}

std::string encode(char32_t codePoint) {
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

std::size_t length(std::string_view text) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded d = decodeOne(text, pos);
        pos += d.length == 0 ? 1 : d.length;
        ++count;
    }
    return count;
}

}  // namespace utf8

namespace {

// A regular file opened for reading, with its length; anything else (a folder, pipe or device)
// is refused at once, so a read never waits on a writer that does not come.
struct OpenFile {
    int fd = -1;
    std::uint64_t length = 0;
};

Result<OpenFile> openRegularFile(const std::string& path) {
    // Non-blocking, so that opening a pipe does not wait for its writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return ioError(codeForOpen(err), "Cannot open", path, err);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return ioError(errc::Generic, "Cannot read", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Error{errc::Generic, "Cannot read \"" + path + "\": not a regular file"};
    }
    return OpenFile{fd, static_cast<std::uint64_t>(st.st_size)};
}

Error readError(const std::string& path, int err) {
    return ioError(err == ENOMEM ? errc::OutOfMemory : errc::Generic, "Cannot read", path, err);
}

}  // namespace

Result<FileHead> readFileHead(const std::string& path, std::size_t maxBytes) {
    Result<OpenFile> file = openRegularFile(path);
    if (!file) {
        return file.error();
    }
    const int fd = file->fd;
    FileHead head;
    head.length = file->length;
    try {
        // Sized from the length, grown when the file grew since; cut to what was read.
        std::size_t size = static_cast<std::size_t>(
            std::min<std::uint64_t>(head.length, static_cast<std::uint64_t>(maxBytes)));
        head.bytes.resize(size == maxBytes ? size : size + 1);
        std::size_t got = 0;
        while (got < maxBytes) {
            if (got == head.bytes.size()) {
                head.bytes.resize(std::min(maxBytes, std::max<std::size_t>(got * 2, 65536)));
            }
            const std::size_t before = got;
            if (const int err = readFully(fd, head.bytes.data(), head.bytes.size(), got);
                err != 0) {
                ::close(fd);
                return readError(path, err);
            }
            if (got < head.bytes.size() || got == before) {
                break;
            }
        }
        head.bytes.resize(got);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return ioError(errc::OutOfMemory, "Cannot read", path, ENOMEM);
    } catch (const std::length_error&) {
        ::close(fd);
        return ioError(errc::OutOfMemory, "Cannot read", path, ENOMEM);
    }
    ::close(fd);
    return head;
}

Result<FilePieces> readFilePieces(const std::string& path, std::size_t maxBytes,
                                  std::size_t pieceBytes) {
    Result<OpenFile> file = openRegularFile(path);
    if (!file) {
        return file.error();
    }
    const int fd = file->fd;
    FilePieces read;
    read.length = file->length;
    try {
        std::size_t total = 0;
        while (total < maxBytes) {
            std::string piece(std::min(pieceBytes, maxBytes - total), '\0');
            std::size_t got = 0;
            if (const int err = readFully(fd, piece.data(), piece.size(), got); err != 0) {
                ::close(fd);
                return readError(path, err);
            }
            piece.resize(got);
            total += got;
            if (got > 0) {
                read.bytes.pieces().push_back(std::move(piece));
            }
            if (got < pieceBytes) {
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return ioError(errc::OutOfMemory, "Cannot read", path, ENOMEM);
    }
    ::close(fd);
    return read;
}

// The head of a file without a limit: the same checks, so a pipe or device is refused at once.
Result<std::string> readFileBytes(const std::string& path) {
    Result<FileHead> head = readFileHead(path);
    if (!head.ok()) {
        return head.error();
    }
    return std::move(head->bytes);
}

Status writeFileAtomic(const std::string& path, std::string_view bytes) {
    AtomicFile file;
    if (Status opened = file.open(path); !opened) {
        return opened;
    }
    if (Status written = file.write(bytes); !written) {
        return written;
    }
    return file.commit();
}

Status appendFileBytes(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int err = errno;
        return ioError(AtomicFile::errorCode(err), "Cannot write", path, err);
    }
    int err = AtomicFile::writeAll(fd, bytes);
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        return ioError(AtomicFile::errorCode(err), "Cannot write", path, err);
    }
    return {};
}

bool isAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (char ch : bytes) {
        any |= static_cast<unsigned char>(ch);
    }
    return any < 0x80;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') {
        out += '/';
    }
    out += name;
    return out;
}

}  // namespace tess
