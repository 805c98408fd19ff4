#pragma once

#include <QUrl>
#include <string>

#include "platform/Shell.h"

namespace tess::qt {

// The desktop shell on Qt: documents and web addresses through QDesktopServices, programs through
// QProcess::startDetached, deletion with QFile::moveToTrash or a plain remove.
class QtShell : public Shell {
  public:
    Status open(const std::string& target) override;
    Status openFile(const std::string& path) override;
    // An empty argument starts the program without arguments.
    Status start(const std::string& program, const std::string& argument) override;
    Status deleteFile(const std::string& path, bool toTrash) override;

    // The address open() hands to the desktop: a text with a scheme ("https:", "mailto:",
    // "file:") as it stands, anything else as a local path made absolute.
    static QUrl urlFor(const std::string& target);
    // The address openFile() hands to the desktop: the path made absolute, as a file URL.
    static QUrl fileUrlFor(const std::string& path);

  private:
    // `target` as the caller named it, for messages.
    static Status openUrl(const std::string& target, const QUrl& url);
};

}  // namespace tess::qt
