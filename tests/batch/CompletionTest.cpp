#include "BatchTestSupport.h"
#include "batch/BatchCommands.h"
#include "batch/PrintCommand.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sys/wait.h>

namespace {

const std::string script = std::string(QUILLON_SOURCE_DIR) + "/batch/completion/quillon-batch.bash";

// Output and exit status of a bash command line run in `folder`.
std::pair<std::string, int> bash(const std::string& commands, const std::string& folder)
{
    ScenarioTestFolder scratch;
    scratch.writeBytes("commands.sh", commands);
    const std::string line =
        "cd '" + folder + "' && bash --norc --noprofile '" + scratch.path() + "commands.sh' 2>&1";
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe)
        return {"", -1};
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// What the completion offers for the command line typed so far (its last
// word is the one being completed), one word each, sorted.
std::set<std::string> complete(const std::vector<std::string>& typed,
                               const std::string& folder = "/")
{
    std::string commands = "source '" + script + "'\nCOMP_WORDS=(";
    for (const std::string& word : typed)
        commands += " '" + word + "'";
    commands += " )\nCOMP_CWORD=" + std::to_string(typed.size() - 1) +
                "\n_quillon_batch\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    const auto [output, status] = bash(commands, folder);
    EXPECT_EQ(status, 0) << output;
    std::set<std::string> words;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty())
            words.insert(line);
    }
    return words;
}

using Words = std::set<std::string>;

} // namespace

TEST(CompletionTest, RegistersItselfWithPlainComplete)
{
    const auto [output, status] = bash("source '" + script + "'\ncomplete -p quillon-batch\n", "/");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "complete -F _quillon_batch quillon-batch\n");
}

TEST(CompletionTest, CompletesTheCommands)
{
    Words all{"--help", "--trace", "-h", "help"};
    for (const BatchCommands::Command& command : BatchCommands::commands())
        all.insert(command.help->name);
    EXPECT_EQ(complete({"quillon-batch", ""}), all);
    EXPECT_EQ(complete({"quillon-batch", "pr"}), Words{"print"});
    EXPECT_EQ(complete({"quillon-batch", "c"}), (Words{"changes", "checklist", "convert"}));
    EXPECT_EQ(complete({"quillon-batch", "--trace", "es"}), Words{"estimate"});
    EXPECT_EQ(complete({"quillon-batch", "help", "l"}), (Words{"layout", "list"}));
    EXPECT_EQ(complete({"quillon-batch", "help", "list", ""}), Words{});
}

TEST(CompletionTest, CompletesEveryOptionOfEveryCommand)
{
    for (const BatchCommands::Command& command : BatchCommands::commands()) {
        Words options{"--help"};
        for (const OptionHelp& option : command.help->allOptions())
            options.insert(std::string("--") + option.name);
        EXPECT_EQ(complete({"quillon-batch", command.help->name, "x", "--"}), options)
            << command.help->name;
    }
    EXPECT_EQ(complete({"quillon-batch", "print", "--d"}), (Words{"--dest", "--device"}));
    EXPECT_EQ(complete({"quillon-batch", "checklist", "x", "--f"}), Words{"--format"});
}

TEST(CompletionTest, CompletesTheValuesOfAChoice)
{
    const OptionHelp* device = PrintCommand::help.option("device");
    ASSERT_NE(device, nullptr);
    const std::vector<std::string> choices = device->choices();
    EXPECT_EQ(complete({"quillon-batch", "print", "x", "--device", ""}),
              Words(choices.begin(), choices.end()));
    EXPECT_EQ(complete({"quillon-batch", "print", "x", "--device", "p"}),
              (Words{"pdf", "png", "printer"}));
    EXPECT_EQ(complete({"quillon-batch", "print", "x", "--device", "pd"}), Words{"pdf"});
    EXPECT_EQ(complete({"quillon-batch", "checklist", "x", "--format", ""}), (Words{"csv", "txt"}));
    // A value that is the user's own gets no suggestion.
    EXPECT_EQ(complete({"quillon-batch", "layout", "x", "--chars-per-line", ""}), Words{});
}

TEST(CompletionTest, CompletesFoldersAndFilesWhereACommandTakesThem)
{
    ScenarioTestFolder folder;
    std::filesystem::create_directory(folder.path() + "scen ario");
    folder.writeBytes("scene.screenplay.txt", "");
    EXPECT_EQ(complete({"quillon-batch", "list", "sc"}, folder.path()), Words{"scen ario"});
    EXPECT_EQ(complete({"quillon-batch", "layout", "sc"}, folder.path()),
              (Words{"scen ario", "scene.screenplay.txt"}));
    EXPECT_EQ(complete({"quillon-batch", "print", "x", "--dest", "s"}, folder.path()),
              Words{"scen ario"});
}

TEST(CompletionTest, IsInstalledWhereBashLooksForIt)
{
    const char* tool = std::getenv("QUILLON_BATCH");
    ASSERT_NE(tool, nullptr) << "QUILLON_BATCH names the built tool";
    // The install script of the tool's own folder: the tool and its
    // completion, without the rest of the build.
    const std::string installScript =
        std::filesystem::path(tool).parent_path().string() + "/cmake_install.cmake";
    ScenarioTestFolder prefix;
    const auto [output, status] = bash(
        "cmake -DCMAKE_INSTALL_PREFIX='" + prefix.path() + "' -P '" + installScript + "'\n", "/");
    ASSERT_EQ(status, 0) << output;
    const std::string installed = prefix.path() + "share/bash-completion/completions/quillon-batch";
    ASSERT_TRUE(std::filesystem::exists(installed)) << output;
    EXPECT_EQ(fileBytes(installed), fileBytes(script));
    EXPECT_TRUE(std::filesystem::exists(prefix.path() + "bin/quillon-batch")) << output;
}
