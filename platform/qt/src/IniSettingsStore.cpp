#include "platform/qt/IniSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <utility>

#include "platform/qt/IniFormat.h"
#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

bool sameName(const QString& a, const QString& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char16_t>(x + 32);
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char16_t>(y + 32);
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

QSettings::Format iniFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat("ini", readIniText, writeIniText);
    return format;
}

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

// The map key of a stored value: the spelling already in the file when one matches (ignoring
// case, an exact match first), else empty.
QString findKey(const QSettings& settings, const QString& section, const QString& key) {
    QString loose;
    for (const QString& full : settings.allKeys()) {
        const qsizetype slash = full.indexOf(u'/');
        if (slash <= 0) {
            continue;
        }
        const QString s = iniMapUnescape(full.first(slash));
        const QString k = iniMapUnescape(full.sliced(slash + 1));
        if (s == section && k == key) {
            return full;
        }
        if (loose.isEmpty() && sameName(s, section) && sameName(k, key)) {
            loose = full;
        }
    }
    return loose;
}

// The map spelling of a section already in the file, or the new one.
QString sectionSpelling(const QSettings& settings, const QString& section) {
    QString loose;
    for (const QString& full : settings.allKeys()) {
        const qsizetype slash = full.indexOf(u'/');
        if (slash <= 0) {
            continue;
        }
        const QString s = iniMapUnescape(full.first(slash));
        if (s == section) {
            return full.first(slash);
        }
        if (loose.isEmpty() && sameName(s, section)) {
            loose = full.first(slash);
        }
    }
    return loose.isEmpty() ? iniMapEscape(section) : loose;
}

}  // namespace

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
    if (file.isEmpty() || section.empty() || key.empty() || !QFileInfo::exists(file)) {
        return fallback;
    }
    QSettings settings(file, iniFormat());
    const QString full = findKey(settings, toQ(section), toQ(key));
    if (full.isEmpty()) {
        return fallback;
    }
    return fromQ(settings.value(full).toString());
}

void IniSettingsStore::save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
    const QString file = fileFor(app);
    if (file.isEmpty() || section.empty() || key.empty()) {
        return;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings settings(file, iniFormat());
    QString full = findKey(settings, toQ(section), toQ(key));
    if (full.isEmpty()) {
        full = sectionSpelling(settings, toQ(section)) + u'/' + iniMapEscape(toQ(key));
    }
    settings.setValue(full, toQ(value));
    settings.sync();
}

void IniSettingsStore::remove(const std::string& app, const std::string& section,
                              const std::string& key) {
    const QString file = fileFor(app);
    if (file.isEmpty() || section.empty() || !QFileInfo::exists(file)) {
        return;
    }
    QSettings settings(file, iniFormat());
    const QString wantedSection = toQ(section);
    if (key.empty()) {
        for (const QString& full : settings.allKeys()) {
            const qsizetype slash = full.indexOf(u'/');
            if (slash > 0 && sameName(iniMapUnescape(full.first(slash)), wantedSection)) {
                settings.remove(full);
            }
        }
    } else {
        const QString full = findKey(settings, wantedSection, toQ(key));
        if (full.isEmpty()) {
            return;
        }
        settings.remove(full);
    }
    settings.sync();
}

}  // namespace tess::qt
