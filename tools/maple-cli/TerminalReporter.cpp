#include "TerminalReporter.h"

#include <iostream>
#include <ostream>

#include "CliTexts.h"
#include "CopyTexts.h"
#include "DiscVerifier.h"
#include "EngineMessages.h"
#include "JobLog.h"

#include "MonotonicClock.h"
#include "StopSignals.h"
#include "SystemAccess.h"

TerminalReporter::TerminalReporter(std::ostream& err)
    : m_err(err), m_terminal(SystemAccess::IsTerminal(2)), m_asks(SystemAccess::IsTerminal(0)) {}

void TerminalReporter::PhaseText(const std::string& text) {
    JobLog::Note(text);
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

void TerminalReporter::BufferLevels(int fifoPercent, int drivePercent) {
    m_buffers = ProgressLine::BuffersText(fifoPercent, drivePercent);
    Redraw(false);
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
                       (m_buffers.empty() ? "" : m_buffers + " ") + m_phase;
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
    JobLog::Note(title + ": " + text);
    if (icon == MessageIcon::Exclamation || icon == MessageIcon::Critical) ++m_warnings;
    m_err << title << ": " << (m_asks ? TerminalWording(text) : text) << "\n";
    switch (buttons) {
        case MessageButtons::YesNo: {
            if (m_yes) {
                m_err << Text(CliText::AnsweredYes) << "\n";
                return MessageAnswer::Yes;
            }
            if (!m_asks) {
                m_err << Text(CliText::NotAnswered) << "\n";
                return MessageAnswer::No;
            }
            m_err << "[y/N] " << std::flush;
            const std::optional<std::string> answer = ReadAnswer();
            const bool yes =
                answer && !answer->empty() && (answer->front() == 'y' || answer->front() == 'Y');
            return yes ? MessageAnswer::Yes : MessageAnswer::No;
        }
        case MessageButtons::OkCancel:
            if (m_yes || !m_asks) return m_yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
            return ReadAnswer() ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

std::optional<std::string> TerminalReporter::ReadAnswer() {
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return line;
}

std::string TerminalReporter::TerminalWording(const std::string& text) const {
    if (text == Text(CopyText::InsertBlank)) return Text(EngineMessage::InsertBlankEnter);
    if (text == DiscVerifier::InsertPrompt()) return Text(EngineMessage::VerifyInsertEnter);
    return text;
}

bool TerminalReporter::CancelRequested() {
    return StopSignalled();
}
