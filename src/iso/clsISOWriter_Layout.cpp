// Layout: the walks of the tree, table sizes and the sector of every extent.
#include <deque>
#include <limits>
#include <thread>

#include "FileExamination.h"
#include "FileSections.h"
#include "FileSource.h"
#include "LocalFileSource.h"
#include "RecordBytes.h"
#include "SectorMath.h"
#include "UnicodeText.h"
#include "clsISOWriter.h"

namespace {
constexpr std::int64_t kReservedBytes = 204800;  // descriptors, tables and directories
constexpr std::size_t kMostDirectories = 65535;  // path table parent numbers are 16-bit

std::int64_t FilesSize(const clsISODirectory& directory) {
    std::int64_t total = 0;
    const clsISOFiles& files = directory.Files();
    for (int i = 0; i < files.count(); ++i)
        if (!files.File(i)->OnDisc()) total += SectorRoundUp(files.File(i)->Size());
    for (int i = 0; i < directory.SubDirectoryCount(); ++i)
        total += FilesSize(*directory.SubDirectory(i));
    return total;
}

int NameBytes(const std::string& dosName, const std::string& jolietName, bool joliet) {
    return static_cast<int>(joliet ? UnicodeText::Utf8ToUtf16(jolietName).size() * 2
                                   : dosName.size());
}

// Bytes of a directory's extent: ".", "..", then one record per child and
// per file, no record crossing a sector boundary.
std::int64_t ExtentBytes(const clsISODirectory& directory, bool joliet) {
    std::int64_t size = 2 * RecordBytes::DirectoryRecordLength(1);
    const auto add = [&size](int nameBytes, std::int64_t records) {
        const int record = RecordBytes::DirectoryRecordLength(nameBytes);
        for (std::int64_t i = 0; i < records; ++i) {
            if (size + record > SectorRoundUp(size)) size = SectorRoundUp(size);
            size += record;
        }
    };
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) {
        const clsISODirectory& child = *directory.SubDirectory(i);
        add(NameBytes(child.DOSName(), child.JolietName(), joliet), 1);
    }
    const clsISOFiles& files = directory.Files();
    for (int i = 0; i < files.count(); ++i) {
        const clsISOFile& file = *files.File(i);
        add(NameBytes(file.DOSName(), file.JolietName(), joliet), FileSections::Count(file.Size()));
    }
    return size;
}

std::int64_t PathTableBytes(const ImagePlan& plan, bool joliet) {
    std::int64_t total = RecordBytes::PathTableRecordLength(1);
    for (std::size_t i = 1; i < plan.directories.size(); ++i) {
        const clsISODirectory& directory = *plan.directories[i];
        total += RecordBytes::PathTableRecordLength(
            NameBytes(directory.DOSName(), directory.JolietName(), joliet));
    }
    return total;
}
}  // namespace

std::int64_t clsISOWriter::ImageSize() const {
    return FilesSize(*m_root) + kReservedBytes;
}

bool clsISOWriter::PlanImage(ImagePlan& plan, const std::string& target) {
    WalkTree(plan);
    // A folder listed only in part is as incomplete as a file read in part.
    for (const clsISODirectory* directory : plan.directories)
        if (!directory->ListingProblem().empty())
            m_unreadable.push_back({directory->ListedFolder(), directory->ListingProblem()});
    NameAndExamine(plan);
    return MakeLayout(plan) && !OutputIsSource(target, plan);
}

bool clsISOWriter::MakeLayout(ImagePlan& plan) {
    if (!CheckLimits(plan)) return false;
    PlanPathTables(plan);
    PlanExtents(plan);
    if (plan.volumeSpace < 0) {
        m_lastError = "the image would be larger than ISO 9660 can address";
        return false;
    }
    return true;
}

