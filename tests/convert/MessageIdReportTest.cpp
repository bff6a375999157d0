#include "convert/MessageIdReport.h"

#include "ConvertTestSupport.h"
#include "convert/SourceSurvey.h"

namespace {

std::string report(ConversionState& state)
{
    return utf8(MessageIdReport::text(state).toStdString());
}

} // namespace

TEST(MessageIdReportTest, AnEmptySurveySaysThereIsNothing)
{
    ConversionState state;
    EXPECT_EQ(report(state), "[メッセージID]\n最小値：2147483647\n最大値：-1\n未使用ID数：0\n"
                             "[重複しているID一覧]：0\nありません\n"
                             "[未定義のIDを含むファイル一覧]：0\nありません\n"
                             "[システムID(負の数)を含むファイル一覧]：0\nありません\n"
                             "[登録されていないobj名一覧]ありません\n");
}

TEST(MessageIdReportTest, ListsEveryFinding)
{
    ConversionState state;
    state.readNameDefinitions(FCString(sj("hero,1,主人公\n")));
    SourceSurvey::surveyText(state,
                             FCString(sj("hero.say(1,\"a\");\nhero.say(2,\"a\");\n"
                                         "hero.say(4,\"a\");\nhero.say(4,\"a\");\n"
                                         "猫.say(7,\"a\");\nhero.say(MESSAGEID,\"a\");\n")),
                             FCString(sj("一.cpp")));
    SourceSurvey::surveyText(state, FCString("dog.say(-1,\"a\");\n"), FCString("b.cpp"));
    EXPECT_EQ(report(state), "[メッセージID]\n最小値：1\n最大値：7\n未使用ID数：3\n"
                             "[重複しているID一覧]：1\n4\n"
                             "[未定義のIDを含むファイル一覧]：1\n一.cpp\n"
                             "[システムID(負の数)を含むファイル一覧]：1\nb.cpp\n"
                             "[登録されていないobj名一覧]猫\ndog\n");
}

TEST(MessageIdReportTest, CountsUnusedIdsAcrossTheWholeRange)
{
    ConversionState state;
    SourceSurvey::surveyText(state, FCString("a.say(5,\"x\");\na.say(2147483647,\"x\");\n"),
                             FCString("a.cpp"));
    const std::string text = report(state);
    EXPECT_NE(text.find("最大値：2147483647\n"), std::string::npos) << text;
    EXPECT_NE(text.find("未使用ID数：2147483641\n"), std::string::npos) << text;
}
