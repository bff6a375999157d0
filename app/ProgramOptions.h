#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// What the desktop program takes on its command line and what
// `quillon --help` and its manual page say about it. The parser and both
// texts read these tables, so an option that is taken always has its line
// of help.
//
// The program's own argument is one folder, made of every word after the
// program name joined by blanks; Qt takes its own options out before that.
// The help is asked for only by "--help" or "-h" standing alone, so that no
// folder name made of several words is ever mistaken for it (a folder named
// "--help" still opens as "./--help").
namespace ProgramOptions {

// One option: its name with its dashes ("--help", "-platform"), a second
// spelling or nullptr, the value it takes as the help names it (nullptr
// for a switch) and one line of explanation.
struct Option {
    const char* name;
    const char* alias;
    const char* value;
    const char* text;

    bool takesValue() const { return value != nullptr; }
};

// A file the program reads or writes, and what it holds.
struct File {
    const char* name;
    const char* text;
};

inline constexpr const char* name = "quillon";
inline constexpr const char* brief = "make voice-recording scripts from a visual-novel scenario";
inline constexpr const char* usage = "usage: quillon [QT-OPTION...] [FOLDER]\n"
                                     "       quillon --help";
inline constexpr const char* summary =
    "Opens the main window on a scenario folder of Shift-JIS screenplay files\n"
    "(*.screenplay.txt, one scene each) and makes voice-recording scripts of it:\n"
    "tick scenes, choose the characters printed, print one script per character\n"
    "with that character's lines emphasised and the director's copy, to the\n"
    "printer, page images or PDF files; estimate the pages, write check lists,\n"
    "count each character's lines and convert the old engine's sources.\n"
    "quillon-batch does the same without a window.";
inline constexpr const char* argument = "FOLDER";
// Lines short enough to stand beside the argument's name in the help.
inline constexpr const char* argumentText = "the scenario folder loaded at start. Every word\n"
                                            "after the program name (Qt's options aside) is\n"
                                            "part of it, joined by blanks, quotes kept; a name\n"
                                            "that is no folder opens the window empty.";
inline constexpr const char* filesIntroduction =
    "The program keeps its own files in the folder of the program file or,\n"
    "where that folder is not writable (an installed program), in\n"
    "~/.config/quillon/.";
inline constexpr const char* exitStatus = "0 the window was closed, or the help printed\n"
                                          "1 no window system to open the window on";
// Why the program does not start without a display.
inline constexpr const char* noDisplayMessage =
    "quillon: no display to open the window on (neither DISPLAY nor\n"
    "WAYLAND_DISPLAY is set); quillon-batch works without one\n";
inline constexpr const char* example = "quillon ~/scenario\n"
                                       "quillon -platform offscreen --help";

// The program's own options.
std::span<const Option> options();
// Qt's options that the program passes on to Qt (QApplication takes
// them out of the words before the folder is made of the rest); each
// also works with two dashes and as "-name=value".
std::span<const Option> qtOptions();
// The program's own files ("quillon.configuration", the histories, the
// print log) and the scenario folder's settings file.
std::span<const File> files();

// Whether the words after the program name ask for the help: "--help"
// or "-h" alone once Qt's options (and their values) are set aside.
bool helpAsked(const std::vector<std::string>& words);

// What of the environment tells Qt where to open its windows.
struct Environment {
    bool platformVariable; // QT_QPA_PLATFORM is set
    bool display;          // DISPLAY or WAYLAND_DISPLAY is set
};
// Whether Qt would look for a display that is not there: no window
// system named (by -platform or QT_QPA_PLATFORM) and no display to
// reach (-display, DISPLAY or WAYLAND_DISPLAY). Qt then aborts with a message about its
// plug-ins; the program says what is missing instead.
bool displayMissing(const std::vector<std::string>& words, const Environment& environment);

// The text of `quillon --help`.
void printHelp(std::ostream& out);

} // namespace ProgramOptions
