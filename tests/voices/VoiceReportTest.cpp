#include "voices/VoiceReport.h"

#include "VoiceTestScenario.h"

TEST(VoiceReportTest, TableAndProblemsOfAMixedDelivery)
{
    VoiceScenario scenario;
    const VoiceCheck::Result result = scenario.check(true);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(VoiceReport::table({scenario.lines, scenario.sceneNames, scenario.found, result}),
              "キャラ名\t台詞数\t収録済\t未収録\t重複\t破損\t収録時間\n"
              "悠人\t3\t1\t1\t0\t1\t0:00:01.0\n"
              "さくら\t4\t2\t0\t1\t1\t0:00:02.0\n"
              "店主\t1\t1\t0\t0\t0\t0:00:01.0\n"
              "総数\t8\t4\t1\t1\t2\t0:00:04.0\n"
              "未収録\t000002\ts01\t悠人\n"
              "重複\t000003\t000003.wav\ttake2/sakura_000003_t2.flac\n"
              "破損\t000004.wav\t途中で切れています\n"
              "破損\t000005.wav\t開けません（Format not recognised.）\n"
              "無音\t000006.wav\t-inf dBFS\n"
              "対応なし\t999999.wav\n"
              "対応なし\tvoice.wav\n"
              "番号重複\t000001\ts01\ts02\n"
              "番号なし\tx12\ts01\tさくら\n");
}

TEST(VoiceReportTest, CsvHasARowPerLineThenTheUnmatchedFiles)
{
    VoiceScenario scenario;
    const VoiceCheck::Result result = scenario.check(true);
    EXPECT_EQ(utf8(VoiceReport::csv({scenario.lines, scenario.sceneNames, scenario.found, result})),
              "メッセージ番号,シーン,キャラ名,状態,ファイル,秒数\r\n"
              "000001,s01,さくら,収録済,000001.wav,1.000\r\n"
              "000002,s01,悠人,未収録,,\r\n"
              "000003,s01,さくら,重複,000003.wav,1.000\r\n"
              "000004,s01,悠人,破損,000004.wav,\r\n"
              "x12,s01,さくら,番号なし,,\r\n"
              "000005,s02,さくら,破損,000005.wav,\r\n"
              "000001,s02,悠人,収録済,000001.wav,1.000\r\n"
              "000006,s02,店主,収録済,000006.wav,1.000\r\n"
              ",,,対応なし,999999.wav,\r\n"
              ",,,対応なし,voice.wav,\r\n");
}

TEST(VoiceReportTest, TheHeaderAloneTakesACutFileForARecording)
{
    VoiceScenario scenario;
    const VoiceCheck::Result result = scenario.check(false);
    // 000004.wav plays its half second; nothing is called silent unread.
    EXPECT_EQ(result.lines[3].state, VoiceCheck::State::Recorded);
    EXPECT_EQ(result.total.broken, 1);
    EXPECT_DOUBLE_EQ(result.total.seconds, 4.5);
    EXPECT_FALSE(result.files[4].probe.silent());
}

TEST(VoiceReportTest, ACancelLeavesTheCheckUnfinished)
{
    VoiceScenario scenario;
    QuietProgress progress(2);
    bool cancelled = false;
    ASSERT_EQ(DeliveryScan::scan(scenario.delivery.path(), VoiceNumberPattern(), {}, progress,
                                 scenario.found, cancelled),
              0);
    const VoiceCheck::Result result = VoiceCheck::run(
        scenario.lines, scenario.found, {},
        [](const DeliveredFile&) { return AudioProbe::Result(); }, progress);
    EXPECT_TRUE(result.cancelled);
}

TEST(VoiceReportTest, CsvFieldsAreQuotedOnlyWhenTheyMustBe)
{
    EXPECT_EQ(VoiceReport::csvField("plain.wav"), "plain.wav");
    EXPECT_EQ(VoiceReport::csvField("a,b.wav"), "\"a,b.wav\"");
    EXPECT_EQ(VoiceReport::csvField("say \"hi\".wav"), "\"say \"\"hi\"\".wav\"");
    EXPECT_EQ(VoiceReport::duration(0), "0:00:00.0");
    EXPECT_EQ(VoiceReport::duration(3725.46), "1:02:05.5");
}
