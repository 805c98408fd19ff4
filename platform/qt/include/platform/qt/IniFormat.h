#pragma once

#include <QIODevice>
#include <QSettings>
#include <QString>

namespace tess::qt {

// The text of one settings file as IniSettingsStore keeps it, in QSettings' custom-format shape:
// the map holds "section/key" names (each part escaped by iniMapEscape) and string values.
//
// Reading takes values raw: a hand-written `key=a,b` is the text "a,b" (no list), a ";" inside
// a value is part of it, only a ";" at the start of a line marks a comment, and keys outside a
// section are skipped. Writing escapes values as Qt writes INI strings, so the file stays
// readable by Qt's own INI format and every text written comes back exactly.
bool readIniText(QIODevice& device, QSettings::SettingsMap& map);
bool writeIniText(QIODevice& device, const QSettings::SettingsMap& map);

// One part of a map name: "%", "/" and "\" encoded, so Qt sees exactly one separator.
QString iniMapEscape(const QString& name);
QString iniMapUnescape(const QString& name);

}  // namespace tess::qt
