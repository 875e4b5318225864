#include "ParallelBurn.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "EngineReporter.h"
#include "ImageFileReader.h"
#include "SeveralDrivesReport.h"
#include "SharedImageFeed.h"
#include "WriteIsoTexts.h"

namespace ParallelBurn {
namespace {
WriteIsoText OutcomeText(BurnOutcome outcome) {
    switch (outcome) {
        case BurnOutcome::Completed:
            return WriteIsoText::OutcomeCompleted;
        case BurnOutcome::CompletedWithErrors:
            return WriteIsoText::OutcomeErrors;
        case BurnOutcome::Refused:
            return WriteIsoText::OutcomeRefused;
        case BurnOutcome::Cancelled:
            return WriteIsoText::OutcomeStopped;
        case BurnOutcome::Failed:
            break;
    }
    return WriteIsoText::OutcomeFailed;
}

BurnOutcome Overall(const std::vector<BurnOutcome>& outcomes) {
    const auto all = [&](BurnOutcome wanted) {
        return std::all_of(outcomes.begin(), outcomes.end(),
                           [&](BurnOutcome outcome) { return outcome == wanted; });
    };
    if (all(BurnOutcome::Completed)) return BurnOutcome::Completed;
    if (std::find(outcomes.begin(), outcomes.end(), BurnOutcome::Cancelled) != outcomes.end())
        return BurnOutcome::Cancelled;
    return all(BurnOutcome::Refused) ? BurnOutcome::Refused : BurnOutcome::Failed;
}
}  // namespace

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

namespace ParallelBurn {

BurnOutcome RecordOnDrives(EngineReporter& reporter, const BurnOptions& options,
                           const std::vector<std::string>& drives,
                           const std::vector<std::string>& names) {
    ImageFileReader image;
    if (!ImageBurner(reporter, options).CheckImage()) return BurnOutcome::Refused;
    if (!image.Open(options.imagePath)) {
        reporter.Message(
            Text(WriteIsoText::NoImage) + "\n" + options.imagePath + " " + image.Error(),
            Text(WriteIsoText::NoImageTitle), MessageIcon::Exclamation, MessageButtons::Ok);
        return BurnOutcome::Refused;
    }
    SeveralDrivesReport report(reporter, names);
    const std::vector<BurnOutcome> outcomes = Run(
        image, drives,
        [&](std::size_t i, ImageSource& tap) {
            ImageBurner burner(report.Drive(i), options);
            const BurnOutcome outcome = burner.BurnSource(drives[i], tap);
            report.Ended(i);
            return outcome;
        },
        kRingBytes);
    std::string summary;
    for (std::size_t i = 0; i < drives.size(); ++i)
        summary += (i > 0 ? "\n" : "") +
                   Text(WriteIsoText::DriveLine, {names.at(i), Text(OutcomeText(outcomes[i]))});
    const BurnOutcome overall = Overall(outcomes);
    reporter.Message(
        summary, Text(WriteIsoText::DrivesSummaryTitle),
        overall == BurnOutcome::Completed ? MessageIcon::Information : MessageIcon::Exclamation,
        MessageButtons::Ok);
    return overall;
}

}  // namespace ParallelBurn
