#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class ProgramEnvironment;

// The commands of quillon-batch and what the tool does with its first word:
// a command runs with the rest of the words; "--help", "-h" and "help" print
// the tool's help, "help COMMAND" a command's (as "COMMAND --help" does);
// anything else is refused with the usage.
namespace BatchCommands {

using Run = int (*)(ProgramEnvironment&, const std::vector<std::string>&, std::ostream&,
                    std::ostream&);

struct Command {
    const CommandHelp* help;
    Run run;
    // Whether Ctrl-C asks it to stop (the commands that walk a folder
    // or a source tree with a progress dialog).
    bool interruptible;
};

inline constexpr const char* usage =
    "usage: quillon-batch [--trace] COMMAND ...\n"
    "commands:\n"
    "  layout FILE [--chars-per-line W] [--lines-per-page L] [--options N]\n"
    "  list FOLDER\n"
    "  estimate FOLDER [--all] [--generic] [--changes-from OLD | --since-print]\n"
    "           [--missing-from DELIVERY [--pattern REGEX]] [--jobs N]\n"
    "  checklist FOLDER [--format csv|txt] [--scenes] [--characters] [--unprinted]\n"
    "            [--out DIR] [--yes] [--jobs N]\n"
    "  words FOLDER\n"
    "  print FOLDER [--device png|bmp|pdf|printer] [--bundle-by-actor] [--dest DIR]\n"
    "        [--generic] [--no-emphasis] [--no-log] [--log FILE] [--open-log]\n"
    "        [--changes-from OLD | --since-print]\n"
    "        [--missing-from DELIVERY [--pattern REGEX]] [--jobs N]\n"
    "  survey SRC OUT NAMES [--subfolders]\n"
    "  convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes] [--jobs N]\n"
    "  voices FOLDER DELIVERY [--pattern REGEX] [--check-content] [--csv FILE]\n"
    "         [--sort DEST [--move] [--by-scene]]\n"
    "  changes OLD NEW [--notes] [--csv FILE]\n"
    "  changes FOLDER --since-print [--notes] [--csv FILE]\n"
    "folder commands also take --only NAME,... (tick only these files) and\n"
    "--suppress NAME,... (suppress these characters for this run)\n"
    "layout, estimate and print also take --kinsoku off|strict|loose, --upright-digits\n"
    "and --ruby (line breaking, upright numbers and readings for this run)\n";

// One line for the tool's manual page title.
inline constexpr const char* brief =
    "make voice-recording scripts from a visual-novel scenario, without a window";
// What the tool does, as its help and manual page tell it.
inline constexpr const char* description =
    "Turns a scenario folder of Shift-JIS screenplay files into voice-recording\n"
    "scripts without a window, on the same files and with the same results as the\n"
    "desktop program: lists, page estimates, check lists, word counts and print\n"
    "runs, and the conversion of the old engine's sources. Output on the terminal\n"
    "is UTF-8; every file it writes is Shift-JIS. A folder's quillon.settings.rnf\n"
    "supplies the print format.";
// The tool's own options, given before COMMAND.
inline constexpr OptionHelp options[] = {
    {"trace", nullptr, "write the program's trace to stderr (before COMMAND)"},
    {"help", nullptr, "print this help, or with COMMAND that command's (also -h, help)"},
};
// What the help says of the options every folder command shares.
inline constexpr const char* folderOptionsNote =
    "Folder commands also take --only NAME,... (tick only these files) and\n"
    "--suppress NAME,... (no scripts for these characters, in this run only).";
inline constexpr const char* exitStatus =
    "0 done\n1 a failure, its reason on stderr\n2 bad arguments\n"
    "130 interrupted (Ctrl-C): the scene or file in progress is finished first";
inline constexpr const char* example = "quillon-batch estimate scenario/ --generic\n"
                                       "quillon-batch print scenario/ --dest pages/ --generic\n"
                                       "quillon-batch print --help";

// Every command, in the order the help lists them.
std::span<const Command> commands();
// The command of that name, or nullptr.
const Command* find(const std::string& name);

// Runs the words after the program name (and after --trace) in the
// tool's environment; returns the exit status.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

// The text of `quillon-batch --help`.
void printHelp(std::ostream& out);

} // namespace BatchCommands
