#include "batch/CommandHelp.h"

#include "BatchTestSupport.h"
#include "batch/BatchArguments.h"
#include "batch/BatchCommands.h"
#include "batch/FolderSession.h"

#include <regex>
#include <set>

namespace {

CommandRun runTool(const std::vector<std::string>& words)
{
    return runCommand(BatchCommands::run, words);
}

std::string describe(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// The "--name" words of a usage text.
std::set<std::string> usageOptions(const std::string& usage)
{
    std::set<std::string> names;
    const std::regex option("--([a-z-]+)");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
         it != std::sregex_iterator(); ++it)
        names.insert((*it)[1]);
    return names;
}

} // namespace

TEST(CommandHelpTest, EveryWayOfAskingPrintsTheCommandsHelpOnStdout)
{
    for (const BatchCommands::Command& command : BatchCommands::commands()) {
        const std::string name = command.help->name;
        for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
                 {name, "--help"},
                 {name, "-h"},
                 {"help", name},
                 {"--help", name},
                 // Asked for after a mistake, the help still wins.
                 {name, "--no-such-option", "--help"}}) {
            const CommandRun run = runTool(words);
            EXPECT_EQ(run.status, 0) << describe(words);
            EXPECT_EQ(run.err, "") << describe(words);
            EXPECT_EQ(run.out.rfind(command.help->usage, 0), 0u) << describe(words) << run.out;
            for (const char* section : {"\noptions:\n", "\nexit status:\n", "\nexample:\n"})
                EXPECT_NE(run.out.find(section), std::string::npos) << name << section;
            EXPECT_NE(run.out.find("  quillon-batch " + name), std::string::npos) << run.out;
        }
    }
}

TEST(CommandHelpTest, TheHelpExplainsEveryOptionTheParserTakes)
{
    for (const BatchCommands::Command& command : BatchCommands::commands()) {
        const CommandHelp& help = *command.help;
        std::ostringstream text;
        help.print(text);
        const std::string shown = text.str();
        std::set<std::string> parsed;
        for (const OptionHelp& option : help.allOptions()) {
            parsed.insert(option.name);
            // Its own line: the option, its value, then a text of its own.
            std::string words = std::string("\n  --") + option.name;
            if (option.takesValue())
                words += std::string(" ") + option.value;
            const size_t at = shown.find(words);
            ASSERT_NE(at, std::string::npos) << help.name << " --" << option.name;
            EXPECT_NE(shown.find(option.text, at), std::string::npos) << option.name;
            EXPECT_GT(std::string(option.text).size(), 10u) << option.name;

            // The parser takes what the help lists, and nothing like it.
            std::vector<std::string> words2(help.arguments.size(), "x");
            words2.push_back(std::string("--") + option.name);
            if (option.takesValue()) {
                const auto choices = option.choices();
                words2.push_back(choices.empty() ? "value" : choices.back());
            }
            BatchArguments args;
            EXPECT_TRUE(args.parse(words2, help)) << help.name << ": " << args.error();
            EXPECT_TRUE(args.has(option.name)) << option.name;
            BatchArguments unknown;
            words2[help.arguments.size()] += "x";
            EXPECT_FALSE(unknown.parse(words2, help)) << option.name;
        }
        // The usage line and the table name the same options.
        EXPECT_EQ(usageOptions(help.usage), parsed) << help.name;
    }
}

TEST(CommandHelpTest, FolderCommandsShareTheSessionsOptions)
{
    std::set<std::string> shared;
    for (const OptionHelp& option : CommandHelp::folderOptions()) {
        EXPECT_TRUE(option.takesValue()) << option.name;
        shared.insert(option.name);
    }
    EXPECT_EQ(shared, FolderSession::valueOptions());
}

TEST(CommandHelpTest, ChoicesAreTheWordsBetweenTheBars)
{
    EXPECT_EQ((OptionHelp{"device", "png|bmp|printer", ""}.choices()),
              (std::vector<std::string>{"png", "bmp", "printer"}));
    EXPECT_EQ((OptionHelp{"format", "csv|txt", ""}.choices()),
              (std::vector<std::string>{"csv", "txt"}));
    EXPECT_TRUE((OptionHelp{"dest", "DIR", ""}.choices().empty()));
    EXPECT_TRUE((OptionHelp{"all", nullptr, ""}.choices().empty()));
}

