#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Unicode simple case folding, the comparison of names "ignoring case".
namespace CaseFolding {

// Code points first, first + step, … last fold to themselves + delta.
struct FoldRun {
    char32_t first, last;
    std::int32_t step, delta;
};
// Sorted by `first`; the runs do not overlap.
extern const std::span<const FoldRun> kFoldRuns;

char32_t Fold(char32_t codePoint);
// The key under which two names are equal ignoring case (UTF-8 in).
std::u16string Key(std::string_view utf8);
// The same key of a UTF-16 name.
std::u16string Key(std::u16string_view utf16);

}  // namespace CaseFolding
