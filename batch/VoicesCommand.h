#pragma once

#include "batch/CommandHelp.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramEnvironment;

// quillon-batch voices FOLDER DELIVERY [--pattern REGEX] [--check-content]
// [--csv FILE] [--sort DEST [--move] [--by-scene]] [--only NAME,...]
// [--suppress NAME,...]: every speaker line of the ticked scenes checked
// against a studio's delivery of voice files. The table and the problems go
// to the output stream; skipped entries, the sorting's summary and failures
// to the error stream.
namespace VoicesCommand {

// Every line recorded, nothing broken.
inline constexpr int Complete = 0;
// Lines are missing or broken.
inline constexpr int Incomplete = 3;

inline constexpr const char* usage =
    "usage: quillon-batch voices FOLDER DELIVERY [--pattern REGEX] [--check-content]\n"
    "       [--csv FILE] [--sort DEST [--move] [--by-scene]] [--only NAME,...]\n"
    "       [--suppress NAME,...]";

inline constexpr const char* arguments[] = {"FOLDER", "DELIVERY"};
inline constexpr OptionHelp options[] = {
    {"pattern", "REGEX", "the number is group 1 of REGEX in a file name (kept for FOLDER)"},
    {"check-content", nullptr, "read every frame: cut, silent and clipped files"},
    {"csv", "FILE", "also write one row per line to FILE (Shift-JIS CSV)"},
    {"sort", "DEST", "copy each recorded line's file to DEST/<character>/"},
    {"move", nullptr, "with --sort: move the files instead of copying them"},
    {"by-scene", nullptr, "with --sort: DEST/<character>/<scene>/"},
};
inline constexpr CommandHelp help{
    "voices",
    "check delivered voice files against the lines, and sort them",
    usage,
    "Matches the audio files of DELIVERY and its sub-folders (.wav .flac .ogg\n"
    ".opus .mp3) with the speaker lines of the ticked scenes by message number,\n"
    "by default the first run of six digits in the file name. Prints a table per\n"
    "character (lines, recorded, missing, duplicate, broken, time) and one line\n"
    "per problem. --sort copies or moves the files of recorded lines into a\n"
    "folder per character; a rerun after an interruption completes the sort,\n"
    "and DEST/quillon.voices.log.txt tells what went where.",
    arguments,
    options,
    true,
    "0 every line recorded and nothing broken\n1 a failure, its reason on stderr\n"
    "2 bad arguments\n3 lines are missing or broken\n"
    "130 interrupted (Ctrl-C): a rerun completes a sort",
    "quillon-batch voices scenario/ delivery/ --csv voices.csv\n"
    "quillon-batch voices scenario/ delivery/ --sort sorted/ --move"};

int run(ProgramEnvironment& environment, const std::vector<std::string>& words, std::ostream& out,
        std::ostream& err);

} // namespace VoicesCommand
