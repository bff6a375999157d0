#include "batch/BatchInterrupt.h"
#include "batch/CheckListCommand.h"
#include "batch/ConvertCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/LayoutCommand.h"
#include "batch/ListCommand.h"
#include "batch/PrintCommand.h"
#include "batch/SurveyCommand.h"
#include "batch/WordsCommand.h"
#include "platform/Trace.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: quillon-batch [--trace] COMMAND ...\n"
    "commands:\n"
    "  layout FILE [--chars-per-line W] [--lines-per-page L] [--options N]\n"
    "  list FOLDER\n"
    "  estimate FOLDER [--all]\n"
    "  checklist FOLDER [--format csv|txt] [--scenes] [--characters] [--unprinted]\n"
    "            [--out DIR] [--yes]\n"
    "  words FOLDER\n"
    "  print FOLDER [--device png|bmp|printer] [--dest DIR] [--generic] [--no-emphasis]\n"
    "        [--no-log] [--log FILE] [--open-log]\n"
    "  survey SRC OUT NAMES [--subfolders]\n"
    "  convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]\n"
    "folder commands also take --only NAME,... (tick only these files) and\n"
    "--suppress NAME,... (suppress these characters for this run)\n";

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

Command folderCommand(const std::string& name)
{
    if (name == "list")
        return ListCommand::run;
    if (name == "estimate")
        return EstimateCommand::run;
    if (name == "checklist")
        return CheckListCommand::run;
    if (name == "words")
        return WordsCommand::run;
    if (name == "print")
        return PrintCommand::run;
    if (name == "survey")
        return SurveyCommand::run;
    if (name == "convert")
        return ConvertCommand::run;
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words.front() == "--trace") {
        Trace::setEnabled(true);
        words.erase(words.begin());
    }
    if (words.empty()) {
        std::cerr << usage;
        return 2;
    }
    std::string command = words.front();
    words.erase(words.begin());
    if (command == "layout")
        return LayoutCommand::run(words, std::cout, std::cerr);
    if (Command run = folderCommand(command)) {
        BatchInterrupt::install();
        return run(words, std::cout, std::cerr);
    }
    std::cerr << "quillon-batch: unknown command " << command << "\n" << usage;
    return 2;
}
