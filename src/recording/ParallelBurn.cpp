#include "ParallelBurn.h"

#include <memory>
#include <thread>

#include "SharedImageFeed.h"

namespace ParallelBurn {

std::vector<BurnOutcome> Run(ImageSource& image, const std::vector<std::string>& drives,
                             const DriveJob& job, std::size_t ringBytes) {
    SharedImageFeed feed(image, ringBytes);
    std::vector<std::unique_ptr<ImageSource>> taps;
    for (std::size_t i = 0; i < drives.size(); ++i) taps.push_back(feed.OpenTap());
    // Each thread writes its own entry only.
    std::vector<BurnOutcome> outcomes(drives.size(), BurnOutcome::Failed);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < drives.size(); ++i)
        threads.emplace_back([&, i] {
            outcomes[i] = job(i, *taps[i]);
            // A drive refused before its first block never read: it stops holding the others back.
            taps[i]->Close();
        });
    for (auto& thread : threads) thread.join();
    image.Close();
    return outcomes;
}

}  // namespace ParallelBurn
