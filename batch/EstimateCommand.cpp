#include "batch/EstimateCommand.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxDialogs.h"

#include <ostream>

int EstimateCommand::run(const std::vector<std::string>& words, std::ostream& out,
                         std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, FolderSession::valueOptions(), {"all"}) ||
        args.positional().size() != 1) {
        return args.refuse(err, usage);
    }
    FolderSession session(out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;

    return estimate(session, args.has("all"));
}

int EstimateCommand::estimate(FolderSession& session, bool allRows)
{
    PageCountEstimate estimate(session.app().context());
    const int64_t total = estimate.run(session.list(), allRows);
    if (total == PageCountEstimate::Cancelled)
        return BatchInterrupt::CancelledStatus;
    UxDialogs::notice(PageCountEstimate::message(total).view());
    if (estimate.unreadable() > 0) {
        session.err() << "quillon-batch: " << estimate.unreadable()
                      << " scene(s) could not be read; their pages are not counted\n";
        return FolderSession::Failed;
    }
    return session.finish(FolderSession::Done);
}
