#include "convert/ScreenplayWriter.h"

#include "ConvertTestSupport.h"
#include "document/ScreenplayHeader.h"
#include "document/ScreenplayScanner.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"

#include <filesystem>

namespace {

const std::string heroAndSakura = "hero,2,主人公\nsakura,1,さくら\n";

class ScreenplayWriterTest : public testing::Test {
protected:
    ScreenplayWriterTest() { defineNames(m_state, heroAndSakura); }

    // The body lines a source writes (the header cut off).
    std::string body(const std::string& source)
    {
        const Converted converted = convertUtf8(m_state, source);
        const std::size_t total = converted.screenplay.find(".total\t");
        if (total == std::string::npos)
            return converted.screenplay;
        return converted.screenplay.substr(converted.screenplay.find('\n', total) + 1);
    }

    ConversionState m_state;
};

struct ConstructCase {
    const char* name;
    const char* source;
    const char* body;
};

class ScreenplayConstructTest : public ScreenplayWriterTest,
                                public testing::WithParamInterface<ConstructCase> {};

} // namespace

TEST_P(ScreenplayConstructTest, WritesTheNote)
{
    // A speech line first, so that the scene is written at all.
    const std::string speech = "hero.say(1, \"a\");\n";
    EXPECT_EQ(body(speech + GetParam().source),
              "000001 主人公「a」\n" + std::string(GetParam().body));
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, ScreenplayConstructTest,
    testing::Values(
        ConstructCase{"SemicolonComment", "//; 朝の教室", "            【 朝の教室】\n"},
        ConstructCase{"ExclamationComment", "// 　！雨", "            【雨】\n"},
        ConstructCase{"CgComment", "// EV012a", "            【 ＣＧ表示：EV012a】\n"},
        ConstructCase{"CgCommentUpperCased", "// ev012a", "            【 ＣＧ表示：ev012a】\n"},
        ConstructCase{"EvcgComment", "//EVCG.01", "            【 ＣＧ表示：EVCG.01】\n"},
        ConstructCase{"BackgroundComment", "// 環境BG3", "            【 ＣＧ表示：環境BG3】\n"},
        ConstructCase{"OtherComment", "// EVENT 3\n// hero.say(9, \"x\");", ""},
        ConstructCase{"BlockEntry", "BLOCK_ENTRY(7);", "            【 ↓BLOCKID=7 】\n"},
        ConstructCase{"BlockElse", "BLOCK_ELSE();", "            【 最後のブロック 】\n"},
        ConstructCase{"SetBlock", "CMD_SETBLOCK(7, 1);",
                      "            【 ↑END BLOCKID:7はここまで 】\n\n"},
        ConstructCase{"EnterAndLeave", "hero.enter();\nhero.leave();", ""},
        ConstructCase{"FadeOut", "bg.fadeOut(30);", "            【 暗／明転 】\n"},
        ConstructCase{"FadeOutCg", "bg.fadeOutCg();", "            【 暗転 】\n"},
        ConstructCase{"PlayEffectSecondArgument", "se.playEffect(3, 15);",
                      "            【 効果音再生：15 】\n"},
        ConstructCase{"EnterEffectFirstArgument", "se.enterEffect(8);",
                      "            【 効果音再生：8 】\n"},
        ConstructCase{"LoopEffects", "se.playLoopEffect(0x10);\nse.enterLoopEffect(2);",
                      "            【 効果音再生：16 】\n            【 効果音再生：2 】\n"},
        ConstructCase{"NegativeEffect", "se.enterEffect(-1);", ""},
        ConstructCase{"EffectWithTrailingComment", "se.playEffect(3, 15); //雨音",
                      "            【 雨音 】\n"},
        ConstructCase{"Entry", "s.entry(\"scene02\");",
                      "            【 シーン移動：scene02へ 】\n"},
        ConstructCase{"ChangeRequest", "s.changeRequest(\"終章\");",
                      "            【 シーン移動：終章へ 】\n"},
        ConstructCase{"UnknownMethod", "hero.wave(3);\nUNKNOWN_MACRO(1);", ""}),
    [](const testing::TestParamInfo<ConstructCase>& info) { return std::string(info.param.name); });

