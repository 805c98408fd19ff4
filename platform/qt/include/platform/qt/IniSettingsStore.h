#pragma once

#include <QString>
#include <ctime>
#include <map>
#include <string>

#include "platform/SettingsStore.h"
#include "platform/qt/IniFile.h"

namespace tess::qt {

// The per-user settings store as INI files under one root folder (the program passes the user's
// configuration folder, tests a temporary one). Each application name is one file, its "\" parts
// becoming folders: "Tessaryn32" is root/Tessaryn32.ini, "Tessaryn32\Explorer" is
// root/Tessaryn32/Explorer.ini. Sections are INI sections.
//
// Values are read raw: a hand-written `key=a,b` is the text "a,b" (no list), a ";" inside a value
// is part of it; only a ";" at the start of a line marks a comment. Written values are escaped as
// Qt writes INI strings (quotes around values with blanks at the ends, ",", ";" or "="; backslash
// escapes), so every text comes back exactly. Section and key names ignore the case of ASCII
// letters, as the original store did.
//
// A file is parsed once and kept; it is read again only when it has changed on disk since (its
// inode, size or times differ), so what another instance or program wrote is seen. Every save()
// and remove() goes to the file at once, written whole under the lock file Qt's settings use
// ("<file>.lock"), over what is on disk at that moment.
class IniSettingsStore : public SettingsStore {
  public:
    explicit IniSettingsStore(QString rootFolder);

    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback = {}) const override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    void remove(const std::string& app, const std::string& section,
                const std::string& key = {}) override;

    // The file that holds an application's settings; empty for a name that holds no part.
    QString fileFor(const std::string& app) const;

  private:
    // What tells one state of a file on disk from another.
    struct Stamp {
        bool exists = false;
        bool regular = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp& other) const;
    };
    struct Cached {
        Stamp stamp;
        IniFile values;
    };

    static Stamp stampOf(const QString& file);
    // The file's values as they are on disk now, read again only when it has changed.
    const IniFile& current(const QString& file) const;
    // Writes the cached values of `file` whole; on failure the cache is dropped, so the next read
    // takes what the disk holds.
    void write(const QString& file);

    QString root_;
    mutable std::map<QString, Cached> files_;
};

}  // namespace tess::qt
