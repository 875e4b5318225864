#include "SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>
#include <mutex>

namespace {
std::mutex g_settingsMutex;

QString IniPathOf(const std::string& application) {
    std::string fileName = application;
    for (char& c : fileName)
        if (c == '/' || c == '\\') c = '-';
    return QString::fromStdString(SettingsFolder() + "/" + fileName + ".ini");
}

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section + "/" + key);
}
}  // namespace

std::string SettingsFolder() {
    if (const char* folder = std::getenv("MAPLE_CONFIG_DIR"); folder && *folder) return folder;
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.toStdString() + "/maple-writer";
}

std::string GetSetting(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    QSettings settings(IniPathOf(application), QSettings::IniFormat);
    const QVariant value = settings.value(KeyOf(section, key));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                 const std::string& value) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    QSettings settings(IniPathOf(application), QSettings::IniFormat);
    settings.setValue(KeyOf(section, key), QString::fromStdString(value));
    settings.sync();
}

std::string GetProgramSetting(const std::string& key, const std::string& defaultValue) {
    return GetSetting(kSettingsApplication, kSettingsSection, key, defaultValue);
}

void SaveProgramSetting(const std::string& key, const std::string& value) {
    SaveSetting(kSettingsApplication, kSettingsSection, key, value);
}
