#pragma once

#include <string>
#include <vector>

// The ISO 9660 short names of one group of siblings (the subdirectories of
// one directory, or its file list), in list order. Names come in as UTF-8
// and leave as plain ASCII: every other character becomes "_" before the
// names are cut and numbered. Names that the numbering rules would leave
// equal (ignoring case) are made unique by counting on; all other names are
// exactly what the rules give.
namespace ShortNameRules {

// ";" (the version separator of ISO 9660) becomes "_" as well.
// Directory names: up to 31 characters, upper case; a longer name, or a
// "~digits" name, becomes stem + "~" + number.
std::vector<std::string> DirectoryNames(const std::vector<std::string>& names);
// File names: stem of up to 31 characters + "." + up to 3 extension
// characters, numbered "~n" where their first 29 characters clash. A name
// equal to one of `taken` (the short names of the sibling directories) is
// counted on like a repeated name, so a file and a folder never share one.
std::vector<std::string> FileNames(const std::vector<std::string>& names,
                                   const std::vector<std::string>& taken = {});
// Tilde rename of a file stem: cut digits(n) + 1 characters, append "~n"
// (keeping no stem character when the stem is shorter).
std::string TildeRename(const std::string& stem, long long n);
// Numbering of a directory name X that ends in "~": X less digits(n)
// characters, then "~n".
std::string TildeNumber(const std::string& x, long long n);

}  // namespace ShortNameRules
