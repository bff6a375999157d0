#include "batch/ChangeSelection.h"

#include "app/ChangeCheck.h"
#include "app/Quillon.h"
#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "platform/TextCodec.h"

#include <filesystem>
#include <ostream>

bool ChangeSelection::cp932Path(const std::string& given, std::ostream& err, std::string& path)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(given, failed);
    if (failed || !TextCodec::fromUtf8Exact(absolute.lexically_normal().string(), path)) {
        err << "quillon-batch: the name cannot be written in Shift-JIS: " << given << "\n";
        return false;
    }
    return true;
}

bool ChangeSelection::oldFolder(const std::string& given, std::ostream& err, std::string& path)
{
    if (!cp932Path(given, err, path))
        return false;
    std::error_code failed;
    if (!std::filesystem::is_directory(given, failed)) {
        err << "quillon-batch: no such folder: " << given << "\n";
        return false;
    }
    return true;
}

int ChangeSelection::compare(FolderSession& session, const std::string& oldFolder, bool notes,
                             bool onlyGiven, std::vector<LineChange>& changes,
                             std::set<std::string>* recordable)
{
    ChangeCheck::Request request;
    request.oldFolder = oldFolder;
    request.notes = notes;
    // Scenes left out by --only are not compared, so none counts as removed.
    request.removedScenes = !onlyGiven;
    ChangeCheck::Outcome outcome =
        ChangeCheck::compare(session.catalogue(), session.app().scenarioFolder().toStdString(),
                             session.app().suppressedCharacters(), request);
    std::ostream& err = session.err();
    if (!outcome.unlisted.empty()) {
        err << "quillon-batch: cannot read the folder " << TextCodec::toUtf8(outcome.unlisted)
            << "\n";
        return FolderSession::Failed;
    }
    int status = FolderSession::Done;
    for (const std::string& path : outcome.unreadable) {
        err << "quillon-batch: cannot read " << TextCodec::toUtf8(path)
            << "; its scene is not compared\n";
        status = FolderSession::Failed;
    }
    if (recordable)
        *recordable = std::move(outcome.recordable);
    changes = std::move(outcome.changes);
    return status;
}

void ChangeSelection::select(const std::vector<LineChange>& changes, LineSelection& selection)
{
    (void)ChangeCheck::select(changes, selection);
}

bool ChangeSelection::asked(const BatchArguments& args)
{
    return args.has(changesFrom.name) || args.has(sincePrint.name);
}

int ChangeSelection::fromArguments(FolderSession& session, const BatchArguments& args,
                                   LineSelection& selection, std::set<std::string>* recordable)
{
    if (!asked(args))
        return FolderSession::Done;
    std::string old;
    if (auto given = args.value(changesFrom.name); given && !oldFolder(*given, session.err(), old))
        return FolderSession::Failed;
    std::vector<LineChange> changes;
    const int status =
        compare(session, old, false, args.has("only"), changes, old.empty() ? recordable : nullptr);
    if (status != FolderSession::Done)
        return status;
    select(changes, selection);
    return FolderSession::Done;
}
