#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"
#include "reports/CharacterCheckList.h"
#include "reports/CheckListReport.h"
#include "reports/CheckListText.h"
#include "reports/SceneCheckList.h"

namespace {

// scene00001: 悠人 and さくら, 31 lines (1 page in PRESET-14p, 2 in 18p);
// scene00002: nobody speaks (its row starts cleared);
// scene00003: 悠人 and 店主, 61 lines (2 pages, 3 in 18p), row cleared.
class CheckListTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("scene00001.screenplay.txt", "s1", {{"悠人", 2}, {"さくら", 1}}, 31);
        scene("scene00002.screenplay.txt", "s2", {}, 0);
        scene("scene00003.screenplay.txt", "s3", {{"悠人", 5}, {"店主", 3}}, 61);
        load();
        ASSERT_EQ(catalogue().count(), 3);
        ASSERT_EQ(rowOf("scene00003.screenplay.txt"), 2);
        catalogue().setTicked(2, false);
    }

    // The lists into the scenario folder as the options say.
    CheckListReport::Outcome runCommand(bool csv, bool scenes, bool characters, bool unprinted)
    {
        return runCommand(csv, scenes, characters, unprinted, m_progress);
    }
    // The same, the progress shown in view.
    CheckListReport::Outcome runCommand(bool csv, bool scenes, bool characters, bool unprinted,
                                        ProgressView& view)
    {
        UxProgressDialog progress(view);
        return CheckListReport::run(m_app, catalogue(), FCString(m_folder.path()),
                                    CheckListOptions::of(csv, scenes, characters, unprinted),
                                    progress, m_notices);
    }

    std::string file(const std::string& nameUtf8) const
    {
        return bytesOf(m_folder.path() + nameUtf8);
    }
    std::vector<std::string> lists() const { return filesIn(m_folder.path(), "@sceneCheckList."); }
};

} // namespace

TEST_F(CheckListTest, SceneListCsvListsOnlyPrintedScripts)
{
    const auto outcome = runCommand(true, true, false, false);
    EXPECT_EQ(outcome.sceneList, CheckListResult::Written);
    EXPECT_EQ(outcome.characterList, CheckListResult::NotRun);
    ASSERT_EQ(lists(), std::vector<std::string>{"@sceneCheckList.00000000.csv"});
    EXPECT_EQ(file("@sceneCheckList.00000000.csv"), sj("mode:14p 標準指定,,\n"
                                                       "\n"
                                                       ",シナリオ名,キャラ名,ページ数,ワード数\n"
                                                       "□,scene00001,悠人,1,2\n"
                                                       "□,,さくら,1,1\n"));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text,
              m_folder.path() + "@sceneCheckList.00000000.csv" + sj("\nが出力されました。"));
}

TEST_F(CheckListTest, SceneListTextWithUnprintedMarksEveryScript)
{
    m_app.printFormat().setMode(PrintFormat::ModePreset18);
    suppress({"さくら"});
    runCommand(false, true, false, true);
    // "scene00001" has 10 bytes: its later lines start with 10 blanks.
    EXPECT_EQ(file("@sceneCheckList.00000000.txt"),
              sj("mode:18p 標準指定\n"
                 "--------\n"
                 "凡例:□ シナリオ名\tキャラ名\tページ数\tワード数\n"
                 "\t□/■はそれぞれ、現在の設定で印刷される台本/されない台本です。\n"
                 "--------\n"
                 "□ scene00001\t悠人\t2\t2\n"
                 "■           \tさくら\t2\t1\n"
                 "※ scene00002\tメッセージがありません\n"
                 "■ scene00003\t悠人\t3\t5\n"
                 "■           \t店主\t3\t3\n"));
}

TEST_F(CheckListTest, SceneListCsvWithUnprintedShowsTheNoSpeakerLine)
{
    record(0).clearPrintTargets();
    ASSERT_TRUE(record(0).addPrintTarget(sj("さくら")));
    runCommand(true, true, false, true);
    EXPECT_EQ(file("@sceneCheckList.00000000.csv"), sj("mode:14p 標準指定,,\n"
                                                       "\n"
                                                       ",シナリオ名,キャラ名,ページ数,ワード数\n"
                                                       "■,scene00001,悠人,1,2\n"
                                                       "□,,さくら,1,1\n"
                                                       "※,scene00002,メッセージがありません,,\n"
                                                       "■,scene00003,悠人,2,5\n"
                                                       "■,,店主,2,3\n"));
}

