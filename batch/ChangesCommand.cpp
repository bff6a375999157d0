#include "batch/ChangesCommand.h"

#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "changes/ChangeReport.h"
#include "changes/ScenarioComparison.h"
#include "document/ScriptCatalogue.h"
#include "fc/FileReplacement.h"
#include "format/SuppressedCharacters.h"
#include "platform/TextCodec.h"
#include "reports/PrintRecord.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace {

// A folder or file named on the command line as a CP932 absolute path;
// false, with the reason told, when it has none.
bool cp932Path(const std::string& given, const char* what, std::ostream& err, std::string& path)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(given, failed);
    if (failed || !TextCodec::fromUtf8Exact(absolute.lexically_normal().string(), path)) {
        err << "quillon-batch: " << what << ": the name cannot be written in Shift-JIS: " << given
            << "\n";
        return false;
    }
    return true;
}

} // namespace

int ChangesCommand::run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    const bool sincePrint = std::find(words.begin(), words.end(), "--since-print") != words.end();
    const CommandHelp& form = sincePrint ? sincePrintForm : help;
    BatchArguments args;
    if (!args.parse(words, form))
        return args.answer(out, err, help);

    std::string oldFolder, csv;
    if (!sincePrint) {
        if (!cp932Path(args.positional()[0], "OLD", err, oldFolder))
            return FolderSession::Failed;
        if (!std::filesystem::is_directory(args.positional()[0])) {
            err << "quillon-batch: no such folder: " << args.positional()[0] << "\n";
            return FolderSession::Failed;
        }
    }
    if (auto file = args.value("csv"); file && !cp932Path(*file, "--csv", err, csv))
        return FolderSession::Failed;

    FolderSession session(out, err);
    if (int status = session.open(args.positional()[sincePrint ? 0 : 1], args))
        return status;
    const ScriptCatalogue& catalogue = session.catalogue();
    ScenarioComparison::Input input;
    input.newFolder = session.app().scenarioFolder().toStdString();
    input.oldFolder = sincePrint ? PrintRecord::folderOf(input.newFolder) : oldFolder;
    input.oldMayBeMissing = sincePrint;
    input.notes = args.has("notes");
    // Scenes left out by --only are not compared, so none counts as removed.
    input.removedScenes = !args.has("only");
    for (int i = 0; i < catalogue.count(); ++i) {
        if (catalogue.isTicked(i))
            input.newFiles.push_back(catalogue.fileName(i).toStdString());
    }
    ScenarioComparison::Result result = ScenarioComparison::compare(input);
    if (!result.unlisted.empty()) {
        err << "quillon-batch: cannot read the folder " << TextCodec::toUtf8(result.unlisted)
            << "\n";
        return FolderSession::Failed;
    }
    int status = FolderSession::Done;
    for (const std::string& path : result.unreadable) {
        err << "quillon-batch: cannot read " << TextCodec::toUtf8(path)
            << "; its scene is not compared\n";
        status = FolderSession::Failed;
    }

    // Suppressed characters get no scripts, so their lines are no pickup.
    const SuppressedCharacters& suppressed = session.app().suppressedCharacters();
    std::erase_if(result.changes, [&](const LineChange& change) {
        return !change.character.empty() && suppressed.contains(change.character);
    });
    out << ChangeReport::listing(result.changes) << std::flush;
    if (!csv.empty() && !FileReplacement::replace(FCString(std::string_view(csv)),
                                                  ChangeReport::csv(result.changes)))
        status = FolderSession::Failed;
    if (status == FolderSession::Done && !result.changes.empty())
        status = Changed;
    return session.finish(status);
}
