#pragma once

#include <QString>

// The toolkit's own texts (the file dialog's "Look in", the buttons of its
// dialogs) in the program's chosen language, not the system's: under C or
// POSIX the program speaks Simplified Chinese, and so do Qt's dialogs.
namespace ToolkitTranslations {
// Loads Qt's translation for ChosenLocaleName() into the application and
// makes that locale the default one. False when no translation was found
// (English needs none and is never an error to the user).
bool Install();
// The folders searched, in order: beside the program (the Windows build
// ships them there), then Qt's own translations folder.
QStringList SearchFolders();
}  // namespace ToolkitTranslations
