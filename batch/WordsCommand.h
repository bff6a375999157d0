#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch words FOLDER [--only NAME,...] [--suppress NAME,...]: the
// word counts of the scenario totals as the word-count listing puts them on
// the clipboard: name ", " count, one line per character. Output is UTF-8.
class WordsCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch words FOLDER [--only NAME,...] [--suppress NAME,...]";

    // 0 done, 1 no screenplay files or the folder could not be read, 2 bad
    // arguments, 130 cancelled.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
