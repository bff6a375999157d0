#include "app/ChangeCheckDialogModel.h"

#include "AppTestFolder.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/InputHistory.h"
#include "app/Quillon.h"
#include "render/LineSelection.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

// Two scenes loaded into the application and an older version of them: in
// s01 さくら's 000101 and 悠人's 000102 rewritten and 悠人's 000104 added, in
// s02 さくら's 000201 given to 悠人.
class ChangeCheckDialogModelTest : public AppTestFolder {
protected:
    ChangeCheckDialogModelTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_old.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t1\n.悠人\t1\n"
                                          ".total\t2\n000101 さくら「a」\n000102 悠人「b」\n");
        m_old.write("s02.screenplay.txt", ".scene\ts02\n.chara\t1\n.さくら\t1\n.total\t1\n"
                                          "000201 さくら「e」\n");
        m_scenario.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t1\n.悠人\t2\n"
                                               ".total\t3\n000101 さくら「a2」\n"
                                               "000102 悠人「b2」\n000104 悠人「d」\n");
        m_scenario.write("s02.screenplay.txt", ".scene\ts02\n.chara\t1\n.悠人\t1\n.total\t1\n"
                                               "000201 悠人「e」\n");
    }

    void load()
    {
        m_app.setScenarioFolder(m_scenario.path());
        UxProgressDialog progress(m_progress);
        ASSERT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    }
    ChangeCheckDialogModel& model()
    {
        m_model.emplace(m_app, m_progress);
        m_model->setPrinter(
            [this](const LineSelection& selection, const std::set<std::string>* recorded) {
                m_printed.push_back(selection.lineCount());
                m_recorded.push_back(recorded ? std::optional(*recorded) : std::nullopt);
            });
        return *m_model;
    }
    // The table's rows, each row's cells joined by "|", in UTF-8.
    static Rows rows(const UxListViewControl& list)
    {
        Rows out;
        for (int row = 0; row < list.rowCount(); ++row) {
            std::string cells;
            for (int column = 0; column < list.columnCount(); ++column)
                cells += (column ? "|" : "") + utf8(list.cell(row, column)->text);
            out.push_back(cells);
        }
        return out;
    }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_old;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_progress;
    Quillon m_app;
    std::optional<ChangeCheckDialogModel> m_model;
    std::vector<int> m_printed;
    std::vector<std::optional<std::set<std::string>>> m_recorded;
};

} // namespace

TEST_F(ChangeCheckDialogModelTest, TheFilterChoosesTheRowsTheCountAndTheLinesPrinted)
{
    load();
    ChangeCheckDialogModel& dialog = model();
    dialog.source = {false, FCString(m_old.path())};
    ASSERT_EQ(dialog.compare(), ChangeCheckDialogModel::Outcome::Done)
        << utf8(dialog.message().toStdString());
    EXPECT_TRUE(dialog.message().isEmpty());
    EXPECT_EQ(m_progress.titles().back(), sj("変更点の確認"));
    std::vector<std::string> filter;
    for (const std::string& entry : dialog.filterEntries())
        filter.push_back(utf8(entry));

    ASSERT_EQ(filter, (std::vector<std::string>{"すべて", "さくら", "悠人"}));

    // The texts as the listing shows them, brackets and all.
    const std::string sakura = "変更|000101|s01|さくら|「a」|「a2」";
    const std::string yuto[] = {"変更|000102|s01|悠人|「b」|「b2」", "追加|000104|s01|悠人||「d」",
                                "話者変更|000201|s02|悠人|「e」|「e」"};
    const struct {
        int index;
        Rows rows;
    } cases[] = {
        {0, {sakura, yuto[0], yuto[1], yuto[2]}},
        {1, {sakura}},
        {2, {yuto[0], yuto[1], yuto[2]}},
        {9, {sakura, yuto[0], yuto[1], yuto[2]}}, // out of range: every character
    };
    for (const auto& c : cases) {
        dialog.chooseFilter(c.index);
        EXPECT_EQ(rows(dialog.table()), c.rows) << c.index;
        EXPECT_EQ(dialog.countText().toStdString(), std::to_string(c.rows.size())) << c.index;
        m_printed.clear();
        EXPECT_TRUE(dialog.printPickup()) << c.index;
        // Every change shown is a line to record again.
        EXPECT_EQ(m_printed, std::vector<int>{int(c.rows.size())}) << c.index;
    }
    EXPECT_EQ(m_recorded.back(), std::nullopt) << "against a folder the record stays";
}

