#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// The commands of quillon-batch and what the tool does with its first word:
// a command runs with the rest of the words; "--help", "-h" and "help" print
// the tool's help, "help COMMAND" a command's (as "COMMAND --help" does);
// anything else is refused with the usage.
class BatchCommands {
public:
    using Run = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

    struct Command {
        const CommandHelp* help;
        Run run;
        // Whether Ctrl-C asks it to stop (the commands that walk a folder
        // or a source tree with a progress dialog).
        bool interruptible;
    };

    static constexpr const char* usage =
        "usage: quillon-batch [--trace] COMMAND ...\n"
        "commands:\n"
        "  layout FILE [--chars-per-line W] [--lines-per-page L] [--options N]\n"
        "  list FOLDER\n"
        "  estimate FOLDER [--all] [--generic]\n"
        "  checklist FOLDER [--format csv|txt] [--scenes] [--characters] [--unprinted]\n"
        "            [--out DIR] [--yes]\n"
        "  words FOLDER\n"
        "  print FOLDER [--device png|bmp|pdf|printer] [--bundle-by-actor] [--dest DIR]\n"
        "        [--generic] [--no-emphasis] [--no-log] [--log FILE] [--open-log]\n"
        "  survey SRC OUT NAMES [--subfolders]\n"
        "  convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]\n"
        "folder commands also take --only NAME,... (tick only these files) and\n"
        "--suppress NAME,... (suppress these characters for this run)\n";

    // Every command, in the order the help lists them.
    static std::span<const Command> commands();
    // The command of that name, or nullptr.
    static const Command* find(const std::string& name);

    // Runs the words after the program name (and after --trace); returns
    // the exit status.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

    // The text of `quillon-batch --help`.
    static void printHelp(std::ostream& out);
};
