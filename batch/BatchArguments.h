#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The words of a batch command line: positional arguments and "--name" or
// "--name value" options, checked against the options a command knows.
class BatchArguments {
public:
    // valueOptions take a value, flagOptions do not. False (with a reason in
    // error()) on an unknown option or a missing value.
    [[nodiscard]] bool parse(const std::vector<std::string>& words,
                             const std::set<std::string>& valueOptions,
                             const std::set<std::string>& flagOptions);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& option) const;
    std::optional<std::string> value(const std::string& option) const;
    // An integer option: nullopt when absent; false when present but not a
    // whole number in range.
    [[nodiscard]] bool integer(const std::string& option, std::optional<long>& out) const;
    const std::string& error() const { return m_error; }

    // Tells why the words were refused (the given reason, else the parse
    // error when there is one) and the command's usage line; returns the exit
    // status of bad arguments, 2.
    int refuse(std::ostream& err, const char* usage, const std::string& reason = {}) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::string m_error;
};
