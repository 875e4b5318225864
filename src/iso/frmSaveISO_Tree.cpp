// The project window's tree and file list: what they show and their edits.
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QTreeWidget>

#include "FileAdding.h"
#include "InputBoxSeam.h"
#include "MessageBoxSeam.h"
#include "SessionTexts.h"
#include "SizeText.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "ucTreeView.h"

namespace {
// Images of the tree's image list.
constexpr int kDiscImage = 0;
constexpr int kFolderImage = 1;
constexpr int kOpenFolderImage = 2;
// Lists of names in a message stop after this many lines.
constexpr std::size_t kListedNames = 15;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString DateText(const LocalDateTime& date) {
    if (date.IsZero()) return {};
    const QDateTime shown(QDate(date.year, date.month, date.day),
                          QTime(date.hour, date.minute, date.second));
    return QLocale().toString(shown, QLocale::ShortFormat);
}
}  // namespace

void frmSaveISO::ShowNewProject(SaveIsoText rootName) {
    m_tvwDirs->Clear();
    QTreeWidgetItem* root =
        m_tvwDirs->AddNode(nullptr, ucTreeView::tvwLast, QLatin1String(DiscProject::kRootKey),
                           QText(rootName), kDiscImage, kDiscImage);
    m_tvwDirs->setCurrentItem(root);
    FillList();
    m_panel1->setText(QStringLiteral("Ready"));
    RefreshSize(true);
}

void frmSaveISO::AddChildNodes(QTreeWidgetItem* node) {
    for (const auto& child : m_project->SubDirectories(m_tvwDirs->GetNodeKey(node).toStdString()))
        AddChildNodes(m_tvwDirs->AddNode(node, ucTreeView::tvwLast, Text(child.key),
                                         Text(child.name), kFolderImage, kOpenFolderImage));
}

void frmSaveISO::RebuildBelow(QTreeWidgetItem* node) {
    while (node->childCount() > 0) m_tvwDirs->DeleteNode(node->child(0));
    AddChildNodes(node);
}

std::string frmSaveISO::CurrentKey() const {
    const QTreeWidgetItem* node = m_tvwDirs->SelectedNode();
    return node != nullptr ? m_tvwDirs->GetNodeKey(node).toStdString() : DiscProject::kRootKey;
}

void frmSaveISO::FillList() {
    m_lvwFiles->clear();
    for (const auto& file : m_project->Files(CurrentKey())) {
        auto* item = new QTreeWidgetItem(
            m_lvwFiles, {Text(file.name), Text(SizeText(file.size)), DateText(file.date)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        // Files already on the disc are grey and say so; they take no new room.
        item->setToolTip(
            0, file.onDisc ? QText(SessionText::OnDiscTip) : FileAdding::ShownPath(file.localPath));
        if (file.onDisc)
            for (int column = 0; column < 3; ++column) item->setForeground(column, Qt::gray);
    }
}

void frmSaveISO::RefreshSize(bool newProject) {
    m_panel2->setText(Text(m_project->SizeLine(newProject)));
    // The pre-flight check: red when the image would not fit the disc.
    m_panel2->setStyleSheet(m_project->Fits() ? QString() : QStringLiteral("color: #c00000;"));
}

void frmSaveISO::NewDirectory() {
    const auto answer = ShowInputBox(this, QText(SaveIsoText::NewDirectoryName),
                                     QStringLiteral("MAPLE CD/DVD Writer"));
    if (!answer) return;
    QTreeWidgetItem* parent = m_tvwDirs->SelectedNode();
    const EditResult result = m_project->NewDirectory(CurrentKey(), answer->toStdString());
    if (result.refusal != Refusal::None) return Refuse(result.refusal, Text(result.name));
    QTreeWidgetItem* node = m_tvwDirs->AddNode(parent, ucTreeView::tvwLast, Text(result.key),
                                               Text(result.name), kFolderImage, kOpenFolderImage);
    m_tvwDirs->scrollToItem(node);
    RefreshSize();
}

void frmSaveISO::RemoveDirectory() {
    QTreeWidgetItem* node = m_tvwDirs->SelectedNode();
    // The root stays: nothing happens.
    if (node == nullptr || m_project->RemoveDirectory(CurrentKey()).refusal != Refusal::None)
        return;
    m_tvwDirs->setCurrentItem(node->parent());
    m_tvwDirs->DeleteNode(node);
    RefreshSize();
}

void frmSaveISO::RenameDirectory(QTreeWidgetItem* node, QString& text, bool& cancel) {
    const EditResult result =
        m_project->RenameDirectory(m_tvwDirs->GetNodeKey(node).toStdString(), text.toStdString());
    cancel = result.refusal != Refusal::None;
    if (cancel) return Refuse(result.refusal, Text(result.name));
    text = Text(result.name);
    // Every key below the node holds the old name.
    const bool expanded = node->isExpanded();
    m_tvwDirs->SetNodeKey(node, Text(result.key));
    RebuildBelow(node);
    node->setExpanded(expanded);
}

void frmSaveISO::RemoveFiles() {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : m_lvwFiles->selectedItems())
        rows.push_back(m_lvwFiles->indexOfTopLevelItem(item));
    m_project->RemoveFiles(CurrentKey(), rows);
    FillList();
    RefreshSize();
}

bool frmSaveISO::RenameFile(int row, QString& text) {
    const EditResult result = m_project->RenameFile(CurrentKey(), row, text.toStdString());
    if (result.refusal != Refusal::None) {
        Refuse(result.refusal, Text(result.name));
        return false;
    }
    text = Text(result.name);
    return true;
}

void frmSaveISO::DeleteSelected() {
    if (m_lastClicked == LastClicked::Tree)
        RemoveDirectory();
    else
        RemoveFiles();
}

void frmSaveISO::RenameSelected() {
    if (m_lastClicked == LastClicked::Tree)
        m_tvwDirs->StartLabelEdit(m_tvwDirs->SelectedNode());
    else if (QTreeWidgetItem* item = m_lvwFiles->currentItem())
        m_lvwFiles->editItem(item, 0);
}

void frmSaveISO::Refuse(Refusal refusal, const QString& name) {
    SaveIsoText message = SaveIsoText::BadName;
    switch (refusal) {
        case Refusal::InvalidName:
            message = SaveIsoText::BadName;
            break;
        case Refusal::NameTaken:
            message = SaveIsoText::NameTaken;
            break;
        case Refusal::IntoOwnSubtree:
            message = SaveIsoText::IntoOwnSubtree;
            break;
        default:
            return;  // an emptied name, the root, a move in place: nothing changed, nothing to say
    }
    QString text = QText(message);
    if (refusal == Refusal::NameTaken) text += u'\n' + name;
    // Shown once the edit that asked has ended (a label editor may still be closing).
    QTimer::singleShot(0, this, [this, text] {
        ShowMessageBox(this, text, QText(SaveIsoText::NoticeTitle), MessageIcon::Exclamation);
    });
}

void frmSaveISO::ShowList(SaveIsoText message, const std::vector<std::string>& items) {
    QString text = QText(message);
    for (std::size_t i = 0; i < items.size() && i < kListedNames; ++i)
        text += u'\n' + Text(items[i]);
    if (items.size() > kListedNames)
        text += QStringLiteral("\n... (+%1)").arg(items.size() - kListedNames);
    ShowMessageBox(this, text, QText(SaveIsoText::NoticeTitle), MessageIcon::Exclamation);
}
