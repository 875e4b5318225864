#pragma once

#include <string>

// The few facts the program asks the operating system for outside files,
// with one implementation per system (posix/, win/). Text is UTF-8.
namespace SystemAccess {

// Full path of the running executable; empty when the system does not say.
std::string ExecutablePath();
// The value of an environment variable; empty when it is not set.
std::string Environment(const char* name);
// The user's folders for settings and for cached files, without the
// program's own subfolder.
std::string UserConfigFolder();
std::string UserCacheFolder();
// Login name of the user running the program; empty when unknown.
std::string UserName();
// The user's language and country as "ll_CC" (a POSIX locale name, which may
// carry ".codeset" or "@modifier"); empty when unknown. POSIX: LC_ALL, then
// LC_MESSAGES, then LANG; Windows: the user's default language identifier.
std::string UserLocaleName();
// True when the standard stream (0 in, 1 out, 2 error) is a terminal.
bool IsTerminal(int stream);
// The system's number of the running process.
long ProcessId();

}  // namespace SystemAccess
