#pragma once

#include <span>
#include <string>
#include <vector>

// The numbered message texts of one window ("frmWriteISO.String01" ...),
// read once from the language file when an engine or window starts; a
// missing or empty value keeps the built-in text.
class EngineTexts {
  public:
    // `builtIns[0]` is the built-in text of String01, and so on.
    EngineTexts(const std::string& windowName, std::span<const char* const> builtIns);

    // Text of message `number` (1-based); empty for a number outside the table.
    const std::string& operator()(int number) const;

  private:
    std::vector<std::string> m_texts;
};
