#include "ucTreeView.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>

#include "LabelEditDelegate.h"

namespace {
constexpr int kKeyRole = Qt::UserRole;
// While a drag rests on a node, auto-expansion is checked this often.
constexpr int kRestCheckMs = 100;
}  // namespace

ucTreeView::ucTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setItemDelegate(new LabelEditDelegate(
        [this](const QModelIndex& index, QString& text) {
            bool cancel = false;
            emit AfterLabelEdit(itemFromIndex(index), text, cancel);
            return !cancel;
        },
        this));
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    m_restTimer = new QTimer(this);
    m_restTimer->setInterval(kRestCheckMs);
    connect(m_restTimer, &QTimer::timeout, this, [this] { TrackPointer(m_overPosition); });
}

void ucTreeView::InitializeImageList(int width, int height) {
    m_images.clear();
    setIconSize({width, height});
}

int ucTreeView::AddIcon(const QIcon& icon) {
    m_images.push_back(icon);
    return static_cast<int>(m_images.size()) - 1;
}

QIcon ucTreeView::NodeIcon(int image, int selectedImage) const {
    const auto valid = [this](int index) {
        return index >= 0 && index < static_cast<int>(m_images.size());
    };
    QIcon icon;
    if (valid(image)) icon.addPixmap(m_images[image].pixmap(iconSize()), QIcon::Normal);
    if (valid(selectedImage))
        icon.addPixmap(m_images[selectedImage].pixmap(iconSize()), QIcon::Selected);
    return icon;
}

ucTreeView::Node* ucTreeView::AddNode(Node* relative, int relation, const QString& key,
                                      const QString& text, int image, int selectedImage,
                                      bool plusButton) {
    if (!IsValidKey(key)) return nullptr;
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kKeyRole, key);
    node->setIcon(0, NodeIcon(image, selectedImage));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (plusButton) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    Place(node, relative, relation);
    m_keys.insert(key, node);
    return node;
}

void ucTreeView::Place(Node* node, Node* relative, int relation) {
    Node* parent = relative != nullptr ? relative : invisibleRootItem();
    switch (relation) {
        case tvwFirst:
            parent->insertChild(0, node);
            return;
        case tvwSorted: {
            int at = 0;
            while (at < parent->childCount() &&
                   parent->child(at)->text(0).compare(node->text(0), Qt::CaseInsensitive) <= 0)
                ++at;
            parent->insertChild(at, node);
            return;
        }
        case tvwNext:
        case tvwPrevious: {
            Node* siblings = relative == nullptr || relative->parent() == nullptr
                                 ? invisibleRootItem()
                                 : relative->parent();
            const int at = relative == nullptr
                               ? siblings->childCount()
                               : siblings->indexOfChild(relative) + (relation == tvwNext ? 1 : 0);
            siblings->insertChild(at, node);
            return;
        }
        default:
            parent->addChild(node);
    }
}

void ucTreeView::Clear() {
    EndDrag();
    m_keys.clear();
    clear();
}

void ucTreeView::DeleteNode(Node* node) {
    if (node == nullptr) return;
    // The drag state may point into the subtree that goes away.
    EndDrag();
    ForgetKeys(node);
    delete node;
}

void ucTreeView::ForgetKeys(Node* node) {
    m_keys.remove(GetNodeKey(node));
    for (int i = 0; i < node->childCount(); ++i) ForgetKeys(node->child(i));
}

bool ucTreeView::IsValidKey(const QString& key) const {
    return !key.isEmpty() && !m_keys.contains(key);
}

ucTreeView::Node* ucTreeView::GetKeyNode(const QString& key) const {
    return m_keys.value(key, nullptr);
}

QString ucTreeView::GetNodeKey(const Node* node) const {
    return node != nullptr ? node->data(0, kKeyRole).toString() : QString();
}

