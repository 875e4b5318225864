// The disc copy window's target drive: with another recorder chosen, the
// record-image window reads the disc and records it there at once, with no
// temporary image.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

#include "CopyTexts.h"
#include "DriveLabel.h"
#include "MainWindowLink.h"
#include "TransportSlot.h"
#include "WindowTexts.h"
#include "WriteCapabilities.h"
#include "frmSaveISO2.h"
#include "frmWriteISO.h"

using WindowParts::Named;

void frmSaveISO2::BuildTargetChoice() {
    m_lblTarget =
        Named(new QLabel(QText(CopyText::TargetCaption), this), "lblTarget", {16, 140, 120, 26});
    m_cboTarget = Named(new QComboBox(this), "cboTarget", {140, 140, 380, 26});
    m_cboTarget->setToolTip(QText(CopyText::TargetTip));
    m_cboTarget->addItem(QText(CopyText::SameDrive), QString());
    m_lblTarget->hide();
    m_cboTarget->hide();
}

// Shown only with another drive that records.
void frmSaveISO2::FillTargetChoice() {
    clsSCSI* transport = Transport();
    if (transport == nullptr) return;
    const std::string source = CurrentDrive();
    for (std::int16_t index = 1; index <= transport->DriveCount(); ++index) {
        const std::string drive = transport->DriveHandle(index);
        const auto label = BuildDriveLabel(*transport, index);
        if (drive == source && label) m_sourceName = QString::fromLatin1(label->c_str());
        if (drive == source || !label || !ReadWriteCapabilities(drive).canWrite) continue;
        m_cboTarget->addItem(QString::fromLatin1(label->c_str()), QString::fromStdString(drive));
    }
    m_lblTarget->setVisible(m_cboTarget->count() > 1);
    m_cboTarget->setVisible(m_cboTarget->count() > 1);
}

// Another drive records the copy: no image file is made.
void frmSaveISO2::TargetChanged() {
    const bool other = !TargetDrive().empty();
    if (other) m_chkCreateISOonly->setChecked(false);
    m_chkCreateISOonly->setEnabled(!other);
}

std::string frmSaveISO2::TargetDrive() const {
    return m_cboTarget->currentData().toString().toStdString();
}

// The record-image window shows the recording with its options and comes
// back here on Back.
void frmSaveISO2::HandOver(const CopyOptions& options, const std::string& target) {
    m_timer1->stop();
    frmWriteISO::OpenDriveCopy(options, CurrentDrive(), m_sourceName, target, this);
    hide();
}
