#include "SettingsStore.h"

#include <mutex>

#include "IniFile.h"
#include "SystemAccess.h"

namespace {
std::mutex g_settingsMutex;

std::string IniPathOf(const std::string& application) {
    std::string fileName = application;
    for (char& c : fileName)
        if (c == '/' || c == '\\') c = '-';
    return SettingsFolder() + "/" + fileName + ".ini";
}

}  // namespace

std::string SettingsFolder() {
    if (std::string folder = SystemAccess::Environment("MAPLE_CONFIG_DIR"); !folder.empty())
        return folder;
    return SystemAccess::UserConfigFolder() + "/maple-writer";
}

std::string GetSetting(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    IniFile file;
    if (!file.Load(IniPathOf(application))) return defaultValue;
    return file.Value(section, key).value_or(defaultValue);
}

void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                 const std::string& value) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    IniFile file;
    const std::string path = IniPathOf(application);
    // A file that cannot be read is not overwritten with only this key.
    if (!file.Load(path)) return;
    file.SetValue(section, key, value);
    (void)file.Save(path);
}

std::string GetProgramSetting(const std::string& key, const std::string& defaultValue) {
    return GetSetting(kSettingsApplication, kSettingsSection, key, defaultValue);
}

void SaveProgramSetting(const std::string& key, const std::string& value) {
    SaveSetting(kSettingsApplication, kSettingsSection, key, value);
}
