#include "LabelEditDelegate.h"

#include <QLineEdit>

LabelEditDelegate::LabelEditDelegate(Check check, QObject* parent)
    : QStyledItemDelegate(parent), m_check(std::move(check)) {}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) return QStyledItemDelegate::setModelData(editor, model, index);
    QString text = line->text();
    if (m_check(index, text)) model->setData(index, text, Qt::EditRole);
}
