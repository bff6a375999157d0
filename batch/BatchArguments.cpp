#include "batch/BatchArguments.h"

#include "batch/CommandHelp.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>

namespace {

// "png, bmp or printer".
std::string spokenChoices(const std::vector<std::string>& choices)
{
    std::string text;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i > 0)
            text += i + 1 == choices.size() ? " or " : ", ";
        text += choices[i];
    }
    return text;
}

// The positional words from the first on: "FOLDER"; "SRC OUT NAMES".
std::string joined(const CommandHelp& help, std::size_t first)
{
    std::string text;
    for (std::size_t i = first; i < help.arguments.size(); ++i) {
        if (!text.empty())
            text += ' ';
        text += help.arguments[i];
    }
    return text;
}

} // namespace

bool BatchArguments::parse(const std::vector<std::string>& words, const CommandHelp& help)
{
    // Every word is looked at, so that a --help after a mistake still
    // answers; the first mistake is the one told.
    auto refuse = [this](std::string reason) {
        if (m_error.empty())
            m_error = std::move(reason);
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            m_helpAsked = true;
            continue;
        }
        if (word.size() <= 2 || word.compare(0, 2, "--") != 0) {
            m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const OptionHelp* option = help.option(name);
        if (!option) {
            refuse("--" + name + ": not an option of " + help.name);
            continue;
        }
        if (!option->takesValue()) {
            if (inlineValue)
                refuse("--" + name + ": takes no value, not " + *inlineValue);
            else
                m_flags.insert(name);
            continue;
        }
        const std::vector<std::string> choices = option->choices();
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            refuse("--" + name + ": needs a value, " +
                   (choices.empty() ? std::string(option->value) : spokenChoices(choices)));
            continue;
        }
        bool allowed = choices.empty();
        for (const std::string& choice : choices)
            allowed = allowed || value == choice;
        if (!allowed) {
            refuse("--" + name + ": " + spokenChoices(choices) + ", not " +
                   (value.empty() ? std::string("nothing") : value));
            continue;
        }
        m_values[name] = value;
    }
    const std::size_t wanted = help.arguments.size();
    if (m_positional.size() < wanted) {
        refuse(std::string(help.name) + ": " + joined(help, m_positional.size()) + " missing");
    } else if (m_positional.size() > wanted) {
        refuse(std::string(help.name) + ": one word too many: " + m_positional[wanted] +
               " (it takes " + joined(help, 0) + ")");
    }
    return !m_helpAsked && m_error.empty();
}

bool BatchArguments::has(const std::string& option) const
{
    return m_flags.count(option) || m_values.count(option);
}

std::optional<std::string> BatchArguments::value(const std::string& option) const
{
    auto found = m_values.find(option);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

bool BatchArguments::integer(const std::string& option, std::optional<long>& out) const
{
    out.reset();
    auto text = value(option);
    if (!text)
        return true;
    if (text->empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long number = std::strtol(text->c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || number < INT_MIN || number > INT_MAX)
        return false;
    out = number;
    return true;
}

bool BatchArguments::wholeNumber(const std::string& option, long minimum, std::optional<long>& out)
{
    if (integer(option, out) && (!out || *out >= minimum))
        return true;
    const std::string text = *value(option);
    // A number that only lies beyond int is told its upper limit too.
    errno = 0;
    char* end = nullptr;
    (void)std::strtoll(text.c_str(), &end, 0);
    const bool tooBig = !text.empty() && *end == '\0' && !out;
    const long lowest = minimum > INT_MIN ? minimum : long(INT_MIN);
    std::string range = "a whole number";
    if (tooBig)
        range += " from " + std::to_string(lowest) + " to " + std::to_string(INT_MAX);
    else if (minimum > INT_MIN)
        range += " from " + std::to_string(minimum) + " up";
    m_error = "--" + option + ": " + range + ", not " + (text.empty() ? "nothing" : text);
    out.reset();
    return false;
}

int BatchArguments::refuse(std::ostream& err, const char* usage, const std::string& reason) const
{
    const std::string& why = reason.empty() ? m_error : reason;
    if (!why.empty())
        err << "quillon-batch: " << why << "\n";
    err << usage << "\n";
    return 2;
}

int BatchArguments::answer(std::ostream& out, std::ostream& err, const CommandHelp& help) const
{
    if (m_helpAsked) {
        help.print(out);
        return 0;
    }
    return refuse(err, help.usage);
}
