// The controls, texts and menus of the disc copy window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "CopyTexts.h"
#include "Pictures.h"
#include "ProgramStyle.h"
#include "SpeedListBox.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmSaveISO2.h"

using WindowParts::Named;

namespace {
constexpr int kBannerHeight = 52;
constexpr int kValueLeft = 140;

QLabel* RowCaption(QWidget* parent, const char* name, CopyText text, int top) {
    return Named(new QLabel(QText(text), parent), name, {16, top, 120, 26});
}
}  // namespace

void frmSaveISO2::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Copy Disc to ISO9660 Images"), kBannerHeight);
    m_label1 = RowCaption(this, "Label1", CopyText::SourceCaption, 70);
    m_lblSourceDisc = Named(new QLabel(this), "lblSourceDisc", {kValueLeft, 70, 380, 26});
    m_label2 = RowCaption(this, "Label2", CopyText::SpeedCaption, 106);
    m_cboReadSpeed =
        Named(new SpeedListBox(&FillReadSpeeds, this), "cboReadSpeed", {kValueLeft, 106, 120, 26});
    m_imgtea = WindowParts::TeaPicture(this, {549, 66});
    BuildOptions();
    BuildTargetChoice();
    BuildButtons();
    m_panels = WindowParts::StatusBar(this, {0, 80, 100});
    m_panels[0]->setText(QText(CopyText::StatusPanel));
    m_panels[1]->setText(QStringLiteral("0%"));
    m_panels[2]->setText(QStringLiteral("00:00:00"));
    m_timer1 = WindowParts::TickTimer(this);
}

void frmSaveISO2::BuildOptions() {
    m_label4 = RowCaption(this, "Label4", CopyText::OptionsCaption, 176);
    m_chkCreateISOonly = Named(new QCheckBox(QText(CopyText::ImageOnly), this), "chkCreateISOonly",
                               {kValueLeft, 176, 500, 24});
    m_chkCreateISOonly->setToolTip(QText(CopyText::ImageOnlyTip));
    m_chkBadCopy = Named(new QCheckBox(QText(CopyText::BadCopy), this), "ChkBadCopy",
                         {kValueLeft, 204, 500, 24});
    m_label3 = RowCaption(this, "Label3", CopyText::ProgressCaption, 260);
    m_prg = Named(new QProgressBar(this), "prg", {kValueLeft, 260, 505, 24});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_cmdCancel = Named(new QPushButton(QText(CopyText::CancelButton), this), "cmdCancel",
                        {545, 294, 100, 30});
    m_cmdCancel->hide();
}

void frmSaveISO2::BuildButtons() {
    const std::vector<QPushButton*> row =
        WindowParts::ButtonRow(this, {{"cmdAbout", "button_about", QText(CopyText::AboutTip)},
                                      {"cmdBack", "button_back", QText(CopyText::BackTip)},
                                      {"cmdNext", "button_next", QText(CopyText::NextTip)}});
    m_cmdAbout = row[0];
    m_cmdBack = row[1];
    m_cmdNext = row[2];
    m_cmdNext->setEnabled(false);
    WindowParts::StylePictures({{m_cmdAbout, "Button_About.bmp"}, {m_cmdBack, "Button_Back.bmp"}});
    m_help = WindowParts::AddHelpMenu(this, m_cmdAbout, QText(CopyText::HelpFile),
                                      QText(CopyText::About));
}

// Next copies to a disc (go on to recording) or only into an .ISO file
// (save it): its tool tip and picture say which.
void frmSaveISO2::ShowNextPurpose() {
    const bool imageOnly = m_chkCreateISOonly->isChecked();
    m_cmdNext->setToolTip(QText(imageOnly ? CopyText::NextToImageFile : CopyText::NextToRecording));
    QPixmap picture = ProgramStyle::Picture(imageOnly ? QStringLiteral("Button_Save.bmp")
                                                      : QStringLiteral("Button_Next.bmp"));
    if (picture.isNull())
        picture = Pictures::Load(
            imageOnly ? QStringLiteral("button_save") : QStringLiteral("button_next"),
            m_cmdNext->iconSize());
    m_cmdNext->setIcon(QIcon(picture));
}
