// A recording, copy or erase that ends while the user works in another
// window is told by a desktop notification in the user's language. Against a
// stand-in for the notification service on a private session bus.
#include <QDBusConnection>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVariantMap>

#include "EraseTexts.h"
#include "LanguageFile.h"
#include "WindowTestRig.h"
#include "WindowTexts.h"
#include "frmErase.h"

// Notes every notification it is asked to show.
class NotificationsStandIn : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    struct Notice {
        QString program, icon, summary, body;
        QVariantMap hints;
    };
    std::vector<Notice> notices;

  public slots:
    uint Notify(const QString& program, uint /*replaces*/, const QString& icon,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& hints, int /*timeout*/) {
        notices.push_back({program, icon, summary, body, hints});
        return static_cast<uint>(notices.size());
    }
};

class DesktopNoticesTest : public QObject {
    Q_OBJECT
  private slots:
    // A session bus of the test's own, with the stand-in on it; the program
    // connects to it through DBUS_SESSION_BUS_ADDRESS on its first notice.
    void initTestCase() {
        m_folder = std::make_unique<TempFolder>();
        const std::string config = m_folder->File("session.conf");
        WriteFile(config,
                  "<busconfig><type>session</type><listen>unix:path=" + m_folder->File("bus") +
                      "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                      "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow "
                      "own=\"*\"/></policy>"
                      "</busconfig>\n");
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + QString::fromStdString(config),
                        QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY(m_daemon.waitForStarted());
        QVERIFY(m_daemon.waitForReadyRead(30000));  // printed once it listens
        const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        QDBusConnection standIn = QDBusConnection::connectToBus(address, QStringLiteral("standin"));
        QVERIFY(standIn.isConnected());
        QVERIFY(standIn.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_standIn,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(standIn.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }
    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(QStringLiteral("standin"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    void anEraseThatEndsWhileTheUserIsAwayIsNotifiedInTheirLanguage() {
        WindowTestRig rig;
        SetLanguageFilePath(ShippedLanguageFile("English"));
        QWidget elsewhere;  // the window the user works in meanwhile
        elsewhere.show();
        frmErase window;
        window.show();

        // The user stays: nothing but the message box.
        rig.drives.Insert(MediumKind::CdRw, 40);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        RunErase(window);

        // The user confirms, then turns to another window: the end is notified.
        rig.drives.Insert(MediumKind::CdRw, 40);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        rig.boxes.OnShow([&](const MessageBoxRequest& box) {
            if (box.buttons != MessageButtons::YesNo) return;
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return elsewhere.isActiveWindow(); }));
        });
        RunErase(window);
        QCOMPARE(rig.boxes.shown.size(), std::size_t(4));
        QTRY_COMPARE(m_standIn.notices.size(), std::size_t(1));
        const NotificationsStandIn::Notice& notice = m_standIn.notices.front();
        QCOMPARE(notice.program, QStringLiteral("MAPLE CD/DVD Writer"));
        QCOMPARE(notice.icon, QStringLiteral("org.maple_writer.MapleWriter"));
        QCOMPARE(notice.hints.value(QStringLiteral("desktop-entry")).toString(), notice.icon);
        QCOMPARE(notice.summary, QText(EraseText::ErasedTitle));
        QCOMPARE(notice.body, QText(EraseText::Erased));
        QCOMPARE(notice.body, rig.boxes.shown.back().text);
        QVERIFY(notice.body.startsWith(QStringLiteral("The disc")));  // English, not the built-in
        SetLanguageFilePath("");
    }

  private:
    // Presses Erase once the timer has enabled it and waits for the end.
    static void RunErase(frmErase& window) {
        window.Timer1Tick();
        QSignalSpy finished(&window, &frmErase::eraseFinished);
        QTest::mouseClick(Control<QPushButton>(&window, "cmdErase"), Qt::LeftButton);
        QVERIFY(finished.wait(10000));
    }

    std::unique_ptr<TempFolder> m_folder;
    QProcess m_daemon;
    NotificationsStandIn m_standIn;
};

QTEST_MAIN(DesktopNoticesTest)
#include "tst_DesktopNotices.moc"
