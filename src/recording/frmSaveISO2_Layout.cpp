// The controls, texts and menus of the disc copy window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "LanguageTexts.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "ProgramStyle.h"
#include "SpeedListBox.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmSaveISO2.h"

using WindowParts::Named;

namespace {
constexpr int kBannerHeight = 52;
constexpr int kButtonTop = 392;
constexpr int kButtonSize = 44;
constexpr int kValueLeft = 140;

QLabel* RowCaption(QWidget* parent, const char* name, const char* text, int top) {
    return Named(new QLabel(QString::fromUtf8(text), parent), name, {16, top, 120, 26});
}
}  // namespace

void frmSaveISO2::BuildControls() {
    WindowParts::Banner(this, QStringLiteral("Copy Disc to ISO9660 Images"), kBannerHeight);
    m_label1 = RowCaption(this, "Label1", "源光碟:", 70);
    m_lblSourceDisc = Named(new QLabel(this), "lblSourceDisc", {kValueLeft, 70, 380, 26});
    m_label2 = RowCaption(this, "Label2", "读取速度:", 106);
    m_cboReadSpeed =
        Named(new SpeedListBox(&FillReadSpeeds, this), "cboReadSpeed", {kValueLeft, 106, 120, 26});
    m_imgtea = WindowParts::TeaPicture(this, {549, 66});
    BuildOptions();
    BuildButtons();
    m_panels = WindowParts::StatusBar(this, {0, 80, 100});
    m_panels[1]->setText(QStringLiteral("0%"));
    m_panels[2]->setText(QStringLiteral("00:00:00"));
    m_timer1 = Named(new QTimer(this), "Timer1");
}

void frmSaveISO2::BuildOptions() {
    m_label4 = RowCaption(this, "Label4", "选项:", 176);
    m_chkCreateISOonly = Named(new QCheckBox(QString::fromUtf8("复制到.ISO档"), this),
                               "chkCreateISOonly", {kValueLeft, 176, 500, 24});
    m_chkCreateISOonly->setToolTip(
        QString::fromUtf8("选中此项将仅仅生成.ISO档，并不刻录到光碟片上"));
    m_chkBadCopy =
        Named(new QCheckBox(QString::fromUtf8("BadCopy(仅用于损坏光盘的数据挽救)"), this),
              "ChkBadCopy", {kValueLeft, 204, 500, 24});
    m_label3 = RowCaption(this, "Label3", "进度:", 260);
    m_prg = Named(new QProgressBar(this), "prg", {kValueLeft, 260, 505, 24});
    m_prg->setRange(0, 100);
    m_prg->setValue(0);
    m_cmdCancel = Named(new QPushButton(QString::fromUtf8("取消(&C)"), this), "cmdCancel",
                        {545, 294, 100, 30});
    m_cmdCancel->hide();
}

void frmSaveISO2::BuildButtons() {
    const auto at = [](int left) { return QRect(left, kButtonTop, kButtonSize, kButtonSize); };
    m_cmdAbout = PictureButton(this, "cmdAbout", "button_about", at(502), "显示关于本程式的信息");
    m_cmdBack = PictureButton(this, "cmdBack", "button_back", at(550), "返回到主菜单");
    m_cmdNext = PictureButton(this, "cmdNext", "button_next", at(598), "进入下一步,准备开始刻录");
    m_cmdNext->setEnabled(false);
    WindowParts::StylePictures({{m_cmdAbout, "Button_About.bmp"}, {m_cmdBack, "Button_Back.bmp"}});
    m_help = WindowParts::AddHelpMenu(this, m_cmdAbout);
}

void frmSaveISO2::LoadTexts() {
    using namespace TextTarget;
    ApplyLanguageTexts(LanguageTexts("frmSaveISO2"),
                       {
                           {"Label1", Caption(m_label1)},
                           {"Label2", Caption(m_label2)},
                           {"Label3", Caption(m_label3)},
                           {"Label4", Caption(m_label4)},
                           {"chkCreateISOonly", Caption(m_chkCreateISOonly)},
                           {"chkCreateISOonly.ToolTipText", ToolTip(m_chkCreateISOonly)},
                           {"ChkBadCopy", Caption(m_chkBadCopy)},
                           {"cmdAbout.ToolTipText", ToolTip(m_cmdAbout)},
                           {"cmdBack.ToolTipText", ToolTip(m_cmdBack)},
                           {"cmdNext.ToolTipText", ToolTip(m_cmdNext)},
                           {"cmdCancel", Caption(m_cmdCancel)},
                           {"sbar.Panels(1)", Caption(m_panels[0])},
                           {"meuHelpFile", Caption(m_help.meuHelpFile)},
                           {"meuAbout", Caption(m_help.meuAbout)},
                       });
}

// Next copies to a disc (go on to recording) or only into an .ISO file
// (save it): its tool tip and picture say which.
void frmSaveISO2::ShowNextPurpose() {
    const bool imageOnly = m_chkCreateISOonly->isChecked();
    m_cmdNext->setToolTip(m_messages[imageOnly ? 14 : 13]);
    QPixmap picture = ProgramStyle::Picture(imageOnly ? QStringLiteral("Button_Save.bmp")
                                                      : QStringLiteral("Button_Next.bmp"));
    if (picture.isNull())
        picture = Pictures::Load(
            imageOnly ? QStringLiteral("button_save") : QStringLiteral("button_next"),
            m_cmdNext->iconSize());
    m_cmdNext->setIcon(QIcon(picture));
}
