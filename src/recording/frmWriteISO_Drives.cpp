// The record-image window's target drives: with several recorders the image
// may be recorded on each ticked one at once, and a disc copied from another
// drive is recorded on the drive the copy window chose.
#include <QLabel>
#include <QListWidget>

#include "CopyTexts.h"
#include "DriveLabel.h"
#include "DriveToDriveCopy.h"
#include "EngineReporter.h"
#include "EngineRunner.h"
#include "MainWindowLink.h"
#include "TransportSlot.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "WriteCapabilities.h"
#include "WriteIsoTexts.h"
#include "frmWriteISO.h"

using WindowParts::Named;

void frmWriteISO::BuildDriveChoice() {
    m_lblDrives = Named(new QLabel(QText(WriteIsoText::DrivesCaption), this), "lblDrives",
                        {300, 214, 240, 22});
    m_lstDrives = Named(new QListWidget(this), "lstDrives", {300, 238, 240, 82});
    m_lstDrives->setToolTip(QText(WriteIsoText::DrivesTip));
    m_lblDrives->hide();
    m_lstDrives->hide();
}

// Only an image file is offered for several drives, and only when there are
// several recorders; the current drive is ticked.
void frmWriteISO::FillDriveChoice() {
    clsSCSI* transport = Transport();
    if (m_task != RecordingTask::kRecordImage || m_project != nullptr || transport == nullptr ||
        transport->DriveCount() < 2)
        return;
    const std::string current = Drive();
    for (std::int16_t index = 1; index <= transport->DriveCount(); ++index) {
        const std::string drive = transport->DriveHandle(index);
        const auto label = BuildDriveLabel(*transport, index);
        if (!label || !ReadWriteCapabilities(drive).canWrite) continue;
        auto* item = new QListWidgetItem(QString::fromLatin1(label->c_str()), m_lstDrives);
        item->setData(Qt::UserRole, QString::fromStdString(drive));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(drive == current ? Qt::Checked : Qt::Unchecked);
    }
    if (m_lstDrives->count() < 2) {
        m_lstDrives->clear();
        return;
    }
    m_lblDrives->show();
    m_lstDrives->show();
}

std::vector<frmWriteISO::TargetDrive> frmWriteISO::ChosenDrives() const {
    if (m_lstDrives->count() == 0) return {{Drive(), Drive()}};
    std::vector<TargetDrive> drives;
    for (int row = 0; row < m_lstDrives->count(); ++row) {
        const QListWidgetItem* item = m_lstDrives->item(row);
        if (item->checkState() == Qt::Checked)
            drives.push_back(
                {item->data(Qt::UserRole).toString().toStdString(), item->text().toStdString()});
    }
    return drives;
}

std::string frmWriteISO::Drive() const {
    return m_drive.empty() ? CurrentDrive() : m_drive;
}

// The source is read on a thread of the copy's own while this window's
// worker records; the zero-filled sectors are told at the end.
void frmWriteISO::StartDriveCopy(const BurnOptions& options) {
    m_runner->Start(
        [this, source = *m_copySource, target = Drive(), options](EngineReporter& reporter) {
            DriveToDriveCopy copy(reporter, source.options, options);
            const BurnOutcome outcome = copy.Run(source.drive, target);
            if (outcome != BurnOutcome::Refused) reporter.PhaseText(copy.Summary());
            // The recording's end box came before the reading's count was
            // final; zeros on the copy are told in a box of their own.
            if (outcome != BurnOutcome::Refused && copy.SkippedSectors() > 0)
                reporter.Message(copy.Summary(), Text(CopyText::SpeedTitle),
                                 MessageIcon::Exclamation, MessageButtons::Ok);
            m_lastOutcome.Set(outcome);
        },
        Drive());
}
