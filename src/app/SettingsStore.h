#pragma once

#include <string>

// The per-user settings store: application, section and key address a string.
// Each application is one INI file in the user's configuration folder
// (~/.config/maple-writer/); "/" in an application name never makes a folder.
std::string GetSetting(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& defaultValue);
void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                 const std::string& value);

// The program's own application name and section.
inline constexpr const char* kSettingsApplication = "MAPLE CD/DVD Writer";
inline constexpr const char* kSettingsSection = "Setting";

// Shorthands for the program's own settings.
std::string GetProgramSetting(const std::string& key, const std::string& defaultValue = "");
void SaveProgramSetting(const std::string& key, const std::string& value);

// Folder of the INI files; MAPLE_CONFIG_DIR overrides it (tests, portable use).
std::string SettingsFolder();
