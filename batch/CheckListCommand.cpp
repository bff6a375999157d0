#include "batch/CheckListCommand.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "platform/TextCodec.h"
#include "reports/CheckListDialogModel.h"
#include "reports/CheckListReport.h"

#include <optional>
#include <ostream>

int CheckListCommand::run(const std::vector<std::string>& words, std::ostream& out,
                          std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
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

    FolderSession session(out, err);
    session.setAnswerYes(args.has("yes"));
    if (int status = session.open(args.positional()[0], args))
        return status;

    const bool chooseLists = args.has("scenes") || args.has("characters");
    const CheckListReport::Outcome outcome = CheckListReport::run(
        session.app().context(), session.list(), [&](CheckListDialogModel& dialog) {
            if (outFolder)
                dialog.folderText = FCString(*outFolder);
            if (format)
                dialog.csv = *format == "csv";
            if (chooseLists) {
                dialog.sceneList = args.has("scenes");
                dialog.characterList = args.has("characters");
            }
            if (args.has("unprinted"))
                dialog.listUnprinted = true;
            if (dialog.accept())
                return true;
            // The dialog would stay open for another try; here that is the
            // end.
            if (!dialog.message().isEmpty())
                err << "quillon-batch: " << TextCodec::toUtf8(dialog.message().view()) << "\n";
            else
                err << "quillon-batch: no output folder\n";
            return false;
        });
    if (!outcome.confirmed)
        return FolderSession::Failed;
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
