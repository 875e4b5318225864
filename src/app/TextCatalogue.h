#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The program's texts in the user's language. The language file of the run
// (LanguageFilePath) is read on the first lookup and kept; a test that points
// LanguageFilePath elsewhere makes the next lookup read the new file. Safe
// to call from any thread. Callers name texts through their tables (TextTable.h).
namespace TextCatalogue {

// The value of `key` in the language file, or `builtIn` when the file is
// missing or gives no value (or an empty one); then "%1", "%2" ... replaced,
// each at its first place, by `values` in order. A translation may leave a
// value out; that is never an error.
std::string Text(std::string_view key, std::string_view builtIn,
                 std::initializer_list<std::string> values = {});

}  // namespace TextCatalogue
