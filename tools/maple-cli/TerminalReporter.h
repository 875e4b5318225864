#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "EngineReporter.h"
#include "ProgressLine.h"

// Engine reports on a terminal: a one-line progress bar on standard error
// when it is a terminal (nothing otherwise), messages as text lines.
// Questions get the answer set with SetAnswer (the command's --yes flag);
// without it they are asked on a terminal (standard input) and answered No
// or Cancel without one. Prompts that ask to click OK say to press Enter
// there. A stop signal (Ctrl-C) is the cancel request.
class TerminalReporter : public EngineReporter {
  public:
    explicit TerminalReporter(std::ostream& err);

    void PhaseText(const std::string& text) override;
    void PercentText(const std::string& text) override;
    void ElapsedText(const std::string& text) override;
    void Progress(int value) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    bool CancelRequested() override;
    void BufferLevels(int fifoPercent, int drivePercent) override;

    // Answer given to Yes/No and OK/Cancel questions (default: No / Cancel).
    void SetAnswer(bool yes) { m_yes = yes; }
    // The job's size and the drive's 1x speed in bytes per second, so that
    // the progress line shows the speed (see ProgressLine).
    void SetJob(std::int64_t bytes, std::int64_t bytesPerX) { m_line.SetJob(bytes, bytesPerX); }
    // Ends the progress line so the next output starts on a fresh line.
    void Finish();
    // Messages shown so far with the exclamation or critical icon.
    int WarningCount() const { return m_warnings; }

  private:
    // Draws the line; a draw that is not `forced` waits its turn (a few a second).
    void Redraw(bool forced = true);
    // The answer to a question typed on the terminal; nullopt at its end.
    std::optional<std::string> ReadAnswer();
    // The text a window shows, as it reads on a terminal ("press Enter").
    std::string TerminalWording(const std::string& text) const;

    std::ostream& m_err;
    bool m_terminal = false;
    bool m_asks = false;  // standard input is a terminal: questions are asked
    bool m_lineOpen = false;
    bool m_yes = false;
    int m_warnings = 0;
    int m_progress = -1;
    std::string m_phase, m_percent, m_elapsed, m_buffers;
    ProgressLine m_line;
};
