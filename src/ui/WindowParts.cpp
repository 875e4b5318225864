#include "WindowParts.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "DesktopOpener.h"
#include "EngineRunner.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "PopupMenus.h"
#include "ProgramStyle.h"
#include "StatusPanel.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmDiscInfo.h"
#include "frmErase.h"

namespace WindowParts {

using PopupMenus::AddItem;

namespace {
constexpr int kTickMs = 200;
constexpr int kRowTop = 392;
constexpr int kRowButtonSize = 44;
constexpr int kRowStep = 48;
constexpr int kRowLastLeft = 598;
}  // namespace

void TaskWindowFrame(QWidget* window, const char* name, const QString& title, int widthTwips,
                     int heightTwips) {
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    Twips::FixWindowSize(*window, widthTwips, heightTwips);
}

QTimer* TickTimer(QWidget* window) {
    auto* timer = Named(new QTimer(window), "Timer1");
    timer->setInterval(kTickMs);
    return timer;
}

std::vector<QPushButton*> ButtonRow(QWidget* window, std::initializer_list<RowButton> buttons) {
    std::vector<QPushButton*> row;
    int left = kRowLastLeft - kRowStep * (static_cast<int>(buttons.size()) - 1);
    for (const RowButton& button : buttons) {
        row.push_back(PictureButton(window, button.name, button.picture,
                                    {left, kRowTop, kRowButtonSize, kRowButtonSize}, button.tip));
        left += kRowStep;
    }
    return row;
}

namespace {
QMenu* PopUpMenu(QWidget* owner, const char* name, QPushButton* button) {
    QMenu* menu = PopupMenus::Create(owner, name);
    QObject::connect(button, &QPushButton::clicked, menu, [menu, button] {
        menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    });
    return menu;
}
}  // namespace

void StylePictures(std::initializer_list<std::pair<QPushButton*, const char*>> pictures) {
    for (const auto& [button, file] : pictures) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(file));
        if (!picture.isNull()) button->setIcon(QIcon(picture));
    }
}

QLabel* Banner(QWidget* window, const QString& text, int height) {
    auto* banner = Named(new QLabel(text, window), "lblHeader", {0, 0, window->width(), height});
    banner->setIndent(24);
    banner->setStyleSheet(QStringLiteral(
        "color: white; font-weight: bold; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
        "stop:0 #1b3a6b, stop:1 #6f8fb5);"));
    QFont big = banner->font();
    big.setPointSize(big.pointSize() + 5);
    banner->setFont(big);
    return banner;
}

std::vector<QLabel*> StatusBar(QWidget* window, std::initializer_list<int> widths) {
    constexpr int kHeight = 24;
    auto* bar = Named(new QStatusBar(window), "sbar",
                      {0, window->height() - kHeight, window->width(), kHeight});
    bar->setSizeGripEnabled(false);
    std::vector<QLabel*> panels;
    for (const int width : widths) {
        auto* panel = new StatusPanel(bar);
        panel->setObjectName(QStringLiteral("Panels(%1)").arg(panels.size() + 1));
        if (width == 0) panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panel->setMinimumWidth(width);
        bar->addWidget(panel, width == 0 ? 1 : 0);
        panels.push_back(panel);
    }
    return panels;
}

ToolsMenu AddToolsMenu(QWidget* owner, QPushButton* button, const QString& discInfo,
                       const QString& eraseDisc) {
    QMenu* menu = PopUpMenu(owner, "meuTools", button);
    const ToolsMenu tools{menu, AddItem(menu, "meuDiscInfo", discInfo),
                          AddItem(menu, "meuEraseDisc", eraseDisc)};
    QObject::connect(tools.meuDiscInfo, &QAction::triggered, [] { frmDiscInfo::ShowWindow(); });
    QObject::connect(tools.meuEraseDisc, &QAction::triggered, [] { frmErase::ShowWindow(); });
    return tools;
}

HelpMenu AddHelpMenu(QWidget* owner, QPushButton* button, const QString& helpFile,
                     const QString& about) {
    QMenu* menu = PopUpMenu(owner, "meuHelp", button);
    const HelpMenu help{menu, AddItem(menu, "meuHelpFile", helpFile),
                        AddItem(menu, "meuAbout", about)};
    QObject::connect(help.meuHelpFile, &QAction::triggered, [] {
        const QString manual = ProgramStyle::DataFile(QStringLiteral("User Manual.pdf"));
        if (QFileInfo(manual).isFile()) OpenWithDesktop(QUrl::fromLocalFile(manual));
    });
    QObject::connect(help.meuAbout, &QAction::triggered, [] { frmAbout::ShowWindow(); });
    return help;
}

QLabel* TeaPicture(QWidget* parent, QPoint topLeft) {
    constexpr int kSide = 96;
    auto* picture = Named(new QLabel(parent), "imgtea", {topLeft, QSize(kSide, kSide)});
    picture->setPixmap(Pictures::Load(QStringLiteral("tea"), {kSide, kSide}));
    picture->hide();
    return picture;
}

void ShowProgress(EngineRunner* runner, const std::vector<QLabel*>& panels, QProgressBar* bar,
                  QLabel* picture, const QString& busyText) {
    QObject::connect(runner, &EngineRunner::phaseText, picture,
                     [label = panels.at(0), picture, busyText](const QString& text) {
                         label->setText(text);
                         picture->setVisible(text == busyText);
                     });
    QObject::connect(runner, &EngineRunner::percentText, panels.at(1), &QLabel::setText);
    QObject::connect(runner, &EngineRunner::elapsedText, panels.at(2), &QLabel::setText);
    QObject::connect(runner, &EngineRunner::progress, bar, &QProgressBar::setValue);
    QObject::connect(runner, &EngineRunner::finished, picture, &QWidget::hide);
}

void ShowInFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace WindowParts