TEST_F(ScreenplayWriterTest, SpeechLinesUnderTheTrueName)
{
    EXPECT_EQ(body("hero.say(120, \"こんにちは\");"), "000120 主人公「こんにちは」\n");
    EXPECT_EQ(body("hero.say(120, \"看板\", \"こんにちは\");"),
              "000120 主人公（看板）「こんにちは」\n");
    // An empty alias adds nothing.
    EXPECT_EQ(body("hero.say(120, \"\", \"こんにちは\");"), "000120 主人公「こんにちは」\n");
    // Longer ids keep their last six digits.
    EXPECT_EQ(body("hero.say(1234567, \"x\");"), "234567 主人公「x」\n");
    EXPECT_EQ(m_state.header().startId(), 1234567);
}

TEST_F(ScreenplayWriterTest, CountsSpeechLinesInTheHeader)
{
    const Converted converted =
        convertUtf8(m_state, "hero.say(120, \"こんにちは\");\nsakura.say(7, \"a\");\n"
                             "hero.say(300, \"b\");\nsakura.say(MESSAGEID, \"c\");\n");
    ASSERT_TRUE(converted.spoke);
    EXPECT_EQ(converted.screenplay,
              ".scene\ts\n.start\t7\n.end\t300\n.chara\t2\n.さくら\t1\n.主人公\t2\n.total\t3\n"
              "000120 主人公「こんにちは」\n000007 さくら「a」\n000300 主人公「b」\n");
    EXPECT_EQ(m_state.header().lineCount(2), 2);
}

TEST_F(ScreenplayWriterTest, ChoicesAreNumberedAndRestartAtEveryQuestion)
{
    EXPECT_EQ(body("hero.say(1, \"a\");\nq.initQuestion();\nq.prepareQuestion(\"東\");\n"
                   "q.prepareQuestion(\"西\");\nq.prepareQuestion(\"南\");\nq.initQuestion();\n"
                   "q.prepareQuestion(\"北\");\n"),
              "000001 主人公「a」\n\n            【 選択肢 】\n            【 1.東 】\n"
              "            【 2.西 】\n            【 3.南 】\n\n            【 選択肢 】\n"
              "            【 1.北 】\n");
}

TEST_F(ScreenplayWriterTest, ProblemsGoToTheLogAndTheLineIsDropped)
{
    const Converted converted =
        convertUtf8(m_state, "hero.say(MESSAGEID, \"a\");\nghost.say(5, \"b\");\n"
                             "hero.say(-2, \"c\");\nghost.say(MESSAGEID, \"d\");\n");
    EXPECT_FALSE(converted.spoke);
    EXPECT_EQ(converted.screenplay, "");
    EXPECT_EQ(converted.log, "未解決のメッセージIDが含まれています：/src/s.cpp\n"
                             "登録されていない名前があります（ghost）：/src/s.cpp\n"
                             "未解決のメッセージIDが含まれています：/src/s.cpp\n");
}

TEST_F(ScreenplayWriterTest, TheChoiceCounterStartsAgainForEverySource)
{
    body("hero.say(1, \"a\");\nq.initQuestion();\nq.prepareQuestion(\"東\");\n");
    EXPECT_EQ(body("hero.say(1, \"a\");\nq.prepareQuestion(\"西\");\n"),
              "000001 主人公「a」\n            【 1.西 】\n");
}

TEST_F(ScreenplayWriterTest, EveryConstructOfAWholeScene)
{
    defineNames(m_state, utf8(fixtureBytes("names.txt")));
    const Converted converted = [&] {
        ScreenplayWriter writer(m_state);
        FCString screenplay, log;
        const bool spoke =
            writer.convertText(FCString(fixtureBytes("scene-with-every-construct.cpp")),
                               FCString("every"), FCString("/src/every.cpp"), screenplay, log);
        return Converted{spoke, utf8(screenplay.toStdString()), utf8(log.toStdString())};
    }();
    ASSERT_TRUE(converted.spoke);
    const std::string n = notes;
    EXPECT_EQ(converted.screenplay,
              ".scene\tevery\n.start\t120\n.end\t1234567\n.chara\t2\n.さくら\t1\n.主人公\t2\n"
              ".total\t3\n" +
                  n + "【 朝の教室】\n" + n + "【 雨が降っている】\n" + n +
                  "【 ＣＧ表示：EV012a.png】\n" + n + "【 ＣＧ表示：ev013b】\n" + n +
                  "【 ＣＧ表示：環境BG02】\n" + n + "【 ＣＧ表示：BG】\n" +
                  "000120 主人公「こんにちは」\n000121 さくら（看板）「いらっしゃい」\n" + n +
                  "【 暗／明転 】\n" + n + "【 暗転 】\n" + n + "【 ↓BLOCKID=7 】\n" +
                  "234567 主人公「長いID」\n" + n + "【 最後のブロック 】\n" + n +
                  "【 ↑END BLOCKID:7はここまで 】\n\n\n" + n + "【 選択肢 】\n" + n +
                  "【 1.行く 】\n" + n + "【 2.行かない 】\n\n" + n + "【 選択肢 】\n" + n +
                  "【 1.もう一度 】\n" + n + "【 効果音再生：15 】\n" + n +
                  "【 効果音再生：8 】\n" + n + "【  雨音 】\n" + n +
                  "【 シーン移動：scene02へ 】\n" + n + "【 シーン移動：scene03へ 】\n");
    EXPECT_EQ(converted.log, "未解決のメッセージIDが含まれています：/src/every.cpp\n"
                             "登録されていない名前があります（ghost）：/src/every.cpp\n");
}

