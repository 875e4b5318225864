#include "TestEnvironment.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "Utf8Path.h"

TempFolder::TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("maple-test-" + std::to_string(random()));
    } while (std::filesystem::exists(m_path));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

void WriteFile(const std::string& path, const std::string& content) {
    const std::filesystem::path name = Utf8Path(path);
    std::filesystem::create_directories(name.parent_path());
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool HasPartialFile(const std::string& target) {
    const std::filesystem::path path(target);
    const std::string stem = path.filename().string() + ".";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == stem.size() + 6 + 5 && name.starts_with(stem) && name.ends_with(".part"))
            return true;
    }
    return false;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += byte;
    }
    return text;
}
