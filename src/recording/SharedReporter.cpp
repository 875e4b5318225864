#include "SharedReporter.h"

void SharedReporter::PhaseText(const std::string& text) {
    if (!Shows()) return;
    const std::lock_guard lock(m_lock);
    m_inner.PhaseText(text);
}

void SharedReporter::PercentText(const std::string& text) {
    if (!Shows()) return;
    const std::lock_guard lock(m_lock);
    m_inner.PercentText(text);
}

void SharedReporter::ElapsedText(const std::string& text) {
    if (!Shows()) return;
    const std::lock_guard lock(m_lock);
    m_inner.ElapsedText(text);
}

void SharedReporter::Progress(int value) {
    if (!Shows()) return;
    const std::lock_guard lock(m_lock);
    m_inner.Progress(value);
}

MessageAnswer SharedReporter::Message(const std::string& text, const std::string& title,
                                      MessageIcon icon, MessageButtons buttons) {
    if (m_stopped) return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    const std::lock_guard lock(m_lock);
    return m_inner.Message(text, title, icon, buttons);
}

void SharedReporter::BufferLevels(int fifoPercent, int drivePercent) {
    if (!Shows()) return;
    const std::lock_guard lock(m_lock);
    m_inner.BufferLevels(fifoPercent, drivePercent);
}

bool SharedReporter::CancelRequested() {
    if (!Shows()) return m_stopped;
    const std::lock_guard lock(m_lock);
    return m_inner.CancelRequested();
}
