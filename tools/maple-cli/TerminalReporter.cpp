#include "TerminalReporter.h"

#include <ostream>

#include "MonotonicClock.h"
#include "StopSignals.h"
#include "SystemAccess.h"

TerminalReporter::TerminalReporter(std::ostream& err)
    : m_err(err), m_terminal(SystemAccess::IsTerminal(2)) {}

void TerminalReporter::PhaseText(const std::string& text) {
    m_phase = text;
    Redraw();
}

void TerminalReporter::PercentText(const std::string& text) {
    m_percent = text;
    Redraw(false);
}

void TerminalReporter::ElapsedText(const std::string& text) {
    m_elapsed = text;
    Redraw(false);
}

void TerminalReporter::Progress(int value) {
    if (value == m_progress) return;
    if (m_progress < 0) m_line.Start(MonotonicMilliseconds());
    m_progress = value;
    Redraw(value >= 100);
}

void TerminalReporter::Redraw(bool forced) {
    if (!m_terminal) return;
    const std::int64_t now = MonotonicMilliseconds();
    if (!m_line.DueForRedraw(now) && !forced) return;
    constexpr int kWidth = 30;
    const int value = m_progress < 0 ? 0 : (m_progress > 100 ? 100 : m_progress);
    const int filled = value * kWidth / 100;
    std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                       m_percent + " " + m_elapsed + " " + m_line.Text(m_progress, now) + " " +
                       m_phase;
    m_err << line << "\033[K" << std::flush;
    m_lineOpen = true;
}

void TerminalReporter::Finish() {
    if (m_lineOpen) m_err << "\n";
    m_lineOpen = false;
}

MessageAnswer TerminalReporter::Message(const std::string& text, const std::string& title,
                                        MessageIcon icon, MessageButtons buttons) {
    Finish();
    if (icon == MessageIcon::Exclamation || icon == MessageIcon::Critical) ++m_warnings;
    m_err << title << ": " << text << "\n";
    switch (buttons) {
        case MessageButtons::YesNo:
            m_err << (m_yes ? "(answered Yes)\n" : "(answered No; pass --yes to confirm)\n");
            return m_yes ? MessageAnswer::Yes : MessageAnswer::No;
        case MessageButtons::OkCancel:
            return m_yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

bool TerminalReporter::CancelRequested() {
    return StopSignalled();
}
