#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures, drawn as SVG in the resources.
namespace Pictures {
// The picture `name` ("task_data", "button_exit", "group_cd", "logo") drawn
// at `size` device-independent pixels; a null pixmap for an unknown name.
QPixmap Load(const QString& name, QSize size);
}  // namespace Pictures
