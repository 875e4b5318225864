#pragma once

#include <filesystem>
#include <string>

// std::filesystem paths from and to the program's UTF-8 text. A plain
// std::string would be read in the system's narrow code page on Windows.
inline std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
