// An image opened while the program runs (from Explorer) goes to the running
// program.
#include <QTest>
#include <future>
#include <optional>

#include "InstanceHandOver.h"
#include "WindowTestSupport.h"

namespace {
// Hands `image` over from another thread while this one answers for the
// running program.
bool HandOverFromSecondStart(const QString& image) {
    std::future<bool> taken =
        std::async(std::launch::async, [image] { return InstanceHandOver::HandOver(image); });
    while (taken.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return taken.get();
}
}  // namespace

class InstanceHandOverTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_folders.emplace(); }
    void cleanup() { m_folders.reset(); }

    void theRunningProgramDecidesWhetherItTakesTheImage() {
        const QString image = QString::fromUtf8("Z:\\光盘映像\\备份 2024.iso");
        QStringList offered;
        bool willing = true;
        InstanceHandOver running;
        QVERIFY(running.Listen([&](const QString& file) {
            offered << file;
            return willing;
        }));
        QVERIFY(HandOverFromSecondStart(image));
        willing = false;  // a task window is open
        QVERIFY(!HandOverFromSecondStart(image));
        QCOMPARE(offered, QStringList({image, image}));
    }

    void oneProgramListensAndWithoutItNothingIsHandedOver() {
        QVERIFY(!InstanceHandOver::HandOver(QStringLiteral("C:\\disc.iso")));
        int offers = 0;
        {
            InstanceHandOver first;
            QVERIFY(first.Listen([&offers](const QString&) { return ++offers > 0; }));
            InstanceHandOver second;
            QVERIFY(!second.Listen([](const QString&) { return true; }));
            QVERIFY(HandOverFromSecondStart(QStringLiteral("C:\\disc.iso")));
        }
        // Gone with the running program.
        QVERIFY(!HandOverFromSecondStart(QStringLiteral("C:\\disc.iso")));
        QCOMPARE(offers, 1);
    }

  private:
    std::optional<WindowTestFolders> m_folders;
};

QTEST_MAIN(InstanceHandOverTest)
#include "tst_InstanceHandOver.moc"
