#include "ProgressLine.h"

#include <cstdio>

#include "CliTexts.h"

namespace {
constexpr std::int64_t kRedrawIntervalMs = 250;
}

void ProgressLine::SetJob(std::int64_t bytes, std::int64_t bytesPerX) {
    m_bytes = bytes;
    m_bytesPerX = bytesPerX;
}

void ProgressLine::Start(std::int64_t nowMs) {
    if (m_startMs < 0) m_startMs = nowMs;
}

std::string ProgressLine::Text(int percent, std::int64_t nowMs) const {
    const std::int64_t elapsedMs = nowMs - m_startMs;
    if (m_startMs < 0 || percent <= 0 || percent > 100 || elapsedMs <= 0) return {};
    char text[64];
    std::string line;
    if (m_bytes > 0 && m_bytesPerX > 0) {
        const double bytesPerSecond = m_bytes * (percent / 100.0) * 1000.0 / elapsedMs;
        std::snprintf(text, sizeof text, "%.1f× %.2f MB/s ", bytesPerSecond / m_bytesPerX,
                      bytesPerSecond / 1e6);
        line = text;
    }
    const std::int64_t leftSeconds = elapsedMs * (100 - percent) / percent / 1000;
    std::snprintf(
        text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(leftSeconds / 3600),
        static_cast<long long>(leftSeconds / 60 % 60), static_cast<long long>(leftSeconds % 60));
    return line + ::Text(CliText::TimeLeft, {text});
}

bool ProgressLine::DueForRedraw(std::int64_t nowMs) {
    if (m_lastDrawMs >= 0 && nowMs - m_lastDrawMs < kRedrawIntervalMs) return false;
    m_lastDrawMs = nowMs;
    return true;
}

std::string ProgressLine::BuffersText(int fifoPercent, int drivePercent) {
    std::string text;
    if (fifoPercent >= 0) text = ::Text(CliText::FifoLevel, {std::to_string(fifoPercent)});
    if (drivePercent >= 0)
        text += (text.empty() ? "" : " ") +
                ::Text(CliText::DriveBufferLevel, {std::to_string(drivePercent)});
    return text;
}
