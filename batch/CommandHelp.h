#pragma once

#include <iosfwd>
#include <set>
#include <span>
#include <string>
#include <vector>

// One option of a batch command, as its parser knows it and its help shows
// it: the name without "--"; the value it takes, as the help names it
// (nullptr for a switch without a value; words joined by "|" are the only
// values allowed, "png|bmp|printer"); and one line of explanation.
struct OptionHelp {
    const char* name;
    const char* value;
    const char* text;

    bool takesValue() const { return value != nullptr; }
    // The allowed values of a choice ("png|bmp|printer"); empty for a free
    // value or a switch.
    std::vector<std::string> choices() const;
};

// What a batch command accepts and what its --help prints: the one table
// both read, kept next to the command's usage line, so that an option that
// can be parsed always has its line of help. Adding an option to a command
// is one line in its options table (and the handling of its value); the
// bash completion script lists the options too, and a test compares it
// with these tables.
struct CommandHelp {
    const char* name;
    // One line for the tool's list of commands.
    const char* brief;
    // The usage line(s), "usage: quillon-batch NAME ..." as bad arguments
    // show it.
    const char* usage;
    // What the command does and prints, a few lines of plain text.
    const char* summary;
    // The words that are not options, in order ("FOLDER"; "SRC", "OUT",
    // "NAMES"): exactly so many must be given.
    std::span<const char* const> arguments;
    std::span<const OptionHelp> options;
    // Whether the command loads a scenario folder and so also takes the
    // options every folder command shares (--only, --suppress).
    bool folderCommand;
    // "0 done, ..." one status per line.
    const char* exitStatus;
    // One or more command lines that show the use.
    const char* example;

    // The options shared by every folder command.
    static std::span<const OptionHelp> folderOptions();

    // Every option the command takes: its own, then the shared ones.
    std::vector<OptionHelp> allOptions() const;
    // The option of that name (without "--"), or nullptr.
    const OptionHelp* option(const std::string& name) const;

    // The text of `quillon-batch NAME --help`.
    void print(std::ostream& out) const;

    // Lines of exit statuses ("0 done", "130 interrupted") with the status
    // in a column of its own; a line that does not start with a status goes
    // on with the one before.
    static void printStatuses(std::ostream& out, const char* statuses);
    // Every line of a text, indented by two blanks (the examples).
    static void printIndented(std::ostream& out, const char* text);
    // The lines of a text.
    static std::vector<std::string> linesOf(const char* text);
};
