#include "batch/EstimateCommand.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/DeliveryOptions.h"
#include "batch/FolderSession.h"
#include "batch/TypesettingArguments.h"
#include "format/PrintFormat.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxProgressDialog.h"

#include <optional>
#include <ostream>
#include <string>

int EstimateCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                         std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    std::optional<long> jobs;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    if (!args.wholeNumber("jobs", 0, jobs))
        return args.refuse(err, usage);
    if (args.has("changes-from") && args.has("since-print"))
        return args.refuse(err, usage, "--changes-from and --since-print: give one of them");
    if (args.has("missing-from") && ChangeSelection::asked(args))
        return args.refuse(err, usage,
                           "--missing-from: goes with neither --changes-from nor --since-print");
    std::string delivery;
    if (int status = DeliveryOptions::missingFromFolder(args, usage, err, delivery))
        return status;
    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    // For this run only: nothing writes the settings file after the load.
    TypesettingOptions typesetting = session.app().printFormat().typesetting();
    TypesettingArguments::apply(args, typesetting);
    session.app().printFormat().setTypesetting(typesetting);
    // Over the folder's print.jobs setting, likewise.
    if (jobs)
        session.app().printFormat().setJobs(static_cast<int>(*jobs));

    LineSelection selection;
    if (!delivery.empty()) {
        bool failed = false;
        if (int status = DeliveryOptions::missingLines(session, args, delivery, selection, failed))
            return status;
        const int status = estimate(session, args.has("all"), args.has("generic"), &selection);
        return failed && status == FolderSession::Done ? FolderSession::Failed : status;
    }
    if (int status = ChangeSelection::fromArguments(session, args, selection, nullptr))
        return status;
    return estimate(session, args.has("all"), args.has("generic"),
                    ChangeSelection::asked(args) ? &selection : nullptr);
}

int EstimateCommand::estimate(FolderSession& session, bool allRows, bool directorsCopies,
                              const LineSelection* selection)
{
    PageCountEstimate estimate(session.app().context());
    estimate.setCountDirectorsCopies(directorsCopies);
    estimate.setLineSelection(selection);
    UxProgressDialog progress(session.environment().progressView());
    const int64_t total = estimate.run(session.catalogue(), allRows, progress);
    if (total == PageCountEstimate::Cancelled) {
        // As in the window, no total after a cancel; what was counted is
        // told all the same.
        session.err() << "quillon-batch: interrupted after " << estimate.scenes().size() << " of "
                      << estimate.chosenScenes() << " scenes\n";
        return BatchInterrupt::CancelledStatus;
    }
    std::string lines;
    for (const PageCountEstimate::Scene& scene : estimate.scenes()) {
        lines += scene.fileName.view();
        lines += '\t';
        lines += scene.sceneName.view();
        lines += '\t';
        lines += scene.unreadable ? std::string("-") : std::to_string(scene.pages());
        lines += '\n';
    }
    session.out() << TextCodec::toUtf8(lines) << std::flush;
    session.notices().notice(PageCountEstimate::message(total).view());
    if (estimate.unreadable() > 0) {
        session.err() << "quillon-batch: " << estimate.unreadable()
                      << " scene(s) could not be read; their pages are not counted\n";
        return FolderSession::Failed;
    }
    return session.finish(FolderSession::Done);
}
