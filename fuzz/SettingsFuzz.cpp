// The settings reader takes any file: it must end and stay inside its input, and whatever it
// reads must come back the same after the writer has stored it.
#include <QBuffer>
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/qt/IniFormat.h"

namespace {

QSettings::SettingsMap parse(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    tess::qt::readIniText(buffer, map);
    return map;
}

// Texts the program stores come from UTF-8, so they never hold a lone surrogate; an escape in a
// hand-written file can make one, which no UTF-8 file can then hold.
bool storable(const QSettings::SettingsMap& map) {
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.key().isValidUtf16() || !it.value().toString().isValidUtf16()) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QSettings::SettingsMap read = parse(bytes);
    if (!storable(read)) {
        return 0;
    }
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (!tess::qt::writeIniText(out, read)) {
        std::abort();
    }
    out.close();
    if (parse(written) != read) {
        std::abort();
    }
    return 0;
}
