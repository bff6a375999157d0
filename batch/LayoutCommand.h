#pragma once

#include "batch/CommandHelp.h"
#include "batch/TypesettingArguments.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch layout FILE [--chars-per-line W] [--lines-per-page L]
// [--options N] [--kinsoku off|strict|loose] [--upright-digits] [--ruby]:
// lays a screenplay file out and prints every printed line as its flags word (8 lower-case
// hexadecimal digits), a TAB and its text, then "pages", a TAB and the page count. Output is UTF-8.
namespace LayoutCommand {

inline constexpr const char* usage =
    "usage: quillon-batch layout FILE [--chars-per-line W] [--lines-per-page L] "
    "[--options N]\n"
    "       [--kinsoku off|strict|loose] [--upright-digits] [--ruby]";

inline constexpr const char* arguments[] = {"FILE"};
inline constexpr OptionHelp options[] = {
    {"chars-per-line", "W", "text characters per line (40 by default)"},
    {"lines-per-page", "L", "printed lines per page (47 by default)"},
    {"options", "N", "option word (0x11); 0x10: notes in the comment face"},
    TypesettingArguments::kinsoku,
    TypesettingArguments::uprightDigits,
    TypesettingArguments::ruby,
};
inline constexpr CommandHelp help{
    "layout",
    "lay one screenplay file out: each printed line and its flags",
    usage,
    "Lays one screenplay file out as a print run would and prints every printed\n"
    "line: its flags word (8 hexadecimal digits), a TAB and its text (UTF-8); then\n"
    "\"pages\", a TAB and the page count. Flags: the low byte is the speaker's slot\n"
    "in the header's character table (0 also for a name not in it; ff on notes and\n"
    "comments); 0x100 a note set in the comment face; 0x400 a comment line (\" *\")\n"
    "set on the shaded background; 0x8000 a speaker line without a speaker name.\n"
    "With --ruby a line shows the base of a reading, not the reading.",
    arguments,
    options,
    false,
    "0 done\n1 the file could not be read\n2 bad arguments",
    "quillon-batch layout scenario/s01.screenplay.txt --chars-per-line 30"};

// Returns the exit status: 0 done, 1 the file could not be read, 2 bad
// arguments.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace LayoutCommand
