#include "platform/qt/IniSettingsStore.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <utility>

#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

// A part of an application name as one file or folder name: "/" and "%" encoded, and a leading
// "." too, so no part can leave the root folder or hide itself.
QString fileNamePart(const QString& part) {
    QString out;
    for (qsizetype i = 0; i < part.size(); ++i) {
        const QChar c = part[i];
        if (c == u'/') {
            out += u"%2F";
        } else if (c == u'%') {
            out += u"%25";
        } else if (c == u'\0') {
            out += u"%00";
        } else if (c == u'.' && i == 0) {
            out += u"%2E";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

bool IniSettingsStore::Stamp::operator==(const Stamp& other) const {
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return exists == other.exists && regular == other.regular && device == other.device &&
           inode == other.inode && size == other.size && same(modified, other.modified) &&
           same(changed, other.changed);
}

namespace {

template <class Stamp>
Stamp stampFrom(const struct stat& info) {
    Stamp stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(info.st_mode);
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return stamp;
}

}  // namespace

IniSettingsStore::Stamp IniSettingsStore::stampOf(const QString& file) {
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0) {
        return {};
    }
    return stampFrom<Stamp>(info);
}

const IniFile& IniSettingsStore::current(const QString& file) const {
    const Stamp now = stampOf(file);
    const auto known = files_.find(file);
    if (known != files_.end() && known->second.stamp == now) {
        return known->second.values;
    }
    Cached fresh;
    fresh.stamp = now;
    // Only a regular file is read: a FIFO or a device at the name would never end.
    QFile in(file);
    if (now.regular && in.open(QIODevice::ReadOnly)) {
        // The stamp of what is read, should the file be replaced between the look and the open.
        struct stat info {};
        if (::fstat(in.handle(), &info) == 0 && S_ISREG(info.st_mode)) {
            fresh.stamp = stampFrom<Stamp>(info);
            fresh.values = IniFile(in.readAll());
        }
    }
    Cached& cached = files_[file];
    cached = std::move(fresh);
    return cached.values;
}

void IniSettingsStore::write(const QString& file) {
    const QByteArray text = files_[file].values.text();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        files_.erase(file);
        return;
    }
    files_[file].stamp = stampOf(file);
}

IniSettingsStore::IniSettingsStore(QString rootFolder) : root_(std::move(rootFolder)) {
    while (root_.size() > 1 && root_.endsWith(u'/')) {
        root_.chop(1);
    }
}

QString IniSettingsStore::fileFor(const std::string& app) const {
    QStringList parts;
    for (const QString& part : toQ(app).split(u'\\', Qt::SkipEmptyParts)) {
        parts += fileNamePart(part);
    }
    if (parts.isEmpty()) {
        return {};
    }
    return root_ + u'/' + parts.join(u'/') + QStringLiteral(".ini");
}

std::string IniSettingsStore::get(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& fallback) const {
    const QString file = fileFor(app);
    if (file.isEmpty() || section.empty() || key.empty()) {
        return fallback;
    }
    const std::optional<QString> value = current(file).value(toQ(section), toQ(key));
    return value ? fromQ(*value) : fallback;
}

void IniSettingsStore::save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
    const QString file = fileFor(app);
    if (file.isEmpty() || section.empty() || key.empty()) {
        return;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    // The lock Qt's settings take: another program's write is not lost between its read and ours.
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.lock()) {
        return;
    }
    current(file);
    Cached& cached = files_[file];
    if (cached.stamp.exists && !cached.stamp.regular) {
        return;  // not a settings file: nothing is written over it
    }
    if (cached.values.set(toQ(section), toQ(key), toQ(value))) {
        write(file);
    }
}

void IniSettingsStore::remove(const std::string& app, const std::string& section,
                              const std::string& key) {
    const QString file = fileFor(app);
    if (file.isEmpty() || section.empty() || !stampOf(file).regular) {
        return;
    }
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.lock()) {
        return;
    }
    current(file);
    IniFile& values = files_[file].values;
    if (key.empty() ? values.removeSection(toQ(section)) : values.remove(toQ(section), toQ(key))) {
        write(file);
    }
}

}  // namespace tess::qt
