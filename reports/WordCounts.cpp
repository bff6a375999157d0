#include "reports/WordCounts.h"

#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "platform/Sjis.h"
#include "ui/UxListViewControl.h"

#include <array>

const char* WordCounts::title()
{
    return Sjis::of("ワード数一覧");
}

const char* WordCounts::clipboardNoticeTitle()
{
    return Sjis::of("出力通知");
}

const char* WordCounts::clipboardNoticeText()
{
    return Sjis::of("ワード数一覧をクリップボードに出力しました");
}

void WordCounts::defineColumns(UxListViewControl& list)
{
    const std::array<UxListViewControl::ColumnDescriptor, 2> columns{{
        {Sjis::of("キャラ名"), 200},
        {Sjis::of("ワード数"), 100},
    }};
    list.defineColumns(columns);
}

int64_t WordCounts::fillList(const ScriptInfo& record, UxListViewControl& list)
{
    int64_t sum = 0;
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next()) {
        const int row = list.setCell(list.rowCount(), 0, character->view());
        if (row >= 0)
            list.setCell(row, 1, std::to_string(character->id()));
        sum += character->id();
    }
    return sum;
}

int64_t WordCounts::total(const ScriptInfo& record)
{
    int64_t sum = 0;
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next())
        sum += character->id();
    return sum;
}

std::string WordCounts::text(const ScriptInfo& record)
{
    std::string text;
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next()) {
        text.append(character->view());
        text.append(", ");
        text.append(std::to_string(character->id()));
        text.push_back('\n');
    }
    return text;
}

void WordCounts::appendText(const ScriptInfo& record, FCString& text)
{
    text.append(WordCounts::text(record));
}
