#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSettings>
#include <QString>
#include <cstddef>
#include <optional>

namespace tess::qt {

// The values of one settings file, read once, with the lookups of IniSettingsStore: section and
// key names ignore the case of ASCII letters, a name spelled exactly as asked wins over one that
// differs only in case, and otherwise the spelling that comes first in the file's order does.
// The text is the one readIniText reads and writeIniText writes, so a file read and written
// again comes out as Qt's settings would write it.
class IniFile {
  public:
    IniFile() = default;
    explicit IniFile(const QByteArray& text);

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Stores a value under the spelling already in the file, else under the one given (in the
    // section's existing spelling when it has one). False when the value was there already.
    bool set(const QString& section, const QString& key, const QString& value);
    // Deletes one key; false when there was none.
    bool remove(const QString& section, const QString& key);
    // Deletes every key of the section in every spelling; false when there was none.
    bool removeSection(const QString& section);

    QByteArray text() const;
    qsizetype size() const { return map_.size(); }

  private:
    // A name standing for every name that differs from it only in the case of ASCII letters.
    struct FoldedName {
        QString name;
    };
    friend bool operator==(const FoldedName& a, const FoldedName& b);
    friend std::size_t qHash(const FoldedName& name, std::size_t seed);

    QString findKey(const QString& section, const QString& key) const;
    void index(const QString& full);
    void unindex(const QString& full);
    static void addSpelling(QHash<FoldedName, QString>& first,
                            QHash<FoldedName, QList<QString>>& crowded, const QString& spelling);
    static void dropSpelling(QHash<FoldedName, QString>& first,
                             QHash<FoldedName, QList<QString>>& crowded, const QString& spelling);

    // "section/key" names, each part escaped by iniMapEscape, as QSettings keeps them.
    QSettings::SettingsMap map_;
    // The first name of map_ (in its order) of each fold; where several names share a fold,
    // crowdedNames_ lists them all in that order.
    QHash<FoldedName, QString> firstName_;
    QHash<FoldedName, QList<QString>> crowdedNames_;
    // The same for the section parts of the names, with the number of names in each spelling.
    QHash<FoldedName, QString> firstSection_;
    QHash<FoldedName, QList<QString>> crowdedSections_;
    QHash<QString, qsizetype> sectionSizes_;
};

}  // namespace tess::qt
