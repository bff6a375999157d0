#include "app/VoiceCheckDialogModel.h"

#include "AppTestFolder.h"
#include "AudioTestFiles.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/Quillon.h"
#include "render/LineSelection.h"
#include "platform/SystemClock.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"
#include "voices/VoicePatternSetting.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One scene of three lines (さくら twice, 悠人 once) loaded into the
// application, and a delivery beside it with 000101 (one second) and 000102
// (half a second) recorded, 000103 missing, and a file matching no line.
class VoiceCheckDialogModelTest : public AppTestFolder {
protected:
    VoiceCheckDialogModelTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_scenario.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t1\n"
                                               ".total\t3\n000101 さくら「a」\n"
                                               "000102 悠人「b」\n000103 さくら「c」\n");
        std::filesystem::create_directory(delivery());
        writeAudio(delivery() + "/000101.wav", 8000);
        writeAudio(delivery() + "/000102.wav", 4000);
        writeAudio(delivery() + "/999999.wav", 800);
    }

    void load()
    {
        m_app.setScenarioFolder(m_scenario.path());
        UxProgressDialog progress(m_progress);
        ASSERT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    }
    std::string delivery() const { return m_work.path() + "delivery"; }
    std::string work() const { return m_work.path(); }

    // A list's cells in UTF-8, row by row.
    static Rows cells(const UxListViewControl& list)
    {
        Rows rows;
        for (int row = 0; row < list.rowCount(); ++row) {
            rows.emplace_back();
            for (int column = 0; column < list.columnCount(); ++column)
                rows.back().push_back(utf8(list.cell(row, column)->text));
        }
        return rows;
    }
    static std::vector<std::string> titles(const UxListViewControl& list)
    {
        std::vector<std::string> out;
        for (int column = 0; column < list.columnCount(); ++column)
            out.push_back(utf8(list.column(column).title));
        return out;
    }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_work;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_progress;
    const SystemClock m_clock;
    Quillon m_app;
};

const Rows checkedTable = {{"さくら", "2", "1", "1", "0", "0", "0:00:01.0"},
                           {"悠人", "1", "1", "0", "0", "0", "0:00:00.5"},
                           {"総数", "3", "2", "1", "0", "0", "0:00:01.5"}};
const Rows checkedProblems = {{"未収録", "000103", "s01、さくら"}, {"対応なし", "999999.wav", ""}};

} // namespace

TEST_F(VoiceCheckDialogModelTest, ACheckFillsTheTableAndProblemsAndTellsTheRecordedLines)
{
    load();
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    EXPECT_EQ(titles(model.table()),
              (std::vector<std::string>{"キャラ名", "台詞数", "収録済", "未収録", "重複", "破損",
                                        "収録時間"}));
    EXPECT_EQ(titles(model.problems()), (std::vector<std::string>{"種類", "対象", "詳細"}));
    EXPECT_EQ(model.table().rowCount(), 0);
    EXPECT_FALSE(model.hasResult());

    model.deliveryText = FCString(delivery());
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done)
        << utf8(model.message().toStdString());
    EXPECT_EQ(cells(model.table()), checkedTable);
    EXPECT_EQ(cells(model.problems()), checkedProblems);
    EXPECT_FALSE(model.complete());
    EXPECT_EQ(model.recordedLines(), 2);
    EXPECT_EQ(m_app.recordedLines(), std::optional<int>(2));
    EXPECT_EQ(model.historyEntries().back().toStdString(), delivery());
    EXPECT_TRUE(model.message().isEmpty()) << utf8(model.message().toStdString());
    // Both progress steps under the dialog's title, cancellable.
    EXPECT_EQ(m_progress.opens(), 1 + 2) << "the load, the walk and the probes";
    EXPECT_TRUE(m_progress.lastOpenCancellable());
    EXPECT_EQ(utf8(m_progress.titles().back()), "納品音声の確認");

    // The missing line delivered: complete, and said so.
    writeFlac(delivery() + "/000103.flac", 800);
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_TRUE(model.complete());
    EXPECT_EQ(m_app.recordedLines(), std::optional<int>(3));
    EXPECT_EQ(utf8(model.message().toStdString()),
              "全ての台詞が収録済みで、破損したファイルはありません。");

    // Another load forgets the count, whatever folder it loads.
    UxProgressDialog progress(m_progress);
    ASSERT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    EXPECT_EQ(m_app.recordedLines(), std::nullopt);
}

