#pragma once

#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace tess::testing {

// The settings store in memory, with the matching rules of the real one: application names are
// exact, section and key names ignore the case of ASCII letters (a value keeps the spelling of its
// first write). writeCount() lets a test check that something was, or was not, written.
class MemorySettingsStore : public SettingsStore {
  public:
    struct Entry {
        std::string app;
        std::string section;
        std::string key;
        std::string value;
    };

    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback = {}) const override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    void remove(const std::string& app, const std::string& section,
                const std::string& key = {}) override;

    // Whether a value is stored; get() cannot tell a stored "" from a missing key.
    bool contains(const std::string& app, const std::string& section, const std::string& key) const;
    // Every stored value, in the order of first writing.
    const std::vector<Entry>& entries() const { return entries_; }
    // The number of save() and remove() calls so far.
    int writeCount() const { return writes_; }

  private:
    const Entry* find(const std::string& app, const std::string& section,
                      const std::string& key) const;

    std::vector<Entry> entries_;
    int writes_ = 0;
};

}  // namespace tess::testing
