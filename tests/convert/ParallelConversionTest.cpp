#include "ConvertTestSupport.h"
#include "convert/ConversionService.h"
#include "convert/SourceCollection.h"
#include "platform/ScriptedPrompt.h"

#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <unistd.h>

namespace {

// A source tree with what makes a conversion awkward, spread over folders
// so that path order and listing order differ: scenes of one name in two
// folders (one output file, the later wins and the log says so), ids used
// in several files, speakers nobody defined, unassigned and system ids, a
// source without speech, one that cannot be read (a link to nothing) and
// one that is no file (a FIFO), and enough plain scenes that every thread
// has several.
void makeTree(const ScenarioTestFolder& src)
{
    for (const char* folder : {"a", "b", "a/deep"})
        std::filesystem::create_directories(src.path() + folder);
    const char* folders[] = {"", "a/", "b/", "a/deep/"};
    for (int scene = 0; scene < 26; ++scene) {
        std::string text = "// scene " + std::to_string(scene) + "\n";
        for (int line = 0; line < 12; ++line) {
            // Ids repeat across scenes: the conversion writes them as given.
            const int id = (scene * 7 + line) % 60;
            const char* speaker = line % 5 == 4 ? "ghost" : (line % 2 ? "sakura" : "hero");
            text += std::string(speaker) + ".say(" + std::to_string(id) + ", \"台詞" +
                    std::to_string(line) + "\");\n";
            if (line % 4 == 0)
                text += "// EV0" + std::to_string(line) +
                        "a\nq.initQuestion();\n"
                        "q.prepareQuestion(\"はい\");\nse.playEffect(1, 3); //雨\n";
        }
        if (scene % 5 == 0)
            text += "hero.say(MESSAGEID, \"未定\");\nhero.say(-3, \"系\");\n";
        src.write(std::string(folders[scene % 4]) + "s" + std::to_string(scene) + ".cpp", text);
    }
    src.write("a/same.cpp", "hero.say(100, \"aの方\");\n");
    src.write("b/same.cpp", "sakura.say(101, \"bの方\");\n");
    src.write("quiet.cpp", "// nothing said\nbg.fadeOut();\n");
    std::filesystem::create_symlink(src.path() + "missing", src.path() + "a/gone.cpp");
    ::mkfifo((src.path() + "b/pipe.cpp").c_str(), 0644);
    src.write("names.txt", "hero,0,主人公\nsakura,1,さくら\n");
}

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> filesOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = fileText(entry.path().string());
    return files;
}

// The log with the output folder named OUT/, so that runs into different
// folders compare.
std::string logOf(const FCString& log, const std::string& out)
{
    std::string text = utf8(log.toStdString());
    for (std::size_t at = text.find(out); at != std::string::npos; at = text.find(out, at))
        text.replace(at, out.size(), "OUT/");
    return text;
}

// The temporary files in a folder.
int temporaries(const std::string& folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().extension() == ".part";
    return count;
}

struct Outcome {
    std::string log;
    std::map<std::string, std::string> files;
    std::size_t questions = 0;
};

class ParallelConversionTest : public testing::Test {
protected:
    ParallelConversionTest() { makeTree(m_src); }

    ConversionService::Inputs inputs(const ScenarioTestFolder& out, int jobs) const
    {
        return {FCString(m_src.path()), FCString(out.path()), FCString(m_src.path() + "names.txt"),
                true, jobs};
    }

    // What the conversion did before it had threads: one writer converting
    // the sources one by one in path order, cancelled after cancelAfter.
    Outcome serial(int cancelAfter) const
    {
        ScenarioTestFolder out;
        ScriptedPrompt prompt;
        Prompt::Scope scope(prompt);
        ConversionState state;
        EXPECT_TRUE(state.loadNameDefinitions(FCString(m_src.path() + "names.txt")));
        state.header().loadNames(state.definitionsText());
        SourceCollection::Sources sources;
        EXPECT_TRUE(
            SourceCollection::collectSources(sources, FCString(m_src.path()), "*.cpp", true));
        FCString log;
        ScreenplayWriter writer(state, ScreenplayWriter::RunBatch);
        int done = 0;
        for (const FCString& source : sources) {
            writer.convertSource(source, FCString(out.path()), log);
            if (++done == cancelAfter) {
                writer.finish(log);
                log << "\n" << ConversionService::cancelledLine() << "\n";
                break;
            }
        }
        writer.finish(log);
        return {logOf(log, out.path()), filesOf(out.path()), prompt.questions().size()};
    }

    Outcome parallel(int jobs, int cancelAfter) const
    {
        ScenarioTestFolder out;
        ScriptedPrompt prompt;
        Prompt::Scope scope(prompt);
        ConversionState state;
        ConversionService service(state);
        RecordingProgress progress(cancelAfter);
        const ConversionService::Result result = service.convert(inputs(out, jobs), progress);
        EXPECT_EQ(result.outcome, cancelAfter > 0 ? ConversionService::Outcome::Cancelled
                                                  : ConversionService::Outcome::Done);
        EXPECT_EQ(progress.steps, cancelAfter > 0 ? cancelAfter : result.sourceCount);
        const Outcome run{logOf(result.text, out.path()), filesOf(out.path()),
                          prompt.questions().size()};
        // A file written twice counts twice.
        int written = 0;
        for (std::size_t at = run.log.find("○："); at != std::string::npos;
             at = run.log.find("○：", at + 1))
            ++written;
        EXPECT_EQ(result.writtenCount, written);
        return run;
    }

