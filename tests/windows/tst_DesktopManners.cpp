// Manners a desktop user expects: the volume label typed once names the disc
// in both trees, dialogs open centred on their window whatever their width,
// and status texts are not cut off by the field beside them.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "AudioTexts.h"
#include "DiscProject.h"
#include "EngineMessages.h"
#include "LanguageFile.h"
#include "SpeedListBox.h"
#include "StatusPanel.h"
#include "TaskWindows.h"
#include "WindowPlacement.h"
#include "WindowTestRig.h"
#include "WriteIsoTexts.h"
#include "frmSaveISO.h"

namespace {
using Field = DiscProject::Field;

// The speeds the stand-in probe offers for the disc in the drive.
SpeedList g_offered;
SpeedList OfferedSpeeds(const std::string& /*drive*/) {
    return g_offered;
}
SpeedList Offered(std::initializer_list<int> factors) {
    SpeedList list{DefaultSpeedEntry()};
    for (int factor : factors) list.push_back(SpeedEntryOf(factor));
    return list;
}

// The texts the recording engines show in the status panel while they work.
std::vector<std::string> PhaseTexts() {
    return {"SYNCHRONIZE CACHE ...",
            Text(WriteIsoText::WritingData),
            Text(WriteIsoText::ClosingTrack) + " ...",
            Text(WriteIsoText::ClosingSession) + "...",
            Text(WriteIsoText::Ejecting),
            Text(WriteIsoText::RecordingComplete),
            Text(AudioText::WritingTrack),
            Text(AudioText::ClosingSession) + "...",
            Text(EngineMessage::Verifying),
            Text(EngineMessage::VerifyReload),
            Text(EngineMessage::VerifyTestMode)};
}

void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// Opens the window of `task`: the visible top-level window that is not the main one.
QWidget* OpenedTaskWindow(int task) {
    OpenTaskWindow(task, 0);
    QWidget* window = nullptr;
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (shown->isVisible() && shown->objectName() != QLatin1String("frmMain")) window = shown;
    return window;
}
}  // namespace

class DesktopMannersTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_rig = std::make_unique<WindowTestRig>(); }
    void cleanup() { m_rig.reset(); }

    // The Joliet label (what Windows and Linux show) follows the typed
    // label, within its 15 characters, until the user sets it separately.
    void theJolietLabelFollowsTheVolumeLabelUntilSetItself() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        const DiscProject& project = window->Project();
        auto* form = Control<QComboBox>(window, "cboDescr");
        auto* label = Control<QLineEdit>(window, "txtVolID");
        Type(label, QStringLiteral("Holiday photos 2026"));
        QCOMPARE(project.FieldText(Field::VolumeID, false), std::string("HOLIDAY_PHOTOS_2026"));
        QCOMPARE(project.FieldText(Field::VolumeID, true), std::string("Holiday photos "));
        // Switching forms commits the boxes again, which is no new label.
        form->setCurrentIndex(1);
        QCOMPARE(label->text(), QStringLiteral("Holiday photos "));
        form->setCurrentIndex(0);
        QCOMPARE(project.FieldText(Field::VolumeID, true), std::string("Holiday photos "));
        // A label typed without Return reaches both when the form changes.
        label->setText(QStringLiteral("Trip"));
        form->setCurrentIndex(1);
        QCOMPARE(label->text(), QStringLiteral("Trip"));

        Type(label, QStringLiteral("Mein Disk"));  // the Joliet label of its own
        form->setCurrentIndex(0);
        Type(label, QStringLiteral("Other"));
        QCOMPARE(project.FieldText(Field::VolumeID, false), std::string("OTHER"));
        QCOMPARE(project.FieldText(Field::VolumeID, true), std::string("Mein Disk"));

        window->Project().New();  // a new project follows again
        window->Project().CommitField(Field::VolumeID, false, "Again");
        QCOMPARE(project.FieldText(Field::VolumeID, true), std::string("Again"));
    }

    // The speed picked for one disc stays for the next when that disc
    // offers it, else the nearest lower one is taken.
    void theChosenSpeedIsKeptForTheNextDisc() {
        SpeedListBox box(&OfferedSpeeds, nullptr);
        const std::string drive = m_rig->drives.Id();
        g_offered = Offered({48, 40, 32, 24, 16});
        m_rig->drives.Insert(MediumKind::CdR);
        QCOMPARE(box.Follow(drive), SpeedListBox::Medium::Appeared);
        QVERIFY(box.Selected().IsDefault());
        box.show();
        for (int i = 0; i < 3; ++i) QTest::keyClick(&box, Qt::Key_Down);  // as the user picks it
        QCOMPARE(box.Selected().factor, 32);

        g_offered = Offered({40, 24, 16});
        m_rig->drives.Insert(MediumKind::CdR, 2000);  // another disc
        QCOMPARE(box.Follow(drive), SpeedListBox::Medium::Appeared);
        QCOMPARE(box.Selected().factor, 24);
        g_offered = Offered({48, 40, 32, 24, 16});
        m_rig->drives.Insert(MediumKind::CdR);
        QCOMPARE(box.Follow(drive), SpeedListBox::Medium::Appeared);
        QCOMPARE(box.Selected().factor, 32);  // the user's choice, not the fallback
    }

    // Back loses the project: one with files asks first.
    void backOnAProjectWithFilesAsksFirst() {
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        auto* back = Control<QPushButton>(window, "cmdBack");
        const std::string file = m_rig->folders.Folder().File("note.txt");
        WriteFile(file, "note");
        QSignalSpy added(window, &frmSaveISO::workFinished);
        window->AddDroppedFiles({QString::fromStdString(file)});
        QVERIFY(added.wait(10000));
        m_rig->boxes.QueueAnswer(MessageAnswer::No);
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(1));
        QCOMPARE(m_rig->boxes.shown[0].text,
                 QString::fromUtf8("返回将放弃当前的数据光盘项目,仍然返回吗?"));
        QVERIFY(window->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);  // answered Yes
        QCOMPARE(VisibleWindow<frmSaveISO>(), nullptr);

        OpenTaskWindow(Task::kDataDisc, 0);  // an empty project goes back at once
        QTest::mouseClick(Control<QPushButton>(VisibleWindow<frmSaveISO>(), "cmdBack"),
                          Qt::LeftButton);
        QCOMPARE(VisibleWindow<frmSaveISO>(), nullptr);
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(2));
    }

    // A control half under another takes clicks meant for it.
    void noControlOfATaskWindowCoversAnother_data() {
        QTest::addColumn<int>("task");
        QTest::newRow("data disc") << Task::kDataDisc;
        QTest::newRow("audio CD") << Task::kAudioCd;
        QTest::newRow("record image") << Task::kRecordImage;
        QTest::newRow("copy disc") << Task::kCopyDisc;
    }
    void noControlOfATaskWindowCoversAnother() {
        QFETCH(int, task);
        QWidget* window = OpenedTaskWindow(task);
        QVERIFY(window != nullptr);
        std::vector<QWidget*> controls;
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible()) controls.push_back(child);
        for (std::size_t a = 0; a < controls.size(); ++a)
            for (std::size_t b = a + 1; b < controls.size(); ++b)
                QVERIFY2(!controls[a]->geometry().intersects(controls[b]->geometry()),
                         qPrintable(controls[a]->objectName() + QStringLiteral(" covers ") +
                                    controls[b]->objectName()));
        window->close();
    }

    // The status panel of the recording windows shows every phase text
    // whole, in both scripts, beside the field after it; a failure too long
    // for the bar ends in "…" at the panel's edge, whole in its tool tip.
    void statusTextsAreNotCutOffByThePercentageField_data() {
        QTest::addColumn<int>("task");
        QTest::addColumn<QString>("language");
        for (const char* language : {"", "English"}) {
            QTest::addRow("record image %s", language) << Task::kRecordImage << language;
            QTest::addRow("audio CD %s", language) << Task::kAudioCd << language;
        }
    }
    void statusTextsAreNotCutOffByThePercentageField() {
        QFETCH(int, task);
        QFETCH(QString, language);
        SetLanguageFilePath(language.isEmpty() ? std::string()
                                               : ShippedLanguageFile(language.toStdString()));
        QWidget* window = OpenedTaskWindow(task);
        QVERIFY(window != nullptr);
        auto* status = window->findChild<StatusPanel*>(QStringLiteral("Panels(1)"));
        auto* next = window->findChild<QLabel*>(QStringLiteral("Panels(2)"));
        QVERIFY(status != nullptr && next != nullptr);
        next->setText(QStringLiteral("100%"));
        for (const std::string& text : PhaseTexts()) {
            status->setText(QString::fromStdString(text));
            QApplication::processEvents();
            QVERIFY2(!status->geometry().intersects(next->geometry()), qPrintable(status->text()));
            QCOMPARE(status->ShownText(), status->text());
            QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <=
                    status->contentsRect().width());
        }
        const QString failure = QString::fromStdString(
            Text(EngineMessage::ImageCut, {"holiday-photos-2026.iso", "734003200", "367001600"}));
        status->setText(failure);
        QVERIFY(status->ShownText().endsWith(QChar(0x2026)));
        QVERIFY(failure.startsWith(status->ShownText().chopped(1)));
        QVERIFY(status->fontMetrics().horizontalAdvance(status->ShownText()) <=
                status->contentsRect().width());
        QCOMPARE(status->text(), failure);
        window->close();
        SetLanguageFilePath({});
    }

    // A message box sizes itself as it shows; it must still open centred.
    void dialogsOpenCentredOnTheirWindow_data() {
        QTest::addColumn<int>("words");
        QTest::newRow("short") << 2;
        QTest::newRow("wide") << 120;
    }
    void dialogsOpenCentredOnTheirWindow() {
        QFETCH(int, words);
        qApp->installEventFilter(&m_placement);
        QWidget owner;
        owner.setGeometry(200, 150, 660, 500);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Title"),
                        QStringLiteral("word ").repeated(words), QMessageBox::Ok, &owner);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QPoint centre = owner.frameGeometry().center();
        QTRY_VERIFY2((box.frameGeometry().center() - centre).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("box centre %1,%2 window centre %3,%4")
                                    .arg(box.frameGeometry().center().x())
                                    .arg(box.frameGeometry().center().y())
                                    .arg(centre.x())
                                    .arg(centre.y())));
        qApp->removeEventFilter(&m_placement);
    }

  private:
    std::unique_ptr<WindowTestRig> m_rig;
    WindowPlacement m_placement;
};

QTEST_MAIN(DesktopMannersTest)
#include "tst_DesktopManners.moc"
