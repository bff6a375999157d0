#include "app/ConversionDialogModel.h"

#include "convert/ConvertTestSupport.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <filesystem>

namespace {

// A source folder with three scenes, an output folder and a definitions
// file; notices and questions go to a scripted host, progress to a
// scripted view.
class ConversionDialogModelTest : public testing::Test {
protected:
    ConversionDialogModelTest()
    {
        m_src.write("a.cpp", "hero.say(1, \"a\");\n");
        m_src.write("b.cpp", "hero.say(2, \"b\");\nghost.say(3, \"c\");\n");
        m_src.write("c.cpp", "hero.say(MESSAGEID, \"d\");\n");
        std::filesystem::create_directory(m_src.path() + "sub");
        m_src.write("sub/d.cpp", "hero.say(4, \"e\");\n");
        m_src.write("names.txt", "hero,1,主人公\nsakura,0,さくら\n");
        m_model.sourceFolderText = FCString(m_src.path());
        m_model.outputFolderText = FCString(m_out.path());
        m_model.definitionsText = FCString(m_src.path() + "names.txt");
    }

    std::vector<std::string> outputs() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_out.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScenarioTestFolder m_src;
    ScenarioTestFolder m_out;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_view;
    ConversionState m_state;
    ConversionDialogModel m_model{m_state, m_notices, m_view};
};

} // namespace

TEST_F(ConversionDialogModelTest, InputChecksInOrder)
{
    struct {
        bool source, output, definitions;
        const char* message;
    } cases[] = {
        {false, false, false, "入力するCPPのあるフォルダを指定して下さい"},
        {true, false, true, "台本を出力するフォルダを指定して下さい。"},
        {true, true, false,
         "真の名前を定義したファイルを指定して下さい。真の名前,OBJECT名 の形で定義されています。"},
    };
    for (const auto& c : cases) {
        for (bool survey : {false, true}) {
            ConversionDialogModel model(m_state, m_notices, m_view);
            model.sourceFolderText = c.source ? FCString(m_src.path()) : FCString();
            model.outputFolderText = c.output ? FCString(m_out.path()) : FCString();
            model.definitionsText = c.definitions ? FCString("names.txt") : FCString();
            const auto outcome = survey ? model.preSurvey() : model.convert();
            EXPECT_EQ(outcome, ConversionDialogModel::Outcome::InputMissing);
            EXPECT_EQ(utf8(model.message().toStdString()), c.message);
        }
    }
    EXPECT_TRUE(m_host.notices().empty());
    EXPECT_EQ(m_view.opens(), 0);
}

TEST_F(ConversionDialogModelTest, MissingFoldersAndDefinitionsAreRefused)
{
    struct {
        std::string source, output, definitions;
        const char* notice;
    } cases[] = {
        {m_src.path() + "none", m_out.path(), "x", "ソースフォルダが見つかりません"},
        {m_src.path(), m_out.path() + "none", "x", "出力先フォルダが見つかりません"},
        {m_src.path(), m_out.path(), m_src.path() + "none.txt", "名前定義ファイルを登録できません"},
    };
    for (const auto& c : cases) {
        for (bool survey : {false, true}) {
            m_model.sourceFolderText = FCString(c.source);
            m_model.outputFolderText = FCString(c.output);
            m_model.definitionsText = FCString(c.definitions);
            const auto outcome = survey ? m_model.preSurvey() : m_model.convert();
            EXPECT_EQ(outcome, ConversionDialogModel::Outcome::Refused);
            EXPECT_EQ(utf8(m_model.refusal().toStdString()), c.notice);
            ASSERT_FALSE(m_host.notices().empty());
            EXPECT_EQ(utf8(m_host.notices().back().text), c.notice);
        }
    }
    EXPECT_TRUE(outputs().empty());
}

TEST_F(ConversionDialogModelTest, PreSurveyShowsTheReportAndTheDefinitions)
{
    m_model.includeSubfolders = true;
    std::vector<std::string> messages;
    m_model.setMessageListener([&] { messages.push_back(utf8(m_model.message().toStdString())); });
    ASSERT_EQ(m_model.preSurvey(), ConversionDialogModel::Outcome::Done);
    ASSERT_EQ(m_host.notices().size(), 1u);
    EXPECT_EQ(utf8(m_host.notices()[0].text),
              "[メッセージID]\n最小値：1\n最大値：4\n未使用ID数：0\n[重複しているID一覧]：0\n"
              "ありません\n[未定義のIDを含むファイル一覧]：1\nc.cpp\n"
              "[システムID(負の数)を含むファイル一覧]：0\nありません\n"
              "[登録されていないobj名一覧]ghost\n");
    EXPECT_EQ(messages, (std::vector<std::string>{"d.cpp出力中...", "a.cpp出力中...",
                                                  "b.cpp出力中...", "c.cpp出力中..."}));
    // The list holds what the file defines, not the survey's placeholders.
    ASSERT_EQ(m_model.rows().size(), 2u);
    EXPECT_EQ(m_model.rows()[0].objectName.toStdString(), "hero");
    EXPECT_EQ(utf8(m_model.rows()[0].trueName.toStdString()), "主人公");
    EXPECT_TRUE(m_model.rows()[1].checked);
    m_model.toggleRow(1);
    EXPECT_FALSE(m_model.rows()[1].checked);
    m_model.toggleRow(1);
    m_model.toggleRow(7);
    EXPECT_TRUE(m_model.rows()[1].checked);
    m_model.close();
    EXPECT_TRUE(m_model.rows().empty());
    EXPECT_TRUE(outputs().empty());
}

