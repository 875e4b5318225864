#pragma once

#include <QString>
#include <map>
#include <utility>
#include <vector>

class LanguageTexts;

// The message texts of one window ("frmErase.String01" ...), read once when
// the window opens; an empty or missing value takes the built-in text.
class WindowMessages {
  public:
    // `builtIns`: message number and built-in text (UTF-8).
    WindowMessages(const LanguageTexts& texts, std::vector<std::pair<int, const char*>> builtIns);

    // The text of message `number`; empty for a number the window does not have.
    QString operator[](int number) const;

  private:
    std::map<int, QString> m_texts;
};
