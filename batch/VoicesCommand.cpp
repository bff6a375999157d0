#include "batch/VoicesCommand.h"

#include "app/DeliveryCheck.h"
#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/DeliveryOptions.h"
#include "batch/FolderSession.h"
#include "fc/FileReplacement.h"
#include "platform/FileTransfer.h"
#include "platform/TextCodec.h"
#include "ui/UxProgressDialog.h"
#include "voices/DeliveryScan.h"
#include "voices/VoiceCheck.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoiceReport.h"
#include "voices/VoiceSorter.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>

namespace {

int sortFiles(FolderSession& session, const VoiceSortPlan::Input& input, bool move)
{
    std::vector<int> unsortable;
    const std::vector<SortItem> items = VoiceSortPlan::make(input, &unsortable);
    std::ostream& err = session.err();
    for (int line : unsortable)
        err << "quillon-batch: not sorted: the names of line "
            << TextCodec::toUtf8(input.lines[std::size_t(line)].label)
            << " have no file-system form\n";
    VoiceSorter sorter(input.destination, move, session.environment().clock());
    UxProgressDialog progress(session.environment().progressView());
    const VoiceSorter::Outcome outcome = sorter.run(items, progress);
    for (const std::string& error : sorter.errors())
        err << "quillon-batch: " << error << "\n";
    const VoiceSorter::Counts& counts = sorter.counts();
    err << "quillon-batch: sorted into " << input.destination << ": " << counts.copied
        << " copied, " << counts.moved << " moved, " << counts.alreadyThere << " already there, "
        << counts.keptBeside << " kept beside another of its name, " << counts.failed
        << " failed\n";
    if (outcome == VoiceSorter::Outcome::Cancelled) {
        err << "quillon-batch: interrupted; the same command again completes the sort\n";
        return BatchInterrupt::CancelledStatus;
    }
    if (outcome != VoiceSorter::Outcome::Done || !unsortable.empty())
        return FolderSession::Failed;
    return FolderSession::Done;
}

} // namespace

int VoicesCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    const auto destinationGiven = args.value("sort");
    if (!destinationGiven && (args.has("move") || args.has("by-scene")))
        return args.refuse(err, usage, "--move and --by-scene sort: give --sort DEST");

    std::string delivery, destination, csv;
    if (!DeliveryOptions::absoluteName(args.positional()[1], "DELIVERY", err, delivery))
        return FolderSession::Failed;
    if (!std::filesystem::is_directory(delivery)) {
        err << "quillon-batch: no such folder: " << args.positional()[1] << "\n";
        return FolderSession::Failed;
    }
    if (auto file = args.value("csv");
        file && !DeliveryOptions::absoluteName(*file, "--csv", err, csv))
        return FolderSession::Failed;
    if (destinationGiven &&
        !DeliveryOptions::absoluteName(*destinationGiven, "--sort", err, destination))
        return FolderSession::Failed;
    std::error_code ignored;
    if (destinationGiven && std::filesystem::equivalent(delivery, destination, ignored))
        return args.refuse(err, usage, "--sort: DEST must not be the delivery folder itself");

    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    int status = FolderSession::Done;
    const std::optional<VoiceNumberPattern> pattern =
        DeliveryOptions::numberPattern(session, args, status);
    if (!pattern)
        return status;
    // Made before the walk, so that the walk knows it when it lies inside
    // the delivery and leaves the sorted files alone.
    if (destinationGiven) {
        if (uint32_t error = FileTransfer::makeFolders(destination)) {
            err << "quillon-batch: --sort: cannot make " << destination << " (error " << error
                << ")\n";
            return FolderSession::Failed;
        }
    }

    DeliveryCheck check(session.app());
    for (int scene : check.unreadableScenes())
        err << "quillon-batch: cannot read "
            << TextCodec::toUtf8(check.scenes()[std::size_t(scene)].path)
            << "; its lines are not checked\n";

    bool cancelled = false;
    {
        UxProgressDialog progress(session.environment().progressView());
        if (int error = check.scan(delivery, *pattern, destination, progress, cancelled)) {
            err << "quillon-batch: cannot read " << delivery << ": " << std::strerror(error)
                << "\n";
            return FolderSession::Failed;
        }
    }
    if (cancelled)
        return BatchInterrupt::CancelledStatus;
    for (const DeliverySkip& skip : check.delivery().skipped)
        err << "quillon-batch: skipped " << delivery << "/" << skip.path << ": "
            << DeliveryScan::reasonText(skip) << "\n";

    UxProgressDialog progress(session.environment().progressView());
    if (!check.check(args.has("check-content"), progress))
        return BatchInterrupt::CancelledStatus;
    const VoiceCheck::Result& result = check.result();

    const VoiceReport::Input report = check.report();
    out << VoiceReport::table(report) << std::flush;
    if (!check.unreadableScenes().empty())
        status = FolderSession::Failed;
    if (!csv.empty() &&
        !FileReplacement::replace(FCString(std::string_view(TextCodec::fromUtf8(csv))),
                                  VoiceReport::csv(report)))
        status = FolderSession::Failed;
    if (destinationGiven) {
        const int sorted =
            sortFiles(session, check.sortPlan(destination, args.has("by-scene")), args.has("move"));
        if (sorted == BatchInterrupt::CancelledStatus)
            return sorted;
        if (sorted != FolderSession::Done)
            status = sorted;
    }
    if (status == FolderSession::Done && !result.complete())
        status = Incomplete;
    return session.finish(status);
}
