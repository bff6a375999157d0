#include "batch/BatchCommands.h"
#include "batch/StreamPrompt.h"
#include "platform/Prompt.h"
#include "platform/Trace.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words.front() == "--trace") {
        Trace::setEnabled(true);
        words.erase(words.begin());
    }
    // The foundation's boxes of a command that opens no session of its own
    // (layout) go to stderr with the tool's name in front, as every other
    // message there.
    StreamPrompt prompt(std::cerr);
    Prompt::Scope promptScope(prompt);
    return BatchCommands::run(words, std::cout, std::cerr);
}
