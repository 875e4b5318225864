#include "SpeedListBox.h"

SpeedListBox::SpeedListBox(Fill fill, QWidget* parent) : QComboBox(parent), m_fill(fill) {}

SpeedListBox::Medium SpeedListBox::Follow(const std::string& drive) {
    if (!m_presence.ReadyToStart(drive)) {
        Forget();
        return Medium::Absent;
    }
    if (m_valid && !m_presence.NewMedium()) return Medium::Present;
    clear();
    for (const SpeedEntry& entry : m_fill(drive))
        addItem(QString::fromStdString(entry.text), entry.factor);
    setCurrentIndex(0);
    m_valid = true;
    return Medium::Appeared;
}

void SpeedListBox::Forget() {
    clear();
    m_valid = false;
}

SpeedEntry SpeedListBox::Selected() const {
    if (currentIndex() < 0) return DefaultSpeedEntry();
    return {currentText().toStdString(), currentData().toInt()};
}
