// UTF-8 screenplays through the folder commands: a folder whose scene is a
// UTF-8 twin of a Shift-JIS fixture lists, estimates, writes check lists
// and prints exactly as the folder of the original; a file with characters
// Shift-JIS cannot hold is named once on the error stream.

#include "../render/PngPixels.h"
#include "BatchTestSupport.h"
#include "batch/CheckListCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/LayoutCommand.h"
#include "batch/ListCommand.h"
#include "batch/PrintCommand.h"
#include "batch/WordsCommand.h"

#include <filesystem>
#include <map>

namespace {

std::string shiftJisFixture()
{
    return fileBytes(QUILLON_SOURCE_DIR
                     "/tests/document/data/shift-jis-scene-of-every-line-kind.screenplay.txt");
}

// Every file below a folder (paths relative to it) with its bytes; page
// images with their pixels, since the encoder's compression may differ from
// run to run.
std::map<std::string, std::string> filesBelow(const std::string& folder)
{
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string path = entry.path().string();
        const bool image = entry.path().extension() == ".png";
        files[std::filesystem::relative(entry.path(), folder).string()] =
            image ? pngPixels(path) : fileBytes(path);
    }
    return files;
}

// The text with every occurrence of the folder's path made "FOLDER/".
std::string withoutFolder(std::string text, const std::string& folder)
{
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
        text.replace(at, folder.size(), "FOLDER/");
    return text;
}

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// What the folder commands give for one scenario folder.
struct Results {
    std::map<std::string, std::string> outputs; // command -> stdout
    std::string errors;
    std::map<std::string, std::string> lists;
    std::map<std::string, std::string> pages;

    bool operator==(const Results&) const = default;
};

Results runAll(const ScenarioTestFolder& scenario)
{
    const std::string folder = scenario.path();
    std::filesystem::create_directory(folder + "lists");
    Results results;
    auto run = [&](const char* name, BatchCommand command, std::vector<std::string> words) {
        words.insert(words.begin(), folder);
        const CommandRun done = runCommand(command, words);
        EXPECT_EQ(done.status, 0) << name << ": " << done.err;
        results.outputs[name] = withoutFolder(done.out, folder);
        results.errors += done.err;
    };
    run("list", ListCommand::run, {});
    run("words", WordsCommand::run, {});
    run("estimate", EstimateCommand::run, {"--all", "--generic"});
    run("checklist", CheckListCommand::run,
        {"--characters", "--scenes", "--format", "txt", "--out", folder + "lists/"});
    run("print", PrintCommand::run,
        {"--dest", folder + "pages/", "--generic", "--log", folder + "print.log"});
    results.lists = filesBelow(folder + "lists/");
    results.pages = filesBelow(folder + "pages/");
    results.pages["print.log"] = fileBytes(folder + "print.log");
    return results;
}

class Utf8ScreenplayCommandsTest : public testing::Test {
protected:
    Utf8ScreenplayCommandsTest() { UxProgressDialog::clearCancelRequest(); }
    ~Utf8ScreenplayCommandsTest() override { UxProgressDialog::clearCancelRequest(); }
};

} // namespace

TEST_F(Utf8ScreenplayCommandsTest, UtfEightTwinsListEstimateCheckAndPrintAsTheOriginal)
{
    const std::string shiftJis = shiftJisFixture();
    std::string utf8;
    ASSERT_TRUE(TextCodec::toUtf8Exact(shiftJis, utf8));
    // Each folder: the fixture in one encoding, beside an ordinary scene.
    ScenarioTestFolder original, twin, marked;
    original.writeBytes("a.screenplay.txt", shiftJis);
    twin.writeBytes("a.screenplay.txt", utf8);
    marked.writeBytes("a.screenplay.txt", "\xEF\xBB\xBF" + utf8);
    for (const ScenarioTestFolder* folder : {&original, &twin, &marked})
        folder->write("b.screenplay.txt", batchScene("b", {{"悠人", 2}}, 3));

    const Results expected = runAll(original);
    EXPECT_EQ(expected.errors, "");
    // Something was compared: the fixture's rows, lists and pages.
    EXPECT_EQ(expected.outputs.at("list"), "x\ta.screenplay.txt\t悠人,さくら,ﾏｽﾀｰ\n"
                                           "x\tb.screenplay.txt\t悠人\n"
                                           "総数\t2\n"
                                           "発言者なし\t0\n");
    EXPECT_EQ(expected.lists.size(), 4u) << "the scene list and one per character";
    EXPECT_NE(expected.pages.find("表の幕間/表の幕間.監督用.1@1.png"), expected.pages.end());
    EXPECT_GE(expected.pages.size(), 7u);

    for (const ScenarioTestFolder* folder : {&twin, &marked}) {
        const Results results = runAll(*folder);
        EXPECT_EQ(results.outputs, expected.outputs);
        EXPECT_EQ(results.errors, "");
        EXPECT_EQ(results.lists, expected.lists);
        ASSERT_EQ(results.pages.size(), expected.pages.size());
        for (const auto& [name, content] : expected.pages) {
            EXPECT_FALSE(content.empty()) << name;
            EXPECT_TRUE(results.pages.at(name) == content)
                << name << " differs from the original's";
        }
    }
}

TEST_F(Utf8ScreenplayCommandsTest, AFileWithCharactersShiftJisCannotHoldIsNamedOncePerRun)
{
    ScenarioTestFolder scenario;
    // "é" twice in the body and once in a character's name; "ゆか" is plain.
    scenario.writeBytes("u.screenplay.txt",
                        ".scene\tカフェ\n.chara\t2\n.ゆか\t2\n.r\xC3\xA9mi\t1\n.total\t3\n"
                        "000001 ゆか「caf\xC3\xA9、caf\xC3\xA9」\n"
                        "000002 r\xC3\xA9mi「はい」\n"
                        "000003 ゆか「どうぞ」\n");
    scenario.write("plain.screenplay.txt", batchScene("p", {{"悠人", 1}}, 1));
    const std::string warning = "quillon-batch: read u.screenplay.txt as UTF-8; it has characters "
                                "Shift-JIS cannot hold, printed as \"〓\"\n";

    const CommandRun list = runCommand(ListCommand::run, {scenario.path()});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.err, warning);
    EXPECT_NE(list.out.find("x\tu.screenplay.txt\tゆか,r〓mi\n"), std::string::npos) << list.out;

    // The print run reads the file again for every script: still one line.
    ScenarioTestFolder out;
    const CommandRun print =
        runCommand(PrintCommand::run, {scenario.path(), "--dest", out.path(), "--no-log"});
    EXPECT_EQ(print.status, 0) << print.err;
    EXPECT_EQ(print.err, warning);
    EXPECT_EQ(occurrences(print.err, "u.screenplay.txt"), 1u);
    EXPECT_FALSE(pngPixels(out.path() + "カフェ/カフェ.ゆか.1@1.png").empty()) << print.out;

    const CommandRun estimate = runCommand(EstimateCommand::run, {scenario.path()});
    EXPECT_EQ(estimate.status, 0) << estimate.err;
    EXPECT_EQ(estimate.err, warning);
    // Laying the one file out names it as given.
    const std::string file = scenario.path() + "u.screenplay.txt";
    const CommandRun layout = runCommand(LayoutCommand::run, {file});
    EXPECT_EQ(layout.status, 0) << layout.err;
    EXPECT_EQ(layout.err, "quillon-batch: read " + file +
                              " as UTF-8; it has characters Shift-JIS cannot hold, printed as "
                              "\"〓\"\n");
    EXPECT_NE(layout.out.find("caf〓、caf〓"), std::string::npos) << layout.out;
}
