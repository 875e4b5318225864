#include "frmCDorDVD.h"

#include <QCloseEvent>
#include <QShortcut>

#include "ChooserTexts.h"
#include "MouseLabel.h"
#include "Pictures.h"
#include "ProgramStyle.h"
#include "SettingsStore.h"
#include "Twips.h"
#include "ValLike.h"
#include "WindowTexts.h"

namespace {
constexpr int kWidthTwips = 1800;
constexpr int kHeightTwips = 2310;
constexpr int kRowHeight = 76;
}  // namespace

frmCDorDVD::frmCDorDVD(QWidget* owner) : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmCDorDVD"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, NormalColour());
    setPalette(colours);
    setAutoFillBackground(true);
    setFixedSize(Twips::ToPixels(kWidthTwips), Twips::ToPixels(kHeightTwips));
    BuildControls();
    move(Twips::ToPixels(
        QPoint(ValLikeInt(GetProgramSetting("TempX0")), ValLikeInt(GetProgramSetting("TempY0")))));
    LoadStylePictures();
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
}

void frmCDorDVD::BuildControls() {
    const char* pictures[] = {"group_cd", "group_dvd"};
    const ChooserText captions[] = {ChooserText::CdDataDisc, ChooserText::DvdDataDisc};
    for (std::uint8_t i = 0; i < 2; ++i) {
        const int top = 3 + i * kRowHeight;
        m_picture1[i] = new MouseLabel(this);
        m_picture1[i]->setObjectName(QStringLiteral("Picture1(%1)").arg(i));
        m_picture1[i]->setGeometry(32, top, 56, 54);
        m_picture1[i]->setAlignment(Qt::AlignCenter);
        m_picture1[i]->SetBackColor(NormalColour());
        m_picture1[i]->setPixmap(Pictures::Load(QString::fromLatin1(pictures[i]), {48, 48}));
        // Under its picture, on one line: a caption never breaks inside a word.
        m_lblText[i] = new MouseLabel(this);
        m_lblText[i]->setObjectName(QStringLiteral("LblText(%1)").arg(i));
        m_lblText[i]->setGeometry(2, top + 54, 116, 18);
        m_lblText[i]->setAlignment(Qt::AlignCenter);
        m_lblText[i]->setText(QText(captions[i]));
        // The picture's accessible name is the built-in caption in every language.
        m_picture1[i]->ActAsButton(QString::fromUtf8(BuiltInText(captions[i])));
        connect(m_picture1[i], &MouseLabel::mouseMoved, this, [this, i] { Highlight(i); });
        connect(m_picture1[i], &MouseLabel::clicked, this, [this, i] { Choose(i); });
        connect(m_lblText[i], &MouseLabel::clicked, this, [this, i] { Choose(i); });
    }
}

void frmCDorDVD::LoadStylePictures() {
    const char* files[] = {"Group_CD.ico", "Group_DVD.ico"};
    for (int i = 0; i < 2; ++i) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(files[i]));
        if (!picture.isNull())
            m_picture1[i]->setPixmap(picture.scaled(48, 48, Qt::KeepAspectRatio));
    }
}

void frmCDorDVD::Highlight(std::uint8_t index) {
    if (index == m_hoverIndex) return;
    m_picture1[index]->SetBackColor(HighlightColour());
    if (m_hoverIndex < 2) m_picture1[m_hoverIndex]->SetBackColor(NormalColour());
    m_hoverIndex = index;
}

void frmCDorDVD::Choose(std::uint8_t index) {
    m_chosenMedium = index;
    close();
}

void frmCDorDVD::closeEvent(QCloseEvent* event) {
    event->accept();
    // A window closed twice (closing it from its own choice and from the
    // main window) reports its choice once.
    if (m_reported || m_chosenMedium >= 2) return;
    m_reported = true;
    emit chosen(m_chosenMedium);
}
