// What a second start hands to the running program (an image, files for the
// data disc or audio window, opened from the file manager), and what the
// running program does with it.
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <future>
#include <optional>

#include "CddaWaveHeader.h"
#include "InstanceHandOver.h"
#include "MainTexts.h"
#include "MainWindowTestKit.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "frmWriteCDDA.h"
#include "frmWriteISO.h"
#include "ucTreeView.h"

namespace {
// Hands `arguments` over from another thread while this one answers for the
// running program.
bool HandOverFromSecondStart(const QStringList& arguments) {
    std::future<bool> taken = std::async(
        std::launch::async, [arguments] { return InstanceHandOver::HandOver(arguments); });
    while (taken.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return taken.get();
}

int Rows(const QWidget* window) {
    return Control<QTreeWidget>(window, "lvwFiles")->topLevelItemCount();
}
}  // namespace

class InstanceHandOverTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        m_files = std::make_unique<TempFolder>();
        const auto header = CddaWaveHeader(44 + 176400);  // a second of silence
        WriteFile(Path("one.wav"),
                  std::string(header.begin(), header.end()) + std::string(176400, '\0'));
        WriteFile(Path("notes.txt"), "not a sound");
        WriteFile(Path("photos/beach.txt"), "sand");
    }
    void init() {
        m_folders.emplace();
        m_boxes.emplace();
    }
    void cleanup() {
        m_window.reset();
        m_boxes.reset();
        m_folders.reset();
        SetTransport(nullptr);
    }

    void theRunningProgramDecidesWhetherItTakesTheArguments() {
        // A newline is a valid character of a file name on Linux.
        const QStringList arguments = {QStringLiteral("--data"), QStringLiteral("--"),
                                       QString::fromUtf8("Z:\\光盘映像\\备份 2024.iso"),
                                       QStringLiteral("two\nlines"), QString()};
        QList<QStringList> offered;
        bool willing = true;
        InstanceHandOver running;
        QVERIFY(running.Listen([&](const QStringList& received) {
            offered << received;
            return willing;
        }));
        QVERIFY(HandOverFromSecondStart(arguments));
        willing = false;  // no window could take care of it
        QVERIFY(!HandOverFromSecondStart(arguments));
        QCOMPARE(offered, QList<QStringList>({arguments, arguments}));
    }

    void oneProgramListensAndWithoutItNothingIsHandedOver() {
        const QStringList image = {QStringLiteral("--"), QStringLiteral("C:\\disc.iso")};
        QVERIFY(!InstanceHandOver::HandOver(image));
        int offers = 0;
        {
            InstanceHandOver first;
            QVERIFY(first.Listen([&offers](const QStringList&) { return ++offers > 0; }));
            InstanceHandOver second;
            QVERIFY(!second.Listen([](const QStringList&) { return true; }));
            QVERIFY(HandOverFromSecondStart(image));
        }
        // Gone with the running program; the next one listens again.
        QVERIFY(!HandOverFromSecondStart(image));
        QCOMPARE(offers, 1);
        InstanceHandOver next;
        QVERIFY(next.Listen([](const QStringList&) { return true; }));
    }

    // "maple-writer --data PATH..." at start: the data disc window with the
    // files and folders, added as a drop adds them.
    void theDataDiscWindowOpensWithTheFilesAndFolders() {
        StartMainWindow();
        QVERIFY(m_window->OpenRequest(
            {StartUpRequest::Kind::Data, {Path("photos"), Path("notes.txt")}}));
        frmSaveISO* data = VisibleWindow<frmSaveISO>();
        QVERIFY(data != nullptr);
        QVERIFY(!m_window->isVisible());
        QTRY_VERIFY(!data->Building());
        QVERIFY(Control<ucTreeView>(data, "tvwDirs")->GetKeyNode("\\photos\\") != nullptr);
        QCOMPARE(Rows(data), 1);  // notes.txt beside the folder
        QVERIFY(m_boxes->shown.empty());
    }

    // A second start from the file manager, through the socket: from the
    // main window it opens the audio window; into that idle window it adds
    // (with the drop's refusals); a request for another window is refused
    // with a message in the window the user is in.
    void aSecondStartOpensAddsOrRefusesWithAMessage() {
        StartMainWindow();
        InstanceHandOver running;
        QVERIFY(running.Listen(
            [this](const QStringList& arguments) { return m_window->TakeHandedOver(arguments); }));
        const QStringList audio = {QStringLiteral("--audio"), QStringLiteral("--"),
                                   File("one.wav")};
        QVERIFY(HandOverFromSecondStart(audio));
        QTRY_VERIFY(VisibleWindow<frmWriteCDDA>() != nullptr);
        frmWriteCDDA* window = VisibleWindow<frmWriteCDDA>();
        QCOMPARE(window->Tracks().Size(), std::size_t(1));
        QVERIFY(!m_window->isVisible());

        QVERIFY(HandOverFromSecondStart(audio + QStringList{File("notes.txt")}));
        QTRY_COMPARE(window->Tracks().Size(), std::size_t(2));
        QCOMPARE(m_boxes->shown.size(), std::size_t(1));  // notes.txt is no sound file
        QVERIFY(m_boxes->shown.front().text.contains(QStringLiteral("notes.txt")));

        QVERIFY(HandOverFromSecondStart(
            {QStringLiteral("--data"), QStringLiteral("--"), File("photos")}));
        QTRY_COMPARE(m_boxes->shown.size(), std::size_t(2));
        QCOMPARE(m_boxes->shown.back().text, QText(MainText::HandOverRefused));
        QCOMPARE(m_boxes->shown.back().parent, static_cast<QWidget*>(window));
        QVERIFY(VisibleWindow<frmSaveISO>() == nullptr);
        // An image while a task window is open: refused the same way.
        QVERIFY(HandOverFromSecondStart({QStringLiteral("--"), File("disc.iso")}));
        QTRY_COMPARE(m_boxes->shown.size(), std::size_t(3));
        QCOMPARE(m_boxes->shown.back().text, QText(MainText::HandOverRefused));
        QCOMPARE(window->Tracks().Size(), std::size_t(2));
    }

    // The data disc window at work (adding files on its worker) refuses;
    // once idle it takes them.
    void aBusyTaskWindowRefusesAndTakesTheFilesWhenIdle() {
        StartMainWindow();
        QVERIFY(m_window->OpenRequest({StartUpRequest::Kind::Data, {Path("notes.txt")}}));
        frmSaveISO* data = VisibleWindow<frmSaveISO>();
        QVERIFY(data != nullptr && data->Building());
        const QStringList more = {QStringLiteral("--data"), QStringLiteral("--"), File("one.wav")};
        QVERIFY(m_window->TakeHandedOver(more));
        QTRY_COMPARE(m_boxes->shown.size(), std::size_t(1));
        QCOMPARE(m_boxes->shown.back().text, QText(MainText::HandOverRefused));
        QTRY_VERIFY(!data->Building());
        QCOMPARE(Rows(data), 1);
        QVERIFY(m_window->TakeHandedOver(more));
        QTRY_COMPARE(Rows(data), 2);
        QCOMPARE(m_boxes->shown.size(), std::size_t(1));
    }

    // From the main window an image opens the record-image window; a request
    // without paths is no request.
    void anImageOpensTheRecordImageWindow() {
        StartMainWindow();
        QVERIFY(!m_window->TakeHandedOver({QStringLiteral("--audio")}));
        QVERIFY(m_window->TakeHandedOver({QStringLiteral("--"), File("disc.iso")}));
        QTRY_VERIFY(VisibleWindow<frmWriteISO>() != nullptr);
        QVERIFY(!m_window->isVisible());
    }

  private:
    void StartMainWindow() {
        m_window = std::make_unique<frmMain>(MakerOf(InquiryTransport({"/dev/sr0"})));
        QVERIFY(m_window->Load());
        m_window->show();
    }
    QString File(const char* name) const { return QString::fromStdString(m_files->File(name)); }
    std::string Path(const char* name) const { return m_files->File(name); }

    std::unique_ptr<TempFolder> m_files;
    std::optional<WindowTestFolders> m_folders;
    std::optional<MessageBoxRecorder> m_boxes;
    std::unique_ptr<frmMain> m_window;
};

QTEST_MAIN(InstanceHandOverTest)
#include "tst_InstanceHandOver.moc"
