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
    const std::int64_t shown = value < 100 ? value : 100;
    if (shown != m_shownValue) {
        m_shownValue = shown;
        m_reporter.PercentText(PercentText(shown));
    }
    const std::int64_t seconds = m_elapsed.Seconds();
    if (seconds != m_shownSeconds) {
        m_shownSeconds = seconds;
        m_reporter.ElapsedText(ElapsedTime::Format(seconds));
    }
}
