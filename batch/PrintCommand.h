#pragma once

#include "fc/FCString.h"

#include <iosfwd>
#include <string>
#include <vector>

class FolderSession;

// quillon-batch print FOLDER [--device png|bmp|printer] [--dest DIR]
//   [--generic] [--no-emphasis] [--no-log] [--log FILE] [--open-log]
//   [--only NAME,...] [--suppress NAME,...]
//
// The print run over the ticked rows, as the print button starts it once the
// print settings are confirmed: the folder's print format as its settings
// file holds it, and the run settings of the application's defaults (PNG
// pages below the scenario folder, log on into the program's
// "quillon.log.txt", comment emphasis on, no director's copy) changed by the
// options. Page images go to DIR + scene name + "/". The log is opened with
// xdg-open only when --open-log asks for it.
class PrintCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch print FOLDER [--device png|bmp|printer] [--dest DIR] [--generic]\n"
        "       [--no-emphasis] [--no-log] [--log FILE] [--open-log] [--only NAME,...]\n"
        "       [--suppress NAME,...]";

    // 0 done; 1 a scene, a page file or the log could not be written or
    // read (the others are printed all the same), or the log could not be
    // opened; 2 bad arguments; 130 cancelled (the log says so).
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
