#include "BatchTestSupport.h"
#include "app/InputHistory.h"
#include "platform/ProgramFolders.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Every file of the malformed-input collection goes through every batch
// command that reads its kind, as the built tool in a process of its own: no
// crash, no hang, a message for every failure, nothing half-written left and
// the good scene beside the bad one still read. What the files are is in
// their names; the suffix tells the kind:
//
//   *.screenplay.txt   a scene of a scenario folder (a file or a folder)
//   *.rnf, settings-*  the scenario folder's settings file
//   *.bin              a history file of the program
//   *.names.txt        a name-definition file of a conversion
//   *.cpp              a source file of a conversion

namespace {

namespace fs = std::filesystem;

enum class Kind { Screenplay, Settings, History, Names, Source };

struct MalformedCase {
    std::string name;
    Kind kind;
    // Made by the test: a FIFO or a symbolic-link loop cannot be kept in a
    // source tree.
    enum class Made { Stored, Fifo, LinkLoop } made = Made::Stored;
};

const fs::path& collection()
{
    static const fs::path path = fs::path(QUILLON_SOURCE_DIR) / "tests" / "fuzz" / "malformed";
    return path;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<MalformedCase> malformedCases()
{
    std::vector<MalformedCase> cases;
    for (const auto& entry : fs::directory_iterator(collection())) {
        const std::string name = entry.path().filename().string();
        if (endsWith(name, ".screenplay.txt"))
            cases.push_back({name, Kind::Screenplay});
        else if (endsWith(name, ".rnf") || name.rfind("settings-", 0) == 0)
            cases.push_back({name, Kind::Settings});
        else if (endsWith(name, ".bin"))
            cases.push_back({name, Kind::History});
        else if (endsWith(name, ".names.txt"))
            cases.push_back({name, Kind::Names});
        else if (endsWith(name, ".cpp"))
            cases.push_back({name, Kind::Source});
    }
    std::sort(cases.begin(), cases.end(),
              [](const MalformedCase& a, const MalformedCase& b) { return a.name < b.name; });
    cases.push_back(
        {"fifo-named-like-a-scene.screenplay.txt", Kind::Screenplay, MalformedCase::Made::Fifo});
    cases.push_back({"symbolic-link-loop-named-like-a-scene.screenplay.txt", Kind::Screenplay,
                     MalformedCase::Made::LinkLoop});
    return cases;
}

struct ToolRun {
    bool timedOut = false;
    bool exited = false;
    int status = -1;
    std::string out, err;
};

// A command that has not ended by then is taken for a hang.
constexpr auto runLimit = std::chrono::seconds(60);

// Runs the built tool with no input (a question is answered by its end),
// stdout and stderr into files of the scratch folder, killed at the limit.
ToolRun runTool(const std::vector<std::string>& words, const std::string& scratch)
{
    const char* tool = std::getenv("QUILLON_BATCH");
    const std::string outPath = scratch + "stdout", errPath = scratch + "stderr";
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(tool)};
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execv(tool, argv.data());
        _exit(127);
    }
    ToolRun run;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + runLimit;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exited = !run.timedOut && WIFEXITED(status);
    run.status = run.exited ? WEXITSTATUS(status) : -1;
    run.out = fileBytes(outPath);
    run.err = fileBytes(errPath);
    return run;
}

std::string describe(const std::vector<std::string>& words)
{
    std::string text = "quillon-batch";
    for (const std::string& word : words)
        text += " " + word;
    return text;
}

