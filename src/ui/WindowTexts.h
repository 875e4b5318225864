#pragma once

#include <QString>
#include <initializer_list>
#include <string>

#include "TextTable.h"

// The text of `id` (a constant of a window's text table) for a control, a
// menu item or a message box. A window takes its texts this way while it
// builds its controls: the language file's value, else the built-in text.
template <typename Id>
QString QText(Id id, std::initializer_list<std::string> values = {}) {
    return QString::fromStdString(Text(id, values));
}
