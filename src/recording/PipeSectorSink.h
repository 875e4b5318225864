#pragma once

#include <string>

#include "SectorSink.h"
#include "modFileAccess.h"

// The sectors of a disc copy written into a pipe, which a recording on
// another drive reads. The pipe's end stays owned by the caller.
class PipeSectorSink : public SectorSink {
  public:
    PipeSectorSink(FileHandleRecord& pipe, std::string name)
        : m_pipe(pipe), m_name(std::move(name)) {}

    bool Write(std::span<const std::uint8_t> bytes) override;
    // The reading side sees the stream end early and fails its recording.
    void Discard() override {}
    const std::string& Path() const override { return m_name; }
    const std::string& Error() const override { return m_error; }

  private:
    FileHandleRecord& m_pipe;
    std::string m_name;
    std::string m_error;
};
