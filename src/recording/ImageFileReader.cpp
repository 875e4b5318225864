#include "ImageFileReader.h"

#include <algorithm>

#include "ImageContent.h"

namespace mfa = modFileAccess;

ImageFileReader::~ImageFileReader() {
    Close();
}

bool ImageFileReader::Open(const std::string& path) {
    Close();
    m_path = path;
    const auto facts = mfa::FileInfo(path);
    if (facts && facts->kind != mfa::EntryKind::RegularFile) {
        m_error = "is not a regular file";
        return false;
    }
    m_file = mfa::FileOpen(path, mfa::Access::Read, mfa::Share::ReadWrite,
                           mfa::Disposition::OpenExisting);
    if (m_file.handle == -1 || !facts) {
        m_error = "cannot be opened (" + mfa::LastErrorText() + ")";
        Close();
        return false;
    }
    m_length = facts->size;
    m_position = 0;
    m_declares = DeclaredImageBlocks(path) > 0;
    m_error.clear();
    return true;
}

bool ImageFileReader::ReadChunk(std::span<std::uint8_t> chunk) {
    const std::int64_t wanted =
        std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), m_length - m_position);
    std::int64_t got = 0;
    while (got < wanted) {
        const std::int64_t n = mfa::FileRead(m_file, chunk.data() + got, wanted - got);
        if (n <= 0) {
            m_error = n < 0 ? "cannot be read (" + mfa::LastErrorText() + ")"
                            : std::string("ended before its length (the file shrank)");
            return false;
        }
        got += n;
    }
    std::fill(chunk.begin() + got, chunk.end(), std::uint8_t{0});
    m_position += got;
    return true;
}

void ImageFileReader::Close() {
    mfa::FileClose(m_file);
}

std::string ImageFileReader::Check(const std::string& path, std::int64_t minimumLength) {
    ImageFileReader reader;
    if (!reader.Open(path)) return reader.Error();
    if (reader.Length() < minimumLength)
        return "is shorter than " + std::to_string(minimumLength) + " bytes";
    return {};
}
