#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "DiscInfoView.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
struct CdText;
class QTimer;
class EngineRunner;

// The disc information window: media type, sessions, last track, disc and
// last-session state of the disc in the current drive, kept up to date by a
// 200 ms timer while it is open. Modeless, opened from the tools menus.
class frmDiscInfo : public QWidget {
    Q_OBJECT
  public:
    explicit frmDiscInfo(QWidget* parent = nullptr);

    // Shows the one disc information window of the program, creating it
    // (and running its first query) when needed.
    static frmDiscInfo* ShowWindow();

    // Queries `drive` and fills the five value labels.
    void ShowDiscInfo(const std::string& drive);

    // True while "close the disc" runs.
    bool Closing() const;

  signals:
    // "Close the disc" has ended (or was not confirmed).
    void closeFinished();

  public slots:
    // One tick of Timer1.
    void Timer1Tick();

  private:
    void BuildControls();
    void Load();
    void ShowTexts(const DiscInfoTexts& texts);
    // An audio CD's CD-TEXT in its own frame, which shows only when there is
    // some: the window grows by it.
    void ShowCdText(const CdText& text);
    // "Close the disc": asks, then finishes the appendable disc on a worker.
    void CloseDisc();

    DiscInfoView m_view;
    // The drive the labels belong to: another selection starts afresh.
    std::string m_drive;
    QGroupBox* m_frameInfo = nullptr;
    std::array<QLabel*, 5> m_captions{};
    std::array<QLabel*, 5> m_values{};
    QGroupBox* m_frameCdText = nullptr;
    QTreeWidget* m_lvwCdText = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QPushButton* m_cmdCloseDisc = nullptr;  // enabled while the disc is appendable
    EngineRunner* m_runner = nullptr;
    QTimer* m_timer1 = nullptr;
};
