// The sizes, volume fields, creation date and build of a data disc project.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "DiscProject.h"
#include "EngineReporter.h"
#include "SizeText.h"
#include "UnicodeText.h"
#include "clsISOWriter.h"

namespace {
constexpr std::int64_t kEmptyImageSize = 204800;
// An 80-minute CD (360,000 sectors) and a single-layer DVD (2,295,104 sectors).
constexpr std::int64_t kCdCapacity = 360000LL * 2048;
constexpr std::int64_t kDvdCapacity = 2295104LL * 2048;

// How the project reaches one volume field of the writer. The Joliet limits
// keep the last character whole: the descriptor zeroes the field's last byte.
struct FieldAccess {
    std::string (clsISOWriter::*get)(bool) const;
    void (clsISOWriter::*set)(const std::string&, bool);
    int isoLength, jolietLength;
};
constexpr FieldAccess kFields[DiscProject::kFieldCount] = {
    {&clsISOWriter::VolumeID, &clsISOWriter::SetVolumeID, 32, 15},
    {&clsISOWriter::SystemID, &clsISOWriter::SetSystemID, 32, 15},
    {&clsISOWriter::ApplicationID, &clsISOWriter::SetApplicationID, 128, 63},
    {&clsISOWriter::PublisherID, &clsISOWriter::SetPublisherID, 128, 63},
    {&clsISOWriter::DataPreparerID, &clsISOWriter::SetDataPreparerID, 128, 63},
    {&clsISOWriter::VolumeSetID, &clsISOWriter::SetVolumeSetID, 128, 63},
    {&clsISOWriter::CopyRightID, &clsISOWriter::SetCopyRightID, 37, 18},
};

const FieldAccess& Access(DiscProject::Field field) {
    return kFields[static_cast<int>(field)];
}

std::string TwoDigits(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// True when `text` has the digits ("d") and separators of `shape`.
bool Shaped(const std::string& text, std::string_view shape) {
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                            : text[i] != shape[i])
            return false;
    return true;
}

// Turns the writer's events into the window's phase texts and progress bar.
class BuildProgress : public ISOWriterEvents {
  public:
    BuildProgress(EngineReporter& reporter, const DiscProject::BuildTexts& texts)
        : m_reporter(reporter), m_texts(texts) {}

    void BuildingFilesystem() override { m_reporter.PhaseText(m_texts.buildingFilesystem); }
    void WritingPathTable() override { m_reporter.PhaseText(m_texts.writingPathTable); }
    void WritingDirectoryRecords() override { m_reporter.PhaseText(m_texts.writingDirectories); }
    void WritingFiles(std::int32_t percent) override {
        // The estimate can be passed; the texts never show more than 100 %.
        const int shown = std::clamp(percent, 0, 100);
        if (shown == m_shown) return;
        m_shown = shown;
        m_reporter.PhaseText(m_texts.writingFiles + " (" + std::to_string(shown) + "%)");
        m_reporter.Progress(shown);
    }
    void WritingFinished() override { m_reporter.PhaseText("Ready"); }
    bool CancelRequested() override { return m_reporter.CancelRequested(); }

  private:
    EngineReporter& m_reporter;
    const DiscProject::BuildTexts& m_texts;
    int m_shown = -1;
};
}  // namespace

std::int64_t DiscProject::ImageSize() const {
    return m_writer->ImageSize();
}

std::int64_t DiscProject::Capacity() const {
    if (ContinuesDisc()) return m_freeBytes;
    if (m_blankCapacity > 0) return m_blankCapacity;
    return m_kind == DiscKind::Dvd ? kDvdCapacity : kCdCapacity;
}

bool DiscProject::IsEmpty() const {
    return ImageSize() <= kEmptyImageSize;
}

std::string DiscProject::SizeLine(bool newProject) const {
    const std::string image = newProject ? "0 KB" : SizeText(ImageSize());
    return "Size: " + image + " / " + SizeText(Capacity());
}

int DiscProject::MaxLength(Field field, bool joliet) {
    return joliet ? Access(field).jolietLength : Access(field).isoLength;
}

std::string DiscProject::FieldText(Field field, bool joliet) const {
    return ((*m_writer).*Access(field).get)(joliet);
}

std::string DiscProject::Limited(Field field, bool joliet, const std::string& text) {
    // The window's boxes count UTF-16 units; so does the limit.
    const std::u16string units = UnicodeText::Utf8ToUtf16(text);
    return UnicodeText::Utf16ToUtf8(
        std::u16string_view(units).substr(0, static_cast<std::size_t>(MaxLength(field, joliet))));
}

std::string DiscProject::CommitField(Field field, bool joliet, const std::string& text) {
    const std::string value = Limited(field, joliet, text);
    if (field == Field::VolumeID) {
        // The boxes are committed again when the form changes: only a text
        // that differs from the stored one is an edit.
        if (joliet && value != FieldText(field, true)) m_jolietLabelEdited = true;
        if (!joliet && !m_jolietLabelEdited && text != FieldText(field, false))
            m_writer->SetVolumeID(Limited(field, true, text), true);
    }
    ((*m_writer).*Access(field).set)(value, joliet);
    return FieldText(field, joliet);
}

std::string DiscProject::DateText() const {
    const LocalDateTime& date = m_writer->VolumeCreation();
    return TwoDigits("%04d-%02d-%02d", date.year, date.month, date.day);
}

std::string DiscProject::TimeText() const {
    const LocalDateTime& date = m_writer->VolumeCreation();
    return TwoDigits("%02d:%02d:%02d", date.hour, date.minute, date.second);
}

void DiscProject::SetCreationNow() {
    m_writer->SetVolumeCreation(LocalDateTime::Now());
}

bool DiscProject::SetCreation(const std::string& date, const std::string& time) {
    // Whole fields only: a text still being typed ("2024-02-3") is no date yet.
    if (!Shaped(date, "dddd-dd-dd") || !Shaped(time, "dd:dd:dd")) return false;
    const auto value = LocalDateTime::Parse(date + " " + time);
    if (value) m_writer->SetVolumeCreation(*value);
    return value.has_value();
}

DiscProject::BuildResult DiscProject::Build(const std::string& path, EngineReporter& reporter,
                                            const BuildTexts& texts) {
    BuildProgress progress(reporter, texts);
    m_writer->SetEvents(&progress);
    BuildResult result;
    result.written = m_writer->SaveISO(path);
    result.cancelled = m_writer->Cancelled();
    m_writer->SetEvents(nullptr);
    result.error = m_writer->LastError();
    for (const UnreadableFile& file : m_writer->UnreadableFiles())
        result.unreadableFiles.push_back(file.path);
    return result;
}
