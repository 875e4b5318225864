#pragma once

#include <QString>
#include <string>

// Small text rules shared by the tree and the naming pass. "Characters" are
// UTF-16 code units, as everywhere in the image's names.
namespace NameText {

// Removes leading and trailing U+0020 only (tabs and other blanks stay).
QString TrimSpaces(const QString& text);
// The key under which two names count as equal ignoring case.
QString CaseKey(const QString& text);
// Every code point outside printable ASCII becomes one "_" (a surrogate pair
// gives one "_").
QString PrintableAscii(const QString& text);
// A disc name from a local name: UTF-8 decoded, "\" (the tree's path
// separator) mapped to "_".
QString DiscNameFromLocal(const std::string& localName);
// The part of a local path after its last "/" (trailing "/" ignored).
std::string LastPathPart(const std::string& path);
// True when `text` is one or more ASCII digits.
bool IsDigits(const QString& text);

}  // namespace NameText
