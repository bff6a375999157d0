#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class FolderSession;

// quillon-batch estimate FOLDER [--all] [--only NAME,...] [--suppress
// NAME,...]: the page-count estimate over the ticked rows (every row with
// --all), shown as the main window shows it: "現在の設定で印刷すると、" and
// on the next line the total followed by "ページの台本が出力されます。".
class EstimateCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch estimate FOLDER [--all] [--only NAME,...] [--suppress NAME,...]";

    // 0 done, 1 the folder or one of its scenes could not be read (the
    // message still shows the pages of the others), 2 bad arguments, 130
    // cancelled (no message then).
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
    // The estimate over a folder already open; the same exit status.
    static int estimate(FolderSession& session, bool allRows);
};
