#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch survey SRC OUT NAMES [--subfolders]: the pre-survey of the
// old engine's sources in SRC (and its sub-folders) against the name
// definitions NAMES; prints the message-ID report as the notice dialog
// shows it, in UTF-8. Nothing is written; OUT must exist all the same, as
// in the dialog.
class SurveyCommand {
public:
    static constexpr const char* usage = "usage: quillon-batch survey SRC OUT NAMES [--subfolders]";

    // 0 done, 1 a missing folder or definition file (the message on the
    // error stream), 2 bad arguments.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
