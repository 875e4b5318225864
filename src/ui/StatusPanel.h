#pragma once

#include <QLabel>

// A panel of a window's status bar. A text wider than the panel ends in "…"
// at the panel's edge instead of being cut off under its neighbour, and its
// tool tip then shows the whole text.
class StatusPanel : public QLabel {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent = nullptr) : QLabel(parent) {}

    // The text as the panel shows it: whole, or cut with "…" to its width.
    QString ShownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};
