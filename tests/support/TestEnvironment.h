#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temp folder, removed with the object.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// `name` in `folder`, joined with the system's separator ("\\" on Windows).
inline std::string InFolder(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

// Writes `content` to `path` (binary), creating parent folders.
void WriteFile(const std::string& path, const std::string& content);
// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// True when a partial file of `target` ("<target>.XXXXXX.part") lies beside it.
bool HasPartialFile(const std::string& target);
// Hex text of bytes, "12 00 00 00 24 C0", for readable assertions.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);
