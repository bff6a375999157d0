#include "reports/CharacterSelection.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "format/SuppressedCharacters.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "render/ScriptPrinter.h"
#include "reports/ScenarioContext.h"

#include <string>
#include <vector>

const char* CharacterSelection::noSelectionMessage()
{
    return Sjis::of("印刷を抑制するキャラを指定するシナリオファイルが選択されていません。\n"
                    "左のリストボックスで選択してから実行して下さい。"
                    "リストボックスの対象ファイルをダブルクリックしてもＯＫです。\n"
                    "全ファイルに渡って印刷を抑制するキャラは、「印刷実行...」で設定できます。");
}

bool CharacterSelection::buildSelection(const ScriptCatalogue& catalogue,
                                        std::span<const int> entries, ScriptInfo& selection)
{
    selection.clear();
    bool first = true;
    for (int index : entries) {
        if (!catalogue.contains(index))
            continue;
        if (first)
            selection.copyFrom(catalogue.record(index));
        else
            selection.merge(catalogue.record(index));
        first = false;
    }
    return !first;
}

void CharacterSelection::applyToEntries(ScriptCatalogue& catalogue, std::span<const int> entries,
                                        const ScriptInfo& selection)
{
    std::vector<std::string> targets;
    for (int index : entries) {
        if (!catalogue.contains(index))
            continue;
        targets.clear();
        FCXListIterator<FCIdString> walk(catalogue.record(index).characters());
        while (const FCIdString* character = walk.next()) {
            if (selection.isPrintTarget(character->view()))
                targets.push_back(character->toStdString());
        }
        catalogue.setPrintTargets(index, targets);
    }
}

bool CharacterSelection::isPrinted(const ScenarioContext& context, const ScriptCatalogue& catalogue,
                                   int index, std::string_view name)
{
    return catalogue.isTicked(index) && catalogue.record(index).isPrintTarget(name) &&
           !context.suppressed.contains(name);
}

int32_t CharacterSelection::printedCharacterCount(const ScenarioContext& context,
                                                  const ScriptInfo& record)
{
    int32_t count = 0;
    FCXListIterator<FCIdString> walk(record.printTargets());
    while (const FCIdString* target = walk.next()) {
        if (!context.suppressed.contains(target->view()))
            ++count;
    }
    return count;
}

void CharacterSelection::excludeUnprinted(const ScenarioContext& context, ScriptPrinter& printer,
                                          const ScriptInfo& record)
{
    for (const FCString& name : context.suppressed.names()) {
        if (!printer.exclude(name))
            Trace::write("PrintRun: no exclusion slot left for a suppressed character\n");
    }
    if (record.printTargetCount() >= record.characterCount())
        return;
    FCXListIterator<FCIdString> characters(record.characters());
    while (const FCIdString* character = characters.next()) {
        if (record.isPrintTarget(character->view()))
            continue;
        if (!printer.exclude(FCString(character->view())))
            Trace::write("PrintRun: no exclusion slot left for a character\n");
    }
}