TEST_F(CheckListTest, CharacterListsCsvOneFilePerCharacterWithScripts)
{
    const auto outcome = runCommand(true, false, true, false);
    EXPECT_EQ(outcome.sceneList, CheckListResult::NotRun);
    EXPECT_EQ(outcome.characterList, CheckListResult::Written);
    ASSERT_EQ(lists(), (std::vector<std::string>{"@sceneCheckList.さくら.00000000.csv",
                                                 "@sceneCheckList.悠人.00000000.csv"}));
    EXPECT_EQ(file("@sceneCheckList.悠人.00000000.csv"), sj("「悠人」用台本リスト,,,\n"
                                                            ",mode:14p 標準指定,,\n"
                                                            "\n"
                                                            ",シーン名,ページ数,ワード数\n"
                                                            "□,scene00001,1,2\n"));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].title, sj("出力されたファイル一覧"));
    const std::string folder = m_folder.path() + "@sceneCheckList.";
    EXPECT_EQ(m_dialogs.notices()[0].text,
              sj("「悠人」：") + folder + sj("悠人.00000000.csv\n") + sj("「さくら」：") + folder +
                  sj("さくら.00000000.csv\n") +
                  sj("「店主」：現在の設定では、出力する台本がありません\n"));
}

TEST_F(CheckListTest, CharacterListsTextWithUnprinted)
{
    runCommand(false, false, true, true);
    EXPECT_EQ(file("@sceneCheckList.悠人.00000000.txt"), sj("「悠人」用台本リスト\n"
                                                            "\tmode:14p 標準指定\n"
                                                            "--------\n"
                                                            "□ scene00001\t1 頁\t2 台詞\n"
                                                            "■ scene00003\t2 頁\t5 台詞\n"));
    EXPECT_EQ(file("@sceneCheckList.店主.00000000.txt"), sj("「店主」用台本リスト\n"
                                                            "\tmode:14p 標準指定\n"
                                                            "--------\n"
                                                            "■ scene00003\t2 頁\t3 台詞\n"));
    EXPECT_EQ(m_progress.titles().back(), sj("キャラ別台本チェックリスト(TXT)の作成"));
    EXPECT_EQ(m_progress.maximum(), 3);
}

TEST_F(CheckListTest, BothListsTogetherTakeTheirOwnNumbers)
{
    runCommand(true, true, true, false);
    runCommand(true, true, true, false);
    EXPECT_EQ(lists(),
              (std::vector<std::string>{
                  "@sceneCheckList.00000000.csv", "@sceneCheckList.00000001.csv",
                  "@sceneCheckList.さくら.00000000.csv", "@sceneCheckList.さくら.00000001.csv",
                  "@sceneCheckList.悠人.00000000.csv", "@sceneCheckList.悠人.00000001.csv"}));
}

TEST_F(CheckListTest, PageCountsComeFromAnEstimateOverAllRows)
{
    // Without the estimate the cleared scene00003 would show -1.
    runCommand(true, true, false, true);
    EXPECT_EQ(record(2).cachedPageCount(PrintFormat::ModePreset14), 2);
    EXPECT_EQ(m_progress.titles()[m_progress.titles().size() - 2],
              sj("印刷に必要なページ数の確認"));
    EXPECT_EQ(m_progress.titles().back(), sj("シーン別台本チェックリスト(CSV)の作成"));
}

TEST_F(CheckListTest, ACancelledEstimateStillWritesTheListsWithUnknownCounts)
{
    TitledCancelView view(sj("印刷に必要なページ数の確認"), 1);
    const auto outcome = runCommand(true, true, false, true, view);
    EXPECT_TRUE(outcome.estimateCancelled);
    EXPECT_EQ(outcome.sceneList, CheckListResult::Written);
    EXPECT_EQ(file("@sceneCheckList.00000000.csv"), sj("mode:14p 標準指定,,\n"
                                                       "\n"
                                                       ",シナリオ名,キャラ名,ページ数,ワード数\n"
                                                       "□,scene00001,悠人,1,2\n"
                                                       "□,,さくら,1,1\n"
                                                       "※,scene00002,メッセージがありません,,\n"
                                                       "■,scene00003,悠人,-1,5\n"
                                                       "■,,店主,-1,3\n"));
}

TEST_F(CheckListTest, ACancelledSceneListWritesNothingAndSaysNothing)
{
    TitledCancelView view(sj("シーン別台本チェックリスト(CSV)の作成"), 3);
    EXPECT_EQ(runCommand(true, true, false, false, view).sceneList, CheckListResult::Cancelled);
    EXPECT_TRUE(lists().empty());
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(CheckListTest, ACancelledCharacterListKeepsFinishedFilesAndSaysTheRestWasCancelled)
{
    TitledCancelView view(sj("キャラ別台本チェックリスト(CSV)の作成"), 2);
    EXPECT_EQ(runCommand(true, false, true, false, view).characterList, CheckListResult::Cancelled);
    EXPECT_EQ(lists(), std::vector<std::string>{"@sceneCheckList.悠人.00000000.csv"});
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text,
              sj("「悠人」：") + m_folder.path() + sj("@sceneCheckList.悠人.00000000.csv\n") +
                  sj("以降の処理はユーザーによってキャンセルされました。\n"));
}

