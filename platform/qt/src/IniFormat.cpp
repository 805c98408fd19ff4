#include "platform/qt/IniFormat.h"

#include <QByteArray>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Runtime.h"
#include "platform/Text.h"
#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// UTF-8 text between escapes, a U+FEFF after an escape or at the start kept.
QString fromUtf8(QByteArrayView bytes) {
    return toQ(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The bytes without the blanks and tabs at their ends.
QByteArrayView trimmed(QByteArrayView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t')) {
        --end;
    }
    return line.sliced(begin, end - begin);
}

// Section and key names in the file, as Qt escapes INI keys: letters, digits, "_", "-" and "." as
// they are, other characters as %XX or %UXXXX.
QByteArray fileEscapeName(const QString& name) {
    const auto plain = [](QChar qc) {
        const char16_t c = qc.unicode();
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    };
    if (std::all_of(name.begin(), name.end(), plain)) {
        return name.toLatin1();
    }
    QByteArray out;
    for (QChar qc : name) {
        const char16_t c = qc.unicode();
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-' || c == '.') {
            out += static_cast<char>(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 15];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out += kHexDigits[(c >> shift) & 15];
            }
        }
    }
    return out;
}

// Reads a name written by fileEscapeName or by hand (any other text is taken as it stands).
QString fileUnescapeName(QByteArrayView bytes) {
    if (!bytes.contains('%')) {
        return fromUtf8(bytes);
    }
    QString out;
    QByteArray plain;
    const auto flush = [&] {
        out += fromUtf8(plain);
        plain.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%') {
            if (i + 5 < bytes.size() && bytes[i + 1] == 'U') {
                int value = 0;
                bool ok = true;
                for (int k = 2; k <= 5; ++k) {
                    const int h = rt::hexDigitValue(bytes[i + k]);
                    ok = ok && h >= 0;
                    value = value * 16 + (h < 0 ? 0 : h);
                }
                if (ok) {
                    flush();
                    out += QChar(static_cast<char16_t>(value));
                    i += 5;
                    continue;
                }
            }
            if (i + 2 < bytes.size()) {
                const int hi = rt::hexDigitValue(bytes[i + 1]);
                const int lo = rt::hexDigitValue(bytes[i + 2]);
                if (hi >= 0 && lo >= 0) {
                    flush();
                    out += QChar(static_cast<char16_t>(hi * 16 + lo));
                    i += 2;
                    continue;
                }
            }
        }
        plain += bytes[i];
    }
    flush();
    return out;
}

bool isHexDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A value as Qt writes an INI string, so the file stays readable by Qt's own INI format.
QByteArray fileEscapeValue(const QString& value) {
    const QString text = value.startsWith(u'@') ? u'@' + value : value;
    QByteArray out;
    bool needsQuotes = false;
    // Printable ASCII other than a quote or a backslash stands as it is.
    const auto plain = [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'"' && c != u'\\';
    };
    if (std::all_of(text.begin(), text.end(), plain)) {
        out = text.toLatin1();
        needsQuotes = out.contains(';') || out.contains(',') || out.contains('=');
        if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) {
            out = '"' + out + '"';
        }
        return out;
    }
    bool escapeNextIfDigit = false;
    for (char32_t c : text.toUcs4()) {
        if (c == ';' || c == ',' || c == '=') {
            needsQuotes = true;
        }
        if (escapeNextIfDigit && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(static_cast<uint>(c), 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (c) {
            case U'\0':
                out += "\\0";
                escapeNextIfDigit = true;
                break;
            case U'\a':
                out += "\\a";
                break;
            case U'\b':
                out += "\\b";
                break;
            case U'\f':
                out += "\\f";
                break;
            case U'\n':
                out += "\\n";
                break;
            case U'\r':
                out += "\\r";
                break;
            case U'\t':
                out += "\\t";
                break;
            case U'\v':
                out += "\\v";
                break;
            case U'"':
            case U'\\':
                out += '\\';
                out += static_cast<char>(c);
                break;
            default:
                if (c <= 0x1F) {
                    out += "\\x" + QByteArray::number(static_cast<uint>(c), 16);
                    escapeNextIfDigit = true;
                } else {
                    // Encoded here: Qt's UCS-4 decoder takes a lone U+FEFF for a byte-order mark
                    // and drops it.
                    out += utf8::encode(c);
                }
                break;
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) {
        out = '"' + out + '"';
    }
    return out;
}

char32_t simpleEscape(char c) {
    switch (c) {
        case 'a':
            return U'\a';
        case 'b':
            return U'\b';
        case 'f':
            return U'\f';
        case 'n':
            return U'\n';
        case 'r':
            return U'\r';
        case 't':
            return U'\t';
        case 'v':
            return U'\v';
        case '"':
        case '?':
        case '\'':
        case '\\':
            return static_cast<char32_t>(c);
        default:
            return 0;
    }
}

// The text after "=": blanks around it dropped, quotes removed, Qt's escapes decoded. Unlike Qt,
// a "," never splits the value into a list and an unknown escape keeps its backslash, so a
// hand-written value comes back as written.
QString fileUnescapeValue(QByteArrayView v) {
    if (!v.contains('"') && !v.contains('\\')) {
        // No quotes or escapes: the loop below would give the text without the blanks at its
        // ends (those at the end taken off once decoded, as there).
        qsizetype begin = 0;
        while (begin < v.size() && (v[begin] == ' ' || v[begin] == '\t')) {
            ++begin;
        }
        QString out = fromUtf8(v.sliced(begin));
        qsizetype end = out.size();
        while (end > 0 && (out[end - 1] == u' ' || out[end - 1] == u'\t')) {
            --end;
        }
        out.truncate(end);
        if (out.startsWith(u"@@")) {
            out.remove(0, 1);
        }
        return out;
    }
    QString out;
    QByteArray plain;
    const auto flush = [&] {
        out += fromUtf8(plain);
        plain.clear();
    };
    const auto skipBlanks = [&](qsizetype& i) {
        while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) {
            ++i;
        }
    };
    bool quoted = false;
    bool inQuotes = false;
    qsizetype chopLimit = 0;  // escaped characters and quoted text are never chopped
    qsizetype i = 0;
    skipBlanks(i);
    while (i < v.size()) {
        const char c = v[i];
        if (c == '"') {
            flush();
            quoted = true;
            inQuotes = !inQuotes;
            ++i;
            if (!inQuotes) {
                skipBlanks(i);
            }
            continue;
        }
        if (c != '\\' || i + 1 >= v.size()) {
            plain += c;
            ++i;
            continue;
        }
        const char d = v[i + 1];
        if (const char32_t simple = simpleEscape(d)) {
            flush();
            out += QChar(static_cast<char16_t>(simple));
            i += 2;
            chopLimit = out.size();
            continue;
        }
        const bool hex = d == 'x' && i + 2 < v.size() && rt::hexDigitValue(v[i + 2]) >= 0;
        const bool octal = d >= '0' && d <= '7';
        if (!hex && !octal) {
            plain += c;  // not an escape: the backslash is an ordinary character
            ++i;
            continue;
        }
        flush();
        const int radix = hex ? 16 : 8;
        qsizetype j = hex ? i + 2 : i + 1;
        char32_t value = 0;
        while (j < v.size() && rt::hexDigitValue(v[j]) >= 0 && rt::hexDigitValue(v[j]) < radix) {
            value = (value * static_cast<char32_t>(radix) +
                     static_cast<char32_t>(rt::hexDigitValue(v[j]))) &
                    0xFFFFu;
            ++j;
        }
        out += QChar(static_cast<char16_t>(value));
        i = j;
        chopLimit = out.size();
    }
    flush();
    if (!quoted) {
        qsizetype end = out.size();
        while (end > chopLimit && (out[end - 1] == u' ' || out[end - 1] == u'\t')) {
            --end;
        }
        out.truncate(end);
    }
    if (out.startsWith(u"@@")) {
        out.remove(0, 1);
    }
    return out;
}

}  // namespace

