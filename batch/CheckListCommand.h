#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch checklist FOLDER [--format csv|txt] [--scenes] [--characters]
// [--unprinted] [--out DIR] [--yes] [--jobs N] [--only NAME,...] [--suppress NAME,...]:
// the check-list command with the dialog's defaults for what is not given
// (CSV, the scene list only, without the unprinted scripts, into the
// scenario folder). With --scenes or --characters exactly the lists given
// are written. A missing output folder is created only with --yes, which
// answers both questions. The notices go to the output stream.
namespace CheckListCommand {

inline constexpr const char* usage =
    "usage: quillon-batch checklist FOLDER [--format csv|txt] [--scenes] [--characters] "
    "[--unprinted] [--out DIR] [--yes] [--jobs N] [--only NAME,...] [--suppress NAME,...]";

inline constexpr const char* arguments[] = {"FOLDER"};
inline constexpr OptionHelp options[] = {
    {"format", "csv|txt", "CSV (the default) or TAB-separated text"},
    {"scenes", nullptr, "the scene list (the default without --characters)"},
    {"characters", nullptr, "the character list"},
    {"unprinted", nullptr, "also list the scripts that are not printed"},
    {"out", "DIR", "into DIR (the scenario folder by default)"},
    {"yes", nullptr, "answer yes: create a missing DIR"},
    {"jobs", "N", "count scenes on N threads (default: print.jobs; 0: one per core)"},
};
inline constexpr CommandHelp help{
    "checklist",
    "write the scene and character check lists",
    usage,
    "Writes the check lists of the scenario as the window's dialog does, with\n"
    "the page counts of the folder's print format: \"@sceneCheckList.\" + 8 hex\n"
    "digits + \".csv\" or \".txt\", Shift-JIS, never over an existing file.",
    arguments,
    options,
    true,
    "0 done\n1 the folder, the output folder or a file failed\n2 bad arguments\n"
    "130 interrupted (Ctrl-C)",
    "quillon-batch checklist scenario/ --format txt --characters --out lists/ --yes"};

// 0 done, 1 a failure (the folder, the output folder, a file), 2 bad
// arguments, 130 cancelled (the estimate or a list).
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace CheckListCommand