    ScenarioTestFolder m_src;
};

} // namespace

TEST_F(ParallelConversionTest, EveryJobCountWritesWhatTheSerialRunWrites)
{
    const Outcome reference = serial(0);
    // The awkward cases are in it, in path order.
    EXPECT_NE(reference.log.find("同じ名前の台本ファイルを上書きしました：OUT/same.screenplay.txt\n"
                                 "○：same.screenplay.txt\n"),
              std::string::npos)
        << reference.log;
    EXPECT_NE(reference.log.find("ソースファイルを読み込めません：" + m_src.path() +
                                 "a/gone.cpp\n×：gone.screenplay.txt\n"),
              std::string::npos)
        << reference.log;
    EXPECT_NE(reference.log.find("×：pipe.screenplay.txt\n"), std::string::npos);
    EXPECT_NE(reference.log.find("登録されていない名前があります（ghost）："), std::string::npos);
    EXPECT_NE(reference.log.find("未解決のメッセージIDが含まれています："), std::string::npos);
    EXPECT_EQ(reference.files.at("same.screenplay.txt").find(sj("aの方")), std::string::npos);
    EXPECT_EQ(reference.questions, 1u) << "the source that cannot be read";
    EXPECT_EQ(reference.files.size(), 27u);

    for (int jobs : {1, 2, 3, 8, 0}) {
        SCOPED_TRACE("jobs " + std::to_string(jobs));
        const Outcome run = parallel(jobs, 0);
        EXPECT_EQ(run.log, reference.log);
        EXPECT_EQ(run.files, reference.files);
        // Asked once, on this thread, in its place in the run.
        EXPECT_EQ(run.questions, reference.questions);
    }
}

TEST_F(ParallelConversionTest, ACancelLeavesTheFilesAndLogOfTheSourcesBeforeIt)
{
    for (int cancelAfter : {1, 4, 17}) {
        const Outcome reference = serial(cancelAfter);
        ASSERT_TRUE(reference.log.ends_with("\n\n処理はキャンセルされました\n"));
        for (int jobs : {1, 2, 5}) {
            SCOPED_TRACE("cancel after " + std::to_string(cancelAfter) + ", jobs " +
                         std::to_string(jobs));
            const Outcome run = parallel(jobs, cancelAfter);
            EXPECT_EQ(run.log, reference.log);
            // The sources converted ahead of the cancel leave no file, not
            // even a temporary one.
            EXPECT_EQ(run.files, reference.files);
        }
    }
}

TEST(ScreenplayWriterPrepareTest, PreparesOnAnyThreadAndCommitsInPlace)
{
    ScenarioTestFolder src, out;
    src.write("a.cpp", "hero.say(1, \"a\");\nghost.say(2, \"b\");\n");
    src.write("quiet.cpp", "bg.fadeOut();\n");
    ConversionState state;
    defineNames(state, "hero,0,主人公\n");
    RavconHeader header = state.header();
    ScreenplayWriter worker(state, header);
    const FCString folder(out.path());
    const struct {
        const char* source;
        bool again;
        bool spoke;
        const char* log;
    } cases[] = {
        {"a.cpp", false, true,
         "登録されていない名前があります（ghost）：SRC/a.cpp\n○：a.screenplay.txt\n"},
        {"quiet.cpp", false, false, "×：quiet.screenplay.txt\n"},
        // What cannot be read the short way is done again by the commit.
        {"none.cpp", true, false,
         "ソースファイルを読み込めません：SRC/none.cpp\n×：none.screenplay.txt\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const FCString path(src.path() + c.source);
        ScreenplayWriter::Prepared prepared;
        std::thread([&] { prepared = worker.prepare(path, folder); }).join();
        EXPECT_EQ(prepared.again, c.again);
        EXPECT_EQ(prepared.spoke, c.spoke);
        EXPECT_EQ(prepared.file.isOpen(), c.spoke);
        // Nothing has its name yet: the text waits in its temporary file.
        EXPECT_EQ(temporaries(out.path()), c.spoke ? 1 : 0);
        EXPECT_FALSE(
            out.exists(std::string(c.source, std::strlen(c.source) - 4) + ".screenplay.txt"));
        ScriptedPrompt prompt;
        Prompt::Scope scope(prompt);
        ScreenplayWriter committer(state);
        FCString log;
        committer.commit(path, folder, prepared, log);
        committer.finish(log);
        std::string text = utf8(log.toStdString());
        if (const std::size_t at = text.find(src.path()); at != std::string::npos)
            text.replace(at, src.path().size(), "SRC/");
        EXPECT_EQ(text, c.log);
        EXPECT_EQ(prompt.questions().size(), c.again ? 1u : 0u);
    }
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"),
              sj(".scene\ta\n.start\t1\n.end\t1\n.chara\t1\n.主人公\t1\n.total\t1\n"
                 "000001 主人公「a」\n"));
    EXPECT_EQ(temporaries(out.path()), 0);

    // A prepared source that is never committed takes its temporary along.
    {
        const ScreenplayWriter::Prepared dropped =
            worker.prepare(FCString(src.path() + "a.cpp"), folder);
        EXPECT_EQ(temporaries(out.path()), 1);
        EXPECT_TRUE(dropped.file.isOpen());
    }
    EXPECT_EQ(temporaries(out.path()), 0);
}
