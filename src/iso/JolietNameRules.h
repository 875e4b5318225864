#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Joliet names of one group of siblings: the names themselves, except that a
// name longer than kJolietNameLimit UTF-16 units is shortened so that its
// directory record fits the record's one-byte length (33 + 220 + 1 <= 255).
// A shortened name keeps its extension, never splits a surrogate pair and is
// unique among the group, ignoring case.
namespace JolietNameRules {

constexpr std::size_t kJolietNameLimit = 110;

// A name equal to one of `taken` (ignoring case; the names of the sibling
// directories) is numbered the same way, so a file and a folder never share one.
std::vector<std::u16string> Names(const std::vector<std::u16string>& names,
                                  const std::vector<std::u16string>& taken = {});
// `name` cut to the limit with `mark` ("~2") put before its extension.
std::u16string Shorten(const std::u16string& name, const std::u16string& mark = {});

}  // namespace JolietNameRules
