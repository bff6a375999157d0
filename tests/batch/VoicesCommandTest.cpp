#include "batch/VoicesCommand.h"

#include "AudioTestFiles.h"
#include "BatchTestSupport.h"

namespace {

// s01 with two lines of さくら and one of 悠人, a delivery folder beside it.
class VoicesCommandTest : public testing::Test {
protected:
    VoicesCommandTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_scenario.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t1\n"
                                               ".total\t3\n000101 さくら「a」\n"
                                               "000102 悠人「b」\n000103 さくら「c」\n");
        std::filesystem::create_directory(delivery());
        writeAudio(delivery() + "/000101.wav", 8000);
        writeAudio(delivery() + "/000102.wav", 4000);
    }

    std::string folder() const { return m_scenario.path(); }
    std::string delivery() const { return m_work.path() + "delivery"; }
    std::string work() const { return m_work.path(); }

    CommandRun voices(std::vector<std::string> options)
    {
        std::vector<std::string> words{folder(), delivery()};
        words.insert(words.end(), options.begin(), options.end());
        return runCommand(VoicesCommand::run, words);
    }

private:
    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_work;
};

} // namespace

TEST_F(VoicesCommandTest, MissingLinesGiveStatusThree)
{
    const CommandRun run = voices({});
    EXPECT_EQ(run.status, VoicesCommand::Incomplete) << run.err;
    EXPECT_EQ(run.out, "キャラ名\t台詞数\t収録済\t未収録\t重複\t破損\t収録時間\n"
                       "さくら\t2\t1\t1\t0\t0\t0:00:01.0\n"
                       "悠人\t1\t1\t0\t0\t0\t0:00:00.5\n"
                       "総数\t3\t2\t1\t0\t0\t0:00:01.5\n"
                       "未収録\t000103\ts01\tさくら\n");
}

TEST_F(VoicesCommandTest, ACompleteDeliveryGivesStatusZeroAndItsCsv)
{
    writeFlac(delivery() + "/000103.flac", 800);
    const CommandRun run = voices({"--csv", work() + "voices.csv"});
    EXPECT_EQ(run.status, VoicesCommand::Complete) << run.err;
    EXPECT_EQ(fileBytes(work() + "voices.csv"),
              sj("メッセージ番号,シーン,キャラ名,状態,ファイル,秒数\r\n"
                 "000101,s01,さくら,収録済,000101.wav,1.000\r\n"
                 "000102,s01,悠人,収録済,000102.wav,0.500\r\n"
                 "000103,s01,さくら,収録済,000103.flac,0.100\r\n"));
}

TEST_F(VoicesCommandTest, SuppressedCharactersAreNotChecked)
{
    const CommandRun run = voices({"--suppress", "さくら"});
    EXPECT_EQ(run.status, VoicesCommand::Complete) << run.err;
    EXPECT_EQ(run.out.find("さくら"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("対応なし\t000101.wav"), std::string::npos) << run.out;
}

TEST_F(VoicesCommandTest, APatternIsKeptForTheFolder)
{
    std::filesystem::rename(delivery() + "/000101.wav", delivery() + "/take-101.wav");
    std::filesystem::rename(delivery() + "/000102.wav", delivery() + "/take-102.wav");
    EXPECT_EQ(voices({"--pattern", "take-(\\d+)"}).status, VoicesCommand::Incomplete);
    EXPECT_NE(fileBytes(folder() + "quillon.settings.rnf").find("voice.pattern=take-(\\d+)\n"),
              std::string::npos);
    const CommandRun again = voices({});
    EXPECT_NE(again.out.find("総数\t3\t2\t1\t"), std::string::npos) << again.out;
    // An empty pattern goes back to the six digits.
    const CommandRun reset = voices({"--pattern", ""});
    EXPECT_NE(reset.out.find("総数\t3\t0\t3\t"), std::string::npos) << reset.out;
}

TEST_F(VoicesCommandTest, SortsIntoTheDestinationAndLogsIt)
{
    const CommandRun run = voices({"--sort", work() + "sorted", "--by-scene", "--move"});
    EXPECT_EQ(run.status, VoicesCommand::Incomplete) << run.err;
    EXPECT_TRUE(std::filesystem::exists(work() + "sorted/さくら/s01/000101.wav"));
    EXPECT_TRUE(std::filesystem::exists(work() + "sorted/悠人/s01/000102.wav"));
    EXPECT_FALSE(std::filesystem::exists(delivery() + "/000101.wav"));
    EXPECT_NE(utf8(fileBytes(work() + "sorted/quillon.voices.log.txt")).find("移動\t"),
              std::string::npos);
    EXPECT_NE(run.err.find("2 moved"), std::string::npos) << run.err;
}

TEST_F(VoicesCommandTest, BadArgumentsGiveStatusTwo)
{
    EXPECT_EQ(voices({"--move"}).status, 2);
    EXPECT_EQ(voices({"--pattern", "\\d+"}).status, 2);
    EXPECT_EQ(runCommand(VoicesCommand::run, {folder()}).status, 2);
    const CommandRun missing = runCommand(VoicesCommand::run, {folder(), work() + "nothing"});
    EXPECT_EQ(missing.status, 1);
}
