#pragma once

#include <QString>

class QPixmap;

// The program's read-only files (style INI, style pictures, manual) and the
// alternative "Maple" style they can switch on.
namespace ProgramStyle {
// Full path of `relative` ("User Manual.pdf", "style/Maple/Button_About.bmp")
// in the program's data folder.
QString DataFile(const QString& relative);
// Points the data folder elsewhere (tests); an empty text restores the real one.
void SetDataFolder(const QString& folder);

// True when the key "style" of "maple-writer.INI" in the data folder reads
// as a non-zero number.
bool AlternativeSelected();
// The picture "style/Maple/<fileName>" when the alternative style is
// selected and the file exists and loads; a null pixmap otherwise, so the
// caller keeps its built-in picture.
QPixmap Picture(const QString& fileName);
}  // namespace ProgramStyle
