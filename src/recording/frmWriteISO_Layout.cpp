// The controls, texts and menus of the record-image window.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "LanguageTexts.h"
#include "PictureButton.h"
#include "RememberedOption.h"
#include "SpeedListBox.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmWriteISO.h"

using WindowParts::Named;

namespace {
constexpr int kBannerHeight = 52;
constexpr int kButtonTop = 392;
constexpr int kButtonSize = 44;
}  // namespace

void frmWriteISO::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Write ISO9660 Images to Disc"), kBannerHeight);
    m_frame1 = Named(new QGroupBox(this), "Frame1", {16, 62, 629, 96});
    m_label1 = Named(new QLabel(QString::fromUtf8("映像:"), m_frame1), "Label1", {12, 22, 90, 26});
    m_txtISO = Named(new QLineEdit(m_frame1), "txtISO", {104, 22, 390, 26});
    // Drops go to the window, which takes only image files.
    m_txtISO->setAcceptDrops(false);
    m_cmdBrowse = Named(new QPushButton(QString::fromUtf8("浏览(&V) ..."), m_frame1), "cmdBrowse",
                        {502, 21, 115, 28});
    m_cmdBrowse->setToolTip(QString::fromUtf8("打开您要刻录的ISO文件"));
    m_lblInfo = Named(new QLabel(QString::fromUtf8("可以用拖拉的方式添加.ISO文件!"), m_frame1),
                      "lblInfo", {104, 58, 513, 24});
    BuildOptions();
    BuildButtons();
    m_panels = WindowParts::StatusBar(this, {0, 80, 100});
    m_panels[1]->setText(QStringLiteral("0%"));
    m_panels[2]->setText(QStringLiteral("00:00:00"));
    m_timer1 = Named(new QTimer(this), "Timer1");
}

void frmWriteISO::BuildOptions() {
    m_label3 =
        Named(new QLabel(QString::fromUtf8("刻录速度:"), this), "Label3", {16, 176, 120, 26});
    m_cboWriteSpeed =
        Named(new SpeedListBox(&FillWriteSpeeds, this), "cboWriteSpeed", {140, 176, 120, 26});
    const auto option = [this](const char* name, const char* caption, int top, bool ticked) {
        auto* box =
            Named(new QCheckBox(QString::fromUtf8(caption), this), name, {16, top, 420, 24});
        box->setChecked(ticked);
        return box;
    };
    m_chkTestMode = option("chkTestMode", "启动Test Mode", 214, false);
    m_chkFixDisc = option("chkFixDisc", "终结碟片(不允许再添加资料)", 242, true);
    m_chkEjectDisc = option("chkEjectDisc", "结束时弹出托盘", 270, true);
    m_chkVerify = option("chkVerify", "刻录后校验光碟", 296, false);
    RememberOption(m_chkVerify, "VerifyISO");
    m_imgtea = WindowParts::TeaPicture(this, {549, 172});
    m_label2 = Named(new QLabel(QString::fromUtf8("进度:"), this), "Label2", {16, 328, 120, 24});
    m_prg = Named(new QProgressBar(this), "prg", {140, 328, 505, 24});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_cmdCancel = Named(new QPushButton(QString::fromUtf8("取消(&C)"), this), "cmdCancel",
                        {545, 358, 100, 30});
    m_cmdCancel->hide();
}

void frmWriteISO::BuildButtons() {
    const auto at = [](int left) { return QRect(left, kButtonTop, kButtonSize, kButtonSize); };
    m_cmdAbout = PictureButton(this, "cmdAbout", "button_about", at(454), "显示关于本程式的信息");
    m_cmdTools = PictureButton(this, "CmdTools", "button_tools", at(502), "选用更多的工具");
    m_cmdBack = PictureButton(this, "cmdBack", "button_back", at(550), "返回到主菜单");
    m_cmdBurn = PictureButton(this, "CmdBurn", "button_burn", at(598), "点击开始刻录");
    m_cmdBurn->setEnabled(false);
    m_tools = WindowParts::AddToolsMenu(this, m_cmdTools, "光碟信息 ...", "擦除可重写光碟");
    m_help = WindowParts::AddHelpMenu(this, m_cmdAbout);
}

void frmWriteISO::LoadTexts() {
    using namespace TextTarget;
    ApplyLanguageTexts(LanguageTexts("frmWriteISO"),
                       {
                           {"Label1", Caption(m_label1)},
                           {"Label2", Caption(m_label2)},
                           {"Label3", Caption(m_label3)},
                           {"cmdBrowse", Caption(m_cmdBrowse)},
                           {"lblInfo", Caption(m_lblInfo)},
                           {"chkFixDisc", Caption(m_chkFixDisc)},
                           {"chkTestMode", Caption(m_chkTestMode)},
                           {"chkEjectDisc", Caption(m_chkEjectDisc)},
                           {"chkVerify", Caption(m_chkVerify)},
                           {"cmdCancel", Caption(m_cmdCancel)},
                           {"cmdBrowse.ToolTipText", ToolTip(m_cmdBrowse)},
                           {"cmdAbout.ToolTipText", ToolTip(m_cmdAbout)},
                           {"CmdTools.ToolTipText", ToolTip(m_cmdTools)},
                           {"cmdBack.ToolTipText", ToolTip(m_cmdBack)},
                           {"cmdBurn.ToolTipText", ToolTip(m_cmdBurn)},
                           {"sbar.Panels(1)", Caption(m_panels[0])},
                           {"meuDiscInfo", Caption(m_tools.meuDiscInfo)},
                           {"meuEraseDisc", Caption(m_tools.meuEraseDisc)},
                           {"meuHelpFile", Caption(m_help.meuHelpFile)},
                           {"meuAbout", Caption(m_help.meuAbout)},
                       });
}

void frmWriteISO::ApplyStylePictures() {
    WindowParts::StylePictures({{m_cmdAbout, "Button_About.bmp"},
                                {m_cmdTools, "Button_Tool.bmp"},
                                {m_cmdBack, "Button_Back.bmp"},
                                {m_cmdBurn, "Button_Write.bmp"}});
}
