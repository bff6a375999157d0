#include "batch/ChangesCommand.h"

#include "batch/BatchArguments.h"
#include "batch/ChangeSelection.h"
#include "batch/FolderSession.h"
#include "changes/ChangeReport.h"
#include "fc/FileReplacement.h"

#include <algorithm>
#include <ostream>

int ChangesCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                        std::ostream& out, std::ostream& err)
{
    const bool sincePrint = std::find(words.begin(), words.end(), "--since-print") != words.end();
    const CommandHelp& form = sincePrint ? sincePrintForm : help;
    BatchArguments args;
    if (!args.parse(words, form))
        return args.answer(out, err, help);

    std::string oldFolder, csv;
    if (!sincePrint && !ChangeSelection::oldFolder(args.positional()[0], err, oldFolder))
        return FolderSession::Failed;
    if (auto file = args.value("csv"); file && !ChangeSelection::cp932Path(*file, err, csv))
        return FolderSession::Failed;

    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[sincePrint ? 0 : 1], args))
        return status;
    std::vector<LineChange> changes;
    int status =
        ChangeSelection::compare(session, oldFolder, args.has("notes"), args.has("only"), changes);
    out << ChangeReport::listing(changes) << std::flush;
    if (!csv.empty() &&
        !FileReplacement::replace(FCString(std::string_view(csv)), ChangeReport::csv(changes)))
        status = FolderSession::Failed;
    if (status == FolderSession::Done && !changes.empty())
        status = Changed;
    return session.finish(status);
}