TEST_F(ScreenplayWriterTest, TheWrittenHeaderReadsBackAsTheLayoutEngineReadsIt)
{
    const Converted converted = convertUtf8(
        m_state, "sakura.say(40, \"a\");\nhero.say(41, \"看板\", \"b\");\nhero.say(39, \"c\");\n");
    const std::string bytes = sj(converted.screenplay);
    ScreenplayScanner scanner(bytes);
    ScreenplayHeader header;
    ASSERT_TRUE(header.read(scanner));
    EXPECT_EQ(header.sceneName().toStdString(), "s");
    EXPECT_EQ(header.start(), 39);
    EXPECT_EQ(header.end(), 41);
    EXPECT_EQ(header.total(), 3);
    EXPECT_EQ(header.find(sj("主人公")), 1);
    EXPECT_EQ(header.find(sj("さくら")), 0);
    EXPECT_EQ(header.character(1).count, 2);
    std::string_view line;
    ASSERT_TRUE(scanner.nextLine(line));
    EXPECT_EQ(utf8(std::string(line)), "000040 さくら「a」");
}

TEST(ScreenplayWriterNameTest, SceneNameDropsEveryCpp)
{
    EXPECT_EQ(ScreenplayWriter::sceneNameOf(FCString("/x/a.cpp")).toStdString(), "a");
    EXPECT_EQ(ScreenplayWriter::sceneNameOf(FCString("/x/a.cpp.cpp")).toStdString(), "a");
    EXPECT_EQ(ScreenplayWriter::sceneNameOf(FCString("/x/A.CPP")).toStdString(), "A.CPP");
    EXPECT_EQ(ScreenplayWriter::sceneNameOf(FCString("/x.cpp/b.cppx")).toStdString(), "bx");
}

class ScreenplayFileTest : public ScreenplayWriterTest {
protected:
    ScenarioTestFolder m_in;
    ScenarioTestFolder m_out;

    std::string convertFile(const std::string& name, ScreenplayWriter::Result expected)
    {
        ScreenplayWriter writer(m_state);
        FCString log;
        // No trailing separator: the writer adds it.
        std::string out = m_out.path();
        out.pop_back();
        EXPECT_EQ(writer.convertSource(FCString(m_in.path() + name), FCString(out), log), expected);
        return utf8(log.toStdString());
    }
};

TEST_F(ScreenplayFileTest, WritesTheFileAndLogsIt)
{
    m_in.write("a.cpp", "hero.say(120, \"こんにちは\");\n");
    EXPECT_EQ(convertFile("a.cpp", ScreenplayWriter::Result::Written), "○：a.screenplay.txt\n");
    EXPECT_EQ(utf8(fileText(m_out.path() + "a.screenplay.txt")),
              ".scene\ta\n.start\t120\n.end\t120\n.chara\t1\n.主人公\t1\n.total\t1\n"
              "000120 主人公「こんにちは」\n");
}

TEST_F(ScreenplayFileTest, ASourceWithoutSpeechWritesNoFile)
{
    m_in.write("b.cpp", "hero.say(MESSAGEID, \"x\");\nhero.say(MESSAGEID, \"y\");\n");
    const std::string log = convertFile("b.cpp", ScreenplayWriter::Result::NoSpeech);
    EXPECT_EQ(log, "未解決のメッセージIDが含まれています：" + m_in.path() + "b.cpp\n" +
                       "未解決のメッセージIDが含まれています：" + m_in.path() + "b.cpp\n" +
                       "×：b.screenplay.txt\n");
    EXPECT_FALSE(m_out.exists("b.screenplay.txt"));
}

