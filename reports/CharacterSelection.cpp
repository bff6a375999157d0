#include "reports/CharacterSelection.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "format/SuppressedCharacters.h"
#include "platform/Sjis.h"
#include "reports/CharacterSelectionModel.h"
#include "reports/ScenarioContext.h"
#include "ui/UxListViewControl.h"

const char* CharacterSelection::noSelectionMessage()
{
    return Sjis::of("印刷を抑制するキャラを指定するシナリオファイルが選択されていません。\n"
                    "左のリストボックスで選択してから実行して下さい。"
                    "リストボックスの対象ファイルをダブルクリックしてもＯＫです。\n"
                    "全ファイルに渡って印刷を抑制するキャラは、「印刷実行...」で設定できます。");
}

bool CharacterSelection::selectForRow(const ScriptCatalogue& catalogue, UxListViewControl& list,
                                      int row, const Dialog& dialog)
{
    ScriptInfo* record = catalogue.recordOfRow(list, row);
    if (!record)
        return false;
    CharacterSelectionModel model(*record);
    if (!dialog(model))
        return false;
    model.apply(*record);
    updateRow(list, row, *record);
    return true;
}

bool CharacterSelection::selectForSelectedRows(const ScriptCatalogue& catalogue,
                                               UxListViewControl& list, const Dialog& dialog)
{
    ScriptInfo selection;
    if (!buildSelection(catalogue, list, selection))
        return false;
    CharacterSelectionModel model(selection);
    if (dialog(model)) {
        model.apply(selection);
        applyToSelectedRows(catalogue, list, selection);
    }
    return true;
}

bool CharacterSelection::buildSelection(const ScriptCatalogue& catalogue,
                                        const UxListViewControl& list, ScriptInfo& selection)
{
    selection.clear();
    bool first = true;
    for (int row = list.nextSelectedRow(-1); row >= 0; row = list.nextSelectedRow(row)) {
        const ScriptInfo* record = catalogue.recordOfRow(list, row);
        if (!record)
            continue;
        if (first)
            selection.copyFrom(*record);
        else
            selection.merge(*record);
        first = false;
    }
    return !first;
}

void CharacterSelection::applyToSelectedRows(const ScriptCatalogue& catalogue,
                                             UxListViewControl& list, const ScriptInfo& selection)
{
    for (int row = list.nextSelectedRow(-1); row >= 0; row = list.nextSelectedRow(row)) {
        ScriptInfo* record = catalogue.recordOfRow(list, row);
        if (!record)
            continue;
        record->clearPrintTargets();
        FCXListIterator<FCIdString> walk(record->characters());
        while (const FCIdString* character = walk.next()) {
            if (selection.isPrintTarget(character->view()))
                record->addPrintTarget(character->view());
        }
        updateRow(list, row, *record);
    }
}

void CharacterSelection::updateRow(UxListViewControl& list, int row, const ScriptInfo& record)
{
    FCString count;
    FCString others;
    if (!record.summary(count, others))
        count.clear();
    list.setText(row, ScriptCatalogue::ColumnInfo, count.view());
    list.setText(row, ScriptCatalogue::ColumnSuppressed, others.view());
}

bool CharacterSelection::isPrinted(const ScenarioContext& context, const UxListViewControl& list,
                                   int row, const ScriptInfo& record, std::string_view name)
{
    return list.isChecked(row) && record.isPrintTarget(name) && !context.suppressed.contains(name);
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
