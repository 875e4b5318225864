#include "TrackListView.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {
// Rows dragged inside a list carry the process and the list they came from,
// so a drop from another program or another list is never taken for a move.
const QString kRowsFormat = QStringLiteral("application/x-maple-track-rows");

QByteArray Owner(const TrackListView* list) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(list));
}
}  // namespace

TrackListView::TrackListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setAcceptDrops(true);
}

QList<int> TrackListView::SelectedRows() const {
    QList<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected()) rows.append(row);
    return rows;
}

QStringList TrackListView::mimeTypes() const {
    return {kRowsFormat, QStringLiteral("text/uri-list")};
}

QMimeData* TrackListView::mimeData(const QList<QTreeWidgetItem*>& items) const {
    QList<int> rows;
    for (QTreeWidgetItem* item : items) rows.append(indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end());
    QByteArray text = Owner(this);
    for (int row : rows) text += ' ' + QByteArray::number(row);
    auto* data = new QMimeData();
    data->setData(kRowsFormat, text);
    return data;
}

void TrackListView::startDrag(Qt::DropActions) {
    const QList<QTreeWidgetItem*> items = selectedItems();
    if (items.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mimeData(items));
    // The drop handler has moved the rows already; nothing is removed here.
    drag->exec(Qt::MoveAction);
}

QList<int> TrackListView::OwnRows(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(kRowsFormat)) return {};
    const QList<QByteArray> parts = data->data(kRowsFormat).split(' ');
    if (parts.isEmpty() || parts.first() != Owner(this)) return {};
    QList<int> rows;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        bool number = false;
        const int row = parts[i].toInt(&number);
        if (!number || row < 0 || row >= topLevelItemCount()) return {};
        rows.append(row);
    }
    return rows;
}

int TrackListView::DropRow(QPoint position) const {
    QTreeWidgetItem* item = itemAt(position);
    if (item == nullptr) return topLevelItemCount();
    const int row = indexOfTopLevelItem(item);
    return position.y() >= visualItemRect(item).center().y() ? row + 1 : row;
}

void TrackListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || !OwnRows(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TrackListView::dragMoveEvent(QDragMoveEvent* event) {
    if (!OwnRows(event->mimeData()).isEmpty()) {
        QTreeWidget::dragMoveEvent(event);  // draws the line where the rows go
        event->acceptProposedAction();
    } else if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TrackListView::dropEvent(QDropEvent* event) {
    const QList<int> rows = OwnRows(event->mimeData());
    if (!rows.isEmpty()) {
        event->acceptProposedAction();
        emit rowsMoved(rows, DropRow(event->position().toPoint()));
    } else if (event->mimeData()->hasUrls()) {
        QStringList paths;
        for (const QUrl& url : event->mimeData()->urls())
            paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
        event->acceptProposedAction();
        emit filesDropped(paths);
    } else {
        event->ignore();
    }
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
}

void TrackListView::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightButtonPressed(event->globalPosition().toPoint());
}
