#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ImageBurner.h"

class EngineReporter;
class ImageSource;

// One image recorded on several drives at once.
namespace ParallelBurn {

// What one drive's thread runs: its checks and its recording (an
// ImageBurner's BurnSource, with a reporter of its own) from `image`, this
// drive's tap of the shared image.
using DriveJob = std::function<BurnOutcome(std::size_t driveIndex, ImageSource& image)>;

// The image is read once (SharedImageFeed, a ring of `ringBytes`) and fed
// to `job`, run on a thread of its own for each of `drives`. A drive whose
// job ends early (refused, failed, stopped) drops out and the others go on.
// Returns each drive's outcome, in the order of `drives`; `image` is closed.
std::vector<BurnOutcome> Run(ImageSource& image, const std::vector<std::string>& drives,
                             const DriveJob& job, std::size_t ringBytes);

// The record-image window's Burn with several drives ticked: the checks of
// the image (once), then Run with an ImageBurner per drive whose reports go
// through `reporter` named by `names` (SeveralDrivesReport); at the end one
// box lists each drive's outcome. Returns Completed when every drive
// completed, Cancelled when one was stopped, Refused when every drive was
// refused, otherwise Failed.
BurnOutcome RecordOnDrives(EngineReporter& reporter, const BurnOptions& options,
                           const std::vector<std::string>& drives,
                           const std::vector<std::string>& names);

// The ring between the image and the drives.
constexpr std::size_t kRingBytes = std::size_t{16} << 20;

}  // namespace ParallelBurn
