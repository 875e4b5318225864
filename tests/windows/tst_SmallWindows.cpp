// The about window and the CD-or-DVD chooser (its style pictures are
// tst_frmMainStartUp's).
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "LanguageFile.h"
#include "MessageBoxSeam.h"
#include "MouseLabel.h"
#include "SettingsStore.h"
#include "WindowPlacement.h"
#include "WindowTestSupport.h"
#include "frmAbout.h"
#include "frmCDorDVD.h"

namespace {
const char* const kBuiltInNotice =
    "警告：本程式目前正处于测试期间，请暂时不要用于重要资料的备份；并且建议尽可能地采用可复写光碟"
    "(CD/DVD-RW)进行测试，以免造成您的光碟(例如:可记录光碟CD/DVD-R)损坏。\n\n"
    "最后，谢谢您的参与测试！";

}  // namespace

class SmallWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_folders = std::make_unique<WindowTestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void aboutShowsTheBuildAndTheNoticeCentredOnTheMainWindowAndClosesWithOk() {
        FakeMainWindow main;
        main.widget.setGeometry(100, 80, 600, 400);
        frmAbout* window = frmAbout::ShowWindow();
        QCOMPARE(frmAbout::ShowWindow(), window);
        const QRegularExpression version(QStringLiteral("^1\\.00  Beta6 \\(Build:\\d{4,}\\)$"));
        QVERIFY(version.match(Control<QLabel>(window, "LblVersion")->text()).hasMatch());
        QCOMPARE(frmAbout::VersionText(7), QStringLiteral("1.00  Beta6 (Build:0007)"));
        QVERIFY(!Control<QLabel>(window, "Picture1")->pixmap().isNull());
        QCOMPARE(Control<QLabel>(window, "Label3")->text(), QString::fromUtf8(kBuiltInNotice));
        // A notice from a language file: its first grave accent starts a paragraph.
        QCOMPARE(frmAbout::NoticeText(QStringLiteral("a`b`c")), QStringLiteral("a\n\nb`c"));
        const QRect outer = main.widget.frameGeometry();
        QCOMPARE(window->pos(), QPoint(outer.left() + (outer.width() - 6300 / 15) / 2,
                                       outer.top() + (outer.height() - 4200 / 15) / 2));
        QTest::mouseClick(Control<QPushButton>(window, "CmdOK"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    void chooserPlacesItselfFromTheSettingsAndHighlightsThePictureUnderTheMouse() {
        QCOMPARE(frmCDorDVD().pos(), QPoint(0, 0));  // nothing stored yet
        SaveProgramSetting("TempX0", "1500");
        SaveProgramSetting("TempY0", "3000abc");
        frmCDorDVD chooser;
        QCOMPARE(chooser.pos(), QPoint(100, 200));
        auto* cd = Control<MouseLabel>(&chooser, "Picture1(0)");
        auto* dvd = Control<MouseLabel>(&chooser, "Picture1(1)");
        MoveMouseOver(dvd);
        QCOMPARE(dvd->BackColor(), QColor(0, 128, 0));
        QCOMPARE(cd->BackColor(), QColor(255, 255, 255));
        MoveMouseOver(cd);
        QCOMPARE(cd->BackColor(), QColor(0, 128, 0));
        QCOMPARE(dvd->BackColor(), QColor(255, 255, 255));
    }

    // Closed without a choice it reports none (the medium stays 2); a click
    // chooses and closes it.
    void closingReportsAtMostOneChoice_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("medium");
        QTest::newRow("closed") << QString() << 2;
        QTest::newRow("CD picture") << QStringLiteral("Picture1(0)") << 0;
        QTest::newRow("DVD label") << QStringLiteral("LblText(1)") << 1;
    }
    void closingReportsAtMostOneChoice() {
        QFETCH(QString, control);
        QFETCH(int, medium);
        auto* chooser = new frmCDorDVD();
        chooser->show();
        QSignalSpy chosen(chooser, &frmCDorDVD::chosen);
        if (control.isEmpty())
            chooser->close();
        else
            QTest::mouseClick(Control<MouseLabel>(chooser, control), Qt::LeftButton);
        QVERIFY(!chooser->isVisible());
        QCOMPARE(chooser->ChosenMedium(), std::uint8_t(medium));
        QCOMPARE(chosen.count(), medium < 2 ? 1 : 0);
        if (medium < 2) QCOMPARE(chosen.at(0).at(0).toInt(), medium);
    }

    void windowsOpenCentredOverTheirOwnerAndEscapeClosesToolWindows() {
        WindowPlacement placement;
        qApp->installEventFilter(&placement);
        FakeMainWindow main;
        main.widget.setGeometry(100, 80, 600, 400);
        main.widget.show();
        QWidget taskWindow(nullptr, Qt::Window);
        taskWindow.resize(200, 100);
        taskWindow.show();
        QCOMPARE(taskWindow.frameGeometry().center(), main.widget.frameGeometry().center());
        auto* tool = new QWidget(nullptr, Qt::Window);
        tool->setAttribute(Qt::WA_DeleteOnClose);
        tool->resize(300, 150);
        ShowOverOwner(tool);
        QCOMPARE(tool->frameGeometry().center(), main.widget.frameGeometry().center());
        QCOMPARE(tool->windowHandle()->transientParent(), main.widget.windowHandle());
        QPointer<QWidget> closed(tool);
        QVERIFY(QTest::qWaitForWindowActive(tool));
        QTest::keyClick(tool, Qt::Key_Escape);
        QTRY_VERIFY(closed.isNull());
    }

    void messageBoxButtonsSpeakTheProgramsLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("yesNoOkCancel");
        QTest::newRow("built-in") << QString() << QStringList{"是(&Y)", "否(&N)", "确定", "取消"};
        QTest::newRow("English") << "English" << QStringList{"&Yes", "&No", "OK", "Cancel"};
        QTest::newRow("Chinese Tradition")
            << "Chinese Tradition" << QStringList{"是(&Y)", "否(&N)", "確定", "取消"};
    }
    void messageBoxButtonsSpeakTheProgramsLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, yesNoOkCancel);
        if (!language.isEmpty()) SetLanguageFilePath(ShippedLanguageFile(language.toStdString()));
        QStringList shown;
        for (const auto& [buttons, answer] :
             {std::pair{MessageButtons::YesNo, QMessageBox::No},
              std::pair{MessageButtons::OkCancel, QMessageBox::Ok}}) {
            QTimer::singleShot(0, [&shown, click = answer] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                for (QAbstractButton* button : box->buttons()) shown << button->text();
                box->button(click)->click();
            });
            const MessageAnswer given =
                ShowMessageBox(nullptr, "?", "", MessageIcon::Question, buttons);
            QCOMPARE(given, answer == QMessageBox::No ? MessageAnswer::No : MessageAnswer::Ok);
        }
        shown.sort();
        yesNoOkCancel.sort();
        QCOMPARE(shown, yesNoOkCancel);
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
};

QTEST_MAIN(SmallWindowsTest)
#include "tst_SmallWindows.moc"
