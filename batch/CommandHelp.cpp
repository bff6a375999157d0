#include "batch/CommandHelp.h"

#include <algorithm>
#include <cstring>
#include <ostream>

namespace {

constexpr OptionHelp sharedFolderOptions[] = {
    {"only", "NAME,...", "tick only these screenplay files"},
    {"suppress", "NAME,...", "no scripts for these characters, this run only"},
};

// The column the explanations start in; a longer option pushes its
// explanation onto the next line.
constexpr std::size_t TextColumn = 28;

std::string optionWords(const OptionHelp& option)
{
    std::string words = std::string("--") + option.name;
    if (option.takesValue())
        words += std::string(" ") + option.value;
    return words;
}

} // namespace

std::vector<std::string> CommandHelp::linesOf(const char* text)
{
    std::vector<std::string> lines;
    const std::string all(text);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        lines.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void CommandHelp::printStatuses(std::ostream& out, const char* text)
{
    constexpr std::size_t StatusWidth = 5;
    for (const std::string& line : linesOf(text)) {
        const bool status = !line.empty() && line[0] >= '0' && line[0] <= '9';
        const std::size_t space = status ? line.find(' ') : 0;
        const std::string code = status ? line.substr(0, space) : std::string();
        const std::size_t rest = line.find_first_not_of(' ', status ? space : 0);
        out << "  " << code << std::string(StatusWidth - std::min(code.size(), StatusWidth), ' ')
            << (rest == std::string::npos ? std::string() : line.substr(rest)) << "\n";
    }
}

void CommandHelp::printIndented(std::ostream& out, const char* text)
{
    for (const std::string& line : linesOf(text))
        out << "  " << line << "\n";
}

std::vector<std::string> OptionHelp::choices() const
{
    std::vector<std::string> values;
    if (!value || !std::strchr(value, '|'))
        return values;
    const std::string text(value);
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        values.push_back(text.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return values;
}

std::span<const OptionHelp> CommandHelp::folderOptions()
{
    return sharedFolderOptions;
}

std::vector<OptionHelp> CommandHelp::allOptions() const
{
    std::vector<OptionHelp> all(options.begin(), options.end());
    if (folderCommand)
        all.insert(all.end(), sharedFolderOptions, std::end(sharedFolderOptions));
    return all;
}

const OptionHelp* CommandHelp::option(const std::string& wanted) const
{
    for (const OptionHelp& candidate : options) {
        if (wanted == candidate.name)
            return &candidate;
    }
    if (folderCommand) {
        for (const OptionHelp& candidate : sharedFolderOptions) {
            if (wanted == candidate.name)
                return &candidate;
        }
    }
    return nullptr;
}

void CommandHelp::print(std::ostream& out) const
{
    out << usage << "\n\n" << summary << "\n";
    out << "\noptions:\n";
    std::vector<OptionHelp> all = allOptions();
    all.push_back({"help", nullptr, "print this help and exit (also -h)"});
    for (const OptionHelp& option : all) {
        const std::string words = optionWords(option);
        out << "  " << words;
        if (words.size() + 2 < TextColumn)
            out << std::string(TextColumn - words.size() - 2, ' ');
        else
            out << "\n" << std::string(TextColumn, ' ');
        out << option.text << "\n";
    }
    out << "\nexit status:\n";
    printStatuses(out, exitStatus);
    out << "\nexample:\n";
    printIndented(out, example);
}
