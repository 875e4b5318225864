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

namespace {
std::string PasswordEntryField(bool home) {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr)
        return "";
    return home ? found->pw_dir : found->pw_name;
}

// HOME is missing in some service and container environments; the password entry still
// names the user's own folder, which keeps settings and temporary images private.
std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty()) home = PasswordEntryField(true);
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return home == "/" ? "" : home;
}
}  // namespace

std::string UserConfigFolder() {
    if (std::string folder = Environment("XDG_CONFIG_HOME"); !folder.empty()) return folder;
    return HomeFolder() + "/.config";
}

std::string UserCacheFolder() {
    if (std::string folder = Environment("XDG_CACHE_HOME"); !folder.empty()) return folder;
    return HomeFolder() + "/.cache";
}

std::string UserName() {
    if (std::string name = PasswordEntryField(false); !name.empty())
        return UnicodeText::ValidUtf8(name);
    return UnicodeText::ValidUtf8(Environment("USER"));
}

std::string UserLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (std::string value = Environment(variable); !value.empty()) return value;
    }
    return {};
}

bool IsTerminal(int stream) {
    return ::isatty(stream) == 1;
}

long ProcessId() {
    return ::getpid();
}

}  // namespace SystemAccess
