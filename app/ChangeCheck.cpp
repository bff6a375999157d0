#include "app/ChangeCheck.h"

#include "app/Quillon.h"
#include "changes/ScenarioComparison.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCPathName.h"
#include "fc/Progress.h"
#include "format/SuppressedCharacters.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "reports/PrintRecord.h"

#include <filesystem>
#include <map>

ChangeCheck::Outcome ChangeCheck::compare(const ScriptCatalogue& catalogue,
                                          const std::string& folder,
                                          const SuppressedCharacters& suppressed,
                                          const Request& request)
{
    ScenarioComparison::Input input;
    input.newFolder = folder;
    input.oldFolder = request.oldFolder.empty() ? PrintRecord::folderOf(folder) : request.oldFolder;
    input.oldMayBeMissing = request.oldFolder.empty();
    input.notes = request.notes;
    input.removedScenes = request.removedScenes;
    input.progress = request.progress;
    std::map<std::string, const ScriptInfo*> records;
    for (int i = 0; i < catalogue.count(); ++i) {
        if (!catalogue.isTicked(i))
            continue;
        input.newFiles.push_back(catalogue.fileName(i).toStdString());
        records[input.newFiles.back()] = &catalogue.record(i);
    }
    ScenarioComparison::Result result = ScenarioComparison::compare(input);

    Outcome outcome;
    outcome.unlisted = std::move(result.unlisted);
    outcome.unreadable = std::move(result.unreadable);
    outcome.cancelled = result.cancelled;
    // Suppressed characters get no scripts, and a scene's characters that
    // are no print targets neither: their lines stay to be printed.
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
            outcome.recordable.insert(file);
    }
    std::erase_if(result.changes, [&](const LineChange& change) {
        return !change.character.empty() && suppressed.contains(change.character);
    });
    outcome.changes = std::move(result.changes);
    return outcome;
}

ChangeCheck::Outcome ChangeCheck::compare(const Quillon& app, const std::string& oldFolder,
                                          Progress& progress)
{
    Request request;
    request.oldFolder = oldFolder;
    request.progress = &progress;
    progress.setTitle(Sjis::of("変更点の確認"));
    progress.setText(Sjis::of("台本を比べています。"));
    progress.open(true);
    Outcome outcome = compare(app.catalogue(), app.scenarioFolder().toStdString(),
                              app.suppressedCharacters(), request);
    progress.close();
    return outcome;
}

const char* ChangeCheck::headerSuffix()
{
    return Sjis::of("リテイク");
}

const char* ChangeCheck::marker()
{
    return Sjis::of("＊");
}

int ChangeCheck::select(const std::vector<LineChange>& changes, LineSelection& selection,
                        const std::set<std::string>* characters)
{
    selection = LineSelection();
    selection.setHeaderSuffix(headerSuffix());
    selection.setMarker(marker());
    int chosen = 0;
    for (const LineChange& change : changes) {
        if (!change.needsRecording() || (characters && !characters->count(change.character)))
            continue;
        selection.select(change.fileName, change.speaker, change.newBodyLine);
        ++chosen;
    }
    return chosen;
}

std::set<std::string> ChangeCheck::recordableFor(const std::vector<LineChange>& changes,
                                                 const std::set<std::string>& recordable,
                                                 const std::set<std::string>& characters)
{
    std::set<std::string> kept = recordable;
    for (const LineChange& change : changes) {
        if (change.needsRecording() && !characters.count(change.character))
            kept.erase(change.fileName);
    }
    return kept;
}

bool ChangeCheck::oldFolderOf(const Source& source, std::string& folder, std::string& message)
{
    folder.clear();
    if (source.sincePrint)
        return true;
    const FCString& text = source.folderText;
    if (text.isEmpty()) {
        message = Sjis::of("比較する台本フォルダを指定してください。");
        return false;
    }
    // Relative to the current folder, as the scenario folder is.
    FCPathName path(text);
    std::string native;
    if (path.string().isEmpty() || !TextCodec::toUtf8Exact(path.string().view(), native)) {
        message = Sjis::of("比較する台本フォルダの名前に、扱えない文字が含まれています。");
        return false;
    }
    std::error_code failed;
    if (!std::filesystem::is_directory(native, failed)) {
        message = std::string(Sjis::of("比較する台本フォルダが見つかりません。\n")) +
                  path.string().toStdString();
        return false;
    }
    path.addSeparator();
    folder = path.string().toStdString();
    return true;
}

const char* ChangeCheck::nothingToPrint()
{
    return Sjis::of("録り直す台詞はありません。印刷しませんでした。");
}

std::string ChangeCheck::problem(const Outcome& outcome)
{
    if (!outcome.unlisted.empty())
        return Sjis::of("台本フォルダを読めません。\n") + outcome.unlisted;
    std::string text;
    for (const std::string& path : outcome.unreadable)
        text += Sjis::of("読めなかった台本（比較していません）: ") + path + "\n";
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}
