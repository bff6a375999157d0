#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch survey SRC OUT NAMES [--subfolders]: the pre-survey of the
// old engine's sources in SRC (and its sub-folders) against the name
// definitions NAMES; prints the message-ID report as the notice dialog
// shows it, in UTF-8. Nothing is written; OUT must exist all the same, as
// in the dialog.
namespace SurveyCommand {

inline constexpr const char* usage = "usage: quillon-batch survey SRC OUT NAMES [--subfolders]";

inline constexpr const char* arguments[] = {"SRC", "OUT", "NAMES"};
inline constexpr OptionHelp options[] = {
    {"subfolders", nullptr, "also the sources in the sub-folders of SRC"},
};
inline constexpr CommandHelp help{
    "survey",
    "report on the message ids of the old engine's sources",
    usage,
    "Reads the old engine's *.cpp sources in SRC against the name-definition file\n"
    "NAMES and prints the message-ID report: range, unused ids, duplicates,\n"
    "unassigned and system ids, unregistered speakers. Writes nothing; OUT must\n"
    "exist all the same.",
    arguments,
    options,
    false,
    "0 done\n1 a missing folder or definition file\n2 bad arguments",
    "quillon-batch survey old/src scenario/ old/names.txt --subfolders"};

// 0 done, 1 a missing folder or definition file (the message on the
// error stream), 2 bad arguments.
int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace SurveyCommand
