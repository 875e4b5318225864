// The volume fields and the creation date of the project window.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "MessageBoxSeam.h"
#include "MouseLabel.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"

namespace {
DiscProject::Field FieldOf(int box) {
    return static_cast<DiscProject::Field>(box);
}
}  // namespace

void frmSaveISO::ConnectVolumePage() {
    connect(m_cboDescr, &QComboBox::currentIndexChanged, this, &frmSaveISO::ShowDescriptorForm);
    for (int i = 0; i < DiscProject::kFieldCount; ++i)
        connect(m_boxes[i], &QLineEdit::returnPressed, this, [this, i] { CommitBox(i); });
    connect(m_dateCreation, &QLineEdit::textEdited, this, &frmSaveISO::DateEdited);
    connect(m_timeCreation, &QLineEdit::textEdited, this, &frmSaveISO::DateEdited);
    connect(m_cmdSetDate, &QPushButton::clicked, this, &frmSaveISO::SetDateNow);
    connect(m_lblVeltracODD, &MouseLabel::clicked, this, [this] {
        ShowMessageBox(this, QText(SaveIsoText::KnowledgeBaseMissing),
                       QText(SaveIsoText::KnowledgeBaseMissingTitle), MessageIcon::Exclamation);
    });
    connect(m_lblVeltracODD, &MouseLabel::mouseMoved, this, [this] { MarkVeltracLink(true); });
    // Moving off the link (over the page) restores it.
    m_picVD->installEventFilter(this);
}

void frmSaveISO::ShowDescriptorForm(int form) {
    // What the boxes show belongs to the form they were shown in.
    CommitAllBoxes();
    m_form = form;
    ShowBoxes();
}

void frmSaveISO::ShowBoxes() {
    const bool joliet = m_form == 1;
    for (int i = 0; i < DiscProject::kFieldCount; ++i) {
        m_boxes[i]->setMaxLength(DiscProject::MaxLength(FieldOf(i), joliet));
        m_boxes[i]->setText(QString::fromStdString(m_project->FieldText(FieldOf(i), joliet)));
    }
    m_lblFileSysType->setText(QText(joliet ? SaveIsoText::AboutJoliet : SaveIsoText::AboutIso9660));
    m_lblFileSysInfo->setText(QText(joliet ? SaveIsoText::JolietInfo : SaveIsoText::Iso9660Info));
}

void frmSaveISO::CommitBox(int box) {
    // The user sees at once what the image will hold (the ISO 9660 form filtered).
    const std::string stored =
        m_project->CommitField(FieldOf(box), m_form == 1, m_boxes[box]->text().toStdString());
    m_boxes[box]->setText(QString::fromStdString(stored));
}

void frmSaveISO::CommitAllBoxes() {
    for (int i = 0; i < DiscProject::kFieldCount; ++i) CommitBox(i);
}

void frmSaveISO::DateEdited() {
    MarkDate(m_project->SetCreation(m_dateCreation->text().toStdString(),
                                    m_timeCreation->text().toStdString()));
}

void frmSaveISO::SetDateNow() {
    m_project->SetCreationNow();
    m_dateCreation->setText(QString::fromStdString(m_project->DateText()));
    m_timeCreation->setText(QString::fromStdString(m_project->TimeText()));
    MarkDate(true);
}

void frmSaveISO::MarkDate(bool valid) {
    // An invalid text stays as typed, in red; the image keeps the last valid date.
    m_dateValid = valid;
    for (QLineEdit* box : {m_dateCreation, m_timeCreation}) {
        box->setStyleSheet(valid ? QString() : QStringLiteral("color: #c00000;"));
        box->setToolTip(valid ? QString() : QText(SaveIsoText::BadDate));
    }
}

void frmSaveISO::UpdateNextToolTip() {
    m_cmdNext->setToolTip(QText(m_chkCreateISOonly->isChecked() ? SaveIsoText::NextToImageFile
                                                                : SaveIsoText::NextToRecording));
}

void frmSaveISO::MarkVeltracLink(bool hovered) {
    QFont font = m_lblVeltracODD->font();
    font.setUnderline(hovered);
    m_lblVeltracODD->setFont(font);
    m_lblVeltracODD->setStyleSheet(hovered ? QStringLiteral("color: #0000ff;") : QString());
}