TEST_F(ScreenplayFileTest, AnExistingLongerFileIsReplacedWhole)
{
    m_out.write("a.screenplay.txt", std::string(5000, 'x'));
    m_in.write("a.cpp", "hero.say(1, \"a\");\n");
    convertFile("a.cpp", ScreenplayWriter::Result::Written);
    EXPECT_EQ(fileText(m_out.path() + "a.screenplay.txt").find('x'), std::string::npos);
}

TEST_F(ScreenplayFileTest, AnUnreadableSourceIsLoggedAndNothingWritten)
{
    ScriptedPrompt prompt{Prompt::Answer::Cancel};
    Prompt::Scope scope(prompt);
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied, 0, 1);
    m_in.write("a.cpp", "hero.say(1, \"a\");\n");
    const std::string log = convertFile("a.cpp", ScreenplayWriter::Result::Unreadable);
    EXPECT_EQ(log,
              "ソースファイルを読み込めません：" + m_in.path() + "a.cpp\n×：a.screenplay.txt\n");
    EXPECT_FALSE(m_out.exists("a.screenplay.txt"));
    EXPECT_EQ(prompt.questions().size(), 1u);
}

TEST_F(ScreenplayFileTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    m_out.write("a.screenplay.txt", "old");
    m_in.write("a.cpp", "hero.say(1, \"a\");\n");
    ScriptedPrompt prompt{Prompt::Answer::Cancel};
    Prompt::Scope scope(prompt);
    FileFaults::Scope faults;
    // The source opens; the temporary file beside the output does not.
    FileFaults::fail(FileFaults::Kind::Open, WinError::DiskFull, 1, 1);
    const std::string log = convertFile("a.cpp", ScreenplayWriter::Result::NotWritten);
    EXPECT_EQ(log, "台本ファイルを書き込めません：" + m_out.path() +
                       "a.screenplay.txt\n×：a.screenplay.txt\n");
    EXPECT_EQ(fileText(m_out.path() + "a.screenplay.txt"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_out.path()), {}), 1);
}

TEST_F(ScreenplayWriterTest, BrokenSourcesConvertWhatTheyCan)
{
    struct {
        const char* fixture;
        std::string body; // CP932
    } cases[] = {
        {"unterminated-quote.cpp",
         sj("000010 主人公「閉じていない台詞」\n000011 主人公「次の行」\n")},
        // The lead byte that lost its trail is dropped, so that it cannot
        // swallow the closing bracket.
        {"lead-byte-at-end.cpp", sj("000005 主人公「") + "\x82\xa0" + sj("」\n")},
        // Bytes that are no Shift-JIS pass through as they are.
        {"not-shift-jis.cpp", sj("000006 主人公「") + "\xe3\x81\x82 utf-8 \xff\xfe" +
                                  sj("」\n000007 主人公「") + "\x80\xa0" + sj("」\n")},
    };
    for (const auto& c : cases) {
        ScreenplayWriter writer(m_state);
        FCString screenplay, log;
        ASSERT_TRUE(writer.convertText(FCString(fixtureBytes(c.fixture)), FCString("s"),
                                       FCString("/s.cpp"), screenplay, log))
            << c.fixture;
        const std::string text = screenplay.toStdString();
        const std::size_t body = text.find('\n', text.find(".total\t")) + 1;
        EXPECT_EQ(text.substr(body), c.body) << c.fixture;
        EXPECT_TRUE(log.isEmpty()) << c.fixture;
    }
}

TEST_F(ScreenplayWriterTest, ALineOfMegabytesIsOneSpeechLine)
{
    const std::string huge(4 << 20, 'x');
    ScreenplayWriter writer(m_state);
    FCString screenplay, log;
    ASSERT_TRUE(writer.convertText(FCString("hero.say(3, \"" + huge + "\");\n"), FCString("s"),
                                   FCString("/s.cpp"), screenplay, log));
    EXPECT_NE(screenplay.view().find(sj("000003 主人公「") + huge + sj("」\n")),
              std::string_view::npos);
}

