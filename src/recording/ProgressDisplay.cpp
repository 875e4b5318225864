#include "ProgressDisplay.h"

#include "EngineReporter.h"

std::string ProgressDisplay::PercentText(std::int64_t value) {
    return (value < 100 ? std::to_string(value + 1) : std::string("100")) + "%";
}

void ProgressDisplay::Update(std::int64_t done, std::int64_t total) {
    // Integer percent equals the integer part of the bar's value, without
    // floating-point rounding at whole percents.
    const std::int64_t value = total > 0 ? done * 100 / total : 100;
    if (value >= 0 && value <= 100 && value != m_bar) {
        m_bar = static_cast<int>(value);
        m_reporter.Progress(m_bar);
    }
    std::string percent = PercentText(value);
    if (percent != m_percent) {
        m_percent = std::move(percent);
        m_reporter.PercentText(m_percent);
    }
    std::string elapsed = m_elapsed.Text();
    if (elapsed != m_elapsedText) {
        m_elapsedText = std::move(elapsed);
        m_reporter.ElapsedText(m_elapsedText);
    }
}
