#pragma once

// The few POSIX calls the tests use, on Windows (included into every test
// source of the Windows build).
#include <cstdlib>
#include <ctime>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (overwrite == 0 && std::getenv(name) != nullptr) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}

inline void tzset() {
    _tzset();
}