void clsISOWriter::WalkTree(ImagePlan& plan) const {
    std::vector<clsISODirectory*> pending{m_root.get()};
    while (!pending.empty()) {
        clsISODirectory* directory = pending.back();
        pending.pop_back();
        plan.directories.push_back(directory);
        // Files of an earlier session keep their data where it is.
        for (int i = 0; i < directory->Files().count(); ++i)
            if (!directory->Files().File(i)->OnDisc())
                plan.files.push_back(directory->Files().File(i));
        for (int i = directory->SubDirectoryCount() - 1; i >= 0; --i)
            pending.push_back(directory->SubDirectory(i));
    }
    // Path tables list level by level, each level in the order of the walk.
    std::deque<clsISODirectory*> queue{m_root.get()};
    while (!queue.empty()) {
        clsISODirectory* directory = queue.front();
        queue.pop_front();
        plan.tableOrder.push_back(directory);
        for (int i = 0; i < directory->SubDirectoryCount(); ++i)
            queue.push_back(directory->SubDirectory(i));
    }
    plan.unavailable.assign(plan.files.size(), false);
}

void clsISOWriter::NameAndExamine(ImagePlan& plan) {
    FileExamination examination(plan.files);
    {
        // Naming is work for the processor, examining the files work for the
        // system: the two run side by side, and once the names are given
        // this thread examines too, with a source of its own where the files
        // come from the local disk.
        const std::jthread examine([this, &examination] { examination.Run(*m_source); });
        AssignNames();
        if (m_source == m_localSource.get()) {
            LocalFileSource own;
            examination.Run(own);
        }
    }
    for (const FileExamination::Failure& failure : examination.Failures()) {
        plan.unavailable[failure.index] = true;
        m_unreadable.push_back({plan.files[failure.index]->LocalPath(), failure.reason});
    }
}

bool clsISOWriter::CheckLimits(const ImagePlan& plan) {
    if (plan.directories.size() <= kMostDirectories) return true;
    m_lastError = "the disc has " + std::to_string(plan.directories.size()) +
                  " directories; ISO 9660 allows at most 65535";
    return false;
}

void clsISOWriter::PlanPathTables(ImagePlan& plan) const {
    const std::int32_t j = m_joliet ? 1 : 0;
    plan.tableBytes = PathTableBytes(plan, false);
    plan.tableSectors = static_cast<std::int32_t>(SectorCount(plan.tableBytes));
    plan.typeL = m_sessionStart + 18 + j;
    plan.typeM = plan.typeL + plan.tableSectors;
    plan.firstDirectorySector = plan.typeM + plan.tableSectors;
    if (!m_joliet) return;
    plan.tableBytesJoliet = PathTableBytes(plan, true);
    plan.tableSectorsJoliet = static_cast<std::int32_t>(SectorCount(plan.tableBytesJoliet));
    plan.typeLJoliet = m_sessionStart + 19 + 2 * plan.tableSectors;
    plan.typeMJoliet = plan.typeLJoliet + plan.tableSectorsJoliet;
    plan.firstDirectorySector = plan.typeMJoliet + plan.tableSectorsJoliet;
}

void clsISOWriter::PlanExtents(ImagePlan& plan) const {
    std::int64_t next = plan.firstDirectorySector;
    for (clsISODirectory* directory : plan.directories) {
        const auto blocks = SectorCount(ExtentBytes(*directory, false));
        directory->Files().SetBlocks(static_cast<std::int32_t>(blocks));
        directory->Files().SetLBA(static_cast<std::int32_t>(next));
        next += blocks;
    }
    for (clsISODirectory* directory :
         m_joliet ? plan.directories : std::vector<clsISODirectory*>{}) {
        const auto blocks = SectorCount(ExtentBytes(*directory, true));
        directory->Files().SetBlocksJoliet(static_cast<std::int32_t>(blocks));
        directory->Files().SetLBAJoliet(static_cast<std::int32_t>(next));
        next += blocks;
    }
    for (clsISOFile* file : plan.files) {
        file->SetLBA(file->Size() >= 1 && next <= std::numeric_limits<std::int32_t>::max()
                         ? static_cast<std::int32_t>(next)
                         : 0);
        if (file->Size() >= 1) next += SectorCount(file->Size());
    }
    plan.volumeSpace =
        next <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(next) : -1;
}
