#include "platform/Files.h"

#include <sys/stat.h>
#include <sys/vfs.h>

#include <cstdlib>

#include "platform/MountTable.h"
#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess {

namespace {

// Super-block magic numbers of network file systems, for when the mount table cannot be read.
bool isNetworkMagic(long type) {
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFul) {
        case 0x6969ul:      // NFS
        case 0x517Bul:      // SMB
        case 0xFF534D42ul:  // CIFS
        case 0xFE534D42ul:  // SMB2
        case 0x73757245ul:  // Coda
        case 0x5346414Ful:  // AFS
        case 0x6B414653ul:  // kAFS
        case 0x00C36400ul:  // Ceph
        case 0x01021997ul:  // 9p
        case 0x65735546ul:  // FUSE
            return true;
        default:
            return false;
    }
}

// The real path of the nearest part of `path` that exists (the path itself when it does).
std::string nearestExisting(std::string path) {
    for (;;) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string out = resolved;
            std::free(resolved);
            return out;
        }
        const std::size_t slash = path.find_last_of('/');
        if (slash == std::string::npos || slash == 0) {
            return "/";
        }
        path.erase(slash);
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string found = rt::trim(slash == std::string::npos ? path : path.substr(slash + 1));
    if (found.empty() || found.front() == '.') {
        return false;  // hidden files do not count
    }
    return rt::toLower(path).find(rt::toLower(found)) != std::string::npos;
}

bool IsFixedDrive(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return false;
    }
    const std::string real = nearestExisting(path);
    const Result<std::string> table = readFileBytes("/proc/self/mountinfo");
    if (table.ok()) {
        const auto mounts = mounts::parseMountInfo(*table);
        if (const mounts::MountEntry* m = mounts::findMount(mounts, real)) {
            return mounts::isFixedMount(*m);
        }
    }
    struct statfs fs {};
    if (::statfs(real.c_str(), &fs) != 0) {
        return false;
    }
    return !isNetworkMagic(static_cast<long>(fs.f_type)) &&
           mounts::isFixedMount(mounts::MountEntry{real, "", ""});
}

std::string ThreeDigits(const std::string& sTheStr) {
    switch (utf8::length(sTheStr)) {
        case 0:
            return "000";
        case 1:
            return "00" + sTheStr;
        case 2:
            return "0" + sTheStr;
        default:
            return sTheStr;
    }
}

std::string ShortFileName(const std::string& sTheStr) {
    const std::u32string text = utf8::decode(sTheStr);
    if (text.size() <= 40) {
        return sTheStr;
    }
    const std::u32string dots = U".../...";
    const auto firstFiveAndLast32 = [&](const std::u32string& source) {
        const std::size_t tail = source.size() < 32 ? source.size() : 32;
        return text.substr(0, 5) + dots + source.substr(source.size() - tail);
    };
    const std::size_t first = text.find(U'/');
    if (first == std::u32string::npos) {
        return utf8::encode(firstFiveAndLast32(text));
    }
    const std::size_t second = text.find(U'/', first + 1);
    std::u32string candidate =
        second == std::u32string::npos ? U".../" : text.substr(0, second + 1) + U".../";
    candidate += text.substr(text.rfind(U'/') + 1);
    if (candidate.size() > 60) {
        candidate = firstFiveAndLast32(candidate);
    }
    return utf8::encode(candidate);
}

}  // namespace tess
