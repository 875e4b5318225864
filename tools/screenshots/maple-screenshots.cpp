// Takes the README's pictures of the windows: the main window with the CD or
// DVD chooser beside it, the disc information and erase windows, the data
// disc window holding the entries of FOLDER, the record-image window with
// IMAGE chosen, the disc copy window, and the audio CD window holding the WAV
// files given. Needs an X server (scripts/screenshots starts Xvfb); the drive
// is the virtual drive MAPLE_VIRTUAL_DRIVES names, the language the locale's.
// Usage: maple-screenshots OUTDIR FOLDER IMAGE WAV...
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "LanguageFile.h"
#include "MouseLabel.h"
#include "ProgramFont.h"
#include "RecordingTask.h"
#include "TransportSlot.h"
#include "frmCDorDVD.h"
#include "frmDiscInfo.h"
#include "frmErase.h"
#include "frmMain.h"
#include "frmSaveISO.h"
#include "frmSaveISO2.h"
#include "frmWriteCDDA.h"
#include "frmWriteISO.h"
#include "ucTreeView.h"

namespace {
// Lets the window system draw (and the windows' timers run) for a while.
void Settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Saves the screen area of `area` as OUTDIR/NAME-LANGUAGE.png.
bool Save(QWidget& window, QRect area, const QString& name) {
    const QString language = GetLanguageName() == "English" ? "english" : "chinese";
    const QString path =
        QDir(QApplication::arguments().at(1)).filePath(name + "-" + language + ".png");
    const QPixmap shot =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (!shot.save(path)) return false;
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Shoot(QWidget& window, const QString& name) {
    window.move(40, 40);
    window.show();
    Settle(500);
    return Save(window, window.frameGeometry(), name);
}

bool ShootMainWindow(frmMain& window) {
    if (!window.Load()) return false;
    window.move(40, 40);
    window.show();
    Settle(300);
    auto* dataDisc = window.findChild<MouseLabel*>("Picture1(0)");  // hovering opens the chooser
    const QPoint centre = dataDisc->rect().center();
    QMouseEvent move(QEvent::MouseMove, centre, dataDisc->mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(dataDisc, &move);
    Settle(300);
    if (window.Chooser() == nullptr) return false;
    const QRect area = window.frameGeometry().united(window.Chooser()->frameGeometry());
    const bool saved = Save(window, area, "main-window");
    window.Chooser()->close();
    window.hide();  // it stays the windows' main window, which names the drive
    return saved;
}

// The data disc window holding `folder`'s entries, its last directory
// selected and every directory open.
bool ShootDataDiscWindow(const QString& folder) {
    auto* project = new frmSaveISO(DiscKind::Cd);
    QStringList entries;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        entries << QDir(folder).filePath(name);
    QEventLoop added;
    QObject::connect(project, &frmSaveISO::workFinished, &added, &QEventLoop::quit);
    project->AddDroppedFiles(entries);
    added.exec();
    auto* tree = project->findChild<ucTreeView*>("tvwDirs");
    tree->expandAll();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    if (root->childCount() > 0) tree->setCurrentItem(root->child(root->childCount() - 1));
    const bool saved = Shoot(*project, "data-disc");
    project->close();
    return saved;
}

// `window`, shot after its timer has followed the drive's medium.
bool ShootAndClose(QWidget* window, const QString& name) {
    const bool saved = Shoot(*window, name);
    window->close();
    return saved;
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: maple-screenshots OUTDIR FOLDER IMAGE WAV...\n");
        return 2;
    }
    ApplyProgramFont();
    frmMain main;
    bool saved = ShootMainWindow(main);
    frmDiscInfo* info = frmDiscInfo::ShowWindow();
    saved = saved && Shoot(*info, "disc-information");
    info->close();
    frmErase* erase = frmErase::ShowWindow();
    saved = saved && Shoot(*erase, "erase");
    erase->close();
    const QStringList arguments = QApplication::arguments();
    saved = saved && ShootDataDiscWindow(arguments.at(2));
    saved = saved && ShootAndClose(new frmWriteISO(RecordingTask::kRecordImage, arguments.at(3)),
                                   "record-image");
    saved = saved && ShootAndClose(new frmSaveISO2(), "copy-disc");
    auto* audio = new frmWriteCDDA();
    audio->AddDroppedFiles(arguments.mid(4));
    saved = saved && ShootAndClose(audio, "audio-cd");
    SetTransport(nullptr);
    return saved ? 0 : 1;
}