TEST_F(ChangeCheckDialogModelTest, AComparisonThatCannotStartIsRefusedWithItsReason)
{
    m_old.write("note.txt", "x");
    const struct {
        const char* name;
        bool loaded;
        ChangeCheck::Source source;
        const char* message;
    } cases[] = {
        {"no scenario",
         false,
         {true, FCString()},
         "台本フォルダを読み込んでから比較してください。"},
        {"no folder", true, {false, FCString()}, "比較する台本フォルダを指定してください。"},
        {"a missing folder",
         true,
         {false, FCString(m_old.path() + "gone")},
         "比較する台本フォルダが見つかりません。"},
        {"a file",
         true,
         {false, FCString(m_old.path() + "note.txt")},
         "比較する台本フォルダが見つかりません。"},
    };
    for (const auto& c : cases) {
        if (c.loaded)
            load();
        ChangeCheckDialogModel& dialog = model();
        dialog.source = c.source;
        EXPECT_EQ(dialog.compare(), ChangeCheckDialogModel::Outcome::Refused) << c.name;
        EXPECT_EQ(utf8(dialog.message().toStdString()).substr(0, std::string(c.message).size()),
                  c.message)
            << c.name;
        EXPECT_FALSE(dialog.hasResult()) << c.name;
        EXPECT_FALSE(dialog.canPrint()) << c.name;
        EXPECT_FALSE(dialog.printPickup()) << c.name;
    }
    EXPECT_TRUE(m_app.histories().entries(ChangeCheck::HistorySlot).empty())
        << "no folder that was not found";
    EXPECT_TRUE(m_printed.empty());
}

TEST_F(ChangeCheckDialogModelTest, SinceThePrintTheRecordKeepsOnlyScenesWhollyPrinted)
{
    load();
    ChangeCheckDialogModel& dialog = model();
    dialog.source = {true, FCString()};
    ASSERT_EQ(dialog.compare(), ChangeCheckDialogModel::Outcome::Done);
    // Never printed: every line is added, さくら's in s01 and 悠人's in both.
    ASSERT_EQ(dialog.filterEntries().size(), 3u);
    const struct {
        int index;
        std::set<std::string> recorded;
    } cases[] = {
        {0, {"s01.screenplay.txt", "s02.screenplay.txt"}},
        {1, {}},                     // さくら's lines alone leave 悠人's of s01
        {2, {"s02.screenplay.txt"}}, // 悠人 is s02's only speaker
    };
    for (const auto& c : cases) {
        dialog.chooseFilter(c.index);
        ASSERT_TRUE(dialog.printPickup()) << c.index;
        ASSERT_TRUE(m_recorded.back().has_value()) << c.index;
        EXPECT_EQ(*m_recorded.back(), c.recorded) << c.index;
    }
}

TEST_F(ChangeCheckDialogModelTest, NoChangeIsSaidAndACancelKeepsTheLastResult)
{
    load();
    ChangeCheckDialogModel& dialog = model();
    dialog.source = {false, FCString(m_scenario.path())};
    ASSERT_EQ(dialog.compare(), ChangeCheckDialogModel::Outcome::Done);
    EXPECT_EQ(utf8(dialog.message().toStdString()), "変更はありません。");
    EXPECT_EQ(dialog.table().rowCount(), 0);
    EXPECT_EQ(dialog.countText().toStdString(), "0");
    EXPECT_FALSE(dialog.canPrint());
    EXPECT_FALSE(dialog.printPickup());

    dialog.source = {false, FCString(m_old.path())};
    m_progress.cancelAfterSteps(1);
    EXPECT_EQ(dialog.compare(), ChangeCheckDialogModel::Outcome::Cancelled);
    EXPECT_EQ(dialog.table().rowCount(), 0) << "the last result stays";
    EXPECT_EQ(dialog.filterEntries().size(), 1u);
    const std::vector<FCString>& history = m_app.histories().entries(ChangeCheck::HistorySlot);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history.back().toStdString(), m_old.path());
}
