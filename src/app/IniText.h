#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text rules of the settings INI files, as the Qt-based versions of the
// program wrote and read them, so that files keep working both ways.
namespace IniText {

// Section and key names: letters, digits, "_", "-" and "." stay; "/" becomes
// "\" (at the end %2F); other characters become %XX, or %UXXXX above FFh.
std::string EscapeKey(std::string_view key);
std::string UnescapeKey(std::string_view escaped);

// A value: C-style escapes for control characters, "\" and '"'; quoted when
// it holds ";", "," or "=" or begins or ends with a space; "@" doubled at the
// start.
std::string EscapeValue(std::string_view value);
// nullopt for a value that stands for "no value" ("@Invalid()"). A list
// value (unquoted commas) reads as its element when it has one, else empty.
std::optional<std::string> UnescapeValue(std::string_view escaped);

// `escaped` as read from a file, made safe to write back after "key=" with a
// line end: unchanged when it reads back as that one line; otherwise (an
// unclosed quote or a final "\" would join the next line to it) its value
// escaped afresh.
std::string StandAloneValue(std::string_view escaped);

// The next logical line from `at` (comment lines skipped, escaped line ends
// and quoted line ends kept inside the line); false at the end of `data`.
// `equals` is the position of the first unquoted "=" in `line`, or npos.
bool NextLine(std::string_view data, std::size_t& at, std::string_view& line, std::size_t& equals);

}  // namespace IniText
