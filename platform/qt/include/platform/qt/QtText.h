#pragma once

#include <QString>
#include <QStringDecoder>
#include <string>
#include <string_view>

namespace tess::qt {

// The programs keep texts as UTF-8 in std::string; Qt keeps them as QString. A U+FEFF at the
// start is part of the text (QString::fromUtf8 would drop it as a byte-order mark), and a
// sequence cut short at the end becomes U+FFFD as one anywhere else does (a decoder that keeps
// its state would wait for the rest and drop it).
inline QString toQ(std::string_view utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// The characters of `text`, for the programs' own UTF-16 stores.
inline std::u16string_view utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline std::string fromQ(const QString& text) {
    return text.toStdString();
}

}  // namespace tess::qt
