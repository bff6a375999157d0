#include "convert/ConversionService.h"

#include "ConvertTestSupport.h"
#include "fc/Notices.h"

#include <vector>

namespace {

// Answers every question with one answer and keeps what it was asked.
class AnsweringNotices : public Notices {
public:
    explicit AnsweringNotices(bool answer) : m_answer(answer) {}
    void notice(std::string_view, std::string_view) override {}
    bool question(std::string_view text, std::string_view) override
    {
        questions.emplace_back(text);
        return m_answer;
    }
    std::vector<std::string> questions;

private:
    bool m_answer;
};

class ConversionServiceTest : public testing::Test {
protected:
    ConversionServiceTest()
    {
        m_src.write("a.cpp", "hero.say(1, \"a\");\n");
        m_src.write("b.cpp", "ghost.say(2, \"b\");\n");
        m_src.write("names.txt", "hero,1,主人公\n");
    }

    ConversionService::Inputs inputs() const
    {
        return {FCString(m_src.path()), FCString(m_out.path()),
                FCString(m_src.path() + "names.txt"), false};
    }

    ScenarioTestFolder m_src;
    ScenarioTestFolder m_out;
    ConversionState m_state;
    ConversionService m_service{m_state};
};

} // namespace

TEST_F(ConversionServiceTest, TheRunReportsOnTheProgressItIsHandedAndStopsWhenItCancels)
{
    RecordingProgress progress(1);
    const ConversionService::Result result = m_service.convert(inputs(), progress);
    EXPECT_EQ(result.outcome, ConversionService::Outcome::Cancelled);
    EXPECT_EQ(utf8(result.text.toStdString()),
              "○：a.screenplay.txt\n\n処理はキャンセルされました\n");
    EXPECT_EQ(result.sourceCount, 2);
    EXPECT_EQ(result.writtenCount, 1);
    EXPECT_EQ(utf8(progress.title), "台本の出力");
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(progress.opens, 1);
    EXPECT_EQ(progress.closes, 1);
    EXPECT_EQ(utf8(progress.texts.back()), "a.cppを出力中");
    EXPECT_TRUE(m_out.exists("a.screenplay.txt"));
    EXPECT_FALSE(m_out.exists("b.screenplay.txt"));
}

TEST_F(ConversionServiceTest, TheSurveyGivesBackTheFilesDefinitionsWithoutItsPlaceholders)
{
    const ConversionService::Result result = m_service.survey(inputs());
    ASSERT_EQ(result.outcome, ConversionService::Outcome::Done);
    ASSERT_EQ(result.definitions.size(), 1u);
    EXPECT_EQ(result.definitions.begin()->first, "hero");
    EXPECT_NE(m_state.definition("ghost"), nullptr) << "the survey's placeholder";
    EXPECT_NE(utf8(result.text.toStdString()).find("[登録されていないobj名一覧]ghost"),
              std::string::npos);
}

TEST_F(ConversionServiceTest, ARefusalIsGivenBackAndNothingRuns)
{
    ConversionService::Inputs missing = inputs();
    missing.outputFolder = FCString(m_out.path() + "none");
    RecordingProgress progress;
    const ConversionService::Result result = m_service.convert(missing, progress);
    EXPECT_EQ(result.outcome, ConversionService::Outcome::Refused);
    EXPECT_EQ(utf8(result.message.toStdString()), "出力先フォルダが見つかりません");
    EXPECT_EQ(progress.opens, 0);
}

TEST_F(ConversionServiceTest, TheLogReplacesAnExistingFileOnlyWhenTheQuestionAgrees)
{
    const FCString path(m_out.path() + "run.log");
    AnsweringNotices no(false), yes(true);
    EXPECT_EQ(ConversionService::saveLog(path, FCString("first"), no),
              ConversionService::LogSave::Saved);
    EXPECT_TRUE(no.questions.empty());
    EXPECT_EQ(ConversionService::saveLog(path, FCString("second"), no),
              ConversionService::LogSave::KeptExisting);
    EXPECT_EQ(fileText(path.toStdString()), "first");
    EXPECT_EQ(ConversionService::saveLog(path, FCString("third"), yes),
              ConversionService::LogSave::Saved);
    EXPECT_EQ(fileText(path.toStdString()), "third");
    EXPECT_EQ(yes.questions.size(), 1u);
}
