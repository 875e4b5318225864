// The controls, texts and menus of the audio CD window.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include "AudioTexts.h"
#include "PictureButton.h"
#include "PopupMenus.h"
#include "RememberedOption.h"
#include "TrackListView.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmWriteCDDA.h"

namespace {
constexpr int kBannerHeight = 52;
constexpr int kListTop = 84;
constexpr int kListHeight = 206;
constexpr int kSmallButtonSize = 36;
constexpr int kAlbumTop = 446;  // the album's CD-TEXT, under the options and buttons
}  // namespace

using WindowParts::Named;

void frmWriteCDDA::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Write .wav to CD-DA Disc"), kBannerHeight);
    m_label1 =
        Named(new QLabel(QText(AudioText::TracksCaption), this), "Label1", {16, 60, 200, 22});
    m_lblInfo = Named(new QLabel(QText(AudioText::DropHint), this), "lblInfo", {216, 60, 426, 22});
    m_lblInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lvwFiles = Named(new TrackListView(this), "lvwFiles", {16, kListTop, 626, kListHeight});
    m_lvwFiles->setHeaderLabels({QText(AudioText::NameColumn), QText(AudioText::SizeColumn),
                                 QText(AudioText::LengthColumn), QText(AudioText::ModifiedColumn),
                                 QText(AudioText::PauseColumn), QText(AudioText::TitleColumn),
                                 QText(AudioText::PerformerColumn)});
    m_lvwFiles->header()->resizeSection(0, 300);
    m_lvwFiles->header()->resizeSection(1, 90);
    m_lvwFiles->header()->resizeSection(2, 80);
    // Title and performer follow the file name where they are shown.
    m_lvwFiles->header()->moveSection(5, 1);
    m_lvwFiles->header()->moveSection(6, 2);
    m_lvwFiles->header()->resizeSection(5, 150);
    m_lvwFiles->header()->resizeSection(6, 120);
    BuildAlbumFields();
    BuildButtons();
    BuildOptionsAndProgress();
    BuildStatusBar();
}

void frmWriteCDDA::BuildAlbumFields() {
    m_lblAlbumTitle = Named(new QLabel(QText(AudioText::AlbumTitleLabel), this), "lblAlbumTitle",
                            {16, kAlbumTop, 90, 22});
    m_txtAlbumTitle = Named(new QLineEdit(this), "txtAlbumTitle", {110, kAlbumTop, 206, 22});
    m_lblAlbumPerformer = Named(new QLabel(QText(AudioText::AlbumPerformerLabel), this),
                                "lblAlbumPerformer", {330, kAlbumTop, 110, 22});
    m_txtAlbumPerformer =
        Named(new QLineEdit(this), "txtAlbumPerformer", {444, kAlbumTop, 198, 22});
}

void frmWriteCDDA::BuildButtons() {
    const auto button = [this](const char* name, const char* picture, QRect where, AudioText tip) {
        return PictureButton(this, name, picture, where, QText(tip));
    };
    const int listBottom = kListTop + kListHeight + 6;
    const auto small = [listBottom](int left) {
        return QRect(left, listBottom, kSmallButtonSize, kSmallButtonSize);
    };
    m_cmdDel = button("cmdDel", "button_delete", small(16), AudioText::DeleteTip);
    m_cmdRen = button("cmdRen", "button_rename", small(56), AudioText::RenameTip);
    m_cmdNewPrj = button("cmdNewPrj", "button_new", small(96), AudioText::NewProjectTip);
    // Beside the picture buttons, for those who do not drag (not in the
    // original layout).
    m_cmdAddFiles = Named(new QPushButton(QText(AudioText::AddFilesButton), this), "cmdAddFiles",
                          {140, listBottom + 4, 130, 28});
    const std::vector<QPushButton*> row =
        WindowParts::ButtonRow(this, {{"cmdAbout", "button_about", QText(AudioText::AboutTip)},
                                      {"CmdTools", "button_tools", QText(AudioText::ToolsTip)},
                                      {"cmdBack", "button_back", QText(AudioText::BackTip)},
                                      {"CmdBurn", "button_burn", QText(AudioText::BurnTip)}});
    m_cmdAbout = row[0];
    m_cmdTools = row[1];
    m_cmdBack = row[2];
    m_cmdBurn = row[3];
    m_cmdBurn->setEnabled(false);
}

