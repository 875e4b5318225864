#include "LanguageFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>

#include "ProgramPaths.h"

namespace {
std::optional<std::string>& OverriddenPath() {
    static std::optional<std::string> path;
    return path;
}
std::mutex g_pathMutex;
}  // namespace

std::string LanguageNameForLocale(const std::string& localeName) {
    // "zh_CN.UTF-8@variant" -> "zh_CN"
    const std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name == "zh_CN") return "Chinese Simple";
    if (name == "zh_TW" || name == "zh_HK") return "Chinese Tradition";
    if (name == "en_US") return "English";
    return {};
}

std::string GetLanguageName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return LanguageNameForLocale(value);
    }
    return {};
}

std::string ReadKeyValue(const std::string& path, const std::string& key) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    const std::string needle = key + "=";
    std::string line;
    while (std::getline(file, line)) {
        const auto at = line.find(needle);
        if (at == std::string::npos) continue;
        std::string value = line.substr(at + needle.size());
        if (!value.empty() && value.back() == '\r') value.pop_back();
        return value;
    }
    return {};
}

const std::string& LanguageFilePath() {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    auto& path = OverriddenPath();
    if (!path) {
        const std::string name = GetLanguageName();
        std::string candidate;
        if (!name.empty()) {
            candidate = ProgramDataFolder() + "/" + name + ".lng";
            std::error_code error;
            if (!std::filesystem::is_regular_file(candidate, error)) candidate.clear();
        }
        path = candidate;
    }
    return *path;
}

void SetLanguageFilePath(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    OverriddenPath() = path;
}
