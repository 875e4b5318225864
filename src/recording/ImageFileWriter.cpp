#include "ImageFileWriter.h"

bool ImageFileWriter::Create(const std::string& path) {
    Discard();
    m_path = path;
    m_error.clear();
    if (!m_output.Create(path)) return Fail(m_output.Error());
    m_image = std::make_unique<ImageOutput>(m_output.File());
    return true;
}

bool ImageFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (!m_image) return false;
    return m_image->Write(bytes) || Fail(m_image->Problem());
}

bool ImageFileWriter::Commit() {
    if (!m_image) return false;
    if (!m_image->Finish()) return Fail(m_image->Problem());
    m_image.reset();
    if (!m_output.Commit()) return Fail(m_output.Error());
    return true;
}

void ImageFileWriter::Discard() {
    m_image.reset();
    m_output.Discard();
}

bool ImageFileWriter::Fail(const std::string& text) {
    m_error = text;
    return false;
}
