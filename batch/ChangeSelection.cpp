#include "batch/ChangeSelection.h"

#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "format/SuppressedCharacters.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "reports/PrintRecord.h"

#include <filesystem>
#include <map>
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
    const ScriptCatalogue& catalogue = session.catalogue();
    ScenarioComparison::Input input;
    input.newFolder = session.app().scenarioFolder().toStdString();
    input.oldFolder = oldFolder.empty() ? PrintRecord::folderOf(input.newFolder) : oldFolder;
    input.oldMayBeMissing = oldFolder.empty();
    input.notes = notes;
    // Scenes left out by --only are not compared, so none counts as removed.
    input.removedScenes = !onlyGiven;
    std::map<std::string, const ScriptInfo*> records;
    for (int i = 0; i < catalogue.count(); ++i) {
        if (!catalogue.isTicked(i))
            continue;
        input.newFiles.push_back(catalogue.fileName(i).toStdString());
        records[input.newFiles.back()] = &catalogue.record(i);
    }
    ScenarioComparison::Result result = ScenarioComparison::compare(input);
    std::ostream& err = session.err();
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

    // Suppressed characters get no scripts, and a scene's characters that
    // are no print targets neither: their lines stay to be printed.
    const SuppressedCharacters& suppressed = session.app().suppressedCharacters();
    if (recordable) {
        std::set<std::string> unprintable;
        for (const LineChange& change : result.changes) {
            auto record = records.find(change.fileName);
            if (change.needsRecording() &&
                (suppressed.contains(change.speaker) || record == records.end() ||
                 !record->second->isPrintTarget(change.speaker)))
                unprintable.insert(change.fileName);
        }
        for (const std::string& file : input.newFiles) {
            if (!unprintable.count(file))
                recordable->insert(file);
        }
    }
    std::erase_if(result.changes, [&](const LineChange& change) {
        return !change.character.empty() && suppressed.contains(change.character);
    });
    changes = std::move(result.changes);
    return status;
}

void ChangeSelection::select(const std::vector<LineChange>& changes, LineSelection& selection)
{
    selection.setHeaderSuffix(Sjis::of("リテイク"));
    selection.setMarker(Sjis::of("＊"));
    for (const LineChange& change : changes) {
        if (change.needsRecording())
            selection.select(change.fileName, change.speaker, change.newBodyLine);
    }
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
