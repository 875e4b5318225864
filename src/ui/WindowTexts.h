#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

class LanguageTexts;
class QAbstractButton;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTabBar;
class QTabWidget;
class QTreeWidget;
class QWidget;

// Where a language file value goes.
using TextSetter = std::function<void(const QString&)>;

// One row of a window's text table: the key after "frmX." exactly as the
// language files spell it ("CmdAbout.ToolTipText", "LblText(2)",
// "lvwFiles.ColumnHeaders(1)", "sbar.Panels(1)", "Caption"), and its target.
// Keys are written out, never derived from object names: several differ.
struct TextBinding {
    std::string key;
    TextSetter apply;
};

// Targets for the kinds of text a window has.
namespace TextTarget {
TextSetter Caption(QLabel* label);
TextSetter Caption(QAbstractButton* button);
TextSetter Caption(QGroupBox* frame);
TextSetter Caption(QAction* menuItem);
TextSetter Caption(QMenu* menu);
TextSetter ToolTip(QWidget* control);
TextSetter Title(QWidget* window);
// Column `column` (0-based) of a list's header.
TextSetter HeaderSection(QTreeWidget* list, int column);
// Tab `index` (0-based).
TextSetter Tab(QTabBar* tabs, int index);
TextSetter Tab(QTabWidget* tabs, int index);
}  // namespace TextTarget

// Sets every target whose key has a non-empty value in the language file;
// the others keep their built-in (design) text.
void ApplyLanguageTexts(const LanguageTexts& texts, const std::vector<TextBinding>& table);

// Tests follow every key the windows look up ("frmMain.Label1"); an empty
// function stops it.
void SetLanguageKeyObserver(std::function<void(const std::string&)> observer);
// Reports a looked-up key to the observer (used by the text helpers).
void ObserveLanguageKey(const std::string& key);
