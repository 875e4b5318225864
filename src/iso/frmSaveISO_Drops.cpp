// Drag and drop in the project window: files and folders from the desktop,
// directories moved in the tree, files moved from the list onto a directory.
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include "EngineRunner.h"
#include "FileAdding.h"
#include "MessageBoxSeam.h"
#include "ModFileDlg.h"
#include "SessionTexts.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "ucTreeView.h"

namespace {
// The local files and folders a drag from the desktop carries.
std::vector<std::string> LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    return paths;
}
}  // namespace

Qt::DropAction frmSaveISO::DropEffect(const QMimeData* data, QObject* source,
                                      QTreeWidgetItem* node) const {
    if (node == nullptr) return Qt::IgnoreAction;
    if (m_tvwDirs->OLEGetDragInfo(data, source) != nullptr) return Qt::MoveAction;
    // The list's own drag would remove its rows after a "move": the list is
    // refilled from the project instead.
    if (source == m_lvwFiles) return Qt::CopyAction;
    if (source == nullptr && !LocalPaths(data).empty()) return Qt::CopyAction;
    return Qt::IgnoreAction;
}

void frmSaveISO::DropOnTree(const QMimeData* data, QObject* source, QTreeWidgetItem* node,
                            Qt::DropAction& effect) {
    effect = DropEffect(data, source, node);
    if (effect == Qt::IgnoreAction) return;
    if (QTreeWidgetItem* dragged = m_tvwDirs->OLEGetDragInfo(data, source))
        MoveDirectory(dragged, node);
    else if (source == m_lvwFiles)
        MoveFiles(node);
    else
        AddDropped(m_tvwDirs->GetNodeKey(node).toStdString(), LocalPaths(data));
}

void frmSaveISO::AddDroppedFiles(const QStringList& paths) {
    std::vector<std::string> local;
    for (const QString& path : paths) local.push_back(path.toStdString());
    AddDropped(CurrentKey(), local);
}

void frmSaveISO::AddDropped(const std::string& key, const std::vector<std::string>& paths,
                            bool replaceOnDisc) {
    m_panel1->setText(QText(SaveIsoText::AddingFiles));
    RunOnWorker(
        [this, key, paths, replaceOnDisc](EngineReporter&) {
            m_addResult = m_project->AddLocalPaths(key, paths, replaceOnDisc);
        },
        [this, key] {
            QTreeWidgetItem* node = m_tvwDirs->GetKeyNode(QString::fromStdString(key));
            if (m_addResult.foldersAdded && node != nullptr) {
                RebuildBelow(node);
                node->setExpanded(true);
            }
            if (key == CurrentKey()) FillList();
            m_panel1->setText(QText(SaveIsoText::FilesAdded));
            RefreshSize();
            // A file on the disc gives its name up only when the user says so.
            const std::vector<std::string> clashes = m_addResult.onDiscClashes;
            // (Queued: this runs inside the end of the worker's run.)
            if (!clashes.empty() && AskToReplace(clashes)) {
                QMetaObject::invokeMethod(
                    this, [this, key, clashes] { AddDropped(key, clashes, true); },
                    Qt::QueuedConnection);
                return;
            }
            std::vector<std::string> skipped;
            for (const SkippedEntry& entry : m_addResult.skipped)
                skipped.push_back(FileAdding::ShownPath(entry.localPath).toStdString());
            if (!skipped.empty()) ShowList(SaveIsoText::NotAdded, skipped);
        });
}

bool frmSaveISO::AskToReplace(const std::vector<std::string>& clashes) {
    QString list;
    for (const std::string& path : clashes) list += FileAdding::ShownPath(path) + u'\n';
    return ShowMessageBox(this, QText(SessionText::Clashes, {list.trimmed().toStdString()}),
                          QText(SaveIsoText::NoticeTitle), MessageIcon::Question,
                          MessageButtons::YesNo) == MessageAnswer::Yes;
}

void frmSaveISO::MoveDirectory(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    const EditResult result = m_project->MoveDirectory(m_tvwDirs->GetNodeKey(dragged).toStdString(),
                                                       m_tvwDirs->GetNodeKey(target).toStdString());
    if (result.refusal != Refusal::None)
        return Refuse(result.refusal, QString::fromStdString(result.name));
    QTreeWidgetItem* root = m_tvwDirs->GetKeyNode(QLatin1String(DiscProject::kRootKey));
    RebuildBelow(root);
    QTreeWidgetItem* moved = m_tvwDirs->GetKeyNode(QString::fromStdString(result.key));
    m_tvwDirs->setCurrentItem(moved);
    m_tvwDirs->scrollToItem(moved);
}

void frmSaveISO::MoveFiles(QTreeWidgetItem* target) {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : m_lvwFiles->selectedItems())
        rows.push_back(m_lvwFiles->indexOfTopLevelItem(item));
    const DiscProject::MoveResult result =
        m_project->MoveFiles(CurrentKey(), rows, m_tvwDirs->GetNodeKey(target).toStdString());
    FillList();
    if (!result.refusedNames.empty()) ShowList(SaveIsoText::NotMoved, result.refusedNames);
}

void frmSaveISO::AskForFiles() {
    const QStringList files = ModFileDlg::ShowOpenFilesDialog(
        this, FileAdding::DialogTitle(QText(SaveIsoText::AddFilesMenu)), QStringLiteral("*"),
        QText(SaveIsoText::AllFiles));
    if (!files.isEmpty()) AddDroppedFiles(files);
}

void frmSaveISO::AskForFolder() {
    const QString folder = ModFileDlg::ShowFolderDialog(
        this, FileAdding::DialogTitle(QText(SaveIsoText::AddFolderMenu)));
    if (!folder.isEmpty()) AddDroppedFiles({folder});
}

bool frmSaveISO::ListDragEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    // Only files and folders from the desktop land on the list (into the
    // selected directory); the list's own rows never move inside it.
    const std::vector<std::string> paths =
        drop->source() == nullptr ? LocalPaths(drop->mimeData()) : std::vector<std::string>();
    if (paths.empty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) AddDropped(CurrentKey(), paths);
    return true;
}
