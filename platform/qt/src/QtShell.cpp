#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

QUrl QtShell::urlFor(const std::string& target) {
    const QString text = toQ(target);
    // Two letters at least, so a Windows-style "C:" never counts as a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch())
        return QUrl(text);
    return fileUrlFor(target);
}

QUrl QtShell::fileUrlFor(const std::string& path) {
    return QUrl::fromLocalFile(QFileInfo(toQ(path)).absoluteFilePath());
}

Status QtShell::open(const std::string& target) {
    if (target.empty())
        return Error{errc::Generic, "Nothing to open"};
    return openUrl(target, urlFor(target));
}

Status QtShell::openFile(const std::string& path) {
    if (path.empty())
        return Error{errc::Generic, "Nothing to open"};
    return openUrl(path, fileUrlFor(path));
}

Status QtShell::openUrl(const std::string& target, const QUrl& url) {
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        return Error{errc::FileNotFound, "Cannot find " + quoted(target)};
    }
    if (!QDesktopServices::openUrl(url)) {
        return Error{errc::Generic, "No application could open " + quoted(target)};
    }
    return {};
}

Status QtShell::start(const std::string& program, const std::string& argument) {
    QProcess process;
    process.setProgram(toQ(program));
    if (!argument.empty())
        process.setArguments({toQ(argument)});
    if (!process.startDetached()) {
        return Error{errc::Generic,
                     "Cannot start " + quoted(program) + ": " + fromQ(process.errorString())};
    }
    return {};
}

Status QtShell::deleteFile(const std::string& path, bool toTrash) {
    // std::filesystem takes the path literally: "*" or "?" in a name is just a character.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status))
        return Error{errc::FileNotFound, "Cannot find " + quoted(path)};
    // A link is deleted as itself, never what it points at.
    if (!fs::is_regular_file(status) && !fs::is_symlink(status)) {
        return Error{errc::Generic, quoted(path) + " is not a file"};
    }

    if (toTrash) {
        // Without the data folder Qt finds no trash, yet still "succeeds" by moving the file into
        // a "files" folder below the working folder; a new account may not have that folder yet.
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (!data.isEmpty())
            QDir().mkpath(data);
        QFile file(toQ(path));
        if (!file.moveToTrash()) {
            return Error{errc::Generic, "Cannot move " + quoted(path) +
                                            " to the trash: " + fromQ(file.errorString())};
        }
        // A trash that could not be set up shows as a relative new name: put the file back and
        // take away what Qt made for it (folders only when empty).
        if (QFileInfo(file.fileName()).isRelative()) {
            const fs::path movedTo = fromQ(file.fileName());
            const fs::path info = movedTo.parent_path().parent_path() / "info";
            fs::rename(movedTo, path, ec);
            fs::remove(info / (movedTo.filename().string() + ".trashinfo"), ec);
            fs::remove(info, ec);
            fs::remove(movedTo.parent_path(), ec);
            return Error{errc::Generic,
                         "Cannot move " + quoted(path) + " to the trash: it has no folder"};
        }
        return {};
    }
    if (!fs::remove(path, ec)) {
        const bool denied = ec == std::errc::permission_denied ||
                            ec == std::errc::operation_not_permitted ||
                            ec == std::errc::read_only_file_system;
        return Error{denied ? errc::PermissionDenied : errc::Generic,
                     "Cannot delete " + quoted(path) + ": " + ec.message()};
    }
    return {};
}

}  // namespace tess::qt
