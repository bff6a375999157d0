#include "app/ProgramEnvironment.h"
#include "batch/BatchCommands.h"
#include "batch/StreamDialogHost.h"
#include "batch/StreamPrompt.h"
#include "platform/SystemClock.h"
#include "platform/Trace.h"
#include "ui/HeadlessProgressView.h"

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
    // The tool's terminal: notices on stdout, questions answered no on
    // stderr, progress as a line on stderr. The foundation's boxes of a
    // command that opens no session of its own (layout) go to stderr with
    // the tool's name in front, as every other message there.
    StreamDialogHost dialogs(std::cout, std::cerr);
    HeadlessProgressView progress;
    StreamPrompt prompt(std::cerr);
    const SystemClock clock;
    ProgramEnvironment environment(
        {.dialogs = dialogs, .progress = progress, .prompt = prompt, .clock = clock});
    return BatchCommands::run(environment, words, std::cout, std::cerr);
}
