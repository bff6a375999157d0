#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch list FOLDER [--only NAME,...] [--suppress NAME,...]: the
// main list after loading the folder, one line per row: "x" for a ticked
// row or "-" for a cleared one, TAB, the file name, TAB, the character names
// joined with ","; then "総数" TAB the number of files and "発言者なし" TAB
// the number of files without a speaking character. Output is UTF-8.
class ListCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch list FOLDER [--only NAME,...] [--suppress NAME,...]";

    // 0 done, 1 no screenplay files or the folder could not be read, 2 bad
    // arguments, 130 cancelled.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