// No crash, no hang, no sanitizer report, and a failure always says why.
void expectSoundEnd(const ToolRun& run, const std::vector<std::string>& words)
{
    const std::string what = describe(words);
    EXPECT_FALSE(run.timedOut) << what << " did not end within the limit";
    if (run.timedOut)
        return;
    EXPECT_TRUE(run.exited) << what << " was ended by a signal\n" << run.err;
    EXPECT_TRUE(run.status == 0 || run.status == 1) << what << " ended with " << run.status << "\n"
                                                    << run.err;
    // The file layer's own notice counts as the message where a command
    // has none of its own.
    if (run.status != 0) {
        EXPECT_FALSE(run.err.empty()) << what << " failed without a message";
    }
    EXPECT_EQ(run.err.find("runtime error:"), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << what << "\n" << run.err;
}

// Temporary files of an interrupted write and empty page images.
void expectNothingHalfWritten(const std::string& folder)
{
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_symlink(error) || it->is_fifo(error))
            continue;
        const std::string name = it->path().filename().string();
        EXPECT_EQ(name.find(".part"), std::string::npos) << it->path() << " was left behind";
        if (it->is_regular_file(error) && (endsWith(name, ".png") || endsWith(name, ".bmp"))) {
            EXPECT_GT(it->file_size(error), 0u) << it->path() << " is an empty page";
        }
    }
}

int pageImages(const std::string& folder)
{
    int count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file(error) && endsWith(it->path().string(), ".png"))
            ++count;
    return count;
}

// A scene of more than 256 scripts: printing it takes minutes under the
// sanitizers, which is a matter for the benchmarks; the other commands read
// it all the same.
bool printsTooManyScripts(const std::string& name)
{
    return name == "character-count-past-table.screenplay.txt";
}

// Test names and failures show the case by its name.
void PrintTo(const MalformedCase& malformed, std::ostream* os)
{
    *os << malformed.name;
}

class MalformedInputTest : public testing::TestWithParam<MalformedCase> {
protected:
    // Copies the collection's entry (a file or a folder) to a path.
    void place(const MalformedCase& malformed, const std::string& to) const
    {
        switch (malformed.made) {
        case MalformedCase::Made::Fifo:
            ASSERT_EQ(mkfifo(to.c_str(), 0600), 0);
            return;
        case MalformedCase::Made::LinkLoop:
            ASSERT_EQ(symlink(fs::path(to).filename().c_str(), to.c_str()), 0);
            return;
        case MalformedCase::Made::Stored:
            fs::copy(collection() / malformed.name, to, fs::copy_options::recursive);
            return;
        }
    }

    void runScreenplay(const MalformedCase& malformed)
    {
        m_folder.write("good.screenplay.txt", batchScene("good", {{"悠人", 1}}, 1));
        const std::string scene = m_folder.path() + malformed.name;
        place(malformed, scene);
        const std::string stored =
            malformed.made == MalformedCase::Made::Stored && fs::is_regular_file(scene)
                ? fileBytes(scene)
                : std::string();
        const std::string folder = m_folder.path(), out = m_out.path();

        const ToolRun list = runTool({"list", folder}, m_scratch.path());
        expectSoundEnd(list, {"list", folder});
        // The good scene is listed whatever its neighbour holds.
        EXPECT_NE(list.out.find("good.screenplay.txt"), std::string::npos) << list.out;

        for (const std::vector<std::string>& words :
             std::vector<std::vector<std::string>>{{"words", folder},
                                                   {"estimate", folder, "--all"},
                                                   {"checklist", folder, "--out", out, "--yes"},
                                                   {"layout", scene}})
            expectSoundEnd(runTool(words, m_scratch.path()), words);

        if (!printsTooManyScripts(malformed.name)) {
            const std::vector<std::string> print{"print", folder,           "--device",
                                                 "png",   "--dest",         out + "pages/",
                                                 "--log", out + "print.log"};
            expectSoundEnd(runTool(print, m_scratch.path()), print);
            EXPECT_GE(pageImages(out + "pages/"), 1) << "the good scene was not printed";
        }
        expectNothingHalfWritten(folder);
        expectNothingHalfWritten(out);
        if (!stored.empty()) {
            EXPECT_EQ(fileBytes(scene), stored) << "a command changed the scene it read";
        }
    }

