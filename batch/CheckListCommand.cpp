#include "batch/CheckListCommand.h"

#include "app/CheckListDestination.h"
#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "format/PrintFormat.h"
#include "platform/TextCodec.h"
#include "reports/CheckListReport.h"
#include "ui/UxProgressDialog.h"

#include <optional>
#include <ostream>

int CheckListCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                          std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    std::optional<long> jobs;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    if (!args.wholeNumber("jobs", 0, jobs))
        return args.refuse(err, usage);
    const std::optional<std::string> format = args.value("format");
    std::optional<std::string> outFolder;
    if (auto given = args.value("out")) {
        std::string folder;
        if (!TextCodec::fromUtf8Exact(*given, folder)) {
            err << "quillon-batch: --out: the folder name cannot be written in Shift-JIS: "
                << *given << "\n";
            return FolderSession::Failed;
        }
        outFolder = folder;
    }

    FolderSession session(environment, out, err);
    session.setAnswerYes(args.has("yes"));
    if (int status = session.open(args.positional()[0], args))
        return status;
    // Over the folder's print.jobs setting, for this run only.
    if (jobs)
        session.app().printFormat().setJobs(static_cast<int>(*jobs));

    // The window's defaults (the scenario folder, CSV, the scene list only),
    // changed as the options say.
    const CheckListOptions defaults;
    bool csv = defaults.csv();
    bool sceneList = defaults.sceneList();
    bool characterList = defaults.characterList();
    if (format)
        csv = *format == "csv";
    if (args.has("scenes") || args.has("characters")) {
        sceneList = args.has("scenes");
        characterList = args.has("characters");
    }
    const bool listUnprinted = defaults.listUnprinted() || args.has("unprinted");
    FCString folder;
    FCString message;
    if (!CheckListDestination::resolve(outFolder ? FCString(*outFolder)
                                                 : session.app().scenarioFolder(),
                                       session.notices(), folder, message)) {
        // Where the window would stay open for another try, this is the end.
        if (!message.isEmpty())
            err << "quillon-batch: " << TextCodec::toUtf8(message.view()) << "\n";
        else
            err << "quillon-batch: no output folder\n";
        return FolderSession::Failed;
    }
    UxProgressDialog progress(session.environment().progressView());
    const CheckListReport::Outcome outcome =
        CheckListReport::run(session.app().context(), session.catalogue(), folder,
                             CheckListOptions::of(csv, sceneList, characterList, listUnprinted),
                             progress, session.notices());
    if (outcome.sceneList == CheckListResult::Failed ||
        outcome.characterList == CheckListResult::Failed)
        return FolderSession::Failed;
    if (outcome.estimateCancelled || outcome.sceneList == CheckListResult::Cancelled ||
        outcome.characterList == CheckListResult::Cancelled)
        return BatchInterrupt::CancelledStatus;
    if (outcome.unreadable > 0) {
        err << "quillon-batch: " << outcome.unreadable
            << " scene(s) could not be read; their page count shows as -1\n";
        return FolderSession::Failed;
    }
    return session.finish(FolderSession::Done);
}
