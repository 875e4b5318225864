#pragma once

#include <string>
#include <string_view>

// The texts of one window (or engine acting for it): language file values
// with built-in Simplified Chinese defaults. An empty or missing value keeps
// the built-in text.
class LanguageTexts {
  public:
    // `windowName` as in the keys ("frmWriteISO"); the language file is
    // LanguageFilePath() unless one is given.
    explicit LanguageTexts(std::string windowName);
    LanguageTexts(std::string windowName, std::string languageFile);

    // Value of window + "." + suffix ("frmMain.LblText(2)", "frmMain.cmdExit.ToolTipText").
    std::string Key(std::string_view suffix, std::string_view builtIn) const;
    // Value of window + ".String" + two digits ("frmErase.String07").
    std::string Message(int number, std::string_view builtIn) const;
    // The full key of a message number ("frmErase.String07").
    std::string MessageKey(int number) const;

    const std::string& WindowName() const { return m_window; }

  private:
    std::string Lookup(const std::string& key, std::string_view builtIn) const;

    std::string m_window;
    std::string m_file;
};
