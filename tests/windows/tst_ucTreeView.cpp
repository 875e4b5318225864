// The tree control: where nodes go, their keys, which drags count as node
// drags, and the drag-over behaviour (highlight, edge scrolling,
// auto-expansion after 1001 ms). Label edits the owner refuses or changes are
// tst_frmSaveISO's.
#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "ucTreeView.h"

namespace {
QStringList ChildTexts(QTreeWidgetItem* parent) {
    QStringList texts;
    for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
    return texts;
}

// Sends a drag of `data` to `at` (viewport coordinates): enter, then move.
void DragTo(ucTreeView& tree, QPoint at, QMimeData& data, bool enter = false) {
    if (enter) {
        QDragEnterEvent entering(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &entering);
    }
    QDragMoveEvent moving(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &moving);
}
}  // namespace

class TreeViewTest : public QObject {
    Q_OBJECT
  private slots:
    void insertRelationsImagesAndKeys() {
        ucTreeView tree;
        tree.InitializeImageList(16, 16);
        QPixmap dot(16, 16);
        dot.fill(Qt::red);
        QCOMPARE(tree.AddIcon(QIcon(dot)), 0);
        auto* root = tree.AddNode(nullptr, ucTreeView::tvwLast, "r", "root", 0, 0);
        auto* m = tree.AddNode(root, ucTreeView::tvwLast, "m", "m", 5, -1, true);
        tree.AddNode(root, ucTreeView::tvwFirst, "a", "a");
        tree.AddNode(m, ucTreeView::tvwNext, "n", "n");
        tree.AddNode(m, ucTreeView::tvwPrevious, "l", "l");
        tree.AddNode(root, 0, "z", "z");  // any other relation: last child
        tree.AddNode(root, ucTreeView::tvwSorted, "k", "K");
        QCOMPARE(ChildTexts(root), (QStringList{"a", "K", "l", "m", "n", "z"}));
        QVERIFY(!root->icon(0).isNull());
        QVERIFY(m->icon(0).isNull());  // image 5 is outside the list: no image
        QCOMPARE(m->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

        QVERIFY(tree.AddNode(root, ucTreeView::tvwLast, "m", "twin") == nullptr);
        QVERIFY(tree.AddNode(root, ucTreeView::tvwLast, "", "no key") == nullptr);
        QCOMPARE(tree.GetKeyNode("m"), m);
        QCOMPARE(tree.GetNodeKey(m), QStringLiteral("m"));
        QVERIFY(!tree.SetNodeKey(m, "a"));  // taken by another node
        QVERIFY(tree.SetNodeKey(m, "m2"));
        QVERIFY(tree.IsValidKey("m") && tree.GetKeyNode("m") == nullptr);
        tree.AddNode(m, ucTreeView::tvwLast, "m2/c", "c");
        tree.DeleteNode(m);
        QVERIFY(tree.GetKeyNode("m2") == nullptr && tree.IsValidKey("m2/c"));
    }

    void onlyThisTreesOwnNodeDragsAreRecognised() {
        ucTreeView tree;
        QWidget stranger;
        auto* node = tree.AddNode(nullptr, ucTreeView::tvwLast, "\\A\\", "A");
        QMimeData ours;
        ours.setData(ucTreeView::kNodeFormat, "\\A\\");
        QMimeData text;  // what another program's drag could carry as text
        text.setText(QStringLiteral("H:1234;N:5678"));
        QMimeData unknown;
        unknown.setData(ucTreeView::kNodeFormat, "\\gone\\");
        QCOMPARE(tree.OLEGetDragInfo(&ours, &tree), node);
        QVERIFY(tree.OLEIsMyFormat(&ours, &tree));
        QVERIFY(!tree.OLEIsMyFormat(&ours, &stranger));
        QVERIFY(!tree.OLEIsMyFormat(&ours, nullptr));
        QVERIFY(!tree.OLEIsMyFormat(&text, &tree));
        QVERIFY(tree.OLEGetDragInfo(&unknown, &tree) == nullptr);
    }

    void dragOverHighlightsScrollsAndExpandsAfter1001Ms() {
        ucTreeView tree;
        qint64 now = 5000;
        tree.SetClock([&now] { return now; });
        tree.resize(200, 120);
        auto* folder = tree.AddNode(nullptr, ucTreeView::tvwLast, "f", "folder");
        tree.AddNode(folder, ucTreeView::tvwLast, "f/c", "child");
        for (int i = 0; i < 30; ++i)
            tree.AddNode(nullptr, ucTreeView::tvwLast, QString::number(i), QString::number(i));
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        Qt::DropAction offered = Qt::IgnoreAction;
        connect(&tree, &ucTreeView::OLEDragOver, this,
                [&](const QMimeData*, QObject*, QTreeWidgetItem* over, Qt::DropAction& effect) {
                    if (over == nullptr) effect = Qt::IgnoreAction;
                    offered = effect;
                });
        QMimeData data;
        data.setData(ucTreeView::kNodeFormat, "1");
        const QPoint onFolder = tree.visualItemRect(folder).center();
        DragTo(tree, onFolder, data, true);
        QCOMPARE(tree.HilitedNode(), folder);
        QCOMPARE(offered, Qt::MoveAction);
        now += 1000;
        DragTo(tree, onFolder, data);
        QVERIFY(!folder->isExpanded());
        now += 1;
        DragTo(tree, onFolder, data);
        QVERIFY(folder->isExpanded());
        QCOMPARE(tree.HilitedNode(), folder);

        DragTo(tree, QPoint(20, tree.viewport()->height() - 2), data);
        QVERIFY(tree.verticalScrollBar()->value() > 0);
        QDragLeaveEvent leaving;
        QApplication::sendEvent(tree.viewport(), &leaving);
        QVERIFY(tree.HilitedNode() == nullptr);
    }
};

QTEST_MAIN(TreeViewTest)
#include "tst_ucTreeView.moc"
