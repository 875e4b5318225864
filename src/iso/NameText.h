#pragma once

#include <string>
#include <string_view>

// Small text rules shared by the tree and the naming pass. Names are UTF-8;
// where a rule counts characters it counts UTF-16 code units, as the disc's
// Joliet names do.
namespace NameText {

// Removes leading and trailing U+0020 only (tabs and other blanks stay).
std::string TrimSpaces(std::string_view text);
// Every code point outside printable ASCII becomes one "_" (invalid UTF-8
// gives one "_" per offending byte).
std::string PrintableAscii(std::string_view text);
// ASCII letters in upper case; every other byte as it is.
std::string AsciiUpper(std::string text);
// A disc name from a local name: invalid UTF-8 replaced, "\" (the tree's
// path separator) mapped to "_".
std::string DiscNameFromLocal(const std::string& localName);
// The part of a local path after its last "/" (on Windows "/" or "\"),
// trailing separators ignored.
std::string LastPathPart(const std::string& path);
// False for names no entry of the disc may carry: empty once spaces are
// trimmed, "." and ".." (readers take them for the folder and its parent).
bool IsUsableName(std::string_view name);
// `name` numbered to stand beside a twin: "readme (2).txt" for a file (the
// number goes before the extension), "photos (2)" for a folder.
std::string NumberedName(const std::string& name, int number, bool file);
// `text` for a message: valid UTF-8 as it is, every other byte as "\xNN".
std::string ShownText(std::string_view text);
// True when `text` is one or more ASCII digits.
bool IsDigits(std::string_view text);

}  // namespace NameText
