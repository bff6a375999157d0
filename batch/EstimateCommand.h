#pragma once

#include "batch/ChangeSelection.h"
#include "batch/CommandHelp.h"
#include "batch/TypesettingArguments.h"

#include <iosfwd>
#include <string>
#include <vector>

class FolderSession;
class LineSelection;
class ProgramEnvironment;

// quillon-batch estimate FOLDER [--all] [--generic] [--only NAME,...]
// [--suppress NAME,...] [--kinsoku off|strict|loose] [--upright-digits]
// [--ruby] [--changes-from OLD | --since-print | --missing-from DELIVERY
// [--pattern REGEX]] [--jobs N]: the page-count estimate over the ticked rows (every
// row with --all): one line per scene counted (file name, scene name and
// its pages, TAB-separated; "-" for a scene that could not be read), then
// the total as the main window shows it: "現在の設定で印刷すると、" and on
// the next line the total followed by "ページの台本が出力されます。". With
// --generic the director's copies count too, as print --generic prints them;
// with a line choice the scenes and pages print would print with it.
namespace EstimateCommand {

inline constexpr const char* usage =
    "usage: quillon-batch estimate FOLDER [--all] [--generic] [--only NAME,...]\n"
    "       [--suppress NAME,...] [--kinsoku off|strict|loose] [--upright-digits]\n"
    "       [--ruby] [--changes-from OLD | --since-print]\n"
    "       [--missing-from DELIVERY [--pattern REGEX]] [--jobs N]";

inline constexpr const char* arguments[] = {"FOLDER"};
inline constexpr OptionHelp options[] = {
    {"all", nullptr, "count every scene, not only the ticked ones"},
    {"generic", nullptr, "count the director's copies, as print --generic"},
    ChangeSelection::changesFrom,
    ChangeSelection::sincePrint,
    TypesettingArguments::kinsoku,
    TypesettingArguments::uprightDigits,
    TypesettingArguments::ruby,
    {"missing-from", "DELIVERY", "count the scripts of missing lines, as print --missing-from"},
    {"pattern", "REGEX", "with --missing-from: the number is group 1 of REGEX (kept for FOLDER)"},
    {"jobs", "N", "lay scenes out on N threads (default: print.jobs; 0: one per core)"},
};
inline constexpr CommandHelp help{
    "estimate",
    "the pages a print run would produce, per scene and in total",
    usage,
    "Counts the pages a print run with the folder's print format would produce,\n"
    "without printing: one line per scene (file name, scene name and pages, TAB-\n"
    "separated; \"-\" for a scene that cannot be read), then the total as the\n"
    "window shows it. A scene gives one script per character printed; with\n"
    "--changes-from or --since-print, the pickup scripts print would print;\n"
    "with --missing-from, the scripts and pages print --missing-from would print.",
    arguments,
    options,
    true,
    "0 done\n1 the folder or one of its scenes could not be read (the total counts\n"
    "  the others)\n2 bad arguments\n130 interrupted (Ctrl-C)",
    "quillon-batch estimate scenario/ --generic"};

// 0 done, 1 the folder or one of its scenes could not be read (the
// message still shows the pages of the others), 2 bad arguments, 130
// cancelled (no message then).
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);
// The estimate over a folder already open; the same exit status. With
// directorsCopies the director's copy of every scene counts too.
// With a selection, the pages of the partial run that prints it.
int estimate(FolderSession& session, bool allRows, bool directorsCopies = false,
             const LineSelection* selection = nullptr);

} // namespace EstimateCommand
