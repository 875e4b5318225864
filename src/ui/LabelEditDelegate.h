#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Label editing that the owner can refuse: the text a user typed reaches the
// item only when the check accepts it (and may be changed by it, trimmed for
// example); a refused edit leaves the old text in place.
class LabelEditDelegate : public QStyledItemDelegate {
  public:
    // `check` gets the edited item and the typed text; true accepts it.
    using Check = std::function<bool(const QModelIndex& index, QString& text)>;

    LabelEditDelegate(Check check, QObject* parent);

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    Check m_check;
};
