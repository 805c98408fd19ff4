#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tess::qt {

// The programs keep texts as UTF-8 in std::string; Qt keeps them as QString.
inline QString toQ(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string fromQ(const QString& text) {
    return text.toStdString();
}

}  // namespace tess::qt
