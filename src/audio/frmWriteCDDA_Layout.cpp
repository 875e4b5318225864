// The controls, texts and menus of the audio CD window.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "LanguageTexts.h"
#include "Pictures.h"
#include "ProgramStyle.h"
#include "TrackListView.h"
#include "WindowTexts.h"
#include "frmWriteCDDA.h"

namespace {
constexpr int kBannerHeight = 52;
constexpr int kListTop = 84;
constexpr int kListHeight = 206;
constexpr int kButtonSize = 44;
constexpr int kSmallButtonSize = 36;

template <typename T>
T* Named(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

template <typename T>
T* Named(T* control, const char* name, QRect where) {
    control->setGeometry(where);
    return Named(control, name);
}
}  // namespace

void frmWriteCDDA::BuildControls() {
    m_lblHeader = Named(new QLabel(QStringLiteral("Write .wav to CD-DA Disc"), this), "lblHeader",
                        {0, 0, width(), kBannerHeight});
    m_lblHeader->setIndent(24);
    m_lblHeader->setStyleSheet(QStringLiteral(
        "color: white; font-weight: bold; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
        "stop:0 #1b3a6b, stop:1 #6f8fb5);"));
    QFont big = m_lblHeader->font();
    big.setPointSize(big.pointSize() + 5);
    m_lblHeader->setFont(big);
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
        auto* control = Named(new QPushButton(this), name, where);
        const int side = where.height() - 8;
        control->setIcon(QIcon(Pictures::Load(QString::fromLatin1(picture), {side, side})));
        control->setIconSize({side, side});
        control->setFlat(true);
        if (tip != nullptr) control->setToolTip(QString::fromUtf8(tip));
        return control;
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
    m_sbar = Named(new QStatusBar(this), "sbar", {0, height() - 24, width(), 24});
    m_sbar->setSizeGripEnabled(false);
    const int stretch[] = {3, 0, 3, 0};
    const int least[] = {0, 130, 0, 110};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        const std::string name = "Panels(" + std::to_string(i + 1) + ")";
        m_panels[i] = new QLabel(m_sbar);
        m_panels[i]->setObjectName(QString::fromStdString(name));
        m_panels[i]->setMinimumWidth(least[i]);
        // Long paths are cut at the panel's edge instead of widening the bar.
        if (least[i] == 0) m_panels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_sbar->addWidget(m_panels[i], stretch[i]);
    }
}

void frmWriteCDDA::BuildMenus() {
    const auto menu = [this](const char* name) { return Named(new QMenu(this), name); };
    const auto item = [](QMenu* owner, const char* name, const char* caption) {
        return Named(owner->addAction(QString::fromUtf8(caption)), name);
    };
    m_meuMenuFiles = menu("meuMenuFiles");
    m_meuFilesRem = item(m_meuMenuFiles, "meuFilesRem", "删除文件");
    m_meuFileRen = item(m_meuMenuFiles, "meuFileRen", "文件改名");
    m_meuTools = menu("meuTools");
    m_meuDiscInfo = item(m_meuTools, "meuDiscInfo", "光盘信息 ...");
    m_meuEraseDisc = item(m_meuTools, "meuEraseDisc", "擦除可重写光盘");
    m_meuHelp = menu("meuHelp");
    m_meuHelpFile = item(m_meuHelp, "meuHelpFile", "帮助文件");
    m_meuAbout = item(m_meuHelp, "meuAbout", "关于...");
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

// The alternative style replaces a button's picture when its file is there.
void frmWriteCDDA::ApplyStylePictures() {
    const std::pair<QPushButton*, const char*> pictures[] = {
        {m_cmdDel, "Button_Del.bmp"},     {m_cmdRen, "Button_REN.bmp"},
        {m_cmdAbout, "Button_About.bmp"}, {m_cmdTools, "Button_Tool.bmp"},
        {m_cmdNewPrj, "Button_New.bmp"},  {m_cmdBack, "Button_Back.bmp"},
        {m_cmdBurn, "Button_Write.bmp"},
    };
    for (const auto& [button, file] : pictures) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(file));
        if (!picture.isNull()) button->setIcon(QIcon(picture));
    }
}