TEST_F(CheckListTest, NeitherListWritesNothingAndEstimatesNothing)
{
    const int opens = m_progress.opens();
    const auto outcome = runCommand(true, false, false, true);
    EXPECT_EQ(outcome.sceneList, CheckListResult::NotRun);
    EXPECT_EQ(outcome.characterList, CheckListResult::NotRun);
    EXPECT_EQ(m_progress.opens(), opens);
    EXPECT_TRUE(lists().empty());
}

TEST_F(CheckListTest, UnsafeCharacterNamesStayInsideTheOutputFolder)
{
    scene("scene00004.screenplay.txt", "s4", {{"a/b", 4}, {"/x", 1}}, 2);
    load();
    // A folder that the unsafe name would lead into.
    std::filesystem::create_directory(m_folder.path() + "@sceneCheckList.a");
    runCommand(true, false, true, false);
    EXPECT_TRUE(filesIn(m_folder.path() + "@sceneCheckList.a", "").empty());
    EXPECT_EQ(file("@sceneCheckList.a_b.00000000.csv"), sj("「a/b」用台本リスト,,,\n"
                                                           ",mode:14p 標準指定,,\n"
                                                           "\n"
                                                           ",シーン名,ページ数,ワード数\n"
                                                           "□,scene00004,1,4\n"));
    EXPECT_TRUE(m_folder.exists("@sceneCheckList._x.00000000.csv"));
}

TEST_F(CheckListTest, NamesWithoutAFileNameFormAreMendedAndEveryListIsWritten)
{
    // 0x8540 is a well-formed pair that CP932 leaves unassigned: the name
    // has no form on disk. The character after it must still get its list.
    std::string bytes = sj(screenplay("s4", {{"X", 1}, {"綾", 2}}, 2));
    for (size_t at = bytes.find("X"); at != std::string::npos; at = bytes.find("X"))
        bytes.replace(at, 1, "\x85\x40");
    m_folder.writeBytes("scene00004.screenplay.txt", bytes);
    load();
    const auto outcome = runCommand(true, false, true, false);
    EXPECT_EQ(outcome.characterList, CheckListResult::Written);
    EXPECT_TRUE(m_prompt.questions().empty());
    // The list keeps the name as the screenplay has it; only the file name
    // is mended.
    EXPECT_EQ(file("@sceneCheckList._.00000000.csv").substr(0, 4), sj("「") + "\x85\x40");
    EXPECT_TRUE(m_folder.exists("@sceneCheckList.綾.00000000.csv"));
}

TEST_F(CheckListTest, AFailedWriteLeavesNoFileAndStopsTheCharacterLists)
{
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
    const auto outcome = runCommand(true, true, true, false);
    FileFaults::reset();
    EXPECT_EQ(outcome.sceneList, CheckListResult::Failed);
    EXPECT_EQ(outcome.characterList, CheckListResult::Failed);
    EXPECT_TRUE(lists().empty());
    // The file layer asked once for the scene list and once for the first
    // character, whose failure ended the rest.
    EXPECT_EQ(m_prompt.questions().size(), 2u);
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text,
              sj("以降の処理はユーザーによってキャンセルされました。\n"));
}

TEST(CheckListOptionsTest, DefaultsAndBits)
{
    EXPECT_EQ(CheckListOptions().word(), 0x101u);
    EXPECT_EQ(CheckListOptions::of(false, false, true, true).word(), 0x10200u);
    EXPECT_EQ(CheckListOptions::of(true, true, true, false).word(), 0x301u);
    // Any format bits count as CSV.
    EXPECT_TRUE(CheckListOptions(0x5).csv());
    EXPECT_FALSE(CheckListOptions(0x10).csv());
}

TEST(CheckListTextTest, ModeLinesOfEveryMode)
{
    struct Case {
        int mode;
        const char* csv;
        const char* text;
    };
    PrintFormat format;
    format.setCustomFontSize(15);
    format.setCustomLineWidth(22);
    format.setCustomLinesPerPage(41);
    format.setCustomCharsPerLine(38);
    for (const Case& c : {
             Case{0, "CUSTOM: size=15 width=22 lines/page=41 chars/line=38,,",
                  "CUSTOM: size=15, width=22, lines/page=41, chars/line=38"},
             Case{1, "14p 標準指定,,", "14p 標準指定"},
             Case{2, "16p 標準指定,,", "16p 標準指定"},
             Case{3, "18p 標準指定,,", "18p 標準指定"},
             Case{7, "14p 標準指定,,", "14p 標準指定"},
         }) {
        format.setMode(c.mode);
        EXPECT_EQ(CheckListText::modeLine(format, true), sj(c.csv)) << c.mode;
        EXPECT_EQ(CheckListText::modeLine(format, false), sj(c.text)) << c.mode;
    }
}

TEST(CheckListTextTest, SceneNameDropsTheScreenplaySuffix)
{
    EXPECT_EQ(CheckListText::sceneName("s01.screenplay.txt"), "s01");
    EXPECT_EQ(CheckListText::sceneName(sj("港の朝.screenplay.txt")), sj("港の朝"));
    EXPECT_EQ(CheckListText::sceneName("plain.txt"), "plain.txt");
}
