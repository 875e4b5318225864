// The disc copy window on the virtual drive: a disc copied into an .ISO file
// and onto a second blank disc through the record-image window, each read
// back with cmp; Cancel or a close while reading.
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "ModFileDlg.h"
#include "SettingsStore.h"
#include "TestDiscImages.h"
#include "WindowTestRig.h"
#include "frmSaveISO2.h"

namespace {
constexpr std::uint8_t kSetCdSpeed = 0xBB;
}  // namespace

class SaveIso2Test : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_rig = std::make_unique<WindowTestRig>();
        m_source = m_rig->folders.Folder().File("source.iso");
        WriteTestImage(m_source, 48);
        QCOMPARE(m_rig->drives.Drive().InsertImage(MediumKind::CdR, m_source), std::string());
    }
    void cleanup() {
        ModFileDlg::SetDialogHandler({});
        m_rig.reset();
    }

    void copiesTheDiscIntoAnIsoFileNamedInTheDialog() {
        std::vector<ModFileDlg::Request> asked;
        ModFileDlg::SetDialogHandler([&](const ModFileDlg::Request& request) {
            asked.push_back(request);
            return QString::fromStdString(m_rig->folders.Folder().File("Backup"));
        });
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        Control<QCheckBox>(window, "chkCreateISOonly")->setChecked(true);
        QCOMPARE(RunNext(*window), CopyOutcome::ImageSaved);
        QCOMPARE(asked.at(0).title, QString::fromUtf8("请输入要保存的*.ISO文件名:"));
        QVERIFY(asked.at(0).save);
        // The extension is added; the file equals the disc over its length.
        QCOMPARE(ReadFile(m_rig->folders.Folder().File("Backup.iso")), ReadFile(m_source));
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("ISO文件创建成功!"));
        QTRY_VERIFY(window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    void copiesTheDiscOntoABlankThroughTheRecordingWindow() {
        m_rig->boxes.OnShow([this](const MessageBoxRequest& box) {
            if (box.text == QString::fromUtf8("请放入一张空白光碟片,并点击确定继续"))
                m_rig->drives.Insert(MediumKind::CdR);
        });
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        QCOMPARE(RunNext(*window), CopyOutcome::ReadyToRecord);
        QPointer<frmWriteISO> recorder = VisibleWindow<frmWriteISO>();
        QVERIFY(recorder != nullptr);
        QVERIFY(window->isHidden());
        const std::string temporary = GetProgramSetting("TempISO");
        QCOMPARE(Control<QLineEdit>(recorder, "txtISO")->text(), QString::fromStdString(temporary));
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("刻录完成!"));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_source));
        QVERIFY(!std::filesystem::exists(temporary));
        QTRY_VERIFY(recorder.isNull() && window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    void cancelOrCloseStopsTheReadingAndKeepsNoImage_data() {
        QTest::addColumn<bool>("close");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close, without a question") << true;
    }
    void cancelOrCloseStopsTheReadingAndKeepsNoImage() {
        QFETCH(bool, close);
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        // A refused read speed holds the copy at its warning: the user stops it then.
        m_rig->drives.Drive().Faults().failures.push_back({kSetCdSpeed, 0, 1, 0x05, 0x24, 0x00});
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (!box.text.startsWith(QStringLiteral("WARNING"))) return;
            if (close)
                QVERIFY(!window->close());
            else
                QTest::mouseClick(Control<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
        });
        QCOMPARE(RunNext(*window), CopyOutcome::Cancelled);
        QVERIFY(!std::filesystem::exists(IsolatedProgramFolders::Temp() + "/tempiso.iso"));
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(2));  // the warning and the stop
        if (close) {
            QTRY_VERIFY(window.isNull());
            QVERIFY(m_rig->main.widget.isVisible());
            return;
        }
        QVERIFY(window->isVisible());
        QVERIFY(Control<QCheckBox>(window, "ChkBadCopy")->isEnabled());
        delete window;
    }

  private:
    // Presses Next (enabled by the timer) and waits for the end; the window
    // may be gone or hidden afterwards.
    static std::optional<CopyOutcome> RunNext(frmSaveISO2& window) {
        window.show();
        window.Timer1Tick();
        return ClickAndWait(window, "cmdNext", &frmSaveISO2::copyFinished);
    }

    std::unique_ptr<WindowTestRig> m_rig;
    std::string m_source;
};

QTEST_MAIN(SaveIso2Test)
#include "tst_frmSaveISO2.moc"
