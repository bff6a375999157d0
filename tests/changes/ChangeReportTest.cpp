#include "changes/ChangeReport.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

LineChange change(LineChange::Kind kind, const std::string& number, const std::string& character,
                  const std::string& before, const std::string& after)
{
    LineChange c;
    c.kind = kind;
    c.number = number;
    c.scene = sj("海辺");
    c.character = sj(character);
    c.oldText = sj(before);
    c.newText = sj(after);
    return c;
}

const std::vector<LineChange> changes = {
    change(LineChange::Kind::Changed, "000001", "さくら", "「一」", "「一, 二」"),
    change(LineChange::Kind::Reassigned, "000002", "ゆう", "「\"二\"」", "「\"二\"」"),
    change(LineChange::Kind::NoteChanged, "", "", "【 暗転 】", ""),
    change(LineChange::Kind::Added, "000003", "さくら", "", "「三\tタブ」"),
};

TEST(ChangeReportTest, ListsEveryChangeThenTheCountsPerCharacter)
{
    EXPECT_EQ(ChangeReport::listing(changes),
              "変更\t000001\t海辺\tさくら\t「一」\t「一, 二」\n"
              "話者変更\t000002\t海辺\tゆう\t「\"二\"」\t「\"二\"」\n"
              "注記変更\t\t海辺\t\t【 暗転 】\t\n"
              "追加\t000003\t海辺\tさくら\t\t「三 タブ」\n"
              "変更数\tさくら\t2\n"
              "変更数\tゆう\t1\n");
}

TEST(ChangeReportTest, WritesTheSameRowsAsShiftJisCsv)
{
    EXPECT_EQ(ChangeReport::csv(changes),
              sj("種類,番号,シーン,キャラ名,旧テキスト,新テキスト\r\n"
                 "変更,000001,海辺,さくら,「一」,\"「一, 二」\"\r\n"
                 "話者変更,000002,海辺,ゆう,\"「\"\"二\"\"」\",\"「\"\"二\"\"」\"\r\n"
                 "注記変更,,海辺,,【 暗転 】,\r\n"
                 "追加,000003,海辺,さくら,,「三\tタブ」\r\n"));
}

TEST(ChangeReportTest, NoChangesListNothing)
{
    EXPECT_EQ(ChangeReport::listing({}), "");
    EXPECT_EQ(ChangeReport::countsByCharacter(changes).size(), 2u);
}

} // namespace
