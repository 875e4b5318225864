#include "LanguageFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>

#include "ProgramPaths.h"
#include "SystemAccess.h"
#include "Utf8Path.h"

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
    return LanguageNameForLocale(SystemAccess::UserLocaleName());
}

std::string FindKeyValue(std::string_view content, std::string_view key) {
    const std::string needle = std::string(key) + "=";
    // A carriage return ends a line as a line feed does (CRLF, CR and LF
    // files alike), so no value ever holds one.
    for (std::size_t start = 0; start <= content.size();) {
        const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
        const std::string_view line = content.substr(start, end - start);
        if (const auto at = line.find(needle); at != std::string_view::npos)
            return std::string(line.substr(at + needle.size()));
        start = end + 1;
    }
    return {};
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(Utf8Path(path), std::ios::binary);
    if (!file) return {};
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string ReadKeyValue(const std::string& path, const std::string& key) {
    return FindKeyValue(ReadWholeFile(path), key);
}

std::string LanguageFilePath() {
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

ProgramLanguage ChosenLanguage() {
    const std::string name = std::filesystem::path(LanguageFilePath()).stem().string();
    if (name == "English") return ProgramLanguage::English;
    if (name == "Chinese Tradition") return ProgramLanguage::TraditionalChinese;
    return ProgramLanguage::SimplifiedChinese;
}

std::string ChosenLocaleName() {
    switch (ChosenLanguage()) {
        case ProgramLanguage::English:
            return "en_US";
        case ProgramLanguage::TraditionalChinese:
            return "zh_TW";
        case ProgramLanguage::SimplifiedChinese:
            break;
    }
    return "zh_CN";
}
