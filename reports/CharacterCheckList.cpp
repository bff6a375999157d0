#include "reports/CharacterCheckList.h"

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

#include <vector>

std::string CharacterCheckList::text(const ScenarioContext& context,
                                     const ScriptCatalogue& catalogue, std::string_view name,
                                     bool csv, bool listUnprinted, int& lines)
{
    std::string text;
    const std::string mode = CheckListText::modeLine(context.format, csv);
    std::string title(Sjis::of("「"));
    title += name;
    title += Sjis::of("」用台本リスト");
    if (csv) {
        CheckListText::appendLine(text, title + ",,,");
        CheckListText::appendLine(text, ",mode:" + mode);
        CheckListText::appendLine(text, "");
        CheckListText::appendLine(text, Sjis::of(",シーン名,ページ数,ワード数"));
    } else {
        CheckListText::appendLine(text, title);
        CheckListText::appendLine(text, "\tmode:" + mode);
        CheckListText::appendLine(text, "--------");
    }

    const int cacheMode = PageCountEstimate::cacheEntry(context.format);
    lines = 0;
    const int entries = catalogue.count();
    for (int index = 0; index < entries; ++index) {
        const ScriptInfo& record = catalogue.record(index);
        const FCIdString* character = record.findCharacter(name);
        if (!character)
            continue;
        const bool printed = CharacterSelection::isPrinted(context, catalogue, index, name);
        if (!printed && !listUnprinted)
            continue;
        const std::string pages = std::to_string(record.cachedPageCount(cacheMode));
        const std::string words = std::to_string(character->id());
        std::string line(CheckListText::mark(printed));
        line += csv ? "," : " ";
        line += CheckListText::sceneName(catalogue.fileName(index).view());
        if (csv) {
            line += "," + pages + "," + words;
        } else {
            line += "\t" + pages + Sjis::of(" 頁\t") + words + Sjis::of(" 台詞");
        }
        CheckListText::appendLine(text, line);
        ++lines;
    }
    return text;
}

CheckListResult CharacterCheckList::write(const ScenarioContext& context,
                                          const ScriptCatalogue& catalogue, const FCString& folder,
                                          bool csv, bool listUnprinted, Progress& progress,
                                          Notices& notices)
{
    const ScriptInfo& totals = context.totals;
    progress.setTitle(csv ? Sjis::of("キャラ別台本チェックリスト(CSV)の作成")
                          : Sjis::of("キャラ別台本チェックリスト(TXT)の作成"));
    progress.setText(Sjis::of("チェックリストを作成しています。"));
    progress.setupBar(true, 0, 0, totals.characterCount());
    progress.setStepSize(1);
    progress.open(true);

    std::vector<std::string_view> names;
    FCXListIterator<FCIdString> walk(totals.characters());
    while (const FCIdString* character = walk.next())
        names.push_back(character->view());

    // Each character's list goes through every entry: the lists are made on
    // worker threads (the catalogue is only read meanwhile), and written
    // on this thread in the characters' order.
    struct List {
        std::string text;
        int lines = 0;
    };
    const int characters = static_cast<int>(names.size());
    WorkerPool pool(characters > 1 ? context.format.jobs() : 1);
    CheckListResult result = CheckListResult::Written;
    std::string summary;
    const char* extension = csv ? ".csv" : ".txt";
    pool.map<List>(
        characters,
        [&](int index, int) {
            List list;
            list.text =
                text(context, catalogue, names[std::size_t(index)], csv, listUnprinted, list.lines);
            return list;
        },
        [&](int index, List& list) {
            const std::string_view name = names[std::size_t(index)];
            const int lines = list.lines;
            const std::string& listText = list.text;
            progress.setText(name);
            progress.step();
            progress.pump();
            if (progress.cancelled()) {
                summary += Sjis::of("以降の処理はユーザーによってキャンセルされました。\n");
                result = CheckListResult::Cancelled;
                return false;
            }
            std::string line(Sjis::of("「"));
            line += name;
            line += Sjis::of("」：");
            if (lines == 0) {
                summary += line + Sjis::of("現在の設定では、出力する台本がありません\n");
                return true;
            }
            FCString path;
            if (!CheckListFile::write(folder, CheckListFile::safeNamePart(name), extension,
                                      listText, path)) {
                // The user gave up in the file layer's box: the rest would most
                // likely meet the same failure, one box per character.
                summary += Sjis::of("以降の処理はユーザーによってキャンセルされました。\n");
                result = CheckListResult::Failed;
                return false;
            }
            summary += line;
            summary += path.view();
            summary += "\n";
            return true;
        });
    progress.close();
    if (!summary.empty())
        notices.notice(summary, Sjis::of("出力されたファイル一覧"));
    return result;
}