TEST_F(VoiceCheckDialogModelTest, ACheckThatCannotGoAheadSaysWhyAndChangesNothing)
{
    const struct {
        const char* name;
        bool loaded;
        std::string delivery;
        std::string pattern;
        std::string message; // its beginning
    } cases[] = {
        {"no scenario", false, delivery(), "", "台本フォルダを読み込んでから確認してください。"},
        {"no delivery", true, "", "", "納品フォルダを指定してください。"},
        {"absent delivery", true, work() + "elsewhere", "", "納品フォルダが見つかりません。\n"},
        {"a file for the delivery", true, delivery() + "/000101.wav", "",
         "納品フォルダが見つかりません。\n"},
        {"pattern without group", true, delivery(), "v\\d+",
         "番号のパターンが正しくありません。\n"},
        {"pattern that does not compile", true, delivery(), "v(\\d+",
         "番号のパターンが正しくありません。\n"},
        {"back-reference", true, delivery(), "(\\d)\\1", "番号のパターンが正しくありません。\n"},
    };
    for (const auto& c : cases) {
        if (c.loaded && m_app.scenarioFolder().isEmpty())
            load();
        VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
        model.deliveryText = FCString(sj(c.delivery));
        model.patternText = FCString(sj(c.pattern));
        EXPECT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Refused) << c.name;
        EXPECT_EQ(utf8(model.message().toStdString()).rfind(c.message, 0), 0u)
            << c.name << ": " << utf8(model.message().toStdString());
        EXPECT_FALSE(model.hasResult()) << c.name;
        EXPECT_TRUE(model.historyEntries().empty()) << c.name;
        EXPECT_EQ(m_app.recordedLines(), std::nullopt) << c.name;
        if (c.loaded) {
            EXPECT_EQ(VoicePatternSetting::load(m_scenario.path()), "") << c.name;
        }
    }
}

TEST_F(VoiceCheckDialogModelTest, ThePatternIsTheFoldersAndAGivenOneIsKeptForIt)
{
    load();
    writeAudio(delivery() + "/take_v103.wav", 800);
    {
        VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
        EXPECT_TRUE(model.patternText.isEmpty()) << "the default rule";
        model.deliveryText = FCString(delivery());
        model.patternText = FCString("v(\\d+)");
        ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
        // Only the v-file carries a number now.
        EXPECT_EQ(cells(model.table()).back(),
                  (std::vector<std::string>{"総数", "3", "1", "2", "0", "0", "0:00:00.1"}));
    }
    EXPECT_EQ(VoicePatternSetting::load(m_scenario.path()), "v(\\d+)");
    VoiceCheckDialogModel reopened(m_app, m_notices, m_progress, m_clock);
    EXPECT_EQ(reopened.patternText.toStdString(), "v(\\d+)");
    EXPECT_EQ(reopened.deliveryText.toStdString(), delivery()) << "the newest folder typed";
    // Emptied, the field is the default rule again, for this folder too.
    reopened.patternText.clear();
    ASSERT_EQ(reopened.check(), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_EQ(cells(reopened.table()), checkedTable);
    EXPECT_EQ(VoicePatternSetting::load(m_scenario.path()), "");
}

TEST_F(VoiceCheckDialogModelTest, ACancelledCheckKeepsTheLastResult)
{
    load();
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    model.deliveryText = FCString(delivery());
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    writeFlac(delivery() + "/000103.flac", 800);
    m_progress.cancelAfterSteps(1);
    EXPECT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Cancelled);
    EXPECT_EQ(cells(model.table()), checkedTable);
    EXPECT_EQ(m_app.recordedLines(), std::optional<int>(2));
}

TEST_F(VoiceCheckDialogModelTest, TheCsvIsTheVoicesCommandsAndReplacesTheFile)
{
    load();
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    EXPECT_FALSE(model.saveCsv(work() + "voices.csv")) << "nothing checked yet";
    EXPECT_FALSE(std::filesystem::exists(work() + "voices.csv"));
    EXPECT_EQ(model.csvStart(), m_scenario.path() + "voices.csv");

    model.deliveryText = FCString(delivery());
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    writeText(work() + "voices.csv", "an older list that is longer than the new one ...........");
    ASSERT_TRUE(model.saveCsv(work() + "voices.csv"));
    EXPECT_EQ(fileBytes(work() + "voices.csv"),
              sj("メッセージ番号,シーン,キャラ名,状態,ファイル,秒数\r\n"
                 "000101,s01,さくら,収録済,000101.wav,1.000\r\n"
                 "000102,s01,悠人,収録済,000102.wav,0.500\r\n"
                 "000103,s01,さくら,未収録,,\r\n"
                 ",,,対応なし,999999.wav,\r\n"));
    EXPECT_EQ(utf8(model.message().toStdString()),
              "CSVファイルに保存しました。\n" + work() + "voices.csv");

    // A name Shift-JIS cannot hold is refused rather than written under another.
    EXPECT_FALSE(model.saveCsv(work() + "voices\xF0\x9F\x8E\xA4.csv"));
    EXPECT_FALSE(std::filesystem::exists(work() + "voices\xF0\x9F\x8E\xA4.csv"));
    EXPECT_EQ(utf8(model.message().toStdString()),
              "CSVファイルの名前に、扱えない文字が含まれています。");
}

