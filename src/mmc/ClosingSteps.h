#pragma once

#include <cstdint>
#include <string>

class EngineReporter;

// The steps that end a recording: SYNCHRONIZE CACHE, CLOSE TRACK and CLOSE
// SESSION, each shown in panel 1 as it starts and again with its failure
// text when the drive refuses it. Deferred write errors surface in these
// steps, so the first refused step that matters is the recording's failure,
// never followed by the completion message; a refused close that the medium
// does not need is kept as a warning. The texts are the calling window's own.
class ClosingSteps {
  public:
    struct Texts {
        std::string closingTrack, trackFailed, closingSession, sessionFailed;
    };

    ClosingSteps(EngineReporter& reporter, Texts texts);

    void Flush(const std::string& drive);
    void CloseTrack(const std::string& drive, std::uint16_t track, bool matters = true);
    void CloseSession(const std::string& drive, std::int32_t closeFunction, std::uint16_t track,
                      bool matters = true);
    // A failure found around the closing (a differing track start, a failed
    // verification): shown in panel 1 and kept if it is the first.
    void NoteFailure(const std::string& panelText);
    void Clear();

    [[nodiscard]] const std::string& Failure() const { return m_failure; }
    [[nodiscard]] const std::string& Warning() const { return m_warning; }

  private:
    void Check(bool ok, const std::string& failedText, bool matters);

    EngineReporter& m_reporter;
    Texts m_texts;
    std::string m_failure;  // the first failed step that matters, as panel 1 showed it
    std::string m_warning;  // the first refused close the medium needs none of
};
