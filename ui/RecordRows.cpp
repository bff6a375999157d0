#include "ui/RecordRows.h"

#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "platform/Sjis.h"
#include "ui/UxListViewControl.h"

#include <array>
#include <string>

void RecordRows::fillCharacters(const ScriptInfo& record, UxListViewControl& list, int check)
{
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next()) {
        const int row = list.setCell(list.rowCount(), 0, {});
        if (row < 0)
            return;
        list.setCell(row, 1, character->view());
        if (check == 1)
            list.check(row);
    }
}

void RecordRows::defineWordCountColumns(UxListViewControl& list)
{
    const std::array<UxListViewControl::ColumnDescriptor, 2> columns{{
        {Sjis::of("キャラ名"), 200},
        {Sjis::of("ワード数"), 100},
    }};
    list.defineColumns(columns);
}

void RecordRows::fillWordCounts(const ScriptInfo& record, UxListViewControl& list)
{
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next()) {
        const int row = list.setCell(list.rowCount(), 0, character->view());
        if (row >= 0)
            list.setCell(row, 1, std::to_string(character->id()));
    }
}
