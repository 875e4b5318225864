#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "ISOWriterEvents.h"
#include "ImageSource.h"
#include "StreamImageReader.h"

class clsISOWriter;

// A data disc recorded straight from its project, with no temporary image:
// the image builder runs on a thread of its own and streams the image
// through a pipe into a StreamImageReader. Before the image's first byte
// every file is opened, checked and closed; a file that cannot be read, or
// that changed after that check, ends the stream at its turn and is named
// by Error().
class ProjectImageSource : public ImageSource, private ISOWriterEvents {
  public:
    // `writer` (the project's tree) is used by the building thread until Close.
    ProjectImageSource(clsISOWriter& writer, std::string name, std::size_t fifoBytes);
    ~ProjectImageSource() override;
    ProjectImageSource(const ProjectImageSource&) = delete;
    ProjectImageSource& operator=(const ProjectImageSource&) = delete;

    // Starts the build and waits for the image's first blocks (its length).
    // False (see Error()) when the files cannot be read or the pipe made.
    bool Open();

    std::int64_t Length() const override { return m_stream ? m_stream->Length() : 0; }
    bool DeclaresLength() const override { return true; }
    bool HasMore() const override { return m_stream && m_stream->HasMore(); }
    bool ReadChunk(std::span<std::uint8_t> chunk) override;
    std::span<const std::uint8_t> NextChunk(std::span<std::uint8_t> spare) override;
    // Stops the build (if it still runs) and waits for it.
    void Close() override;
    const std::string& Error() const override { return m_error; }
    std::string Name() const override { return m_name; }
    int BufferFill() const override { return m_stream ? m_stream->BufferFill() : -1; }
    std::int64_t Starved() const override { return m_stream ? m_stream->Starved() : 0; }

  private:
    bool CancelRequested() override { return m_stop; }
    // The builder's reason when it stopped the stream, else the reader's.
    void TakeError();

    clsISOWriter& m_writer;
    std::string m_name;
    std::size_t m_fifoBytes;
    FileHandleRecord m_readEnd, m_writeEnd;  // the write end belongs to m_builder while it runs
    std::unique_ptr<StreamImageReader> m_stream;
    std::thread m_builder;
    std::atomic<bool> m_stop{false};
    std::string m_error;
};
