#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch checklist FOLDER [--format csv|txt] [--scenes] [--characters]
// [--unprinted] [--out DIR] [--yes] [--only NAME,...] [--suppress NAME,...]:
// the check-list command with the dialog's defaults for what is not given
// (CSV, the scene list only, without the unprinted scripts, into the
// scenario folder). With --scenes or --characters exactly the lists given
// are written. A missing output folder is created only with --yes, which
// answers both questions. The notices go to the output stream.
class CheckListCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch checklist FOLDER [--format csv|txt] [--scenes] [--characters] "
        "[--unprinted] [--out DIR] [--yes] [--only NAME,...] [--suppress NAME,...]";

    // 0 done, 1 a failure (the folder, the output folder, a file), 2 bad
    // arguments, 130 cancelled (the estimate or a list).
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