QString iniMapEscape(const QString& name) {
    if (!name.contains(u'%') && !name.contains(u'/') && !name.contains(u'\\')) {
        return name;
    }
    QString out;
    for (QChar c : name) {
        if (c == u'%') {
            out += u"%25";
        } else if (c == u'/') {
            out += u"%2F";
        } else if (c == u'\\') {
            out += u"%5C";
        } else {
            out += c;
        }
    }
    return out;
}

QString iniMapUnescape(const QString& name) {
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == u'%' && i + 2 < name.size()) {
            const int hi = rt::hexDigitValue(static_cast<char>(name[i + 1].unicode()));
            const int lo = rt::hexDigitValue(static_cast<char>(name[i + 2].unicode()));
            if (hi >= 0 && lo >= 0 && name[i + 1].unicode() < 128 && name[i + 2].unicode() < 128) {
                out += QChar(static_cast<char16_t>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out += name[i];
    }
    return out;
}

bool readIniText(QIODevice& device, QSettings::SettingsMap& map) {
    QByteArray data = device.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) {
        data.remove(0, 3);
    }
    QString section;
    QString prefix;  // the section's part of a map name, with its "/"
    bool inSection = false;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0) {
            end = data.size();
        }
        QByteArrayView line = QByteArrayView(data).sliced(pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        line = trimmed(line);
        if (line.isEmpty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const qsizetype close = line.lastIndexOf(']');
            const QByteArrayView name =
                trimmed(close > 0 ? line.sliced(1, close - 1) : line.sliced(1));
            section = fileUnescapeName(name);
            inSection = !section.isEmpty();
            prefix = iniMapEscape(section) + u'/';
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0) {
            continue;  // keys outside a section cannot be addressed
        }
        const QString key = fileUnescapeName(trimmed(line.first(equals)));
        if (key.isEmpty()) {
            continue;
        }
        QString full = prefix + iniMapEscape(key);
        QString value = fileUnescapeValue(line.sliced(equals + 1));
        // A file this program wrote lists its names in the map's order: each goes at the end.
        if (map.isEmpty() || map.lastKey() < full) {
            map.insert(map.cend(), std::move(full), std::move(value));
        } else {
            map.insert(std::move(full), std::move(value));
        }
    }
    return true;
}

bool writeIniText(QIODevice& device, const QSettings::SettingsMap& map) {
    std::vector<std::pair<QString, QByteArray>> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        if (slash <= 0) {
            continue;
        }
        const QStringView section = QStringView(it.key()).first(slash);
        if (sections.empty() || sections.back().first != section) {
            sections.emplace_back(section.toString(), QByteArray());
        }
        QByteArray& lines = sections.back().second;
        lines += fileEscapeName(iniMapUnescape(it.key().sliced(slash + 1)));
        lines += '=';
        lines += fileEscapeValue(it.value().toString());
        lines += '\n';
    }
    QByteArray out;
    for (const auto& [section, lines] : sections) {
        if (!out.isEmpty()) {
            out += '\n';
        }
        out += '[' + fileEscapeName(iniMapUnescape(section)) + "]\n";
        out += lines;
    }
    return device.write(out) == out.size();
}

}  // namespace tess::qt
