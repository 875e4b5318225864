#include "SpeedListBox.h"

SpeedListBox::SpeedListBox(Fill fill, QWidget* parent) : QComboBox(parent), m_fill(fill) {
    connect(this, &QComboBox::activated, this,
            [this](int index) { m_chosenFactor = itemData(index).toInt(); });
}

SpeedListBox::Medium SpeedListBox::Follow(const std::string& drive) {
    if (!m_presence.ReadyToStart(drive)) {
        Forget();
        return Medium::Absent;
    }
    if (m_valid && !m_presence.NewMedium()) return Medium::Present;
    clear();
    const SpeedList speeds = m_fill(drive);
    for (const SpeedEntry& entry : speeds)
        addItem(QString::fromStdString(entry.text), entry.factor);
    setCurrentIndex(static_cast<int>(KeptSpeedIndex(speeds, m_chosenFactor)));
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