bool ucTreeView::SetNodeKey(Node* node, const QString& key) {
    if (key.isEmpty() || m_keys.value(key, node) != node) return false;
    m_keys.remove(GetNodeKey(node));
    node->setData(0, kKeyRole, key);
    m_keys.insert(key, node);
    return true;
}

void ucTreeView::StartLabelEdit(Node* node) {
    if (node == nullptr) return;
    setCurrentItem(node);
    // Not editItem(): a refused edit is no failure worth a warning.
    (void)edit(indexFromItem(node, 0), AllEditTriggers, nullptr);
}

bool ucTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool starts = index.isValid() && state() != EditingState &&
                        (trigger == AllEditTriggers || (editTriggers() & trigger) != 0);
    if (starts) {
        bool cancel = false;
        emit BeforeLabelEdit(itemFromIndex(index), cancel);
        if (cancel) return false;
    }
    return QTreeWidget::edit(index, trigger, event);
}

void ucTreeView::SetHilitedNode(Node* node) {
    if (m_hilited != nullptr) m_hilited->setData(0, Qt::BackgroundRole, QVariant());
    m_hilited = node;
    if (node == nullptr) return;
    QColor mark = palette().color(QPalette::Highlight);
    mark.setAlpha(90);
    node->setBackground(0, mark);
}

bool ucTreeView::OLEIsMyFormat(const QMimeData* data, const QObject* source) const {
    return data != nullptr && source == this && data->hasFormat(QString::fromLatin1(kNodeFormat));
}

ucTreeView::Node* ucTreeView::OLEGetDragInfo(const QMimeData* data, const QObject* source) const {
    if (!OLEIsMyFormat(data, source)) return nullptr;
    return GetKeyNode(QString::fromUtf8(data->data(QString::fromLatin1(kNodeFormat))));
}

void ucTreeView::startDrag(Qt::DropActions) {
    Node* node = currentItem();
    if (node == nullptr) return;
    Qt::DropActions effects = Qt::MoveAction;
    emit OLEStartDrag(node, effects);
    if (effects == Qt::IgnoreAction) return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kNodeFormat), GetNodeKey(node).toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(effects);
}

void ucTreeView::dragEnterEvent(QDragEnterEvent* event) {
    // Each position decides for itself in dragMoveEvent.
    event->acceptProposedAction();
    m_restTimer->start();
}

void ucTreeView::dragMoveEvent(QDragMoveEvent* event) {
    const QPoint position = event->position().toPoint();
    AutoScroll(position);
    TrackPointer(position);
    Qt::DropAction effect = event->proposedAction();
    emit OLEDragOver(event->mimeData(), event->source(), m_overNode, effect);
    if (effect == Qt::IgnoreAction) return event->ignore();
    event->setDropAction(effect);
    event->accept();
}

void ucTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    EndDrag();
    event->accept();
}

void ucTreeView::dropEvent(QDropEvent* event) {
    Node* node = itemAt(event->position().toPoint());
    EndDrag();
    Qt::DropAction effect = event->proposedAction();
    emit OLEDragDrop(event->mimeData(), event->source(), node, effect);
    if (effect == Qt::IgnoreAction) return event->ignore();
    event->setDropAction(effect);
    event->accept();
}

void ucTreeView::AutoScroll(QPoint position) {
    const int edge = qMax(sizeHintForRow(0), fontMetrics().height());
    if (position.y() < edge)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (position.y() > viewport()->height() - edge)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void ucTreeView::TrackPointer(QPoint position) {
    m_overPosition = position;
    Node* node = itemAt(position);
    if (node != m_overNode) {
        m_overNode = node;
        SetHilitedNode(node);
        m_arrival = m_clock();
        return;
    }
    if (node == nullptr || !m_autoExpand || node->isExpanded() || node->childCount() == 0) return;
    if (m_clock() - m_arrival < kAutoExpandMs) return;
    expandItem(node);
    SetHilitedNode(node);
}

void ucTreeView::EndDrag() {
    m_restTimer->stop();
    SetHilitedNode(nullptr);
    m_overNode = nullptr;
}
