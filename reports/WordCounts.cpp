#include "reports/WordCounts.h"

#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "platform/Sjis.h"

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
