#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CliArguments.h"
#include "CliCommand.h"
#include "ISOWriterEvents.h"
#include "StopSignals.h"
#include "TerminalReporter.h"
#include "clsISODirectory.h"

class clsISOWriter;

// Shows the writer's events as the terminal's progress bar.
class ImageBuildProgress : public ISOWriterEvents {
  public:
    explicit ImageBuildProgress(TerminalReporter& reporter) : m_reporter(reporter) {}
    void BuildingFilesystem() override { m_reporter.PhaseText("Building the file system..."); }
    void WritingPathTable() override { m_reporter.PhaseText("Writing path tables..."); }
    void WritingDirectoryRecords() override { m_reporter.PhaseText("Writing directories..."); }
    void WritingFiles(std::int32_t percent) override {
        const int shown = percent > 100 ? 100 : percent;
        if (shown == m_percent) return;
        m_percent = shown;
        m_reporter.PhaseText("Writing files...");
        m_reporter.PercentText(std::to_string(shown) + "%");
        m_reporter.Progress(shown);
    }
    void WritingFinished() override {
        m_reporter.PhaseText("Ready");
        m_reporter.Finish();
    }
    bool CancelRequested() override { return StopSignalled(); }

  private:
    TerminalReporter& m_reporter;
    int m_percent = -1;
};

// The volume options of the commands that build an image.
struct VolumeOptions {
    std::optional<std::string> volumeId, jolietVolumeId, date;
};
VolumeOptions TakeVolumeOptions(CliArguments& arguments);
// Puts them into `writer`; false after printing why the date is wrong.
bool ApplyVolumeFields(CliContext& context, const VolumeOptions& options, clsISOWriter& writer);

// Tells what adding local files left out or changed; true when all of it
// could be read.
bool ShowNotes(CliContext& context, const std::vector<SkippedEntry>& notes);
