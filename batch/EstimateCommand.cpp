#include "batch/EstimateCommand.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "platform/TextCodec.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxProgressDialog.h"

#include <ostream>
#include <string>

int EstimateCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                         std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;

    return estimate(session, args.has("all"), args.has("generic"));
}

int EstimateCommand::estimate(FolderSession& session, bool allRows, bool directorsCopies)
{
    PageCountEstimate estimate(session.app().context());
    estimate.setCountDirectorsCopies(directorsCopies);
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
