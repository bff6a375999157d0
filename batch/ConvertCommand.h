#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]
// [--jobs N]: converts every "*.cpp" of SRC (and its sub-folders) into
// screenplay files in OUT, in path order (read and converted on N threads,
// committed in that order), with the true names of NAMES; prints the
// conversion log in UTF-8. With --log the log is also saved there (Shift-JIS);
// an existing file is overwritten only with --yes, and otherwise stays as
// it is (said on the error stream). A progress line shows on a terminal;
// Ctrl-C stops between two sources and the log says so.
namespace ConvertCommand {

inline constexpr const char* usage =
    "usage: quillon-batch convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]\n"
    "       [--jobs N]";

inline constexpr const char* arguments[] = {"SRC", "OUT", "NAMES"};
inline constexpr OptionHelp options[] = {
    {"subfolders", nullptr, "also the sources in the sub-folders of SRC"},
    {"log", "FILE", "also save the conversion log to FILE"},
    {"yes", nullptr, "answer yes: overwrite an existing log FILE"},
    {"jobs", "N", "convert sources on N threads (default 0: one per core)"},
};
inline constexpr CommandHelp help{
    "convert",
    "convert the old engine's sources into screenplay files",
    usage,
    "Converts the old engine's *.cpp sources in SRC into screenplay files in OUT,\n"
    "with the names of the name-definition file NAMES, and prints the conversion\n"
    "log.",
    arguments,
    options,
    false,
    "0 done (also when an existing log file was kept)\n"
    "1 a missing folder or definition file, or a log that could not be saved\n"
    "2 bad arguments\n130 interrupted (Ctrl-C; between two sources)",
    "quillon-batch convert old/src scenario/ old/names.txt --log convert.log"};

// 0 done (also when an existing log file was kept), 1 a missing folder
// or definition file, or a log that could not be saved, 2 bad
// arguments, 130 cancelled.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace ConvertCommand
