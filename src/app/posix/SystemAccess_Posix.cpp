// Platform part of SystemAccess: Linux and other POSIX systems.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "SystemAccess.h"
#include "UnicodeText.h"

namespace SystemAccess {

std::string ExecutablePath() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.string();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string UserConfigFolder() {
    if (std::string folder = Environment("XDG_CONFIG_HOME"); !folder.empty()) return folder;
    std::string home = Environment("HOME");
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return (home == "/" ? "" : home) + "/.config";
}

std::string UserCacheFolder() {
    if (std::string folder = Environment("XDG_CACHE_HOME"); !folder.empty()) return folder;
    if (std::string home = Environment("HOME"); !home.empty()) return home + "/.cache";
    return std::filesystem::temp_directory_path().string();
}

std::string UserName() {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr)
        return UnicodeText::ValidUtf8(found->pw_name);
    return UnicodeText::ValidUtf8(Environment("USER"));
}

bool IsTerminal(int stream) {
    return ::isatty(stream) == 1;
}

}  // namespace SystemAccess
