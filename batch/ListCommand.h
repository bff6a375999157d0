#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch list FOLDER [--only NAME,...] [--suppress NAME,...]: the
// main list after loading the folder, one line per row: "x" for a ticked
// row or "-" for a cleared one, TAB, the file name, TAB, the character names
// joined with ","; then "総数" TAB the number of files and "発言者なし" TAB
// the number of files without a speaking character. Output is UTF-8.
namespace ListCommand {

inline constexpr const char* usage =
    "usage: quillon-batch list FOLDER [--only NAME,...] [--suppress NAME,...]";

inline constexpr const char* arguments[] = {"FOLDER"};
inline constexpr CommandHelp help{
    "list",
    "load a scenario folder and list its screenplay files",
    usage,
    "Loads a scenario folder as the main window does and prints its list, one line\n"
    "per screenplay file: \"x\" (ticked) or \"-\" (cleared: no speaking character),\n"
    "a TAB, the file name, a TAB and the characters joined with \",\"; then \"総数\"\n"
    "(files) and \"発言者なし\" (files without a speaking character), each with a TAB\n"
    "and the number.",
    arguments,
    {},
    true,
    "0 done\n1 no screenplay files, or the folder could not be read\n2 bad arguments\n"
    "130 interrupted (Ctrl-C)",
    "quillon-batch list scenario/"};

// 0 done, 1 no screenplay files or the folder could not be read, 2 bad
// arguments, 130 cancelled.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace ListCommand
