// The controls and menus of the main window.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "MainTexts.h"
#include "MouseLabel.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "PopupMenus.h"
#include "WindowTexts.h"
#include "frmMain.h"

namespace {
constexpr int kTaskTop = 150;
constexpr int kTaskStep = 76;
constexpr int kPictureLeft = 28;
constexpr QSize kPictureSize(64, 52);
// Width of Picture2, the strip that joins picture 0 and the chooser.
constexpr int kStripWidth = 8;
constexpr QSize kLargeImage(128, 128);
const char* const kTaskPictures[] = {"task_data", "task_audio", "task_image", "task_copy"};
constexpr MainText kTaskNames[] = {MainText::DataDiscTask, MainText::AudioCdTask,
                                   MainText::RecordImageTask, MainText::CopyDiscTask};

template <typename T>
T* Named(T* control, const QString& name, QRect where) {
    control->setObjectName(name);
    control->setGeometry(where);
    return control;
}
}  // namespace

void frmMain::BuildControls() {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);

    m_label1 = Named(new QLabel(QText(MainText::PickRecorder), this), QStringLiteral("Label1"),
                     {24, 62, 400, 20});
    m_cboDrv = Named(new QComboBox(this), QStringLiteral("CboDrv"), {24, 84, 566, 26});
    m_lblDrvSel = Named(new MouseLabel(this), QStringLiteral("LblDrvSel"), {596, 84, 40, 26});
    // Always shown: a link that appears only under the mouse is one a
    // keyboard user never finds.
    m_lblDrvSel->setText(QStringLiteral(">>"));
    m_lblDrvSel->setAlignment(Qt::AlignCenter);
    m_lblDrvSel->setCursor(Qt::PointingHandCursor);
    m_lblDrvSel->setToolTip(QText(MainText::DriveSelectTip));
    m_label2 = Named(new MouseLabel(this), QStringLiteral("Label2"), {24, 122, 400, 20});
    m_label2->setText(QText(MainText::PickTask));
    BuildTaskControls();

    m_imgDiscType = Named(new QLabel(this), QStringLiteral("ImgDiscType"), {248, 166, 128, 128});
    m_lblDiscType = Named(new QLabel(this), QStringLiteral("lblDiscType"), {392, 170, 232, 30});
    QFont big = m_lblDiscType->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    m_lblDiscType->setFont(big);
    m_lblInfo = Named(new MouseLabel(this), QStringLiteral("lblInfo"), {392, 208, 232, 180});
    m_lblInfo->setWordWrap(true);
    m_lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const auto button = [this](const char* name, const char* picture, int left, MainText tip) {
        return PictureButton(this, name, picture, {left, 414, 44, 44}, QText(tip));
    };
    m_cmdAbout = button("cmdAbout", "button_about", 496, MainText::AboutTip);
    m_cmdTools = button("CmdTools", "button_tools", 544, MainText::ToolsTip);
    m_cmdExit = button("cmdExit", "button_exit", 592, MainText::ExitTip);
}

void frmMain::BuildTaskControls() {
    for (std::uint8_t i = 0; i < 4; ++i) {
        const int top = kTaskTop + i * kTaskStep;
        m_picture1[i] = Named(new MouseLabel(this), QStringLiteral("Picture1(%1)").arg(i),
                              QRect(QPoint(kPictureLeft, top), kPictureSize));
        m_picture1[i]->setAlignment(Qt::AlignCenter);
        m_picture1[i]->SetBackColor(Qt::white);
        m_picture1[i]->setCursor(Qt::PointingHandCursor);
        m_picture1[i]->setPixmap(Pictures::Load(QString::fromLatin1(kTaskPictures[i]), {48, 48}));
        m_lblText[i] = Named(new MouseLabel(this), QStringLiteral("LblText(%1)").arg(i),
                             {4, top + kPictureSize.height() + 2, 112, 18});
        m_lblText[i]->setAlignment(Qt::AlignCenter);
        m_lblText[i]->setCursor(Qt::PointingHandCursor);
        m_lblText[i]->setText(QText(kTaskNames[i]));
        m_builtInImages[i] = Pictures::Load(QString::fromLatin1(kTaskPictures[i]), kLargeImage);
        m_styleImages[i] = Pictures::Load(
            QStringLiteral("maple_") + QString::fromLatin1(kTaskPictures[i]), kLargeImage);
    }
    m_picture2 =
        Named(new MouseLabel(this), QStringLiteral("Picture2"),
              {kPictureLeft + kPictureSize.width(), kTaskTop, kStripWidth, kPictureSize.height()});
    m_picture2->SetBackColor(Qt::white);
}

void frmMain::BuildMenus() {
    const auto menu = [this](const char* name) { return PopupMenus::Create(this, name); };
    const auto AddItem = [](QMenu* menu, const char* name, MainText caption) {
        return PopupMenus::AddItem(menu, name, QText(caption));
    };
    m_meuDrvSel = menu("meuDrvSel");
    m_meuSelectFirstDrive = AddItem(m_meuDrvSel, "meuSelectFirstDrive", MainText::SelectFirstDrive);
    m_meuSelectLastDrive = AddItem(m_meuDrvSel, "meuSelectLastDrive", MainText::SelectLastDrive);
    m_meuSelectFirstDrive->setCheckable(true);
    m_meuSelectLastDrive->setCheckable(true);
    m_meutray = menu("meutray");
    m_meuEject = AddItem(m_meutray, "meuEject", MainText::EjectTray);
    m_meuLoadTray = AddItem(m_meutray, "meuLoadTray", MainText::LoadTray);
    m_meutools = menu("meutools");
    m_meuDiscInfo = AddItem(m_meutools, "meuDiscInfo", MainText::DiscInfo);
    m_meuEraseDisc = AddItem(m_meutools, "meuEraseDisc", MainText::EraseDisc);
    m_meuHelp = menu("meuHelp");
    m_meuHelpFile = AddItem(m_meuHelp, "meuHelpFile", MainText::HelpFile);
    m_meuHelp->addSeparator()->setObjectName(QStringLiteral("barHelp"));
    m_meuVisitMyWeb = AddItem(m_meuHelp, "meuVisitMyWeb", MainText::VisitWebPage);
    m_meuMailToMe = AddItem(m_meuHelp, "meuMailToMe", MainText::MailToAuthor);
    m_meuHelp->addSeparator()->setObjectName(QStringLiteral("barAbout"));
    m_meuAbout = AddItem(m_meuHelp, "meuAbout", MainText::About);
}
