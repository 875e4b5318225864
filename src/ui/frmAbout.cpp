#include "frmAbout.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "AboutTexts.h"
#include "BuildNumber.h"
#include "MainWindowLink.h"
#include "Pictures.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "WindowTexts.h"

namespace {
constexpr int kWidthTwips = 6300;
constexpr int kHeightTwips = 4200;
constexpr const char* kBuiltInVersion = "1.00  Beta6 ";
}  // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips);
    CentreOnMainWindow();
}

frmAbout* frmAbout::ShowWindow() {
    static QPointer<frmAbout> window;
    if (window == nullptr) window = new frmAbout();
    ShowOverOwner(window);
    return window;
}

QString frmAbout::VersionText(int buildNumber) {
    return QString::fromUtf8(kBuiltInVersion) +
           QStringLiteral("(Build:%1)").arg(buildNumber, 4, 10, QLatin1Char(u'0'));
}

QString frmAbout::NoticeText(const QString& text) {
    QString notice = text;
    const qsizetype accent = notice.indexOf(QLatin1Char('`'));
    if (accent >= 0) notice.replace(accent, 1, QStringLiteral("\n\n"));
    return notice;
}

void frmAbout::BuildControls() {
    setWindowTitle(QText(AboutText::Title));
    const auto place = [this](QWidget* control, const char* name, QRect where) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(where);
        return control;
    };
    m_picture1 = new QLabel(this);
    place(m_picture1, "Picture1", {16, 16, 64, 64});
    m_picture1->setPixmap(Pictures::Load(QStringLiteral("logo"), {64, 64}));
    m_label1 = new QLabel(QStringLiteral("MAPLE CD/DVD Writer"), this);
    place(m_label1, "Label1", {96, 18, 300, 26});
    QFont title = m_label1->font();
    title.setPointSize(title.pointSize() + 5);
    title.setBold(true);
    m_label1->setFont(title);
    m_label2 = new QLabel(QText(AboutText::VersionCaption), this);
    place(m_label2, "Label2", {96, 52, 60, 20});
    m_lblVersion = new QLabel(VersionText(kMapleBuildNumber), this);
    place(m_lblVersion, "LblVersion", {156, 52, 240, 20});
    m_label3 = new QLabel(NoticeText(QText(AboutText::Notice)), this);
    place(m_label3, "Label3", {16, 92, 380, 120});
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_cmdOK = new QPushButton(QText(AboutText::OkButton), this);
    place(m_cmdOK, "CmdOK", {300, 220, 100, 28});
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

void frmAbout::CentreOnMainWindow() {
    MainWindowLink* main = MainWindow();
    if (main == nullptr || main->Window() == nullptr) return;
    const QRect outer = main->Window()->frameGeometry();
    const QSize own(Twips::ToPixels(kWidthTwips), Twips::ToPixels(kHeightTwips));
    move(outer.left() + (outer.width() - own.width()) / 2,
         outer.top() + (outer.height() - own.height()) / 2);
}