TEST_F(ConversionDialogModelTest, ConvertsEverySourceInPathOrder)
{
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"a.screenplay.txt", "b.screenplay.txt"}));
    const std::string expectedLog =
        "○：a.screenplay.txt\n登録されていない名前があります（ghost）：" + m_src.path() +
        "b.cpp\n○：b.screenplay.txt\n" + "未解決のメッセージIDが含まれています：" + m_src.path() +
        "c.cpp\n×：c.screenplay.txt\n";
    EXPECT_EQ(utf8(m_model.log().toStdString()), expectedLog);
    ASSERT_EQ(m_host.notices().size(), 1u);
    EXPECT_EQ(utf8(m_host.notices()[0].text), expectedLog);
    EXPECT_EQ(m_model.sourceCount(), 3);
    EXPECT_EQ(m_model.writtenCount(), 2);
    EXPECT_EQ(m_model.logSave(), ConversionDialogModel::LogSave::NotAsked);
    // The progress dialog: its title, the range, a step and text per source.
    EXPECT_EQ(m_view.titles().back(), sj("台本の出力"));
    EXPECT_EQ(m_view.maximum(), 3);
    EXPECT_EQ(m_view.steps(), 3);
    EXPECT_TRUE(m_view.lastOpenCancellable());
    EXPECT_EQ(m_view.closes(), 1);
    EXPECT_EQ(utf8(m_view.texts().back()), "c.cppを出力中");
    EXPECT_EQ(
        utf8(fileText(m_out.path() + "a.screenplay.txt")),
        ".scene\ta\n.start\t1\n.end\t1\n.chara\t1\n.主人公\t1\n.total\t1\n000001 主人公「a」\n");
}

TEST_F(ConversionDialogModelTest, SubFoldersOnlyWhenAsked)
{
    m_model.includeSubfolders = true;
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"a.screenplay.txt", "b.screenplay.txt",
                                                   "d.screenplay.txt"}));
}

TEST_F(ConversionDialogModelTest, CancelAfterTheFirstSourceKeepsItsOutput)
{
    m_view.cancelAfterSteps(1);
    m_model.logFileText = FCString(m_out.path() + "run.log");
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Cancelled);
    EXPECT_EQ(utf8(m_model.log().toStdString()),
              "○：a.screenplay.txt\n\n処理はキャンセルされました\n");
    EXPECT_EQ(outputs(), (std::vector<std::string>{"a.screenplay.txt", "run.log"}));
    // The log is still shown and saved.
    EXPECT_EQ(m_host.notices().size(), 1u);
    EXPECT_EQ(m_model.logSave(), ConversionDialogModel::LogSave::Saved);
    EXPECT_EQ(fileText(m_out.path() + "run.log"), m_model.log().toStdString());
}

TEST_F(ConversionDialogModelTest, AnExistingLogIsOverwrittenOnlyOnYes)
{
    const std::string log = m_out.path() + "run.log";
    m_out.writeBytes("run.log", "previous");
    m_model.logFileText = FCString(log);

    m_host.push(false);
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    ASSERT_EQ(m_host.questions().size(), 1u);
    EXPECT_EQ(utf8(m_host.questions()[0].text),
              log + "\nが存在しています。上書きしても構いませんか？");
    EXPECT_EQ(utf8(m_host.questions()[0].title), "ログファイル上書きの確認");
    EXPECT_EQ(m_model.logSave(), ConversionDialogModel::LogSave::KeptExisting);
    EXPECT_EQ(fileText(log), "previous");
    EXPECT_EQ(m_host.notices().size(), 1u);

    m_host.push(true);
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    EXPECT_EQ(m_model.logSave(), ConversionDialogModel::LogSave::Saved);
    EXPECT_EQ(fileText(log), m_model.log().toStdString());
}

TEST_F(ConversionDialogModelTest, ALogFolderIsNoLogFile)
{
    std::filesystem::create_directory(m_out.path() + "logs");
    m_model.logFileText = FCString(m_out.path() + "logs");
    m_host.push(true);
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    EXPECT_EQ(m_model.logSave(), ConversionDialogModel::LogSave::Failed);
    EXPECT_TRUE(std::filesystem::is_directory(m_out.path() + "logs"));
}

TEST_F(ConversionDialogModelTest, RunsDoNotInfluenceEachOther)
{
    ASSERT_EQ(m_model.preSurvey(), ConversionDialogModel::Outcome::Done);
    // The survey entered ghost as a placeholder; the conversion must not
    // find it.
    ASSERT_EQ(m_model.convert(), ConversionDialogModel::Outcome::Done);
    EXPECT_NE(utf8(m_model.log().toStdString()).find("登録されていない名前があります（ghost）"),
              std::string::npos);
    EXPECT_TRUE(m_state.unregisteredNames().empty());
}

TEST_F(ConversionDialogModelTest, PickersAndTexts)
{
    EXPECT_EQ(ConversionDialogModel::pickedFolder(FCString("/tmp")).toStdString(), "/tmp/");
    EXPECT_EQ(utf8(ConversionDialogModel::definitionsPickerTitle()), "名前定義ファイルの選択");
    EXPECT_EQ(utf8(ConversionDialogModel::definitionsPickerFilter()),
              "名前定義ファイル,*.txt,全てのファイル,*.*");
    EXPECT_EQ(std::string(ConversionDialogModel::title()), "tavrelCPP->screenplay.txt");
    EXPECT_EQ(m_model.definitionsPickerStart().toStdString(), m_src.path() + "names.txt");
    m_model.definitionsText.clear();
    const std::string start = m_model.definitionsPickerStart().toStdString();
    EXPECT_FALSE(start.empty());
    EXPECT_EQ(start.back(), '/');
}
