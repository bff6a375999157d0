#include "convert/MessageIdReport.h"

#include "convert/ConversionState.h"
#include "platform/Sjis.h"

#include <string>
#include <vector>

namespace {

void appendNumber(FCString& text, int64_t value)
{
    text.append(std::to_string(value));
}

void appendFiles(FCString& text, const char* heading, const std::vector<FCString>& files)
{
    text << Sjis::of(heading);
    appendNumber(text, int64_t(files.size()));
    text << "\n";
    if (files.empty())
        text << Sjis::of("ありません\n");
    for (const FCString& file : files)
        text << file << "\n";
}

} // namespace

FCString MessageIdReport::text(const ConversionState& state)
{
    FCString text;
    text.create(65536, "");
    text << Sjis::of("[メッセージID]\n") << Sjis::of("最小値：") << state.smallestId() << "\n";
    text << Sjis::of("最大値：") << state.largestId() << "\n";
    text << Sjis::of("未使用ID数：");
    appendNumber(text, state.unusedIds());
    text << "\n";

    const std::vector<int32_t> duplicates = state.duplicateIds();
    text << Sjis::of("[重複しているID一覧]：");
    appendNumber(text, int64_t(duplicates.size()));
    text << "\n";
    if (duplicates.empty())
        text << Sjis::of("ありません\n");
    for (int32_t id : duplicates)
        text << id << "\n";

    appendFiles(text, "[未定義のIDを含むファイル一覧]：", state.filesWithUndefinedIds());
    appendFiles(text, "[システムID(負の数)を含むファイル一覧]：", state.filesWithSystemIds());

    // This heading has neither a count nor a line break of its own: the
    // first name (or "ありません") follows on the same line.
    text << Sjis::of("[登録されていないobj名一覧]");
    if (state.unregisteredNames().empty())
        text << Sjis::of("ありません\n");
    for (const FCString& name : state.unregisteredNames())
        text << name << "\n";
    return text;
}