    void runSettings(const MalformedCase& malformed)
    {
        m_folder.write("good.screenplay.txt", batchScene("good", {{"悠人", 1}}, 1));
        place(malformed, m_folder.path() + "quillon.settings.rnf");
        const std::string folder = m_folder.path(), out = m_out.path();
        const std::vector<std::string> estimate{"estimate", folder, "--all"};
        expectSoundEnd(runTool(estimate, m_scratch.path()), estimate);
        const std::vector<std::string> print{"print",  folder, "--device", "png",
                                             "--dest", out,    "--log",    out + "print.log"};
        expectSoundEnd(runTool(print, m_scratch.path()), print);
        expectNothingHalfWritten(folder);
        expectNothingHalfWritten(out);
    }

    void runConversion(const MalformedCase& malformed)
    {
        const std::string src = m_folder.path(), out = m_out.path();
        std::string names = m_scratch.path() + "names.txt";
        if (malformed.kind == Kind::Names) {
            m_folder.write("a.cpp", "yuto.say(1, \"おはよう\");\nsakura.say(2, \"はい\");\n");
            names = m_scratch.path() + malformed.name;
            place(malformed, names);
        } else {
            m_scratch.write("names.txt", "yuto,0,悠人\nsakura,1,さくら\n");
            place(malformed, src + malformed.name);
        }
        const std::vector<std::string> survey{"survey", src, out, names};
        expectSoundEnd(runTool(survey, m_scratch.path()), survey);
        const std::vector<std::string> convert{"convert",           src,    out, names, "--log",
                                               out + "convert.log", "--yes"};
        expectSoundEnd(runTool(convert, m_scratch.path()), convert);
        expectNothingHalfWritten(out);
    }

    // History files are read by the program's dialogs only: the reader is
    // run here. It keeps at most 20 entries, leaves the file as it was, and
    // what it writes back reads back the same.
    void runHistory(const MalformedCase& malformed)
    {
        ProgramFolders::Scope placement(m_folder.path());
        const std::string path = InputHistory::fileName(0);
        place(malformed, path);
        const std::string stored = fileBytes(path);
        InputHistory history;
        history.load(0);
        EXPECT_LE(history.entries(0).size(), size_t(InputHistory::MaximumEntries));
        EXPECT_EQ(fileBytes(path), stored);
        history.save(0);
        InputHistory again;
        again.load(0);
        ASSERT_EQ(again.entries(0).size(), history.entries(0).size());
        for (size_t i = 0; i < history.entries(0).size(); ++i)
            EXPECT_EQ(again.entries(0)[i].toStdString(), history.entries(0)[i].toStdString());
    }

    ScenarioTestFolder m_folder;
    ScenarioTestFolder m_out;
    ScenarioTestFolder m_scratch;
};

TEST_P(MalformedInputTest, EveryCommandEndsSoundly)
{
    const MalformedCase& malformed = GetParam();
    if (malformed.kind != Kind::History) {
        ASSERT_NE(std::getenv("QUILLON_BATCH"), nullptr) << "QUILLON_BATCH names the built tool";
    }
    switch (malformed.kind) {
    case Kind::Screenplay:
        runScreenplay(malformed);
        break;
    case Kind::Settings:
        runSettings(malformed);
        break;
    case Kind::History:
        runHistory(malformed);
        break;
    case Kind::Names:
    case Kind::Source:
        runConversion(malformed);
        break;
    }
}

TEST(MalformedInputCollectionTest, HoldsAHundredNamedCasesOfEveryKind)
{
    const std::vector<MalformedCase> cases = malformedCases();
    EXPECT_GE(cases.size(), 100u);
    for (Kind kind : {Kind::Screenplay, Kind::Settings, Kind::History, Kind::Names, Kind::Source})
        EXPECT_GE(std::count_if(cases.begin(), cases.end(),
                                [kind](const MalformedCase& c) { return c.kind == kind; }),
                  5)
            << "too few cases of kind " << int(kind);
}

std::string caseName(const testing::TestParamInfo<MalformedCase>& info)
{
    std::string name;
    for (char c : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Collection, MalformedInputTest, testing::ValuesIn(malformedCases()),
                         caseName);

} // namespace
