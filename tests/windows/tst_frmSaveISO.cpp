// The data disc project window with a virtual drive: a whole disc from the
// drop to an image that xorriso and isoinfo read back, the recording path
// to the disc (a test run, Back, a recording compared with cmp), the refusals
// (in the project and in the window), sizes, the pre-flight check and Cancel,
// texts and the task start.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <fstream>
#include <functional>

#include "DiscContinuation.h"
#include "DiscProject.h"
#include "InputBoxSeam.h"
#include "LanguageFile.h"
#include "ModFileDlg.h"
#include "SessionImporter.h"
#include "SessionTexts.h"
#include "SettingsStore.h"
#include "TaskWindows.h"
#include "TestDiscImages.h"
#include "WindowTestRig.h"
#include "WindowTexts.h"
#include "frmCDorDVD.h"
#include "frmSaveISO.h"
#include "ucTreeView.h"

namespace fs = std::filesystem;

namespace {
ucTreeView* Tree(frmSaveISO* window) {
    return Control<ucTreeView>(window, "tvwDirs");
}
QTreeWidget* List(frmSaveISO* window) {
    return Control<QTreeWidget>(window, "lvwFiles");
}

QStringList ListNames(frmSaveISO* window) {
    QStringList names;
    for (int i = 0; i < List(window)->topLevelItemCount(); ++i)
        names << List(window)->topLevelItem(i)->text(0);
    return names;
}

void Select(frmSaveISO* window, const char* key) {
    Tree(window)->setCurrentItem(Tree(window)->GetKeyNode(QString::fromUtf8(key)));
}

// Files and folders dropped from the desktop onto the list; returns when added.
void DropOnList(frmSaveISO* window, const std::vector<std::string>& paths) {
    QSignalSpy added(window, &frmSaveISO::workFinished);
    DropLocalFiles(List(window)->viewport(), paths);
    QVERIFY(added.wait(10000));
}

// A drag from `source` (the tree itself for a directory) dropped on a node.
void DropOnNode(frmSaveISO* window, QObject* source, const char* draggedKey, const char* target) {
    QMimeData data;
    if (draggedKey != nullptr) data.setData(ucTreeView::kNodeFormat, draggedKey);
    Qt::DropAction effect = Qt::MoveAction;
    emit Tree(window)->OLEDragDrop(&data, source, Tree(window)->GetKeyNode(target), effect);
    QCoreApplication::processEvents();
}

void TypeLabel(QAbstractItemView* view, const QString& text) {
    auto* editor = view->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

// Next, and the build it starts; false when it did not end in time.
bool NextAndWait(frmSaveISO* window) {
    QSignalSpy built(window, &frmSaveISO::workFinished);
    QTest::mouseClick(Control<QPushButton>(window, "cmdNext"), Qt::LeftButton);
    return built.wait(20000);
}
}  // namespace

class SaveIsoTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_rig = std::make_unique<WindowTestRig>();
        WriteFile(Src("Photos/a.jpg"), "alpha");
        WriteFile(Src("Photos/2020/b.jpg"), "bravo");
        WriteFile(Src("Photos/Trips/c.txt"), "charlie");
        WriteFile(Src("readme.txt"), "readme");
    }
    void cleanup() {
        SetInputBoxHandler({});
        ModFileDlg::SetDialogHandler({});
        m_rig.reset();
    }

    void wholeDataDiscFromDropToImage() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QCOMPARE(Tree(window)->topLevelItem(0)->text(0), QString::fromUtf8("CD光盘"));
        DropOnList(window, {Src("Photos") + "/", Src("readme.txt")});  // URLs may end in "/"
        QCOMPARE(ListNames(window), QStringList{"readme.txt"});
        QVERIFY(Tree(window)->GetKeyNode("\\Photos\\Trips\\") != nullptr);

        List(window)->editItem(List(window)->topLevelItem(0), 0);
        TypeLabel(List(window), QStringLiteral(" notes.txt "));
        // Tree labels: the name as the project keeps it, the keys below follow;
        // a refused name leaves the label as it was.
        Tree(window)->StartLabelEdit(Tree(window)->GetKeyNode("\\Photos\\"));
        TypeLabel(Tree(window), QStringLiteral(" Pictures "));
        QCOMPARE(Tree(window)->GetKeyNode("\\Pictures\\")->text(0), QStringLiteral("Pictures"));
        DropOnNode(window, Tree(window), "\\Pictures\\Trips\\", "\\");
        QTreeWidgetItem* trips = Tree(window)->GetKeyNode("\\Trips\\");
        QVERIFY(trips != nullptr);
        Tree(window)->StartLabelEdit(trips);
        TypeLabel(Tree(window), QStringLiteral("pictures"));
        QCOMPARE(trips->text(0), QStringLiteral("Trips"));
        DropOnNode(window, Tree(window), "\\Pictures\\", "\\Pictures\\2020\\");
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(2));
        QCOMPARE(m_rig->boxes.shown[1].text,
                 QString::fromUtf8("不能将目录移动到它自身或它的子目录中!"));
        Select(window, "\\Pictures\\");
        List(window)->topLevelItem(0)->setSelected(true);
        DropOnNode(window, List(window), nullptr, "\\Trips\\");
        QVERIFY(ListNames(window).isEmpty());

        Control<QTabBar>(window, "tabstrip")->setCurrentIndex(1);
        auto* label = Control<QLineEdit>(window, "txtVolID");
        label->setText(QStringLiteral("my disc"));
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(label, &leave);
        QCOMPARE(label->text(), QStringLiteral("MY_DISC"));

        Control<QCheckBox>(window, "chkCreateISOonly")->setChecked(true);
        ModFileDlg::SetDialogHandler(
            [this](const ModFileDlg::Request&) { return QString::fromStdString(Src("disc")); });
        QVERIFY(NextAndWait(window));
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("ISO文件创建成功!"));
        ReadBackWithOracles(Src("disc.iso"));
    }

    void recordingPathFromTheProjectToTheDisc() {
        OpenTaskWindow(Task::kDataDisc, 1);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        DropOnList(window, {Src("readme.txt")});
        m_rig->drives.Insert(MediumKind::DvdR);
        QPointer<frmWriteISO> recorder = NextToRecorder(window);
        QCOMPARE(GetProgramSetting("CDorDVD"), std::string("1"));
        QCOMPARE(Control<QLineEdit>(recorder, "txtISO")->text().toStdString(), TempImage());
        // A test run keeps the image for the recording that follows.
        Control<QCheckBox>(recorder, "chkEjectDisc")->setChecked(false);
        Control<QCheckBox>(recorder, "chkTestMode")->setChecked(true);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QVERIFY(recorder->isVisible() && fs::exists(TempImage()));
        // Back finds the same project; the temporary image has gone with the window.
        QTest::mouseClick(Control<QPushButton>(recorder, "cmdBack"), Qt::LeftButton);
        QVERIFY(window->isVisible());
        QCOMPARE(ListNames(window), QStringList{"readme.txt"});
        QVERIFY(!fs::exists(TempImage()));

        recorder = NextToRecorder(window);
        const std::string built = Src("built.iso");
        fs::copy_file(TempImage(), built);
        Control<QCheckBox>(recorder, "chkEjectDisc")->setChecked(false);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), built));
        QVERIFY(!fs::exists(TempImage()));
        QTRY_VERIFY(recorder.isNull() && VisibleWindow<frmSaveISO>() == nullptr);
        QVERIFY(m_rig->main.widget.isVisible());
    }

    // An appendable disc in the drive: the project may start from its files
    // (on the disc, grey), a new file goes beside them; Next refuses another
    // disc, and with the disc it read hands the recording the next session's place.
    void continuingTheDiscInTheDrive() {
        m_rig->drives.Insert(MediumKind::CdR);
        QVERIFY(RecordOpenSession(m_rig->drives, Src("")));
        OpenTaskWindow(Task::kDataDisc, 0);  // the question is answered Yes
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QCOMPARE(m_rig->boxes.shown.at(0).text, QText(SessionText::ContinueQuestion));
        QCOMPARE(ListNames(window), QStringList{"a.txt"});
        QCOMPARE(List(window)->topLevelItem(0)->toolTip(0), QText(SessionText::OnDiscTip));
        DropOnList(window, {Src("readme.txt")});
        QCOMPARE(ListNames(window), (QStringList{"a.txt", "readme.txt"}));
        // A new file of an on-disc file's name replaces it once the user agrees.
        WriteFile(Src("new/a.txt"), "replaced");
        DropOnList(window, {Src("new/a.txt")});
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QText(SessionText::Clashes, {ShownSrc("new/a.txt").toStdString()}));
        QTRY_COMPARE(ListNames(window), (QStringList{"readme.txt", "a.txt"}));
        QCOMPARE(List(window)->topLevelItem(1)->toolTip(0), ShownSrc("new/a.txt"));

        m_rig->drives.Insert(MediumKind::CdR);  // another disc, blank
        QVERIFY(!NextAndWait(window) && window->isVisible());
        QCOMPARE(m_rig->boxes.shown.back().text, QText(SessionText::DiscChanged));
        m_rig->drives.Insert(MediumKind::CdR);
        QVERIFY(RecordOpenSession(m_rig->drives, Src("")));
        QPointer<frmWriteISO> recorder = NextToRecorder(window);
        QVERIFY(recorder != nullptr);
        QCOMPARE(GetProgramSetting("TempISOSession"), std::string("11702 2 0"));
        Control<QCheckBox>(recorder, "chkEjectDisc")->setChecked(false);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QCOMPARE(DiscContinuation::Of(m_rig->drives.Id()).sessions.size(), std::size_t(2));
        const ImportedSession last = LastSession();
        QCOMPARE(last.root.children.size(), std::size_t(2));
        QCOMPARE(last.root.children.at(0).name, std::string("readme.txt"));
        const ImportedEntry& replaced = last.root.children.at(1);
        std::vector<std::uint8_t> block(2048);
        QVERIFY(DiscContinuation::ReadBlocks(m_rig->drives.Id(), replaced.lba, 1, block.data()));
        QCOMPARE(std::string(block.begin(), block.begin() + replaced.size),
                 std::string("replaced"));
    }

    // A BD-R (chosen as "DVD") is continued as a DVD+R is: its next session
    // is recorded after the first and lists the files of both.
    void continuingABluRayDisc() {
        m_rig->drives.Insert(MediumKind::BdR);
        QVERIFY(RecordOpenSession(m_rig->drives, Src("")));
        OpenTaskWindow(Task::kDataDisc, 1);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QCOMPARE(ListNames(window), QStringList{"a.txt"});
        DropOnList(window, {Src("readme.txt")});
        QPointer<frmWriteISO> recorder = NextToRecorder(window);
        QVERIFY(recorder != nullptr);
        Control<QCheckBox>(recorder, "chkEjectDisc")->setChecked(false);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QCOMPARE(DiscContinuation::Of(m_rig->drives.Id()).sessions.size(), std::size_t(2));
        const ImportedSession last = LastSession();
        QCOMPARE(last.root.children.size(), std::size_t(2));
        QCOMPARE(last.root.children.at(0).name, std::string("a.txt"));
        QCOMPARE(last.root.children.at(1).name, std::string("readme.txt"));
    }

    // Recording directly: the option is remembered, no temporary image is
    // made, and the disc holds the image the same project builds; a file
    // gone when Burn is pressed is named and the disc stays blank.
    void directRecordingWithoutATemporaryImage() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        DropOnList(window, {Src("Photos") + "/", Src("readme.txt")});
        auto* imageOnly = Control<QCheckBox>(window, "chkCreateISOonly");
        auto* direct = Control<QCheckBox>(window, "chkDirect");
        imageOnly->setChecked(true);
        QVERIFY(!direct->isEnabled());
        ModFileDlg::SetDialogHandler(
            [this](const ModFileDlg::Request&) { return QString::fromStdString(Src("built")); });
        QVERIFY(NextAndWait(window));  // the same project, for the comparison
        imageOnly->setChecked(false);
        QVERIFY(direct->isEnabled());
        direct->setChecked(true);
        QCOMPARE(GetProgramSetting("DirectRecording"), std::string("1"));
        m_rig->drives.Insert(MediumKind::CdR);
        QTest::mouseClick(Control<QPushButton>(window, "cmdNext"), Qt::LeftButton);
        QPointer<frmWriteISO> recorder = VisibleWindow<frmWriteISO>();
        QVERIFY(recorder && !window->isVisible());
        QCOMPARE(Control<QLineEdit>(recorder, "txtISO")->text(),
                 QString::fromUtf8("数据光碟项目(直接刻录,不生成临时映像)"));
        Control<QCheckBox>(recorder, "chkEjectDisc")->setChecked(false);

        fs::rename(Src("readme.txt"), Src("readme.away"));
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Refused);
        QVERIFY2(
            m_rig->boxes.shown.back().text.contains(QString::fromStdString(QtSrc("readme.txt"))),
            qPrintable(m_rig->boxes.shown.back().text));
        QCOMPARE(m_rig->drives.Drive().Media().State(), DiscState::Blank);
        fs::rename(Src("readme.away"), Src("readme.txt"));

        QVERIFY2(RunBurn(*recorder) == BurnOutcome::Completed,
                 qPrintable(m_rig->boxes.shown.back().text));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), Src("built.iso")));
        QVERIFY(!fs::exists(TempImage()));
        for (const auto& entry : fs::recursive_directory_iterator(IsolatedProgramFolders::Temp()))
            QVERIFY2(entry.path().filename().string().find("tempiso") == std::string::npos,
                     qPrintable(QString::fromStdString(entry.path().string())));
        QTRY_VERIFY(recorder.isNull());
    }

    void projectRulesRefuseWithoutLosingAnything() {
        const auto project = [this] {
            auto made = std::make_unique<DiscProject>(DiscKind::Cd);
            made->NewDirectory("\\", "Photos");
            made->NewDirectory("\\Photos\\", "2020");
            made->NewDirectory("\\", "Music");
            made->NewDirectory("\\Music\\", "2020");
            made->AddLocalPaths("\\", {Src("readme.txt"), Src("Photos/a.jpg")});
            made->AddLocalPaths("\\Music\\", {Src("Photos/Trips/c.txt")});
            return made;
        };
        // Edits: n new directory, r rename it, d remove it, f rename file 0,
        // m move the directory, F move files 0 and 1. New folders named as a
        // twin, with "/" or blank are refusalsInTheWindow's.
        const std::vector<std::tuple<char, const char*, const char*, Refusal>> rows = {
            {'n', "\\", "a\\b", Refusal::InvalidName},
            {'n', "\\", "..", Refusal::InvalidName},
            {'r', "\\Music\\", "PHOTOS", Refusal::NameTaken},
            {'r', "\\Music\\", "MUSIC", Refusal::None},
            {'r', "\\", "x", Refusal::RootDirectory},
            {'d', "\\", "", Refusal::RootDirectory},
            {'f', "\\", "A.JPG", Refusal::NameTaken},
            {'f', "\\", ".", Refusal::InvalidName},
            {'m', "\\Photos\\", "\\Photos\\2020\\", Refusal::IntoOwnSubtree},
            {'m', "\\Photos\\", "\\", Refusal::Unchanged},
            {'m', "\\Photos\\2020\\", "\\Music\\", Refusal::NameTaken},
            {'m', "\\Photos\\2020\\", "\\Music\\2020\\", Refusal::None},
            {'F', "\\", "\\", Refusal::Unchanged},
        };
        const auto apply = [](DiscProject& p, char edit, const char* key, const char* text) {
            return edit == 'n'   ? p.NewDirectory(key, text).refusal
                   : edit == 'r' ? p.RenameDirectory(key, text).refusal
                   : edit == 'd' ? p.RemoveDirectory(key).refusal
                   : edit == 'f' ? p.RenameFile(key, 0, text).refusal
                   : edit == 'm' ? p.MoveDirectory(key, text).refusal
                                 : p.MoveFiles(key, {0, 1}, text).refusal;
        };
        for (const auto& [edit, key, text, expected] : rows) {
            auto made = project();
            QVERIFY2(apply(*made, edit, key, text) == expected, text);
            QCOMPARE(made->Files("\\").size(), std::size_t(2));
        }
        // A file that meets its twin in the target stays where it was.
        auto made = project();
        made->AddLocalPaths("\\Photos\\", {Src("readme.txt")});
        const auto moved = made->MoveFiles("\\", {0, 1}, "\\Photos\\");
        QCOMPARE(moved.refusedNames, std::vector<std::string>{"readme.txt"});
        QCOMPARE(made->Files("\\").size(), std::size_t(1));
        QCOMPARE(made->Files("\\Photos\\").size(), std::size_t(2));
    }

    void refusalsInTheWindow() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        std::vector<QString> answers{"Photos", " photos ", "a/b", "  "};
        SetInputBoxHandler([&answers](const InputBoxRequest&) {
            const QString answer = answers.front();
            answers.erase(answers.begin());
            return std::optional<QString>(answer);
        });
        for (int i = 0; i < 4; ++i) Control<QAction>(window, "meuDirNew")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(Tree(window)->topLevelItem(0)->childCount(), 1);
        QTest::mouseClick(Control<QPushButton>(window, "cmdNext"), Qt::LeftButton);  // no files
        QStringList texts;
        for (const auto& box : m_rig->boxes.shown) texts << box.text;
        QCOMPARE(texts, (QStringList{
                            QString::fromUtf8("此目录中已有同名的项目(不区分大小写):\nphotos"),
                            QString::fromUtf8("名称不能为空,不能是“.”或“..”,也不能包含“\\”或“/”!"),
                            QString::fromUtf8("你尚未添加要刻录文件!")}));

        Select(window, "\\");
        QTest::mouseClick(Control<QPushButton>(window, "cmdRen"), Qt::LeftButton);
        QVERIFY(Tree(window)->findChild<QLineEdit*>() == nullptr);  // the root keeps its name
        QTest::mouseClick(Control<QPushButton>(window, "cmdDel"), Qt::LeftButton);
        QCOMPARE(Tree(window)->topLevelItem(0)->childCount(), 1);  // and stays

        DropOnList(window, {Src("readme.txt")});
        DropOnList(window, {"/", Src("readme.txt")});  // no name for the disc; a twin
        // Dropped paths come as URLs ("/" separators); the list shows the system's.
        QVERIFY(m_rig->boxes.shown.back().text.endsWith(QDir::toNativeSeparators("\n/\n") +
                                                        ShownSrc("readme.txt")));
    }

    // With a blank in the drive the size line compares with it, whatever kind
    // was chosen: a BD-R for a "DVD" project, a new BD-RE as formatted.
    void theSizeLineComparesWithTheBlankInTheDrive() {
        m_rig->drives.Insert(MediumKind::BdR);
        OpenTaskWindow(Task::kDataDisc, 1);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QCOMPARE(Control<QLabel>(window, "Panels(2)")->text(),
                 QStringLiteral("Size: 0 KB / 23.31 GB"));
        window->close();
        m_rig->drives.Insert(MediumKind::BdRe);
        OpenTaskWindow(Task::kDataDisc, 0);
        window = VisibleWindow<frmSaveISO>();
        QCOMPARE(Control<QLabel>(window, "Panels(2)")->text(),
                 QStringLiteral("Size: 0 KB / 22.56 GB"));
    }

    // An image larger than the disc is built only when the user says Yes; a
    // build stopped with Cancel keeps nothing.
    void sizesThePreflightCheckAndCancel() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        auto* size = Control<QLabel>(window, "Panels(2)");
        QCOMPARE(size->text(), QStringLiteral("Size: 0 KB / 703.13 MB"));
        DropOnList(window, {Src("readme.txt")});
        QCOMPARE(size->text(), QStringLiteral("Size: 202 KB / 703.13 MB"));
        QVERIFY(size->styleSheet().isEmpty());
        std::ofstream(Src("big.bin")).close();
        fs::resize_file(Src("big.bin"), 5LL << 30);  // takes no disc space here
        // Real data (a hole is written in no time), so the build is still on at Cancel.
        std::ofstream(Src("data.bin"), std::ios::binary) << std::string(32 << 20, 'd');
        DropOnList(window, {Src("big.bin"), Src("data.bin")});
        QCOMPARE(size->text(), QStringLiteral("Size: 5.03 GB / 703.13 MB"));
        QVERIFY(!size->styleSheet().isEmpty());
        int asked = 0;
        ModFileDlg::SetDialogHandler([&](const ModFileDlg::Request&) {
            ++asked;
            return QString::fromStdString(Src("disc.iso"));
        });
        Control<QCheckBox>(window, "chkCreateISOonly")->setChecked(true);
        auto* next = Control<QPushButton>(window, "cmdNext");
        m_rig->boxes.QueueAnswer(MessageAnswer::No);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(m_rig->boxes.shown.back().buttons, MessageButtons::YesNo);
        QCOMPARE(asked, 0);
        QSignalSpy ended(window, &frmSaveISO::workFinished);
        QTest::mouseClick(next, Qt::LeftButton);  // Yes
        auto* cancel = Control<QPushButton>(window, "cmdCancel");
        QVERIFY(cancel->isVisible() && !Control<QPushButton>(window, "cmdBack")->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(ended.wait(20000));
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8("已停止。没有保留映像文件，光碟保持不变。"));
        QVERIFY(!fs::exists(Src("disc.iso")) && !HasPartialFile(Src("disc.iso")));
        QVERIFY(!cancel->isVisible() && Control<QPushButton>(window, "cmdBack")->isEnabled());
    }

    // The volume boxes follow the chosen form; an invalid date is shown but
    // never used.
    void volumeFieldsAndDates() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        auto* form = Control<QComboBox>(window, "cboDescr");
        auto* label = Control<QLineEdit>(window, "txtVolID");
        auto* copyright = Control<QLineEdit>(window, "txtCopy");
        QCOMPARE(label->maxLength(), 32);
        copyright->setText(QStringLiteral("(c) me"));
        form->setCurrentIndex(1);  // the ISO 9660 boxes are kept before Joliet shows
        QCOMPARE(label->text(), QStringLiteral("New_Disc"));
        QCOMPARE(label->maxLength(), 15);  // the 16th character would lose a byte
        QCOMPARE(copyright->text(), QString());
        form->setCurrentIndex(0);
        QCOMPARE(copyright->text(), QStringLiteral("(c) me"));

        auto* date = Control<QLineEdit>(window, "dateCreation");
        const std::string before = window->Project().DateText();
        date->clear();
        QTest::keyClicks(date, QStringLiteral("2024-02-30"));
        QCOMPARE(window->Project().DateText(), before);
        QVERIFY(!date->styleSheet().isEmpty());
        DropOnList(window, {Src("readme.txt")});
        QTest::mouseClick(Control<QPushButton>(window, "cmdNext"), Qt::LeftButton);
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8("日期或时间无效,请按 yyyy-mm-dd 和 hh:mm:ss 的格式输入。"));
        date->clear();
        QTest::keyClicks(date, QStringLiteral("2024-02-29"));
        QCOMPARE(window->Project().DateText(), std::string("2024-02-29"));
        QVERIFY(date->styleSheet().isEmpty());
    }

    void textsAndTheTaskStart() {
        SetLanguageFilePath(ShippedLanguageFile("English"));
        OpenTaskWindow(Task::kDataDisc, 1);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QCOMPARE(Tree(window)->topLevelItem(0)->text(0), QStringLiteral("DVD Disc"));
        auto* isoOnly = Control<QCheckBox>(window, "chkCreateISOonly");
        auto* next = Control<QPushButton>(window, "cmdNext");
        isoOnly->setChecked(true);
        QCOMPARE(next->toolTip(), QStringLiteral("Build and save an ISO image file"));
        isoOnly->setChecked(false);
        QCOMPARE(next->toolTip(), QStringLiteral("Next step: prepare to record"));
        m_rig->main.widget.hide();
        QTest::mouseClick(Control<QPushButton>(window, "cmdBack"), Qt::LeftButton);
        QVERIFY(m_rig->main.widget.isVisible() && VisibleWindow<frmSaveISO>() == nullptr);

        m_rig->main.drive.clear();  // no drive: an image is all one can make
        frmSaveISO driveless(DiscKind::Cd);
        QVERIFY(Control<QCheckBox>(&driveless, "chkCreateISOonly")->isChecked());
        QVERIFY(!Control<QCheckBox>(&driveless, "chkCreateISOonly")->isEnabled());

        for (const char* language : {"", "English", "Chinese Tradition"}) {
            SetLanguageFilePath(*language ? ShippedLanguageFile(language) : "");
            frmCDorDVD chooser;
            for (const char* name : {"LblText(0)", "LblText(1)"}) {
                auto* caption = Control<QLabel>(&chooser, name);
                QVERIFY2(
                    caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width(),
                    qPrintable(caption->text()));
            }
        }
    }

  private:
    // Next builds the temporary image and hands it to the record-image window.
    static frmWriteISO* NextToRecorder(frmSaveISO* window) {
        if (!NextAndWait(window) || window->isVisible()) return nullptr;
        return VisibleWindow<frmWriteISO>();
    }

    std::string Src(const std::string& relative) const {
        return m_rig->folders.Folder().File(relative);
    }
    // A source path as the window holds it: Qt's separators on every system.
    std::string QtSrc(const std::string& relative) const {
        return QDir::fromNativeSeparators(QString::fromStdString(Src(relative))).toStdString();
    }
    // A source path as the window shows it: the system's separators.
    QString ShownSrc(const std::string& relative) const {
        return QDir::toNativeSeparators(QString::fromStdString(Src(relative)));
    }
    // The tree of the last session on the disc in the drive.
    ImportedSession LastSession() const {
        const DiscContinuation disc = DiscContinuation::Of(m_rig->drives.Id());
        SessionImporter importer([this](std::int64_t lba, std::int32_t count, std::uint8_t* out) {
            return DiscContinuation::ReadBlocks(m_rig->drives.Id(), lba, count, out);
        });
        return importer.Import(disc.sessions.back().start);
    }
    static std::string TempImage() { return IsolatedProgramFolders::TempImage(); }
    void ReadBackWithOracles(const std::string& image) {
#ifdef Q_OS_WIN
        QSKIP(
            "xorriso, isoinfo and the Python oracle are Linux programs: the Linux run reads the "
            "image back");
#endif
        // The disc as the user arranged it, written out as a folder.
        const std::string expected = Src("expected");
        WriteFile(expected + "/notes.txt", "readme");
        WriteFile(expected + "/Pictures/2020/b.jpg", "bravo");
        WriteFile(expected + "/Trips/a.jpg", "alpha");
        WriteFile(expected + "/Trips/c.txt", "charlie");
        const QString tools = QStringLiteral(MAPLE_SOURCE_DIR "/tests/tools/iso_compare.py");
        const QString extracted = QString::fromStdString(Src("xorriso"));
        QVERIFY(RunTool("xorriso", {"-abort_on", "FATAL", "-return_with", "FATAL", "0", "-joliet",
                                    "on", "-indev", QString::fromStdString(image), "-osirrox", "on",
                                    "-extract", "/", extracted}));
        QVERIFY(RunTool("python3", {tools, "folder", extracted, QString::fromStdString(expected)}));
        QString volume;
        QVERIFY(RunTool("isoinfo", {"-d", "-i", QString::fromStdString(image)}, &volume));
        QVERIFY(volume.contains(QStringLiteral("Volume id: MY_DISC\n")));
    }

    std::unique_ptr<WindowTestRig> m_rig;
};

QTEST_MAIN(SaveIsoTest)
#include "tst_frmSaveISO.moc"
