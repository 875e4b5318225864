#pragma once

#include <QFrame>
#include <array>
#include <cstdint>

class MouseLabel;

// The chooser that pops up beside the data disc task of the main window and
// asks whether the data disc is a CD or a DVD.
class frmCDorDVD : public QFrame {
    Q_OBJECT
  public:
    // `owner`: the main window; the chooser stays above it.
    explicit frmCDorDVD(QWidget* owner = nullptr);

    // 0 CD, 1 DVD, 2 nothing chosen (yet).
    std::uint8_t ChosenMedium() const { return m_chosenMedium; }
    // The highlighted picture: 0, 1, or 2 for none.
    std::uint8_t HoverIndex() const { return m_hoverIndex; }

    // Palette entries 2 (green) and 15 (bright white) of the 16-colour console palette.
    static QColor HighlightColour() { return QColor(0, 128, 0); }
    static QColor NormalColour() { return QColor(255, 255, 255); }

  signals:
    // The window closed after a choice (ChosenMedium below 2).
    void chosen(int medium);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void LoadStylePictures();
    void Highlight(std::uint8_t index);
    void Choose(std::uint8_t index);

    std::array<MouseLabel*, 2> m_picture1{};
    std::array<MouseLabel*, 2> m_lblText{};
    std::uint8_t m_chosenMedium = 2;
    std::uint8_t m_hoverIndex = 2;
    bool m_reported = false;
};
