#include "batch/EstimateCommand.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "format/PrintFormat.h"
#include "platform/TextCodec.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <optional>
#include <ostream>
#include <string>

int EstimateCommand::run(const std::vector<std::string>& words, std::ostream& out,
                         std::ostream& err)
{
    BatchArguments args;
    std::optional<long> jobs;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    if (!args.wholeNumber("jobs", 0, jobs))
        return args.refuse(err, usage);
    FolderSession session(out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    // Over the folder's print.jobs setting; the settings file is not changed.
    if (jobs)
        session.app().printFormat().setJobs(static_cast<int>(*jobs));

    return estimate(session, args.has("all"), args.has("generic"));
}

int EstimateCommand::estimate(FolderSession& session, bool allRows, bool directorsCopies)
{
    PageCountEstimate estimate(session.app().context());
    estimate.setCountDirectorsCopies(directorsCopies);
    UxProgressDialog progress;
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
    UxDialogs::notice(PageCountEstimate::message(total).view());
    if (estimate.unreadable() > 0) {
        session.err() << "quillon-batch: " << estimate.unreadable()
                      << " scene(s) could not be read; their pages are not counted\n";
        return FolderSession::Failed;
    }
    return session.finish(FolderSession::Done);
}
