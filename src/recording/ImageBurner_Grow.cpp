// Growing a disc written in place: the new volume descriptors go to block 16.
#include <fstream>
#include <vector>

#include "EngineReporter.h"
#include "ImageBurner.h"
#include "ScsiStatus.h"
#include "SessionTexts.h"
#include "Utf8Path.h"
#include "WriteWithRetry.h"
#include "modMMC.h"

namespace {
constexpr std::int64_t kBlock = 2048;
constexpr int kMostDescriptors = 32;

// The volume descriptors of the image (block 16 up to and including the
// terminator); empty when the image holds no terminated set.
std::vector<std::uint8_t> DescriptorSet(const std::string& imagePath) {
    std::ifstream image(Utf8Path(imagePath), std::ios::binary);
    image.seekg(16 * kBlock);
    std::vector<std::uint8_t> set;
    for (int i = 0; i < kMostDescriptors; ++i) {
        std::vector<std::uint8_t> block(kBlock);
        if (!image.read(reinterpret_cast<char*>(block.data()), kBlock)) return {};
        if (std::string(block.begin() + 1, block.begin() + 6) != "CD001") return {};
        set.insert(set.end(), block.begin(), block.end());
        if (block[0] == 255) return set;
    }
    return {};
}
}  // namespace

// Until these blocks are written the disc shows its old volume, whole: the
// new tree lies beyond it. Written last, they make old and new files one volume.
bool ImageBurner::RewriteDescriptors(const std::string& drive, const std::string& imagePath) {
    std::vector<std::uint8_t> set = DescriptorSet(imagePath);
    bool written = !set.empty() && modMMC::SynchronizeCache(drive) == ScsiStatus::kGood;
    if (written) {
        const auto blocks = static_cast<std::uint16_t>(set.size() / kBlock);
        written =
            WriteWithRetry(drive, 16, blocks, set.data(), static_cast<std::int32_t>(set.size()),
                           nullptr) == WriteOutcome::Written &&
            modMMC::SynchronizeCache(drive) == ScsiStatus::kGood;
    }
    if (written) return true;
    m_reporter.PhaseText(Text(SessionText::GrowthFailed));
    Warn(Text(SessionText::GrowthFailed), WriteIsoText::WriteFailedTitle);
    return false;
}
