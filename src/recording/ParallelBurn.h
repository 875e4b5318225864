#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ImageBurner.h"

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

}  // namespace ParallelBurn