TEST_F(VoiceCheckDialogModelTest, SortingCopiesOrMovesPerCharacterAndTellsTheSummary)
{
    load();
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    EXPECT_EQ(model.sort(work() + "sorted"), VoiceCheckDialogModel::Outcome::Refused)
        << "nothing checked yet";
    model.deliveryText = FCString(delivery());
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);

    // Never into the delivery: the next check would find every file twice.
    for (const std::string& inside :
         {delivery(), delivery() + "/sorted", delivery() + "/../delivery/x"}) {
        EXPECT_EQ(model.sort(inside), VoiceCheckDialogModel::Outcome::Refused) << inside;
        EXPECT_EQ(utf8(model.message().toStdString()),
                  "振り分け先に、納品フォルダやその中のフォルダは指定できません。");
    }
    EXPECT_FALSE(std::filesystem::exists(delivery() + "/sorted"));
    EXPECT_TRUE(m_host.notices().empty());

    model.byScene = true;
    ASSERT_EQ(model.sort(work() + "sorted"), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_TRUE(std::filesystem::exists(work() + "sorted/さくら/s01/000101.wav"));
    EXPECT_TRUE(std::filesystem::exists(work() + "sorted/悠人/s01/000102.wav"));
    EXPECT_TRUE(std::filesystem::exists(delivery() + "/000101.wav")) << "copied";
    ASSERT_EQ(m_host.notices().size(), 1u);
    EXPECT_EQ(utf8(m_host.notices()[0].title), "納品音声の確認");
    EXPECT_EQ(utf8(m_host.notices()[0].text), "振り分けが終わりました。\n" + work() +
                                                  "sorted\n"
                                                  "コピー 2件、移動 0件、同じファイルがあったもの "
                                                  "0件、別の名前で置いたもの 0件、失敗 0件");
    EXPECT_TRUE(model.canSort());

    model.byScene = false;
    model.moveFiles = true;
    ASSERT_EQ(model.sort(work() + "moved"), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_TRUE(std::filesystem::exists(work() + "moved/さくら/000101.wav"));
    EXPECT_FALSE(std::filesystem::exists(delivery() + "/000101.wav")) << "moved";
    EXPECT_TRUE(std::filesystem::exists(delivery() + "/999999.wav"))
        << "matching nothing, it stays";
    EXPECT_NE(utf8(m_host.notices().back().text).find("移動 2件"), std::string::npos);
    // The result names where the files were: a new check comes first.
    EXPECT_FALSE(model.canSort());
    EXPECT_EQ(model.sort(work() + "again"), VoiceCheckDialogModel::Outcome::Refused);
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_TRUE(model.canSort());
}

TEST_F(VoiceCheckDialogModelTest, WhatTheCheckLeftOutIsToldBesideTheTable)
{
    load();
    // A FIFO would hang whoever opens it, and a scene that went missing
    // since the load cannot be read.
    ASSERT_EQ(mkfifo((delivery() + "/000103.wav").c_str(), 0600), 0);
    std::filesystem::remove(m_scenario.path() + "s01.screenplay.txt");
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    model.deliveryText = FCString(delivery());
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    const std::string message = utf8(model.message().toStdString());
    EXPECT_NE(message.find("読めなかった台本（台詞を確認していません）: " + m_scenario.path() +
                           "s01.screenplay.txt"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("飛ばした項目: 000103.wav ("), std::string::npos) << message;
    EXPECT_EQ(cells(model.table()), (Rows{{"総数", "0", "0", "0", "0", "0", "0:00:00.0"}}));
    EXPECT_EQ(m_app.recordedLines(), std::optional<int>(0));
}

TEST_F(VoiceCheckDialogModelTest, TheMissingLinesGoToThePrinterAsAPartialRun)
{
    load();
    writeCutWav(delivery() + "/000102.wav", 4000); // cut: broken once its content is read
    std::vector<LineSelection> printed;
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    EXPECT_FALSE(model.canPrintMissing()) << "nothing checked yet";
    model.deliveryText = FCString(delivery());
    model.checkContent = true;
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_FALSE(model.canPrintMissing()) << "no printer";
    EXPECT_FALSE(model.printMissing());

    model.setMissingLinesPrinter(
        [&](const LineSelection& selection) { printed.push_back(selection); });
    ASSERT_TRUE(model.canPrintMissing());
    ASSERT_TRUE(model.printMissing());
    ASSERT_EQ(printed.size(), 1u);
    const LineSelection& selection = printed[0];
    EXPECT_EQ(utf8(selection.headerSuffix()), "未収録");
    EXPECT_EQ(selection.marker(), "");
    EXPECT_EQ(selection.lineCount(), 2);
    const LineSelection::Scene* scene = selection.scene("s01.screenplay.txt");
    ASSERT_NE(scene, nullptr);
    // The body lines after the header: 000101 is 0, 000102 is 1, 000103 is 2.
    ASSERT_NE(scene->linesOf(sj("さくら")), nullptr);
    EXPECT_EQ(*scene->linesOf(sj("さくら")), LineSelection::Lines({2}));
    ASSERT_NE(scene->linesOf(sj("悠人")), nullptr) << "a broken file records nothing";
    EXPECT_EQ(*scene->linesOf(sj("悠人")), LineSelection::Lines({1}));

    // Everything delivered: nothing left to print.
    writeAudio(delivery() + "/000102.wav", 4000);
    writeFlac(delivery() + "/000103.flac", 800);
    ASSERT_EQ(model.check(), VoiceCheckDialogModel::Outcome::Done);
    EXPECT_FALSE(model.canPrintMissing());
    EXPECT_FALSE(model.printMissing());
    EXPECT_EQ(printed.size(), 1u);
}
