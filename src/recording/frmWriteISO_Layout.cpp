// The controls, texts and menus of the record-image window.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "RememberedOption.h"
#include "SpeedListBox.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "WriteIsoTexts.h"
#include "frmWriteISO.h"

using WindowParts::Named;

namespace {
constexpr int kBannerHeight = 52;
}  // namespace

void frmWriteISO::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Write ISO9660 Images to Disc"), kBannerHeight);
    m_frame1 = Named(new QGroupBox(this), "Frame1", {16, 62, 629, 96});
    m_label1 =
        Named(new QLabel(QText(WriteIsoText::ImageCaption), m_frame1), "Label1", {12, 22, 90, 26});
    m_txtISO = Named(new QLineEdit(m_frame1), "txtISO", {104, 22, 390, 26});
    // Drops go to the window, which takes only image files.
    m_txtISO->setAcceptDrops(false);
    m_cmdBrowse = Named(new QPushButton(QText(WriteIsoText::BrowseButton), m_frame1), "cmdBrowse",
                        {502, 21, 115, 28});
    m_cmdBrowse->setToolTip(QText(WriteIsoText::BrowseTip));
    m_lblInfo =
        Named(new QLabel(QText(WriteIsoText::DropHint), m_frame1), "lblInfo", {104, 58, 513, 24});
    BuildOptions();
    BuildDriveChoice();
    BuildButtons();
    m_panels = WindowParts::StatusBar(this, {0, 80, 100});
    m_panels[0]->setText(QText(WriteIsoText::StatusPanel));
    m_panels[1]->setText(QStringLiteral("0%"));
    m_panels[2]->setText(QStringLiteral("00:00:00"));
    m_timer1 = WindowParts::TickTimer(this);
}

void frmWriteISO::BuildOptions() {
    m_label3 =
        Named(new QLabel(QText(WriteIsoText::SpeedCaption), this), "Label3", {16, 176, 120, 26});
    m_cboWriteSpeed =
        Named(new SpeedListBox(&FillWriteSpeeds, this), "cboWriteSpeed", {140, 176, 120, 26});
    const auto option = [this](const char* name, WriteIsoText caption, int top, bool ticked) {
        auto* box = Named(new QCheckBox(QText(caption), this), name, {16, top, 420, 24});
        box->setChecked(ticked);
        return box;
    };
    m_chkTestMode = option("chkTestMode", WriteIsoText::TestMode, 214, false);
    m_chkFixDisc = option("chkFixDisc", WriteIsoText::FixDisc, 242, true);
    m_chkEjectDisc = option("chkEjectDisc", WriteIsoText::EjectDisc, 270, true);
    m_chkVerify = option("chkVerify", WriteIsoText::Verify, 296, false);
    RememberOption(m_chkVerify, "VerifyISO");
    m_imgtea = WindowParts::TeaPicture(this, {549, 172});
    m_label2 =
        Named(new QLabel(QText(WriteIsoText::ProgressCaption), this), "Label2", {16, 328, 120, 24});
    m_prg = Named(new QProgressBar(this), "prg", {140, 328, 505, 24});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_lblBuffers = Named(new QLabel(this), "lblBuffers", {140, 358, 395, 24});
    m_cmdCancel = Named(new QPushButton(QText(WriteIsoText::CancelButton), this), "cmdCancel",
                        {545, 358, 100, 30});
    m_cmdCancel->hide();
}

void frmWriteISO::BuildButtons() {
    const std::vector<QPushButton*> row =
        WindowParts::ButtonRow(this, {{"cmdAbout", "button_about", QText(WriteIsoText::AboutTip)},
                                      {"CmdTools", "button_tools", QText(WriteIsoText::ToolsTip)},
                                      {"cmdBack", "button_back", QText(WriteIsoText::BackTip)},
                                      {"CmdBurn", "button_burn", QText(WriteIsoText::BurnTip)}});
    m_cmdAbout = row[0];
    m_cmdTools = row[1];
    m_cmdBack = row[2];
    m_cmdBurn = row[3];
    m_cmdBurn->setEnabled(false);
    m_tools = WindowParts::AddToolsMenu(this, m_cmdTools, QText(WriteIsoText::DiscInfo),
                                        QText(WriteIsoText::EraseDisc));
    m_help = WindowParts::AddHelpMenu(this, m_cmdAbout, QText(WriteIsoText::HelpFile),
                                      QText(WriteIsoText::About));
}

void frmWriteISO::ApplyStylePictures() {
    WindowParts::StylePictures({{m_cmdAbout, "Button_About.bmp"},
                                {m_cmdTools, "Button_Tool.bmp"},
                                {m_cmdBack, "Button_Back.bmp"},
                                {m_cmdBurn, "Button_Write.bmp"}});
}
