#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]:
// converts every "*.cpp" of SRC (and its sub-folders) into screenplay files
// in OUT, in path order, with the true names of NAMES; prints the
// conversion log in UTF-8. With --log the log is also saved there (Shift-JIS);
// an existing file is overwritten only with --yes, and otherwise stays as
// it is (said on the error stream). A progress line shows on a terminal;
// Ctrl-C stops between two sources and the log says so.
class ConvertCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch convert SRC OUT NAMES [--subfolders] [--log FILE] [--yes]";

    // 0 done (also when an existing log file was kept), 1 a missing folder
    // or definition file, or a log that could not be saved, 2 bad
    // arguments, 130 cancelled.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
