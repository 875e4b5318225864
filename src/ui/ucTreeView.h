#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <functional>
#include <vector>

class QMimeData;
class QTimer;

// A tree control that knows its nodes by string keys, with an image list,
// label editing the owner can refuse, and drag and drop of nodes inside the
// control: the view scrolls when the pointer nears its top or bottom edge,
// the node under the pointer is highlighted, and a collapsed node with
// children opens after the pointer rested on it for 1001 ms. Nothing in it
// knows what the nodes stand for.
class ucTreeView : public QTreeWidget {
    Q_OBJECT
  public:
    using Node = QTreeWidgetItem;
    // Where AddNode puts a node, relative to the relative node.
    enum Relation {
        tvwFirst = 1,     // first child
        tvwSorted = 2,    // among the children, sorted by text
        tvwNext = 3,      // sibling directly after it
        tvwPrevious = 4,  // sibling directly before it
        tvwLast = 6,      // last child (also any other value)
    };
    // Drag data of a node drag: the node's key, in a format of this program.
    static constexpr const char* kNodeFormat = "application/x-maple-tree-node";
    // A collapsed node opens when the pointer rested on it this long in a drag.
    static constexpr qint64 kAutoExpandMs = 1001;

    explicit ucTreeView(QWidget* parent = nullptr);

    // --- image list ---
    void InitializeImageList(int width, int height);
    // Appends an image; returns its index.
    int AddIcon(const QIcon& icon);

    // --- nodes ---
    // A new node placed by `relation` to `relative` (nullptr: the top level),
    // shown with images `image` (normal) and `selectedImage`; an index outside
    // the image list shows no image. `plusButton` shows the expand button
    // before the node has children. nullptr when `key` is not valid.
    Node* AddNode(Node* relative, int relation, const QString& key, const QString& text,
                  int image = -1, int selectedImage = -1, bool plusButton = false);
    void Clear();
    // Deletes `node` with its subtree.
    void DeleteNode(Node* node);
    // True for a key that is not empty and names no node yet.
    bool IsValidKey(const QString& key) const;
    Node* GetKeyNode(const QString& key) const;
    QString GetNodeKey(const Node* node) const;
    // False (nothing changes) when another node has `key` or it is empty.
    bool SetNodeKey(Node* node, const QString& key);
    Node* SelectedNode() const { return currentItem(); }
    Node* HitTest(QPoint position) const { return itemAt(position); }
    // Opens the label editor of `node` unless BeforeLabelEdit cancels.
    void StartLabelEdit(Node* node);

    // --- drag and drop ---
    // The drop highlight (nullptr: none).
    void SetHilitedNode(Node* node);
    Node* HilitedNode() const { return m_hilited; }
    bool OLEDragAutoExpand() const { return m_autoExpand; }
    void SetOLEDragAutoExpand(bool on) { m_autoExpand = on; }
    // True when `data` is a node drag that this control started.
    bool OLEIsMyFormat(const QMimeData* data, const QObject* source) const;
    // The dragged node of such a drag; nullptr for any other drag.
    Node* OLEGetDragInfo(const QMimeData* data, const QObject* source) const;
    // Milliseconds of the clock that times auto-expansion (tests set their own).
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

  signals:
    // Connected directly: the handlers answer through the reference arguments.
    void BeforeLabelEdit(QTreeWidgetItem* node, bool& cancel);
    // `newText` may be changed; `cancel` keeps the old text.
    void AfterLabelEdit(QTreeWidgetItem* node, QString& newText, bool& cancel);
    // A node drag starts with these effects; clear them to refuse it.
    void OLEStartDrag(QTreeWidgetItem* node, Qt::DropActions& allowedEffects);
    // The pointer of a drag is over `node` (nullptr: empty space); set
    // `effect` to what a drop there would do (Qt::IgnoreAction: refuse).
    void OLEDragOver(const QMimeData* data, QObject* source, QTreeWidgetItem* node,
                     Qt::DropAction& effect);
    void OLEDragDrop(const QMimeData* data, QObject* source, QTreeWidgetItem* node,
                     Qt::DropAction& effect);

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

  private:
    void Place(Node* node, Node* relative, int relation);
    QIcon NodeIcon(int image, int selectedImage) const;
    void ForgetKeys(Node* node);
    void AutoScroll(QPoint position);
    void TrackPointer(QPoint position);
    void EndDrag();

    QHash<QString, Node*> m_keys;
    std::vector<QIcon> m_images;
    Node* m_hilited = nullptr;
    Node* m_overNode = nullptr;
    QPoint m_overPosition;
    qint64 m_arrival = 0;
    bool m_autoExpand = true;
    QTimer* m_restTimer = nullptr;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
};
