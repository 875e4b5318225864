#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "TextCatalogue.h"

// The texts of one window or engine live in one table, named by an enum
// class counted from 0 and ending in `Count`:
//
//   enum class EraseText { Confirm, ConfirmTitle, ..., Count };     // EraseTexts.h
//   std::span<const TextRow<EraseText>> TextRows(EraseText);        // the whole table
//
//   constexpr TextRow<EraseText> kRows[] = {                        // EraseTexts.cpp
//       {EraseText::Confirm, "frmErase.String01", "此动作将导致..."},
//   ...
//   std::span<const TextRow<EraseText>> TextRows(EraseText) {
//       return CheckedTextRows<kRows>();
//   }
//
// and callers name a text by its constant: Text(EraseText::NoDisc). To add a
// text, add its constant, its row (the key exactly as the language files
// spell it, the built-in Simplified Chinese text) and the key with its
// translation in data/English.lng and data/Chinese Tradition.lng;
// tst_LanguageFiles then checks the key in both files (docs/developing.md).
template <typename Id>
struct TextRow {
    Id id;
    std::string_view key;
    std::string_view builtIn;
};

// True when `rows` hold one row per constant of `Id`, in the enum's order.
template <typename Id, std::size_t N>
constexpr bool TextRowsMatch(const TextRow<Id> (&rows)[N]) {
    if (N != static_cast<std::size_t>(Id::Count)) return false;
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i || rows[i].key.empty()) return false;
    return true;
}

// The rows of a table, once the compiler has checked them against their enum.
template <const auto& rows>
constexpr auto CheckedTextRows() {
    static_assert(TextRowsMatch(rows), "one row per constant, in the enum's order");
    return std::span(rows);
}

// The built-in text of `id`, whatever the language.
template <typename Id>
std::string_view BuiltInText(Id id) {
    return TextRows(id)[static_cast<std::size_t>(id)].builtIn;
}

// The text of `id` in the user's language (see TextCatalogue::Text).
template <typename Id>
std::string Text(Id id, std::initializer_list<std::string> values = {}) {
    const TextRow<Id>& row = TextRows(id)[static_cast<std::size_t>(id)];
    return TextCatalogue::Text(row.key, row.builtIn, values);
}
