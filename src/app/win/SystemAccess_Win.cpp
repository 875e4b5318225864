// Platform part of SystemAccess: Windows. Text crosses the system calls as
// UTF-16.
#include <io.h>
#include <lmcons.h>
#include <windows.h>

#include <filesystem>

#include "SystemAccess.h"
#include "Utf8Path.h"
#include "WideText.h"

namespace SystemAccess {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return Narrow(path.substr(0, length));
        path.resize(path.size() * 2);
    }
}

std::string Environment(const char* name) {
    const wchar_t* value = ::_wgetenv(Wide(name).c_str());
    return value != nullptr ? Narrow(value) : "";
}

std::string UserConfigFolder() {
    return Environment("LOCALAPPDATA");
}

std::string UserCacheFolder() {
    const std::string local = Environment("LOCALAPPDATA");
    return local.empty() ? Utf8Of(std::filesystem::temp_directory_path()) : local;
}

std::string UserName() {
    wchar_t name[UNLEN + 1];
    DWORD length = UNLEN + 1;
    return ::GetUserNameW(name, &length) && length > 0 ? Narrow(std::wstring(name, length - 1))
                                                       : "";
}

std::string UserLocaleName() {
    const LCID locale = MAKELCID(::GetUserDefaultLangID(), SORT_DEFAULT);
    wchar_t language[9] = {};
    wchar_t country[9] = {};
    if (::GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, language, 9) == 0 ||
        ::GetLocaleInfoW(locale, LOCALE_SISO3166CTRYNAME, country, 9) == 0)
        return {};
    return Narrow(language) + "_" + Narrow(country);
}

bool IsTerminal(int stream) {
    return ::_isatty(stream) != 0;
}

long ProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

}  // namespace SystemAccess
