// Loading a scenario folder into the catalogue.

#include "document/CatalogueHeader.h"
#include "document/ScriptCatalogue.h"
#include "fc/Diagnostic.h"
#include "fc/FCFileEnumeration.h"
#include "fc/Notices.h"
#include "fc/Progress.h"
#include "platform/FileSystem.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Names of the folder's screenplay files, without the folder, in the order
// the platform lists them. Folders whose names happen to match are no scenes;
// the other entries that are no regular files are left out too, and so are
// names the program cannot write, each with its reason in skipped.
std::vector<FCString> screenplayNames(const FCString& folder, SkippedFiles& skipped)
{
    std::string pattern(folder.view());
    pattern += ScriptCatalogue::Pattern;
    FCFileEnumeration walk(pattern.c_str());
    std::vector<FCString> names;
    while (walk.next()) {
        if (walk.isFolder())
            continue;
        const std::string name(walk.currentName().view());
        const uint32_t linkError = walk.currentLinkError();
        if (linkError == WinError::FileNotFound || linkError == WinError::PathNotFound) {
            // A link to nothing is read like a file that vanished since the
            // listing: a row without characters, which the print run names
            // as not read.
            names.push_back(walk.currentName());
        } else if (linkError != 0) {
            skipped.add(name, SkippedFiles::Reason::BrokenLink, linkError);
        } else if (walk.currentKind() != FileSystem::EntryKind::File) {
            // Never opened: a FIFO without a writer would read as an empty
            // scene, one with a writer could hang the load.
            skipped.add(name, SkippedFiles::Reason::NotARegularFile);
        } else {
            names.push_back(walk.currentName());
        }
    }
    for (const std::string& nativeName : walk.unnamed())
        skipped.addUnnamed(nativeName);
    return names;
}

// Tells the listeners that a load has ended however it ends.
class LoadBracket {
public:
    explicit LoadBracket(std::vector<ScriptCatalogueListener*> listeners)
        : m_listeners(std::move(listeners))
    {
        for (ScriptCatalogueListener* listener : m_listeners)
            listener->loadStarted();
    }
    ~LoadBracket()
    {
        for (ScriptCatalogueListener* listener : m_listeners)
            listener->loadEnded();
    }
    LoadBracket(const LoadBracket&) = delete;
    LoadBracket& operator=(const LoadBracket&) = delete;

private:
    std::vector<ScriptCatalogueListener*> m_listeners;
};

} // namespace

FolderLoad ScriptCatalogue::loadFolder(const FCString& folder, ScriptInfo& totals, bool keepTotals,
                                       Progress& progress, Notices& notices, const Display& display)
{
    m_skipped.clear();
    const std::vector<FCString> fileNames = screenplayNames(folder, m_skipped);
    if (fileNames.empty())
        return FolderLoad::NoFiles;
    // Only now: a folder without scenes leaves the loaded one, and its
    // totals, as they were.
    if (!keepTotals)
        totals.clear();

    if (display.started)
        display.started(folder);
    progress.setTitle(Sjis::of("台本の取得"));
    progress.setText(Sjis::of("指定されたフォルダにある *.screenplay.txt を取得しています"));
    progress.setupBar(true, 0, 0, static_cast<int32_t>(fileNames.size()));
    progress.setStepSize(1);
    progress.open(true);
    progress.pump();

    int32_t noSpeaker = 0;
    bool cancelled = false;
    bool failed = false;
    {
        LoadBracket bracket(m_listeners);
        clear();

        CatalogueHeader header;
        FCString discarded;
        std::string path;
        for (const FCString& fileName : fileNames) {
            path.assign(folder.view());
            path.append(fileName.view());
            auto record = std::make_unique<ScriptInfo>();
            try {
                if (header.load(path.c_str())) {
                    // The names each pass finds new are not needed: a view
                    // reads them from the record.
                    discarded.clear();
                    record->applyHeader(header, discarded, false);
                    discarded.clear();
                    totals.applyHeader(header, discarded, true);
                }
                // Told once per load, with the files left out.
                if (header.substitutions() > 0)
                    m_skipped.add(std::string(fileName.view()),
                                  SkippedFiles::Reason::CharactersReplaced);
            } catch (const Diagnostic& error) {
                // The file layer has put the problem to the user, who chose
                // to give up: the load ends here as if cancelled.
                Trace::write("ScriptCatalogue: reading stopped at ");
                Trace::write(path);
                Trace::write(": ");
                Trace::write(error.message());
                Trace::write("\n");
                failed = true;
                break;
            }
            if (record->characterCount() == 0)
                ++noSpeaker;
            const ScriptInfo& added = *record;
            append(fileName, std::move(record));

            progress.setText(added.sceneName().view());
            progress.step();
            progress.pump();
            if (progress.cancelled()) {
                cancelled = true;
                break;
            }
        }
    }
    if (display.counted)
        display.counted(count(), noSpeaker);

    if (cancelled || failed) {
        notices.notice(Sjis::of("シナリオの読み込みがキャンセルされました。\n"
                                "このまま処理を継続することはできません。"
                                "必ず正常に読み込ませてから実行してください。"),
                       "Quillon Utility");
        progress.close();
        return failed ? FolderLoad::Failed : FolderLoad::Cancelled;
    }
    progress.close();
    return FolderLoad::Loaded;
}
