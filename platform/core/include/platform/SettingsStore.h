#pragma once

#include <string>

namespace tess {

// Per-user string values addressed by application, section and key. An application name may hold
// "\" sub-keys ("Tessaryn32\TGLBuilder"). Values are always strings, stored exactly as given.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& fallback = {}) const = 0;
    virtual void save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
    // Deletes one key, or the whole section when `key` is empty.
    virtual void remove(const std::string& app, const std::string& section,
                        const std::string& key = {}) = 0;
};

}  // namespace tess
