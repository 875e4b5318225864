#include "ParallelReporter.h"

#include "CliTexts.h"
#include "JobLog.h"
#include "ParallelLines.h"
#include "StopSignals.h"

std::string ParallelReporter::Prefix() const {
    return Text(CliText::DriveLine, {std::to_string(m_lines.Number(m_index)), ""});
}

void ParallelReporter::PhaseText(const std::string& text) {
    JobLog::Note(Prefix() + text);
}

void ParallelReporter::Progress(int value) {
    m_lines.Progress(m_index, value);
}

MessageAnswer ParallelReporter::Message(const std::string& text, const std::string& title,
                                        MessageIcon /*icon*/, MessageButtons buttons) {
    JobLog::Note(Prefix() + title + ": " + text);
    m_lines.Line(m_index, title + ": " + text);
    if (buttons == MessageButtons::YesNo) m_lines.Line(m_index, Text(CliText::NotAnswered));
    return CautiousAnswer(buttons);
}

bool ParallelReporter::CancelRequested() {
    return StopSignalled();
}