void frmWriteCDDA::BuildOptionsAndProgress() {
    const auto option = [this](const char* name, AudioText caption, int top, bool ticked) {
        auto* box = Named(new QCheckBox(QText(caption), this), name, {16, top, 300, 22});
        box->setChecked(ticked);
        return box;
    };
    m_chkFixDisc = option("chkFixDisc", AudioText::FixDisc, 344, true);
    m_chkTestMode = option("chkTestMode", AudioText::TestMode, 368, false);
    m_chkEjectDisc = option("chkEjectDisc", AudioText::EjectDisc, 392, true);
    m_chkVerify = option("chkVerify", AudioText::Verify, 416, false);
    RememberOption(m_chkVerify, "VerifyCDDA");
    m_chkDiscAtOnce = Named(new QCheckBox(QText(AudioText::DiscAtOnce), this), "chkDiscAtOnce",
                            {440, 353, 202, 22});
    RememberOption(m_chkDiscAtOnce, "DiscAtOnceCDDA");
    m_label3 = Named(new QLabel(this), "Label3", {330, 298, 312, 20});
    m_label3->setAlignment(Qt::AlignCenter);
    m_prg = Named(new QProgressBar(this), "prg", {330, 322, 256, 20});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_prg->setTextVisible(false);
    m_label2 = Named(new QLabel(this), "Label2", {592, 322, 50, 20});
    m_label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cmdCancel = Named(new QPushButton(QText(AudioText::CancelButton), this), "cmdCancel",
                        {330, 350, 100, 28});
    m_cmdCancel->setEnabled(false);
}

void frmWriteCDDA::BuildStatusBar() {
    // The elapsed time has a width of its own, so the status text gets the
    // rest of the bar.
    const std::vector<QLabel*> panels = WindowParts::StatusBar(this, {0, 130, 80, 110});
    std::copy(panels.begin(), panels.end(), m_panels.begin());
}

void frmWriteCDDA::BuildMenus() {
    m_meuMenuFiles = PopupMenus::Create(this, "meuMenuFiles");
    m_meuFilesAdd =
        PopupMenus::AddItem(m_meuMenuFiles, "meuFilesAdd", QText(AudioText::AddFilesMenu));
    m_meuFilesRem =
        PopupMenus::AddItem(m_meuMenuFiles, "meuFilesRem", QText(AudioText::DeleteFile));
    m_meuFileRen = PopupMenus::AddItem(m_meuMenuFiles, "meuFileRen", QText(AudioText::RenameFile));
    const WindowParts::ToolsMenu tools = WindowParts::AddToolsMenu(
        this, m_cmdTools, QText(AudioText::DiscInfo), QText(AudioText::EraseDisc));
    m_meuDiscInfo = tools.meuDiscInfo;
    m_meuEraseDisc = tools.meuEraseDisc;
    const WindowParts::HelpMenu help = WindowParts::AddHelpMenu(
        this, m_cmdAbout, QText(AudioText::HelpFile), QText(AudioText::About));
    m_meuHelpFile = help.meuHelpFile;
    m_meuAbout = help.meuAbout;
}

void frmWriteCDDA::ApplyStylePictures() {
    WindowParts::StylePictures({{m_cmdDel, "Button_Del.bmp"},
                                {m_cmdRen, "Button_REN.bmp"},
                                {m_cmdAbout, "Button_About.bmp"},
                                {m_cmdTools, "Button_Tool.bmp"},
                                {m_cmdNewPrj, "Button_New.bmp"},
                                {m_cmdBack, "Button_Back.bmp"},
                                {m_cmdBurn, "Button_Write.bmp"}});
}