TEST(BatchCommandsTest, TheToolsHelpListsEveryCommand)
{
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"help"}, {"help", "--help"}}) {
        const CommandRun run = runTool(words);
        EXPECT_EQ(run.status, 0) << describe(words);
        EXPECT_EQ(run.err, "");
        for (const BatchCommands::Command& command : BatchCommands::commands())
            EXPECT_NE(run.out.find(std::string("\n  ") + command.help->name + " "),
                      std::string::npos)
                << command.help->name;
        for (const char* part :
             {"--trace", "--only", "--suppress", "\nexit status:\n", "  130", "\nexample:\n"})
            EXPECT_NE(run.out.find(part), std::string::npos) << part;
    }
}

TEST(BatchCommandsTest, WordsThatFitNothingAreRefusedWithTheirReason)
{
    const struct {
        std::vector<std::string> words;
        std::string reason;
    } cases[] = {
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"--frobnicate"}, "--frobnicate: not an option of quillon-batch"},
        {{"help", "frobnicate"}, "help: no command frobnicate"},
        {{"help", "list", "print"}, "help: one COMMAND only, not also print"},
        {{"layout", "a", "--chars-per-line", "0"},
         "--chars-per-line: a whole number from 1 up, not 0"},
        {{"layout", "a", "--lines-per-page", "x"},
         "--lines-per-page: a whole number from 1 up, not x"},
        {{"layout", "a", "--lines-per-page=-3"},
         "--lines-per-page: a whole number from 1 up, not -3"},
        {{"layout", "a", "--chars-per-line", "99999999999"},
         "--chars-per-line: a whole number from 1 to 2147483647, not 99999999999"},
        {{"layout", "a", "--options", "1x"}, "--options: a whole number, not 1x"},
        {{"layout", "a", "--options="}, "--options: a whole number, not nothing"},
        {{"layout", "a", "--dest", "x"}, "--dest: not an option of layout"},
        {{"layout"}, "layout: FILE missing"},
        {{"list", "a", "b"}, "list: one word too many: b (it takes FOLDER)"},
        {{"list", "a", "--all"}, "--all: not an option of list"},
        {{"estimate", "a", "--all=1"}, "--all: takes no value, not 1"},
        {{"estimate", "a", "--only"}, "--only: needs a value, NAME,..."},
        {{"checklist", "a", "--format", "xls"}, "--format: csv or txt, not xls"},
        {{"checklist", "a", "--format="}, "--format: csv or txt, not nothing"},
        {{"print", "a", "--device", "tiff"}, "--device: png, bmp, pdf or printer, not tiff"},
        {{"print", "a", "--device"}, "--device: needs a value, png, bmp, pdf or printer"},
        {{"print", "a", "--no-log", "--open-log"},
         "--no-log: goes with neither --log nor --open-log"},
        {{"survey", "a", "b"}, "survey: NAMES missing"},
        {{"convert"}, "convert: SRC OUT NAMES missing"},
        {{"convert", "a", "b", "c", "d"}, "convert: one word too many: d (it takes SRC OUT NAMES)"},
        // The first mistake is the one told.
        {{"print", "--colour", "--device", "pdf"}, "--colour: not an option of print"},
    };
    for (const auto& c : cases) {
        const CommandRun run = runTool(c.words);
        EXPECT_EQ(run.status, 2) << describe(c.words);
        EXPECT_EQ(run.out, "") << describe(c.words);
        EXPECT_EQ(run.err.rfind("quillon-batch: " + c.reason + "\n", 0), 0u)
            << describe(c.words) << "\n"
            << run.err;
        EXPECT_NE(run.err.find("usage: quillon-batch"), std::string::npos) << run.err;
    }
}

TEST(BatchCommandsTest, NoWordsAtAllPrintTheUsage)
{
    const CommandRun run = runTool({});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, BatchCommands::usage);
    EXPECT_EQ(run.out, "");
}

TEST(BatchCommandsTest, TheToolsUsageNamesEveryCommandAndOption)
{
    const std::string usage = BatchCommands::usage;
    std::set<std::string> options{"trace"}; // the tool's own
    for (const BatchCommands::Command& command : BatchCommands::commands()) {
        EXPECT_NE(usage.find(std::string("\n  ") + command.help->name + " "), std::string::npos)
            << command.help->name;
        for (const OptionHelp& option : command.help->allOptions())
            options.insert(option.name);
    }
    EXPECT_EQ(usageOptions(usage), options);
}
