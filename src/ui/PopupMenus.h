#pragma once

class QAction;
class QMenu;
class QString;
class QWidget;

// The windows' pop-up menus, each menu and item named after its control.
namespace PopupMenus {
// A hidden menu owned by `owner`.
QMenu* Create(QWidget* owner, const char* name);
// Appends an item with its caption.
QAction* AddItem(QMenu* menu, const char* name, const QString& caption);
}  // namespace PopupMenus
