#pragma once

#include <string>

// Icons and buttons of a message box an engine asks for.
enum class MessageIcon { Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The answer of a box nobody chose in: No, Cancel, or OK (a box closed by the
// program, a question asked where nobody can answer it).
inline MessageAnswer CautiousAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

// How a long operation (image build, burn, copy, erase, audio) reports to
// whoever runs it: a window (through queued signals), the command line, or a
// test. Texts are UTF-8. Every call comes from the engine's own thread.
class EngineReporter {
  public:
    virtual ~EngineReporter() = default;
    // Status bar panel 1: the phase ("Writing...", "SYNCHRONIZE CACHE failed.").
    virtual void PhaseText(const std::string& text) = 0;
    // Status bar panel 2: the percentage text ("42%").
    virtual void PercentText(const std::string& text) = 0;
    // Status bar panel 3: elapsed time "hh:mm:ss".
    virtual void ElapsedText(const std::string& text) = 0;
    // Progress bar value (0..100; values outside are ignored by the display).
    virtual void Progress(int value) = 0;
    // A message box; blocks until it is answered.
    virtual MessageAnswer Message(const std::string& text, const std::string& title,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // Fill levels of a recording's buffers, in percent: the program's FIFO
    // between the image's source and the writing (-1: none) and the drive's
    // own buffer (-1: the drive does not tell).
    virtual void BufferLevels(int fifoPercent, int drivePercent) {
        (void)fifoPercent;
        (void)drivePercent;
    }
    // True once the user asked to stop (a window's Cancel, Ctrl-C on the command
    // line). Engines ask between blocks and stop at the next safe point.
    virtual bool CancelRequested() { return false; }
};
