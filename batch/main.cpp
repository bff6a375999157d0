#include "batch/LayoutCommand.h"
#include "platform/Trace.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* usage = "usage: quillon-batch [--trace] COMMAND ...\n"
                              "commands:\n"
                              "  layout FILE [--chars-per-line W] [--lines-per-page L] "
                              "[--options N]\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words.front() == "--trace") {
        Trace::setEnabled(true);
        words.erase(words.begin());
    }
    if (words.empty()) {
        std::cerr << usage;
        return 2;
    }
    std::string command = words.front();
    words.erase(words.begin());
    if (command == "layout")
        return LayoutCommand::run(words, std::cout, std::cerr);
    std::cerr << "quillon-batch: unknown command " << command << "\n" << usage;
    return 2;
}
