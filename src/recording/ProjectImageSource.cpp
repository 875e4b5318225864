#include "ProjectImageSource.h"

#include <vector>

#include "StreamPipe.h"
#include "clsISOWriter.h"

ProjectImageSource::ProjectImageSource(clsISOWriter& writer, std::string name,
                                       std::size_t fifoBytes)
    : m_writer(writer), m_name(std::move(name)), m_fifoBytes(fifoBytes) {}

ProjectImageSource::~ProjectImageSource() {
    Close();
}

bool ProjectImageSource::Open() {
    if (!OpenStreamPipe(m_readEnd, m_writeEnd)) {
        m_error = "cannot be streamed (" + modFileAccess::LastErrorText() + ")";
        return false;
    }
    m_builder = std::thread([this] {
        m_writer.SetEvents(this);
        (void)m_writer.SaveISOToStream(m_writeEnd);
        m_writer.SetEvents(nullptr);
        modFileAccess::FileClose(m_writeEnd);  // the reader sees the end
    });
    m_stream = std::make_unique<StreamImageReader>(m_readEnd, m_name, m_fifoBytes);
    if (m_stream->Open(std::nullopt)) return true;
    TakeError();
    Close();
    return false;
}

bool ProjectImageSource::ReadChunk(std::span<std::uint8_t> chunk) {
    if (m_stream->ReadChunk(chunk)) return true;
    TakeError();
    return false;
}

std::span<const std::uint8_t> ProjectImageSource::NextChunk(std::span<std::uint8_t> spare) {
    const std::span<const std::uint8_t> chunk = m_stream->NextChunk(spare);
    if (chunk.empty()) TakeError();
    return chunk;
}

void ProjectImageSource::TakeError() {
    m_error = m_stream->Error();
    // A stream that ended early was ended by the builder: its end is near,
    // and its reason names the file.
    if (m_builder.joinable()) {
        m_stop = true;
        Close();
    }
    if (!m_writer.LastError().empty() && !m_writer.Cancelled()) m_error = m_writer.LastError();
}

void ProjectImageSource::Close() {
    if (m_stream) m_stream->Close();
    if (!m_builder.joinable()) return;
    // The builder may be waiting for room in the pipe: it is read empty until
    // the builder, asked to stop, closes its end.
    m_stop = true;
    std::vector<std::uint8_t> drain(64 * 1024);
    while (modFileAccess::FileRead(m_readEnd, drain.data(),
                                   static_cast<std::int64_t>(drain.size())) > 0) {
    }
    m_builder.join();
    modFileAccess::FileClose(m_readEnd);
}
