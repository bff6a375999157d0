#pragma once

#include "app/WindowConfiguration.h"

#include <string_view>

class Quillon;

// The steps around the main window: before it opens, the window rectangle
// and the input histories come back and the command line may name the
// scenario folder; when it closes through its close command the rectangle
// is saved; once it has closed the histories are saved.
class ProgramStart {
public:
    // The command line is the whole text after the program name, used as it
    // stands (quotes are not removed). When it names an existing folder
    // (relative texts against the current directory), that folder becomes
    // the scenario folder and is loaded when the window opens.
    static void prepare(Quillon& app, std::string_view commandLine);
    // The main window's close command.
    static void windowClosing(Quillon& app, const WindowRectangle& rectangle);
    // After the main window has closed.
    static void finish(Quillon& app);
};
