// Loading a scenario folder into the catalogue.

#include "document/CatalogueHeader.h"
#include "document/ScriptCatalogue.h"
#include "fc/Diagnostic.h"
#include "fc/FCFileEnumeration.h"
#include "fc/Notices.h"
#include "fc/Progress.h"
#include "platform/FileSystem.h"
#include "platform/SilentPrompt.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "platform/WorkerPool.h"

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

// What a worker made of one file: its header, read into the header of the
// result's slot, the record made of it and the names of its characters
// joined (which the record gives as they are found). When the file layer had
// something to put to the user, nothing: the file is read again on the
// loading thread, which asks as a load on one thread does.
struct ReadFile {
    bool readAgain = true;
    bool loaded = false; // what CatalogueHeader::load answered
    std::unique_ptr<ScriptInfo> record;
    FCString characterNames;
};

ReadFile readQuietly(CatalogueHeader& header, const std::string& path)
{
    SilentPrompt silent;
    Prompt::ThreadScope quiet(silent);
    ReadFile read;
    try {
        read.loaded = header.load(path.c_str());
        read.record = std::make_unique<ScriptInfo>();
        if (read.loaded)
            read.record->applyHeader(header, read.characterNames, false);
    } catch (...) {
        return ReadFile{};
    }
    read.readAgain = silent.asked();
    return read;
}

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
    if (display.listed)
        display.listed(fileNames);
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

        // Headers are read on worker threads, each into the header of its
        // result's slot; the entries, totals, progress and anything the user
        // must be asked follow on this thread in list order.
        const int files = static_cast<int>(fileNames.size());
        WorkerPool pool(files > 1 ? m_loadJobs : 1, 32, 16);
        const bool onWorkers = pool.jobs() > 1;
        std::vector<CatalogueHeader> headers(onWorkers ? std::size_t(pool.slots()) : 0);
        std::vector<ReadFile> reads(std::size_t(pool.slots()));
        auto pathOf = [&folder, &fileNames](int index) {
            std::string path(folder.view());
            path.append(fileNames[std::size_t(index)].view());
            return path;
        };

        CatalogueHeader header;
        FCString discarded;
        pool.run(
            files,
            [&](int index, int slot, int) {
                // With one job the loop below reads every file itself.
                if (onWorkers)
                    reads[std::size_t(slot)] =
                        readQuietly(headers[std::size_t(slot)], pathOf(index));
            },
            [&](int index, int slot) {
                const FCString& fileName = fileNames[std::size_t(index)];
                ReadFile read = std::move(reads[std::size_t(slot)]);
                const CatalogueHeader* used = &header;
                try {
                    if (!read.readAgain) {
                        used = &headers[std::size_t(slot)];
                    } else {
                        read.record = std::make_unique<ScriptInfo>();
                        read.characterNames.clear();
                        read.loaded = header.load(pathOf(index).c_str());
                        if (read.loaded)
                            read.record->applyHeader(header, read.characterNames, false);
                    }
                    if (read.loaded) {
                        // The names new to the totals are not needed: a
                        // view reads them from the totals.
                        discarded.clear();
                        totals.applyHeader(*used, discarded, true);
                    }
                    // Told once per load, with the files left out.
                    if (used->substitutions() > 0)
                        m_skipped.add(std::string(fileName.view()),
                                      SkippedFiles::Reason::CharactersReplaced);
                } catch (const Diagnostic& error) {
                    // The file layer has put the problem to the user, who
                    // chose to give up: the load ends here as if cancelled.
                    Trace::write("ScriptCatalogue: reading stopped at ");
                    Trace::write(pathOf(index));
                    Trace::write(": ");
                    Trace::write(error.message());
                    Trace::write("\n");
                    failed = true;
                    return false;
                }
                if (read.record->characterCount() == 0)
                    ++noSpeaker;
                const ScriptInfo& added = *read.record;
                append(fileName, std::move(read.record), std::move(read.characterNames));

                progress.setText(added.sceneName().view());
                progress.step();
                progress.pump();
                cancelled = progress.cancelled();
                return !cancelled;
            });
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
