#include "WindowTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "LanguageTexts.h"

namespace {
std::function<void(const std::string&)>& Observer() {
    static std::function<void(const std::string&)> observer;
    return observer;
}
}  // namespace

namespace TextTarget {
TextSetter Caption(QLabel* label) {
    return [label](const QString& text) { label->setText(text); };
}
TextSetter Caption(QAbstractButton* button) {
    return [button](const QString& text) { button->setText(text); };
}
TextSetter Caption(QGroupBox* frame) {
    return [frame](const QString& text) { frame->setTitle(text); };
}
TextSetter Caption(QAction* menuItem) {
    return [menuItem](const QString& text) { menuItem->setText(text); };
}
TextSetter Caption(QMenu* menu) {
    return [menu](const QString& text) { menu->setTitle(text); };
}
TextSetter ToolTip(QWidget* control) {
    return [control](const QString& text) { control->setToolTip(text); };
}
TextSetter Title(QWidget* window) {
    return [window](const QString& text) { window->setWindowTitle(text); };
}
TextSetter HeaderSection(QTreeWidget* list, int column) {
    return [list, column](const QString& text) { list->headerItem()->setText(column, text); };
}
TextSetter Tab(QTabBar* tabs, int index) {
    return [tabs, index](const QString& text) { tabs->setTabText(index, text); };
}
TextSetter Tab(QTabWidget* tabs, int index) {
    return [tabs, index](const QString& text) { tabs->setTabText(index, text); };
}
}  // namespace TextTarget

void ApplyLanguageTexts(const LanguageTexts& texts, const std::vector<TextBinding>& table) {
    for (const TextBinding& binding : table) {
        ObserveLanguageKey(texts.WindowName() + "." + binding.key);
        const std::string value = texts.Key(binding.key, "");
        if (!value.empty()) binding.apply(QString::fromStdString(value));
    }
}

void SetLanguageKeyObserver(std::function<void(const std::string&)> observer) {
    Observer() = std::move(observer);
}

void ObserveLanguageKey(const std::string& key) {
    if (Observer()) Observer()(key);
}
