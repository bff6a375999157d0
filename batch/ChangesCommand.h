#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch changes OLD NEW [--notes] [--csv FILE] [--only NAME,...]
// [--suppress NAME,...], or changes FOLDER --since-print: the lines that
// differ between two versions of a scenario (OLD, or what the last print
// runs printed of FOLDER, against NEW or FOLDER), one line each, then the
// number of changed lines per character. Output is UTF-8.
namespace ChangesCommand {

// No line changed.
inline constexpr int Unchanged = 0;
// Lines changed.
inline constexpr int Changed = 3;

inline constexpr const char* usage =
    "usage: quillon-batch changes OLD NEW [--notes] [--csv FILE] [--only NAME,...]\n"
    "       [--suppress NAME,...]\n"
    "       quillon-batch changes FOLDER --since-print [--notes] [--csv FILE] ...";

inline constexpr const char* arguments[] = {"OLD", "NEW"};
inline constexpr OptionHelp options[] = {
    {"since-print", nullptr, "compare FOLDER with what its print runs last printed"},
    {"notes", nullptr, "also list changed notes and comments"},
    {"csv", "FILE", "also write the changes to FILE (Shift-JIS CSV)"},
};
inline constexpr CommandHelp help{
    "changes",
    "the lines that changed between two versions of a scenario",
    usage,
    "Compares the screenplay files of OLD and NEW of the same file name line by\n"
    "line, by message number, and prints one line per change, in NEW's order:\n"
    "kind, number, scene, character, old text and new text, separated by TABs;\n"
    "kinds are 追加, 削除, 変更, 話者変更, 番号変更 (and 注記変更 with --notes).\n"
    "Then one line per character: 変更数, the character, its changed lines.\n"
    "Line ends, trailing blanks, the encoding and the header's order are no\n"
    "change. With --since-print, FOLDER is compared with the copies its print\n"
    "runs keep in FOLDER/.quillon/printed/; a scene never printed is all new.",
    arguments,
    options,
    true,
    "0 no line changed\n1 a failure, its reason on stderr\n2 bad arguments\n"
    "3 lines changed\n130 interrupted (Ctrl-C)",
    "quillon-batch changes old-scenario/ scenario/ --csv changes.csv\n"
    "quillon-batch changes scenario/ --since-print"};

int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

// The same command with one folder, as --since-print takes it.
inline constexpr const char* sincePrintArguments[] = {"FOLDER"};
inline constexpr CommandHelp sincePrintForm{help.name,    help.brief,          usage,
                                            help.summary, sincePrintArguments, help.options,
                                            true,         help.exitStatus,     help.example};

} // namespace ChangesCommand
