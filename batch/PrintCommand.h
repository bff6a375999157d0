#pragma once

#include "batch/ChangeSelection.h"
#include "batch/CommandHelp.h"
#include "batch/TypesettingArguments.h"
#include "fc/FCString.h"

#include <iosfwd>
#include <string>
#include <vector>

class FolderSession;
class ProgramEnvironment;

// quillon-batch print FOLDER [--device png|bmp|pdf|printer]
//   [--bundle-by-actor] [--dest DIR] [--generic] [--no-emphasis] [--no-log]
//   [--log FILE] [--open-log] [--kinsoku off|strict|loose] [--upright-digits]
//   [--ruby] [--changes-from OLD | --since-print]
//   [--missing-from DELIVERY [--pattern REGEX]] [--only NAME,...]
//   [--suppress NAME,...] [--jobs N]
//
// The print run over the ticked rows, as the print button starts it once the
// print settings are confirmed: the folder's print format as its settings
// file holds it, and the run settings of the application's defaults (PNG
// pages below the scenario folder, log on into the program's
// "quillon.log.txt", comment emphasis on, no director's copy) changed by the
// options (the typesetting options change the folder's print format for this
// run only). Page images go to DIR + scene name + "/", PDF scripts to
// DIR + scene name + "/" + scene name + "." + character + ".pdf", or with
// --bundle-by-actor to one file per character, DIR + character + ".pdf". The log is opened with
// xdg-open only when --open-log asks for it. The summary line on the output
// stream tells the scenes and pages printed and, after a Ctrl-C, how many of
// the chosen scenes the run got through. With --missing-from only the lines
// a delivery of voice files has no good file for are printed (see
// MissingLines), each character's in a script "name（未収録）".
namespace PrintCommand {

inline constexpr const char* usage =
    "usage: quillon-batch print FOLDER [--device png|bmp|pdf|printer] [--bundle-by-actor]\n"
    "       [--dest DIR] [--generic] [--no-emphasis] [--no-log] [--log FILE] [--open-log]\n"
    "       [--kinsoku off|strict|loose] [--upright-digits] [--ruby]\n"
    "       [--only NAME,...] [--suppress NAME,...] [--changes-from OLD | --since-print]\n"
    "       [--missing-from DELIVERY [--pattern REGEX]] [--jobs N]";

inline constexpr const char* arguments[] = {"FOLDER"};
inline constexpr OptionHelp options[] = {
    {"device", "png|bmp|pdf|printer", "PNG (the default) or BMP pages, PDF files, or the printer"},
    {"bundle-by-actor", nullptr, "PDF: one file per character over all scenes, not per script"},
    {"dest", "DIR", "page images or PDF files under DIR (default: the scenario)"},
    {"generic", nullptr, "also the director's copy (監督用) of each scene"},
    {"no-emphasis", nullptr, "notes in the general face, not the comment face"},
    {"no-log", nullptr, "write no print log"},
    {"log", "FILE", "the print log (default: beside the program)"},
    {"open-log", nullptr, "open the written log with xdg-open"},
    ChangeSelection::changesFrom,
    ChangeSelection::sincePrint,
    TypesettingArguments::kinsoku,
    TypesettingArguments::uprightDigits,
    TypesettingArguments::ruby,
    {"missing-from", "DELIVERY",
     "only the lines DELIVERY has no good voice file for, with context"},
    {"pattern", "REGEX", "with --missing-from: the number is group 1 of REGEX (kept for FOLDER)"},
    {"jobs", "N", "draw scenes on N threads (default: print.jobs; 0: one per core)"},
};
inline constexpr CommandHelp help{
    "print",
    "print the ticked scenes to page images, PDF files or the printer",
    usage,
    "Prints the ticked scenes with the folder's print format: one script per\n"
    "character (that character's lines emphasised), then with --generic the\n"
    "director's copy. Page images go to DIR/SCENE/SCENE.CHARACTER.PAGE@PAGES.png,\n"
    "PDF scripts to DIR/SCENE/SCENE.CHARACTER.pdf, or with --bundle-by-actor to\n"
    "DIR/CHARACTER.pdf (every scene, one outline entry each); the print log\n"
    "(Shift-JIS) names every scene printed. Prints a summary line: scenes\n"
    "printed, pages and where. With --changes-from or --since-print, pickup\n"
    "scripts: each character only its added, changed and re-assigned lines,\n"
    "marked ＊, with a line of context around them (リテイク in the header).\n"
    "With --missing-from, each character's script\n"
    "holds only its lines not yet recorded in DELIVERY (matched by message\n"
    "number as the voices command matches them; broken files count as none),\n"
    "each run of them with a line of context before and after, runs apart by\n"
    "an empty line; the header and file names say \"（未収録）\" after the\n"
    "name, and a character or scene with nothing missing gets no script.",
    arguments,
    options,
    true,
    "0 done\n1 a scene, a page or PDF file or the log could not be read, written or opened\n"
    "  (the others are printed all the same)\n2 bad arguments\n"
    "130 interrupted (Ctrl-C; the scene in progress is finished first)",
    "quillon-batch print scenario/ --dest pages/ --generic --log print.log"};

// 0 done; 1 a scene, a page file or the log could not be written or
// read (the others are printed all the same), or the log could not be
// opened; 2 bad arguments; 130 cancelled (the log says so).
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace PrintCommand
