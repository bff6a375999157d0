#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillon-batch layout FILE [--chars-per-line W] [--lines-per-page L]
// [--options N]: lays a screenplay file out and prints every printed line as
// its flags word (8 lower-case hexadecimal digits), a TAB and its text, then
// "pages", a TAB and the page count. Output is UTF-8.
class LayoutCommand {
public:
    static constexpr const char* usage =
        "usage: quillon-batch layout FILE [--chars-per-line W] [--lines-per-page L] "
        "[--options N]";

    // Returns the exit status: 0 done, 1 the file could not be read, 2 bad
    // arguments.
    static int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
};
