#include "batch/BatchArguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>

bool BatchArguments::parse(const std::vector<std::string>& words,
                           const std::set<std::string>& valueOptions,
                           const std::set<std::string>& flagOptions)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::string inlineValue;
            bool hasInlineValue = false;
            if (auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
                hasInlineValue = true;
            }
            if (valueOptions.count(name)) {
                if (hasInlineValue) {
                    m_values[name] = inlineValue;
                } else if (i + 1 < words.size()) {
                    m_values[name] = words[++i];
                } else {
                    m_error = "option --" + name + " needs a value";
                    return false;
                }
            } else if (flagOptions.count(name) && !hasInlineValue) {
                m_flags.insert(name);
            } else {
                m_error = "unknown option " + word;
                return false;
            }
        } else {
            m_positional.push_back(word);
        }
    }
    return true;
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

int BatchArguments::refuse(std::ostream& err, const char* usage, const std::string& reason) const
{
    const std::string& why = reason.empty() ? m_error : reason;
    if (!why.empty())
        err << "quillon-batch: " << why << "\n";
    err << usage << "\n";
    return 2;
}
