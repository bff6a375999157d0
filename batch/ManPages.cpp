#include "batch/ManPages.h"

#include "app/ProgramOptions.h"
#include "batch/BatchCommands.h"
#include "batch/CommandHelp.h"
#include "batch/ManPageWriter.h"

#include <ostream>
#include <utility>
#include <vector>

namespace {

using W = ManPageWriter;

// The files the batch tool reads and writes; the desktop program's table
// names them too, with the window's own files.
constexpr ProgramOptions::File batchFiles[] = {
    {"FOLDER/quillon.settings.rnf",
     "the scenario's print format, as the desktop program's print settings write it"},
    {"quillon.log.txt", "the default print log of print (Shift-JIS)"},
};

// A value as a synopsis or a tag shows it: the words of a choice in bold
// between bars (they are typed as they stand), any other value in italics.
std::string valueMarkup(const OptionHelp& option)
{
    const std::vector<std::string> choices = option.choices();
    if (choices.empty())
        return W::italic(option.value);
    std::string markup;
    for (const std::string& choice : choices) {
        if (!markup.empty())
            markup += '|';
        markup += W::bold(choice);
    }
    return markup;
}

std::string optionTag(const OptionHelp& option)
{
    std::string tag = W::bold(std::string("--") + option.name);
    if (option.takesValue())
        tag.append(W::fixedBlank).append(valueMarkup(option));
    return tag;
}

std::string optionTag(const ProgramOptions::Option& option)
{
    std::string tag = W::bold(option.name);
    if (option.takesValue())
        tag.append(W::fixedBlank).append(W::italic(option.value));
    if (option.alias)
        tag.append(", ").append(W::bold(option.alias));
    return tag;
}

// "quillon-batch print FOLDER [--device png|...] ...": the command with its
// arguments and every option it takes.
std::string commandSynopsis(const CommandHelp& help)
{
    std::string line = W::bold("quillon-batch") + " " + W::bold(help.name);
    for (const char* argument : help.arguments)
        line.append(" ").append(W::italic(argument));
    for (const OptionHelp& option : help.allOptions())
        line.append(" [").append(optionTag(option)).append("]");
    return line;
}

// Exit statuses as tagged paragraphs: "0 done" and the lines that go on
// with it.
void statuses(ManPageWriter& page, const char* text)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& line : CommandHelp::linesOf(text)) {
        const bool status = !line.empty() && line[0] >= '0' && line[0] <= '9';
        const std::size_t space = status ? line.find(' ') : 0;
        const std::size_t rest = line.find_first_not_of(' ', space);
        const std::string words = rest == std::string::npos ? std::string() : line.substr(rest);
        if (status || entries.empty())
            entries.emplace_back(line.substr(0, space), words);
        else
            entries.back().second += "\n" + words;
    }
    for (const auto& [code, words] : entries)
        page.tagged(W::bold(code), words);
}

void seeAlso(ManPageWriter& page, const char* other)
{
    page.section("SEE ALSO");
    page.markedParagraph(W::bold(other) + "(1)");
}

} // namespace

void ManPages::writeDesktopPage(std::ostream& out, const Edition& edition)
{
    namespace P = ProgramOptions;
    ManPageWriter page(out, "QUILLON", 1, edition.date,
                       std::string(P::name) + " " + edition.version, "User Commands");
    page.name(P::name, P::brief);

    page.section("SYNOPSIS");
    page.hangingLine(W::bold(P::name) + " [" + W::italic("QT-OPTION") + "...] [" +
                     W::italic(P::argument) + "]");
    for (const P::Option& option : P::options())
        page.hangingLine(W::bold(P::name) + " " + optionTag(option));

    page.section("DESCRIPTION");
    page.paragraph(P::summary);
    page.tagged(W::italic(P::argument), P::argumentText);

    page.section("OPTIONS");
    for (const P::Option& option : P::options())
        page.tagged(optionTag(option), option.text);
    page.subsection("Qt's options");
    page.paragraph("Qt takes these out of the words before the folder is made of the rest; each\n"
                   "also works with two dashes, or as -name=value.");
    for (const P::Option& option : P::qtOptions())
        page.tagged(optionTag(option), option.text);

    page.section("EXIT STATUS");
    statuses(page, P::exitStatus);

    page.section("FILES");
    page.paragraph(P::filesIntroduction);
    for (const P::File& file : P::files())
        page.tagged(W::italic(file.name), file.text);

    page.section("EXAMPLES");
    page.literal(P::example);
    seeAlso(page, "quillon-batch");
}

void ManPages::writeBatchPage(std::ostream& out, const Edition& edition)
{
    namespace B = BatchCommands;
    ManPageWriter page(out, "QUILLON-BATCH", 1, edition.date, "quillon " + edition.version,
                       "User Commands");
    page.name("quillon-batch", B::brief);

    page.section("SYNOPSIS");
    page.hangingLine(W::bold("quillon-batch") + " [" + W::bold("--trace") + "] " +
                     W::italic("COMMAND") + " " + W::italic("WORD") + "...");
    page.hangingLine(W::bold("quillon-batch") + " [" + W::italic("COMMAND") + "] " +
                     W::bold("--help"));
    for (const B::Command& command : B::commands())
        page.hangingLine(commandSynopsis(*command.help));

    page.section("DESCRIPTION");
    page.paragraph(B::description);

    page.section("COMMANDS");
    for (const B::Command& command : B::commands()) {
        const CommandHelp& help = *command.help;
        page.subsection(help.name);
        page.hangingLine(commandSynopsis(help));
        page.paragraph(help.summary);
        if (!help.options.empty()) {
            page.paragraph("Options:");
            for (const OptionHelp& option : help.options)
                page.tagged(optionTag(option), option.text);
        }
        if (help.folderCommand)
            page.paragraph("It also takes the folder options (see OPTIONS).");
        page.paragraph("Exit status:");
        statuses(page, help.exitStatus);
        page.paragraph("Example:");
        page.literal(help.example);
    }

    page.section("OPTIONS");
    for (const OptionHelp& option : B::options)
        page.tagged(optionTag(option), option.text);
    page.subsection("Folder options");
    std::string folderCommands;
    for (const B::Command& command : B::commands()) {
        if (command.help->folderCommand)
            folderCommands +=
                (folderCommands.empty() ? "" : ", ") + std::string(command.help->name);
    }
    page.paragraph("The folder commands (" + folderCommands + ") also take:");
    for (const OptionHelp& option : CommandHelp::folderOptions())
        page.tagged(optionTag(option), option.text);

    page.section("EXIT STATUS");
    statuses(page, B::exitStatus);

    page.section("FILES");
    page.paragraph(ProgramOptions::filesIntroduction);
    for (const ProgramOptions::File& file : batchFiles)
        page.tagged(W::italic(file.name), file.text);

    page.section("EXAMPLES");
    page.literal(B::example);
    seeAlso(page, "quillon");
}
