#include "platform/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace tess {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderName = "Tessaryn";

bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The runtime folder counts only as the freedesktop rules describe it: absolute, a real folder,
// the user's own and closed to everybody else.
bool usableRuntimeFolder(const std::string& path) {
    struct stat st {};
    return isAbsolute(path) && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

std::string lexicallyNormal(const std::string& path) {
    std::string normal = fs::path(path).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

Error folderError(const std::string& path, int err) {
    return Error{
        err == ENOENT || err == ENOTDIR ? errc::PathNotFound : errc::PermissionDenied,
        "Cannot make the folder \"" + path + "\": " + std::generic_category().message(err)};
}

// The shipped graphics: beside the program in a build tree or a portable copy, in the shared data
// folder of the prefix when installed.
std::string shippedGraphics(const std::string& program) {
    const std::string beside = joinPath(program, "Graphics");
    if (isFolder(beside))
        return beside;
    const std::string installed = lexicallyNormal(joinPath(program, "../share/tessaryn/Graphics"));
    return isFolder(installed) ? installed : beside;
}

}  // namespace

Folders Folders::inOne(const std::string& folder) {
    return Folders{folder, folder, folder, {joinPath(folder, "Graphics")}};
}

std::string Folders::mosaics() const {
    return joinPath(data, "Mosaics");
}

bool folderWritable(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0 && isFolder(folder);
}

Status makeFolders(const std::string& path) {
    if (!isAbsolute(path))
        return folderError(path, ENOENT);
    std::string made;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        made = path.substr(0, slash);
        start = slash + 1;
        if (made.empty() || made.back() == '/')
            continue;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return folderError(made, errno);
    }
    if (!isFolder(path))
        return folderError(path, ENOTDIR);
    return {};
}

Status makePrivateFolder(const std::string& path) {
    if (Status made = makeFolders(path); !made)
        return made;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return folderError(path, errno);
    if (!S_ISDIR(st.st_mode))
        return Error{errc::PermissionDenied, "\"" + path + "\" is not a folder of its own"};
    if (st.st_uid != ::geteuid())
        return Error{errc::PermissionDenied, "\"" + path + "\" belongs to another user"};
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), st.st_mode & 0700) != 0)
        return folderError(path, errno);
    return {};
}

Folders chooseFolders(const FolderEnvironment& env) {
    const std::string program = env.programFolder;
    if (env.programWritable) {
        Folders folders = Folders::inOne(program);
        folders.graphics = {shippedGraphics(program)};
        return folders;
    }

    const std::string home = isAbsolute(env.home) ? env.home : std::string();
    // Relative values of the freedesktop variables are to be ignored.
    const std::string dataHome = isAbsolute(env.dataHome)
                                     ? env.dataHome
                                     : (home.empty() ? std::string() : home + "/.local/share");
    const std::string cacheHome = isAbsolute(env.cacheHome)
                                      ? env.cacheHome
                                      : (home.empty() ? std::string() : home + "/.cache");

    Folders folders;
    folders.program = program;
    folders.data = dataHome.empty() ? std::string() : joinPath(dataHome, kFolderName);
    if (!folders.data.empty())
        (void)makeFolders(folders.mosaics());

    std::string scratch;
    if (usableRuntimeFolder(env.runtimeDir))
        scratch = joinPath(env.runtimeDir, kFolderName);
    if (scratch.empty() || !makePrivateFolder(scratch)) {
        scratch = cacheHome.empty() ? std::string() : joinPath(cacheHome, kFolderName);
        if (!scratch.empty() && !makePrivateFolder(scratch))
            scratch.clear();
    }
    folders.scratch = scratch;

    folders.graphics = {shippedGraphics(program)};
    if (!folders.data.empty())
        folders.graphics.push_back(joinPath(folders.data, "Graphics"));
    return folders;
}

}  // namespace tess
