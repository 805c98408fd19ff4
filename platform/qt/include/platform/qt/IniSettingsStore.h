#pragma once

#include <QString>
#include <string>

#include "platform/SettingsStore.h"

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
// letters, as the original store did. Every save() and remove() goes to the file at once, merged
// with what other instances wrote meanwhile.
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
    QString root_;
};

}  // namespace tess::qt
