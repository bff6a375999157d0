#include "reports/SceneCheckList.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "fc/Notices.h"
#include "fc/Progress.h"
#include "format/PrintFormat.h"
#include "platform/Sjis.h"
#include "platform/WorkerPool.h"
#include "reports/CharacterSelection.h"
#include "reports/CheckListText.h"
#include "reports/PageCountEstimate.h"
#include "reports/ScenarioContext.h"

std::string SceneCheckList::header(const ScenarioContext& context, bool csv)
{
    std::string text;
    const std::string mode = CheckListText::modeLine(context.format, csv);
    CheckListText::appendLine(text, "mode:" + mode);
    if (csv) {
        CheckListText::appendLine(text, "");
        CheckListText::appendLine(text, Sjis::of(",シナリオ名,キャラ名,ページ数,ワード数"));
    } else {
        CheckListText::appendLine(text, "--------");
        CheckListText::appendLine(text,
                                  Sjis::of("凡例:□ シナリオ名\tキャラ名\tページ数\tワード数"));
        CheckListText::appendLine(
            text, Sjis::of("\t□/■はそれぞれ、現在の設定で印刷される台本/されない台本です。"));
        CheckListText::appendLine(text, "--------");
    }
    return text;
}

void SceneCheckList::appendEntry(std::string& text, const ScenarioContext& context,
                                 const ScriptCatalogue& catalogue, int index, bool csv,
                                 bool listUnprinted)
{
    const ScriptInfo& record = catalogue.record(index);
    const std::string scene = CheckListText::sceneName(catalogue.fileName(index).view());

    if (record.characterCount() == 0) {
        if (!listUnprinted)
            return;
        std::string line(CheckListText::noSpeakerMark());
        line += csv ? "," : " ";
        line += scene;
        line += csv ? Sjis::of(",メッセージがありません,,") : Sjis::of("\tメッセージがありません");
        CheckListText::appendLine(text, line);
        return;
    }

    const int mode = PageCountEstimate::cacheEntry(context.format);
    const std::string pages = std::to_string(record.cachedPageCount(mode));
    // Later lines of a scene keep its column empty; in text, blanks as wide
    // as the name keep the columns aligned in a fixed-width font.
    const std::string later = csv ? std::string() : std::string(scene.size(), ' ');
    const char* separator = csv ? "," : "\t";
    bool first = true;
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next()) {
        const bool printed =
            CharacterSelection::isPrinted(context, catalogue, index, character->view());
        if (!printed && !listUnprinted)
            continue;
        std::string line(CheckListText::mark(printed));
        line += csv ? "," : " ";
        line += first ? scene : later;
        line += separator;
        line += character->view();
        line += separator;
        line += pages;
        line += separator;
        line += std::to_string(character->id());
        CheckListText::appendLine(text, line);
        first = false;
    }
}

CheckListResult SceneCheckList::write(const ScenarioContext& context,
                                      const ScriptCatalogue& catalogue, const FCString& folder,
                                      bool csv, bool listUnprinted, Progress& progress,
                                      Notices& notices)
{
    const int entries = catalogue.count();
    progress.setTitle(csv ? Sjis::of("シーン別台本チェックリスト(CSV)の作成")
                          : Sjis::of("シーン別台本チェックリスト(TXT)の作成"));
    progress.setText(Sjis::of("チェックリストを作成しています。"));
    progress.setupBar(true, 0, 0, entries);
    progress.setStepSize(1);
    progress.open(true);

    // The entries' lines are made on worker threads (the catalogue is only
    // read meanwhile) and joined on this thread in list order. An entry
    // takes a microsecond: workers take many at a time.
    struct Entry {
        std::string sceneName;
        std::string lines;
    };
    WorkerPool pool(entries > 1 ? context.format.jobs() : 1, 256, 64);
    std::string text = header(context, csv);
    bool cancelled = false;
    pool.map<Entry>(
        entries,
        [&](int index, int) {
            Entry entry{CheckListText::sceneName(catalogue.fileName(index).view()), {}};
            appendEntry(entry.lines, context, catalogue, index, csv, listUnprinted);
            return entry;
        },
        [&](int, Entry& entry) {
            progress.setText(entry.sceneName);
            text += entry.lines;
            progress.step();
            progress.pump();
            cancelled = progress.cancelled();
            return !cancelled;
        });
    progress.close();
    if (cancelled)
        return CheckListResult::Cancelled;

    FCString path;
    if (!CheckListFile::write(folder, "", csv ? ".csv" : ".txt", text, path))
        return CheckListResult::Failed;
    std::string notice(path.view());
    notice += Sjis::of("\nが出力されました。");
    notices.notice(notice);
    return CheckListResult::Written;
}