TEST_F(ScreenplayWriterTest, TrueNameWithACommaDiffersBetweenBodyAndHeader)
{
    defineNames(m_state, utf8(fixtureBytes("names-with-comma-in-true-name.txt")));
    const Converted converted = convertUtf8(m_state, "hero.say(1, \"a\");\n");
    // The body takes the true name up to the comma, the header the whole
    // rest of the first line numbered 2.
    EXPECT_EQ(converted.screenplay, ".scene\ts\n.start\t1\n.end\t1\n.chara\t1\n.主人公,ゆうと\t1\n"
                                    ".total\t1\n000001 主人公「a」\n");
}

TEST_F(ScreenplayFileTest, TwoSourcesOfOneNameInOneRunAreReported)
{
    std::filesystem::create_directory(m_in.path() + "other");
    m_in.write("a.cpp", "hero.say(1, \"first\");\n");
    m_in.write("other/a.cpp", "hero.say(2, \"second\");\n");
    ScreenplayWriter writer(m_state);
    FCString log;
    ASSERT_EQ(writer.convertSource(FCString(m_in.path() + "a.cpp"), FCString(m_out.path()), log),
              ScreenplayWriter::Result::Written);
    ASSERT_EQ(
        writer.convertSource(FCString(m_in.path() + "other/a.cpp"), FCString(m_out.path()), log),
        ScreenplayWriter::Result::Written);
    EXPECT_EQ(utf8(log.toStdString()),
              "○：a.screenplay.txt\n同じ名前の台本ファイルを上書きしました：" + m_out.path() +
                  "a.screenplay.txt\n○：a.screenplay.txt\n");
    EXPECT_NE(utf8(fileText(m_out.path() + "a.screenplay.txt")).find("second"), std::string::npos);
}

TEST_F(ScreenplayFileTest, ABatchedRunPutsTheSameFilesInPlaceWhenItFinishes)
{
    m_in.write("a.cpp", "hero.say(1, \"いち\");\nsakura.say(2, \"看板\", \"に\");\n");
    m_in.write("b.cpp", "// EV01\nsakura.say(3, \"さん\");\n");
    ScenarioTestFolder single;
    FCString singleLog, batchedLog;
    ScreenplayWriter oneByOne(m_state);
    ScreenplayWriter batched(m_state, 8);
    for (const char* name : {"a.cpp", "b.cpp"}) {
        const FCString source(m_in.path() + name);
        ASSERT_EQ(oneByOne.convertSource(source, FCString(single.path()), singleLog),
                  ScreenplayWriter::Result::Written);
        ASSERT_EQ(batched.convertSource(source, FCString(m_out.path()), batchedLog),
                  ScreenplayWriter::Result::Written);
    }
    EXPECT_TRUE(single.exists("a.screenplay.txt"));
    EXPECT_FALSE(m_out.exists("a.screenplay.txt"));
    EXPECT_EQ(batched.finish(batchedLog), 0);
    EXPECT_EQ(batchedLog.toStdString(), singleLog.toStdString());
    for (const char* name : {"a.screenplay.txt", "b.screenplay.txt"}) {
        ASSERT_TRUE(m_out.exists(name)) << name;
        EXPECT_EQ(fileText(m_out.path() + name), fileText(single.path() + name)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_out.path()), {}), 2);
}

TEST_F(ScreenplayFileTest, AFileLostAtTheBatchCommitIsLoggedAndCounted)
{
    m_in.write("a.cpp", "hero.say(1, \"a\");\n");
    m_in.write("b.cpp", "hero.say(2, \"b\");\n");
    std::filesystem::create_directory(m_out.path() + "a.screenplay.txt");
    ScreenplayWriter writer(m_state, 8);
    FCString log;
    for (const char* name : {"a.cpp", "b.cpp"})
        ASSERT_EQ(writer.convertSource(FCString(m_in.path() + name), FCString(m_out.path()), log),
                  ScreenplayWriter::Result::Written);
    EXPECT_EQ(writer.finish(log), 1);
    EXPECT_EQ(utf8(log.toStdString()), "○：a.screenplay.txt\n○：b.screenplay.txt\n"
                                       "台本ファイルを書き込めません：" +
                                           m_out.path() +
                                           "a.screenplay.txt\n×：a.screenplay.txt\n");
    EXPECT_EQ(writer.finish(log), 0);
    EXPECT_TRUE(m_out.exists("b.screenplay.txt"));
}
