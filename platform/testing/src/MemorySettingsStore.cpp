#include "platform/testing/MemorySettingsStore.h"

#include <algorithm>

namespace tess::testing {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

const MemorySettingsStore::Entry* MemorySettingsStore::find(const std::string& app,
                                                            const std::string& section,
                                                            const std::string& key) const {
    for (const Entry& e : entries_) {
        if (e.app == app && sameName(e.section, section) && sameName(e.key, key)) {
            return &e;
        }
    }
    return nullptr;
}

std::string MemorySettingsStore::get(const std::string& app, const std::string& section,
                                     const std::string& key, const std::string& fallback) const {
    const Entry* e = find(app, section, key);
    return e ? e->value : fallback;
}

void MemorySettingsStore::save(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
    ++writes_;
    if (app.empty() || section.empty() || key.empty()) {
        return;
    }
    for (Entry& e : entries_) {
        if (e.app == app && sameName(e.section, section) && sameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    // A new key joins an existing section under that section's spelling.
    std::string sectionName = section;
    for (const Entry& e : entries_) {
        if (e.app == app && sameName(e.section, section)) {
            sectionName = e.section;
            break;
        }
    }
    entries_.push_back(Entry{app, sectionName, key, value});
}

void MemorySettingsStore::remove(const std::string& app, const std::string& section,
                                 const std::string& key) {
    ++writes_;
    std::erase_if(entries_, [&](const Entry& e) {
        return e.app == app && sameName(e.section, section) &&
               (key.empty() || sameName(e.key, key));
    });
}

bool MemorySettingsStore::contains(const std::string& app, const std::string& section,
                                   const std::string& key) const {
    return find(app, section, key) != nullptr;
}

}  // namespace tess::testing
