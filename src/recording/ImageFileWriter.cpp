#include "ImageFileWriter.h"

namespace mfa = modFileAccess;

namespace {
// Large enough that a copy of 2048-byte sectors costs few system calls.
constexpr std::size_t kBufferSize = 1 << 20;
}  // namespace

bool ImageFileWriter::Create(const std::string& path) {
    Discard();
    m_path = path;
    m_error.clear();
    if (!m_output.Create(path)) return Fail(m_output.Error());
    m_buffer.reserve(kBufferSize);
    return true;
}

bool ImageFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (m_output.File().handle == -1) return false;
    if (m_buffer.size() + bytes.size() > kBufferSize && !Flush()) return false;
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    return true;
}

bool ImageFileWriter::Flush() {
    const auto size = static_cast<std::int64_t>(m_buffer.size());
    if (mfa::FileWrite(m_output.File(), m_buffer.data(), size) != size)
        return Fail("write error (" + mfa::LastErrorText() + ")");
    m_buffer.clear();
    return true;
}

bool ImageFileWriter::Commit() {
    if (m_output.File().handle == -1 || !Flush()) return false;
    if (!m_output.Commit()) return Fail(m_output.Error());
    return true;
}

void ImageFileWriter::Discard() {
    m_output.Discard();
    m_buffer.clear();
}

bool ImageFileWriter::Fail(const std::string& text) {
    m_error = text;
    return false;
}
