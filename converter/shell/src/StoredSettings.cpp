#include "shell/StoredSettings.h"

#include "platform/Files.h"
#include "platform/Runtime.h"

namespace tess::settings {

std::string read(const SettingsStore& store, std::string_view key, std::string_view fallback) {
    return store.get(std::string(kApp), std::string(kSection), std::string(key),
                     std::string(fallback));
}

void write(SettingsStore& store, std::string_view key, std::string_view value) {
    store.save(std::string(kApp), std::string(kSection), std::string(key), std::string(value));
}

int listIndex(std::string_view text, int count, int fallback) {
    if (text.size() == 1 && text[0] >= '0' && text[0] - '0' < count)
        return text[0] - '0';
    return fallback;
}

Colour backgroundColour(std::string_view text) {
    const std::optional<std::int32_t> value = rt::toInt32(rt::val(text));
    if (!value || *value < 0 || *value > 0xFFFFFF)
        return 0;
    return *value;
}

std::optional<int> transparencyIndex(std::string_view text, int count) {
    if (!rt::isNumeric(text))
        return 0;
    const double number = rt::val(text);
    if (number < 0 || number > count - 1)
        return std::nullopt;
    const std::optional<std::int16_t> index = rt::toInt16(number);
    if (!index || *index > count - 1)
        return std::nullopt;
    return *index;
}

std::optional<std::string> lastEffectCaption(const SettingsStore& store) {
    std::string last = read(store, "LastFX", "");
    if (last.empty() || last == kLastEffectDesignCaption)
        return std::nullopt;
    return last;
}

void storeLastEffect(SettingsStore& store, std::string_view caption, bool shown) {
    const bool keep = shown && caption != kLastEffectDesignCaption;
    write(store, "LastFX", keep ? caption : std::string_view());
}

std::optional<std::string> registerBuilderTool(SettingsStore& store,
                                               const std::string& programFolder) {
    const std::string app(kBuilderApp);
    const std::string section(kBuilderSection);
    const std::string appPath = store.get(app, section, "AppPath", "");
    const std::string builder = appPath + "TGLBuilder";
    if (appPath.empty() || !FileExists(builder))
        return std::nullopt;
    std::string folder = programFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    store.save(app, section, "TesAppPath", folder);
    return builder;
}

}  // namespace tess::settings
