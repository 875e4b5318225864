// The controls, texts and menus of the audio CD window.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include "LanguageTexts.h"
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
constexpr int kButtonSize = 44;
constexpr int kSmallButtonSize = 36;
}  // namespace

using WindowParts::Named;

void frmWriteCDDA::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Write .wav to CD-DA Disc"), kBannerHeight);
    m_label1 = Named(new QLabel(QString::fromUtf8("音轨:"), this), "Label1", {16, 60, 200, 22});
    m_lblInfo =
        Named(new QLabel(QString::fromUtf8("请用拖拉的方式添加WAV、FLAC、MP3、Ogg文件!"), this),
              "lblInfo", {216, 60, 426, 22});
    m_lblInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lvwFiles = Named(new TrackListView(this), "lvwFiles", {16, kListTop, 626, kListHeight});
    m_lvwFiles->setHeaderLabels({QString::fromUtf8("文件名"), QString::fromUtf8("大小"),
                                 QString::fromUtf8("长度"), QString::fromUtf8("最后修改时间")});
    m_lvwFiles->header()->resizeSection(0, 300);
    m_lvwFiles->header()->resizeSection(1, 90);
    m_lvwFiles->header()->resizeSection(2, 80);
    BuildButtons();
    BuildOptionsAndProgress();
    BuildStatusBar();
}

void frmWriteCDDA::BuildButtons() {
    const auto button = [this](const char* name, const char* picture, QRect where,
                               const char* tip) {
        return PictureButton(this, name, picture, where, tip);
    };
    const int listBottom = kListTop + kListHeight + 6;
    const auto small = [listBottom](int left) {
        return QRect(left, listBottom, kSmallButtonSize, kSmallButtonSize);
    };
    m_cmdDel = button("cmdDel", "button_delete", small(16), "删除选中的文件");
    m_cmdRen = button("cmdRen", "button_rename", small(56), "更名指定的文件");
    m_cmdNewPrj = button("cmdNewPrj", "button_new", small(96), "创建一个新的项目");
    const auto large = [](int left) { return QRect(left, 392, kButtonSize, kButtonSize); };
    m_cmdAbout = button("cmdAbout", "button_about", large(454), "显示关于本程式的信息");
    m_cmdTools = button("CmdTools", "button_tools", large(502), "选用更多的工具");
    m_cmdBack = button("cmdBack", "button_back", large(550), "返回到主菜单");
    m_cmdBurn = button("CmdBurn", "button_burn", large(598), "进入下一步,准备开始刻录");
    m_cmdBurn->setEnabled(false);
}

void frmWriteCDDA::BuildOptionsAndProgress() {
    const auto option = [this](const char* name, const char* caption, int top, bool ticked) {
        auto* box =
            Named(new QCheckBox(QString::fromUtf8(caption), this), name, {16, top, 300, 22});
        box->setChecked(ticked);
        return box;
    };
    m_chkFixDisc = option("chkFixDisc", "终结碟片(不允许Multi Session)", 344, true);
    m_chkTestMode = option("chkTestMode", "启动Test Mode", 368, false);
    m_chkEjectDisc = option("chkEjectDisc", "结束时弹出托盘", 392, true);
    m_chkVerify = option("chkVerify", "刻录后校验光碟", 416, false);
    RememberOption(m_chkVerify, "VerifyCDDA");
    m_label3 = Named(new QLabel(this), "Label3", {330, 298, 312, 20});
    m_label3->setAlignment(Qt::AlignCenter);
    m_prg = Named(new QProgressBar(this), "prg", {330, 322, 256, 20});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_prg->setTextVisible(false);
    m_label2 = Named(new QLabel(this), "Label2", {592, 322, 50, 20});
    m_label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cmdCancel = Named(new QPushButton(QString::fromUtf8("取消(&C)"), this), "cmdCancel",
                        {330, 350, 100, 28});
    m_cmdCancel->setEnabled(false);
}

void frmWriteCDDA::BuildStatusBar() {
    const std::vector<QLabel*> panels = WindowParts::StatusBar(this, {0, 130, 0, 110});
    std::copy(panels.begin(), panels.end(), m_panels.begin());
}

void frmWriteCDDA::BuildMenus() {
    m_meuMenuFiles = PopupMenus::Create(this, "meuMenuFiles");
    m_meuFilesRem = PopupMenus::AddItem(m_meuMenuFiles, "meuFilesRem", "删除文件");
    m_meuFileRen = PopupMenus::AddItem(m_meuMenuFiles, "meuFileRen", "文件改名");
    const WindowParts::ToolsMenu tools =
        WindowParts::AddToolsMenu(this, m_cmdTools, "光盘信息 ...", "擦除可重写光盘");
    m_meuDiscInfo = tools.meuDiscInfo;
    m_meuEraseDisc = tools.meuEraseDisc;
    const WindowParts::HelpMenu help = WindowParts::AddHelpMenu(this, m_cmdAbout);
    m_meuHelpFile = help.meuHelpFile;
    m_meuAbout = help.meuAbout;
}

void frmWriteCDDA::LoadTexts() {
    ApplyLanguageTexts(LanguageTexts("frmWriteCDDA"),
                       {
                           {"lvwFiles.ColumnHeaders(1)", TextTarget::HeaderSection(m_lvwFiles, 0)},
                           {"lvwFiles.ColumnHeaders(2)", TextTarget::HeaderSection(m_lvwFiles, 1)},
                           {"lvwFiles.ColumnHeaders(3)", TextTarget::HeaderSection(m_lvwFiles, 2)},
                           {"lvwFiles.ColumnHeaders(4)", TextTarget::HeaderSection(m_lvwFiles, 3)},
                           {"lblInfo", TextTarget::Caption(m_lblInfo)},
                           {"chkFixDisc", TextTarget::Caption(m_chkFixDisc)},
                           {"chkTestMode", TextTarget::Caption(m_chkTestMode)},
                           {"chkEjectDisc", TextTarget::Caption(m_chkEjectDisc)},
                           {"chkVerify", TextTarget::Caption(m_chkVerify)},
                           {"cmdDel.ToolTipText", TextTarget::ToolTip(m_cmdDel)},
                           {"cmdRen.ToolTipText", TextTarget::ToolTip(m_cmdRen)},
                           {"cmdnewPrj.ToolTipText", TextTarget::ToolTip(m_cmdNewPrj)},
                           {"CmdBurn.ToolTipText", TextTarget::ToolTip(m_cmdBurn)},
                           {"cmdAbout.ToolTipText", TextTarget::ToolTip(m_cmdAbout)},
                           {"CmdTools.ToolTipText", TextTarget::ToolTip(m_cmdTools)},
                           {"cmdBack.ToolTipText", TextTarget::ToolTip(m_cmdBack)},
                           {"cmdCancel", TextTarget::Caption(m_cmdCancel)},
                           {"Label1", TextTarget::Caption(m_label1)},
                           {"meuFilesRem", TextTarget::Caption(m_meuFilesRem)},
                           {"meuFileRen", TextTarget::Caption(m_meuFileRen)},
                           {"meuDiscInfo", TextTarget::Caption(m_meuDiscInfo)},
                           {"meuEraseDisc", TextTarget::Caption(m_meuEraseDisc)},
                           {"meuHelpFile", TextTarget::Caption(m_meuHelpFile)},
                           {"meuAbout", TextTarget::Caption(m_meuAbout)},
                       });
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
