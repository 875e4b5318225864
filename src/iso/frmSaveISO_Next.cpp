// Next: the checks, the build on the worker thread, and what follows it.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <filesystem>

#include "DiscAfterStop.h"
#include "MessageBoxSeam.h"
#include "ModFileDlg.h"
#include "ProgramPaths.h"
#include "RecordingTask.h"
#include "SettingsStore.h"
#include "Utf8Path.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "frmWriteISO.h"

void frmSaveISO::Next() {
    if (!ReadyToBuild()) return;
    const bool isoOnly = m_chkCreateISOonly->isChecked();
    std::string path;
    if (isoOnly) {
        path =
            ModFileDlg::ShowSaveDialog(this, QText(SaveIsoText::SaveImageTitle),
                                       QStringLiteral("*.ISO"), QText(SaveIsoText::ImageFileFilter))
                .toStdString();
        if (path.empty()) return;
    } else if (m_chkDirect->isChecked()) {
        // Recorded straight from the files: no image is built here.
        SaveProgramSetting("CDorDVD", m_project->Kind() == DiscKind::Dvd ? "1" : "0");
        hide();
        frmWriteISO::OpenProject(m_project->Writer(), this);
        return;
    } else {
        path = TempImagePath();
        // A temporary image left by an earlier run goes first.
        std::error_code error;
        std::filesystem::remove(Utf8Path(path), error);
    }
    StartBuild(path, isoOnly);
}

bool frmSaveISO::ReadyToBuild() {
    if (m_project->IsEmpty()) {
        ShowMessageBox(this, QText(SaveIsoText::NoFiles), QText(SaveIsoText::NoticeTitle),
                       MessageIcon::Exclamation);
        return false;
    }
    if (!m_dateValid) {
        m_tabstrip->setCurrentIndex(1);
        ShowMessageBox(this, QText(SaveIsoText::BadDate), QText(SaveIsoText::NoticeTitle),
                       MessageIcon::Exclamation);
        return false;
    }
    CommitAllBoxes();
    if (!m_chkCreateISOonly->isChecked() && !SameDiscInDrive()) return false;
    // The pre-flight check: an image the disc cannot hold is built only on request.
    return m_project->Fits() ||
           ShowMessageBox(this, QText(SaveIsoText::TooLarge), QText(SaveIsoText::NoticeTitle),
                          MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void frmSaveISO::StartBuild(const std::string& path, bool isoOnly) {
    m_prg->setValue(0);
    m_prg->show();
    m_cmdCancel->show();
    const DiscProject::BuildTexts texts{QText(SaveIsoText::BuildingFileSystem).toStdString(),
                                        QText(SaveIsoText::WritingDirectories).toStdString(),
                                        QText(SaveIsoText::WritingFiles).toStdString(),
                                        QText(SaveIsoText::WritingPathTables).toStdString()};
    RunOnWorker(
        [this, path, texts](EngineReporter& reporter) {
            m_buildResult = m_project->Build(path, reporter, texts);
            if (m_buildResult.cancelled) ReportStop(reporter, {}, DiscAfterStop::NoImage);
        },
        [this, path, isoOnly] { BuildEnded(path, isoOnly); });
}

void frmSaveISO::BuildEnded(const std::string& path, bool isoOnly) {
    m_prg->hide();
    m_cmdCancel->hide();
    const DiscProject::BuildResult& result = m_buildResult;
    if (result.cancelled) return;  // the stop was reported; the writer kept nothing
    if (!result.written) {
        ShowBuildFailure(result);
        // An image with zeros for unreadable files is never recorded.
        std::error_code error;
        if (!isoOnly) std::filesystem::remove(Utf8Path(path), error);
        return;
    }
    if (isoOnly) {
        ShowMessageBox(this, QText(SaveIsoText::ImageSaved), QText(SaveIsoText::ImageSavedTitle),
                       MessageIcon::Information);
        return;
    }
    SaveProgramSetting("TempISO", path);
    SaveProgramSetting("CDorDVD", m_project->Kind() == DiscKind::Dvd ? "1" : "0");
    SaveProgramSetting("TempISOSession", SessionSetting());
    HandOverToRecording();
}

void frmSaveISO::ShowBuildFailure(const DiscProject::BuildResult& result) {
    QString text = QText(SaveIsoText::ImageFailed) + QStringLiteral("\n\n") +
                   QString::fromStdString(result.error);
    for (const std::string& file : result.unreadableFiles)
        text += u'\n' + QString::fromStdString(file);
    ShowMessageBox(this, text, QText(SaveIsoText::ImageFailedTitle), MessageIcon::Exclamation);
}

// The hand-over to the record-image window: it records the temporary image,
// deletes it when it closes, and shows this window again on Back.
void frmSaveISO::HandOverToRecording() {
    hide();
    frmWriteISO::OpenTemporary(RecordingTask::kDataDisc, this);
}
