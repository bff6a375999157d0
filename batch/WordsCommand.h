#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch words FOLDER [--only NAME,...] [--suppress NAME,...]: the
// word counts of the scenario totals as the word-count listing puts them on
// the clipboard: name ", " count, one line per character. Output is UTF-8.
namespace WordsCommand {

inline constexpr const char* usage =
    "usage: quillon-batch words FOLDER [--only NAME,...] [--suppress NAME,...]";

inline constexpr const char* arguments[] = {"FOLDER"};
inline constexpr CommandHelp help{
    "words",
    "the word counts (spoken lines) of every character",
    usage,
    "Prints the word counts of the whole scenario as the window copies them to the\n"
    "clipboard: one line per character, its name, \", \" and its word count. A word\n"
    "count is the number of the character's spoken lines, summed over the scenes\n"
    "as their headers declare them.",
    arguments,
    {},
    true,
    "0 done\n1 no screenplay files, or the folder could not be read\n2 bad arguments\n"
    "130 interrupted (Ctrl-C)",
    "quillon-batch words scenario/"};

// 0 done, 1 no screenplay files or the folder could not be read, 2 bad
// arguments, 130 cancelled.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace WordsCommand
