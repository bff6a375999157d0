#include "app/ProgramOptions.h"

#include <algorithm>
#include <ostream>
#include <string_view>

namespace {

constexpr ProgramOptions::Option ownOptions[] = {
    {"--help", "-h", nullptr, "print this help and exit, without a window"},
};

// The options QApplication takes out of the words before the program sees
// them; the ones a user of this program may want, not all there are.
constexpr ProgramOptions::Option qtOwnOptions[] = {
    {"-platform", nullptr, "NAME", "the window system: xcb, wayland or offscreen"},
    {"-platformtheme", nullptr, "NAME", "the desktop theme plug-in (dialogs, icons)"},
    {"-display", nullptr, "DISPLAY", "the X display to open (xcb)"},
    {"-style", nullptr, "NAME", "the widget style, e.g. Fusion"},
    {"-stylesheet", nullptr, "FILE", "a Qt style sheet for every window"},
    {"-reverse", nullptr, nullptr, "lay the windows out right to left"},
};

constexpr ProgramOptions::File programFiles[] = {
    {"quillon.configuration", "the main window's place and size"},
    {"quillon.history.0.txt", "the find dialog's recent texts"},
    {"quillon.history.1.txt", "the folder dialog's recent folders"},
    {"quillon.history.2.txt", "the delivered voice folders checked"},
    {"quillon.history.3.txt", "the older scenario folders compared with"},
    {"quillon.log.txt", "the default print log (Shift-JIS)"},
    {"quillon.ini", "an old configuration: read once, then deleted"},
    {"FOLDER/quillon.settings.rnf", "the scenario's print format (\"印刷設定...\")"},
};

// The column the explanations start in; a longer term pushes its
// explanation onto the next line.
constexpr std::size_t TextColumn = 28;

// A term and its explanation, whose further lines line up under the first.
void termLines(std::ostream& out, const std::string& term, std::string_view text)
{
    out << "  " << term;
    if (term.size() + 2 < TextColumn)
        out << std::string(TextColumn - term.size() - 2, ' ');
    else
        out << "\n" << std::string(TextColumn, ' ');
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        out << text.substr(start, end - start) << "\n";
        if (end == std::string_view::npos)
            break;
        out << std::string(TextColumn, ' ');
        start = end + 1;
    }
}

std::string optionWords(const ProgramOptions::Option& option)
{
    std::string words = option.name;
    if (option.takesValue())
        words += std::string(" ") + option.value;
    if (option.alias)
        words += std::string(", ") + option.alias;
    return words;
}

// The option among `options` that `word` names, with one or two dashes and
// with or without "=value"; nullptr when there is none.
const ProgramOptions::Option* optionNamed(std::span<const ProgramOptions::Option> options,
                                          std::string_view word, bool& valueAttached)
{
    if (word.starts_with("--"))
        word.remove_prefix(1);
    const std::size_t equals = word.find('=');
    valueAttached = equals != std::string_view::npos;
    const std::string_view name = word.substr(0, equals);
    for (const ProgramOptions::Option& option : options) {
        if (name == option.name && (!valueAttached || option.takesValue()))
            return &option;
    }
    return nullptr;
}

void textLines(std::ostream& out, std::string_view text, std::string_view indent)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        out << indent << text.substr(start, end - start) << "\n";
        start = end + 1;
    }
}

// The words that are not Qt's options nor their values; windowSystemNamed
// tells whether Qt's options name a window system or a display.
std::vector<std::string_view> programWords(const std::vector<std::string>& words,
                                           bool& windowSystemNamed)
{
    windowSystemNamed = false;
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        bool valueAttached = false;
        if (const ProgramOptions::Option* qt = optionNamed(qtOwnOptions, words[i], valueAttached)) {
            const std::string_view name = qt->name;
            // Qt reads a value only when there is one.
            const bool valueGiven = valueAttached || i + 1 < words.size();
            if ((name == "-platform" || name == "-display") && valueGiven)
                windowSystemNamed = true;
            if (qt->takesValue() && !valueAttached)
                ++i;
            continue;
        }
        rest.push_back(words[i]);
    }
    return rest;
}

} // namespace

std::span<const ProgramOptions::Option> ProgramOptions::options()
{
    return ownOptions;
}

std::span<const ProgramOptions::Option> ProgramOptions::qtOptions()
{
    return qtOwnOptions;
}

std::span<const ProgramOptions::File> ProgramOptions::files()
{
    return programFiles;
}

bool ProgramOptions::displayMissing(const std::vector<std::string>& words,
                                    const Environment& environment)
{
    bool windowSystemNamed = false;
    (void)programWords(words, windowSystemNamed);
    return !windowSystemNamed && !environment.platformVariable && !environment.display;
}

bool ProgramOptions::helpAsked(const std::vector<std::string>& words)
{
    bool windowSystemNamed = false;
    const std::vector<std::string_view> rest = programWords(words, windowSystemNamed);
    if (rest.size() != 1)
        return false;
    for (const Option& option : ownOptions) {
        if (rest.front() == option.name || (option.alias && rest.front() == option.alias))
            return true;
    }
    return false;
}

void ProgramOptions::printHelp(std::ostream& out)
{
    out << usage << "\n\n" << summary << "\n\narguments:\n";
    termLines(out, argument, argumentText);
    out << "\noptions:\n";
    for (const Option& option : ownOptions)
        termLines(out, optionWords(option), option.text);
    out << "\nQt's options (also with two dashes, or as -name=value):\n";
    for (const Option& option : qtOwnOptions)
        termLines(out, optionWords(option), option.text);
    out << "\nfiles:\n";
    textLines(out, filesIntroduction, "  ");
    for (const File& file : programFiles)
        termLines(out, file.name, file.text);
    out << "\nexit status:\n";
    // A line that starts with a status gives it a column of its own; the
    // lines after it go on with its explanation.
    constexpr std::size_t StatusWidth = 5;
    std::string_view statuses = exitStatus;
    std::size_t start = 0;
    while (start < statuses.size()) {
        const std::size_t end = std::min(statuses.find('\n', start), statuses.size());
        std::string_view line = statuses.substr(start, end - start);
        const bool status = !line.empty() && line[0] >= '0' && line[0] <= '9';
        const std::size_t space = status ? std::min(line.find(' '), line.size()) : 0;
        const std::string_view code = line.substr(0, space);
        const std::size_t rest = std::min(line.find_first_not_of(' ', space), line.size());
        out << "  " << code << std::string(StatusWidth - std::min(code.size(), StatusWidth), ' ')
            << line.substr(rest) << "\n";
        start = end + 1;
    }
    out << "\nexample:\n";
    textLines(out, example, "  ");
}
