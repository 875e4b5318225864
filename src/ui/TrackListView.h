#pragma once

#include <QList>
#include <QStringList>
#include <QTreeWidget>

// A report-style file list that takes files dropped from the desktop and
// lets the user reorder its rows by dragging them. It changes no row itself:
// it reports the drop or the move, and its owner updates its model and
// refills the rows.
class TrackListView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit TrackListView(QWidget* parent = nullptr);

    // Rows (0-based, in list order) of the selected items.
    QList<int> SelectedRows() const;

  signals:
    // Files dropped from outside, in the order the drop lists them: local
    // paths, other URLs as text (so that they can be named when refused).
    void filesDropped(const QStringList& paths);
    // The user dragged `rows` in front of the row now at `before` (the
    // row count for the end).
    void rowsMoved(const QList<int>& rows, int before);
    // The right mouse button was pressed over the list.
    void rightButtonPressed(const QPoint& globalPosition);

  protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // The rows of a drag that started in this very list; empty otherwise.
    QList<int> OwnRows(const QMimeData* data) const;
    // The row in front of which a drop at `position` (viewport) goes.
    int DropRow(QPoint position) const;
};
