#pragma once

// What must hold for the settings reader on any file: it ends, stays inside its input and reads
// every file, and whatever it read comes back the same after the writer has stored it. The
// store's parsed file finds every value the reader gave under its names and writes the same text.
#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QSettings>
#include <optional>
#include <string>
#include <string_view>

#include "CheckOutcome.h"
#include "platform/qt/IniFile.h"
#include "platform/qt/IniFormat.h"

namespace tess::fuzzcheck {

namespace detail {

inline bool readSettings(QByteArray bytes, QSettings::SettingsMap& map) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return qt::readIniText(buffer, map);
}

// Texts the program stores come from UTF-8, so they never hold a lone surrogate; an escape in a
// hand-written file can make one, which no UTF-8 file can then hold.
inline bool storable(const QSettings::SettingsMap& map) {
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.key().isValidUtf16() || !it.value().toString().isValidUtf16()) {
            return false;
        }
    }
    return true;
}

}  // namespace detail

inline Outcome checkSettings(std::string_view bytes) {
    Outcome out;
    QSettings::SettingsMap read;
    out.read =
        detail::readSettings(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), read);
    if (!out.read) {
        out.broken = "the reader refused a file";
        return out;
    }
    out.what = std::to_string(read.size()) + " values";
    if (!detail::storable(read)) {
        return out;
    }
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    if (!qt::writeIniText(buffer, read)) {
        out.broken = "the writer failed";
        return out;
    }
    buffer.close();
    const qt::IniFile file(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (file.text() != written) {
        out.broken = "the parsed file writes another text than the writer";
        return out;
    }
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const std::optional<QString> found =
            file.value(qt::iniMapUnescape(it.key().first(slash)),
                       qt::iniMapUnescape(it.key().sliced(slash + 1)));
        if (!found || *found != it.value().toString()) {
            out.broken = "the parsed file does not find a value the reader gave";
            return out;
        }
    }
    QSettings::SettingsMap back;
    if (!detail::readSettings(written, back)) {
        out.broken = "the reader refused what the writer wrote";
    } else if (back != read) {
        out.broken = "what the writer wrote reads back otherwise:\n" + written.toStdString();
    }
    return out;
}

}  // namespace tess::fuzzcheck
