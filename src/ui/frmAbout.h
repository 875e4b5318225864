#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about window: product title, version with the build number, and the
// test-phase notice. Opened modeless from the help menus.
class frmAbout : public QWidget {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Shows the one about window of the program (creating it when needed),
    // centred on the main window.
    static frmAbout* ShowWindow();

    // "1.00  Beta6 (Build:0042)"
    static QString VersionText(int buildNumber);
    // The notice as shown: the first grave accent of `text` (a language file
    // value) becomes a paragraph break.
    static QString NoticeText(const QString& text);

  private:
    void BuildControls();
    void CentreOnMainWindow();

    QLabel* m_label1;
    QLabel* m_label2;
    QLabel* m_lblVersion;
    QLabel* m_label3;
    QLabel* m_picture1;
    QPushButton* m_cmdOK;
};
