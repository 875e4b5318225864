#include "FileExamination.h"

#include <algorithm>
#include <optional>

#include "FileSource.h"
#include "clsISOFile.h"

void FileExamination::Run(FileSource& source) {
    std::vector<Failure> failures;
    // Files made together share their second: its local time is reused.
    std::optional<std::int64_t> lastEpoch;
    LocalDateTime lastDate;
    for (std::size_t first; (first = m_next.fetch_add(kRunFiles)) < m_files.size();) {
        const std::size_t end = std::min(first + kRunFiles, m_files.size());
        for (std::size_t i = first; i < end; ++i) {
            clsISOFile& file = *m_files[i];
            const auto facts = source.Examine(file.LocalPath());
            if (!facts) {
                failures.push_back({i, source.LastProblem()});
                continue;
            }
            file.SetSize(facts->length);
            if (facts->creationEpoch && facts->creationEpoch != lastEpoch) {
                lastEpoch = facts->creationEpoch;
                lastDate = LocalDateTime::FromEpoch(*lastEpoch);
            }
            if (facts->creationEpoch) file.SetCreationDate(lastDate);
        }
    }
    source.CloseHeld();  // the files are opened afresh for writing
    const std::lock_guard lock(m_mutex);
    m_failures.insert(m_failures.end(), failures.begin(), failures.end());
}

std::vector<FileExamination::Failure> FileExamination::Failures() {
    const std::lock_guard lock(m_mutex);
    std::ranges::sort(m_failures, {}, &Failure::index);
    return m_failures;
}
