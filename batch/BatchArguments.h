#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct CommandHelp;

// The words of a batch command line: positional arguments and "--name" or
// "--name value" options, checked against the options a command knows.
class BatchArguments {
public:
    // Against a command's table: its options (and the shared folder
    // options of a folder command), the values of a choice, and exactly as
    // many positional words as it names. "--help" or "-h" anywhere asks for
    // the help instead: false then, with helpAsked() true. Otherwise false,
    // with the first reason in error(), on any word that does not fit.
    [[nodiscard]] bool parse(const std::vector<std::string>& words, const CommandHelp& help);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& option) const;
    std::optional<std::string> value(const std::string& option) const;
    // An integer option: nullopt when absent; false when present but not a
    // whole number in range.
    [[nodiscard]] bool integer(const std::string& option, std::optional<long>& out) const;
    // An integer option of at least `minimum` (LONG_MIN: no bound of its
    // own) and within int: nullopt when absent; false, with the option and
    // the reason in error(), when it is not one.
    [[nodiscard]] bool wholeNumber(const std::string& option, long minimum,
                                   std::optional<long>& out);
    const std::string& error() const { return m_error; }
    bool helpAsked() const { return m_helpAsked; }

    // Tells why the words were refused (the given reason, else the parse
    // error when there is one) and the command's usage line; returns the exit
    // status of bad arguments, 2.
    int refuse(std::ostream& err, const char* usage, const std::string& reason = {}) const;
    // After a parse against the table that returned false: the command's
    // help on out and 0 when it was asked for, otherwise the refusal on err
    // and 2.
    int answer(std::ostream& out, std::ostream& err, const CommandHelp& help) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::string m_error;
    bool m_helpAsked = false;
};
