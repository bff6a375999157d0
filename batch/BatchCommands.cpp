#include "batch/BatchCommands.h"

#include "batch/BatchInterrupt.h"
#include "batch/ChangesCommand.h"
#include "batch/CheckListCommand.h"
#include "batch/ConvertCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/LayoutCommand.h"
#include "batch/ListCommand.h"
#include "batch/PrintCommand.h"
#include "batch/SurveyCommand.h"
#include "batch/VoicesCommand.h"
#include "batch/WordsCommand.h"

#include <ostream>

namespace {

constexpr BatchCommands::Command table[] = {
    {&LayoutCommand::help, LayoutCommand::run, false},
    {&ListCommand::help, ListCommand::run, true},
    {&EstimateCommand::help, EstimateCommand::run, true},
    {&CheckListCommand::help, CheckListCommand::run, true},
    {&WordsCommand::help, WordsCommand::run, true},
    {&PrintCommand::help, PrintCommand::run, true},
    {&SurveyCommand::help, SurveyCommand::run, true},
    {&ConvertCommand::help, ConvertCommand::run, true},
    {&VoicesCommand::help, VoicesCommand::run, true},
    {&ChangesCommand::help, ChangesCommand::run, true},
};

bool isHelpWord(const std::string& word)
{
    return word == "--help" || word == "-h" || word == "help";
}

int refuse(std::ostream& err, const std::string& reason)
{
    err << "quillon-batch: " << reason << "\n" << BatchCommands::usage;
    return 2;
}

} // namespace

std::span<const BatchCommands::Command> BatchCommands::commands()
{
    return table;
}

const BatchCommands::Command* BatchCommands::find(const std::string& name)
{
    for (const Command& command : table) {
        if (name == command.help->name)
            return &command;
    }
    return nullptr;
}

int BatchCommands::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err)
{
    if (words.empty()) {
        err << usage;
        return 2;
    }
    const std::string& first = words.front();
    if (isHelpWord(first)) {
        if (words.size() == 1 || (words.size() == 2 && isHelpWord(words[1]))) {
            printHelp(out);
            return 0;
        }
        // "help print", also "--help print".
        if (words.size() > 2)
            return refuse(err, "help: one COMMAND only, not also " + words[2]);
        const Command* command = find(words[1]);
        if (!command)
            return refuse(err, "help: no command " + words[1]);
        command->help->print(out);
        return 0;
    }
    const Command* command = find(first);
    if (!command) {
        if (first.size() > 1 && first[0] == '-')
            return refuse(err, first + ": not an option of quillon-batch");
        return refuse(err, "unknown command " + first);
    }
    if (command->interruptible)
        BatchInterrupt::install();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    return command->run(environment, rest, out, err);
}

void BatchCommands::printHelp(std::ostream& out)
{
    // Commands and the tool's options share one column.
    constexpr std::size_t NameWidth = 11;
    const auto padded = [](const std::string& name) {
        return name + std::string(name.size() < NameWidth ? NameWidth - name.size() : 1, ' ');
    };
    out << "usage: quillon-batch [--trace] COMMAND ...\n"
           "       quillon-batch COMMAND --help\n"
           "\n"
        << description << "\n\ncommands:\n";
    for (const Command& command : table)
        out << "  " << padded(command.help->name) << command.help->brief << "\n";
    out << "\noptions:\n";
    for (const OptionHelp& option : options)
        out << "  " << padded(std::string("--") + option.name) << option.text << "\n";
    out << "\n" << folderOptionsNote << "\n\nexit status:\n";
    CommandHelp::printStatuses(out, exitStatus);
    out << "\nexample:\n";
    CommandHelp::printIndented(out, example);
}
