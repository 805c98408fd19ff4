#include "platform/qt/IniFile.h"

#include <QBuffer>
#include <algorithm>

#include "platform/qt/IniFormat.h"

namespace tess::qt {

namespace {

char16_t folded(QChar c) {
    const char16_t u = c.unicode();
    return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u + 32) : u;
}

// A map name's section part; every name holds one "/", since its parts are escaped.
QString sectionOf(const QString& full) {
    return full.first(full.indexOf(u'/'));
}

}  // namespace

bool operator==(const IniFile::FoldedName& a, const IniFile::FoldedName& b) {
    if (a.name.size() != b.name.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.name.size(); ++i) {
        if (folded(a.name[i]) != folded(b.name[i])) {
            return false;
        }
    }
    return true;
}

std::size_t qHash(const IniFile::FoldedName& name, std::size_t seed) {
    // FNV-1a over the folded code units, mixed with the table's seed.
    std::size_t hash = 14695981039346656037ull ^ seed;
    for (QChar c : name.name) {
        hash = (hash ^ folded(c)) * 1099511628211ull;
    }
    return hash;
}

IniFile::IniFile(const QByteArray& text) {
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    readIniText(buffer, map_);
    firstName_.reserve(map_.size());
    // The names of one section spelling follow each other in the map.
    QString section;
    qsizetype run = 0;
    for (auto it = map_.cbegin(); it != map_.cend(); ++it) {
        const QString& full = it.key();
        addSpelling(firstName_, crowdedNames_, full);
        if (run > 0 && full.size() > section.size() && full[section.size()] == u'/' &&
            full.startsWith(section)) {
            ++run;
            continue;
        }
        if (run > 0) {
            sectionSizes_.insert(section, run);
        }
        section = sectionOf(full);
        addSpelling(firstSection_, crowdedSections_, section);
        run = 1;
    }
    if (run > 0) {
        sectionSizes_.insert(section, run);
    }
}

void IniFile::addSpelling(QHash<FoldedName, QString>& first,
                          QHash<FoldedName, QList<QString>>& crowded, const QString& spelling) {
    const FoldedName name{spelling};
    const auto known = first.find(name);
    if (known == first.end()) {
        first.insert(name, spelling);
        return;
    }
    QList<QString>& all = crowded[name];
    if (all.isEmpty()) {
        all.append(*known);
    }
    all.insert(std::lower_bound(all.begin(), all.end(), spelling), spelling);
    *known = all.front();
}

void IniFile::dropSpelling(QHash<FoldedName, QString>& first,
                           QHash<FoldedName, QList<QString>>& crowded, const QString& spelling) {
    const FoldedName name{spelling};
    const auto many = crowded.find(name);
    if (many == crowded.end()) {
        first.remove(name);
        return;
    }
    many->removeOne(spelling);
    first[name] = many->front();
    if (many->size() == 1) {
        crowded.erase(many);
    }
}

void IniFile::index(const QString& full) {
    addSpelling(firstName_, crowdedNames_, full);
    const QString section = sectionOf(full);
    if (++sectionSizes_[section] == 1) {
        addSpelling(firstSection_, crowdedSections_, section);
    }
}

void IniFile::unindex(const QString& full) {
    dropSpelling(firstName_, crowdedNames_, full);
    const QString section = sectionOf(full);
    const auto size = sectionSizes_.find(section);
    if (--*size == 0) {
        sectionSizes_.erase(size);
        dropSpelling(firstSection_, crowdedSections_, section);
    }
}

QString IniFile::findKey(const QString& section, const QString& key) const {
    const QString exact = iniMapEscape(section) + u'/' + iniMapEscape(key);
    if (map_.contains(exact)) {
        return exact;
    }
    return firstName_.value(FoldedName{exact});
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const QString full = findKey(section, key);
    if (full.isEmpty()) {
        return std::nullopt;
    }
    return map_.value(full).toString();
}

bool IniFile::set(const QString& section, const QString& key, const QString& value) {
    QString full = findKey(section, key);
    if (!full.isEmpty()) {
        QVariant& stored = map_[full];
        if (stored.toString() == value) {
            return false;
        }
        stored = value;
        return true;
    }
    QString spelling = iniMapEscape(section);
    if (!sectionSizes_.contains(spelling)) {
        spelling = firstSection_.value(FoldedName{spelling}, spelling);
    }
    full = spelling + u'/' + iniMapEscape(key);
    map_.insert(full, value);
    index(full);
    return true;
}

bool IniFile::remove(const QString& section, const QString& key) {
    const QString full = findKey(section, key);
    if (full.isEmpty()) {
        return false;
    }
    map_.remove(full);
    unindex(full);
    return true;
}

bool IniFile::removeSection(const QString& section) {
    const FoldedName name{iniMapEscape(section)};
    const auto many = crowdedSections_.constFind(name);
    const QList<QString> spellings =
        many != crowdedSections_.cend() ? *many : QList<QString>{firstSection_.value(name)};
    if (spellings.front().isEmpty()) {
        return false;
    }
    for (const QString& spelling : spellings) {
        const QString prefix = spelling + u'/';
        auto it = map_.lowerBound(prefix);
        while (it != map_.end() && it.key().startsWith(prefix)) {
            const QString full = it.key();
            it = map_.erase(it);
            unindex(full);
        }
    }
    return true;
}

QByteArray IniFile::text() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeIniText(buffer, map_);
    return bytes;
}

}  // namespace tess::qt
