#include "BatchTestSupport.h"
#include "app/ProgramOptions.h"
#include "batch/BatchCommands.h"
#include "batch/ManPageWriter.h"
#include "batch/ManPages.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace {

const ManPages::Edition edition{"9.8.7", "2030-01-02"};

std::string desktopPage()
{
    std::ostringstream out;
    ManPages::writeDesktopPage(out, edition);
    return out.str();
}

std::string batchPage()
{
    std::ostringstream out;
    ManPages::writeBatchPage(out, edition);
    return out.str();
}

// An option as the page must spell it for troff: every "-" a minus sign.
std::string troffWord(const std::string& word)
{
    return ManPageWriter::escape(word);
}

// The output and exit status of a shell command line.
std::pair<std::string, int> shell(const std::string& line)
{
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe)
        return {"", -1};
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// What man makes of a page on an 80-column UTF-8 terminal: its warnings
// (groff's with -ww) and the text, as a reader sees it.
struct Rendered {
    std::string warnings;
    std::string text;
};

Rendered render(const std::string& page)
{
    ScenarioTestFolder folder;
    folder.writeBytes("page.1", page);
    const std::string env = "LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= ";
    const std::string file = "'" + folder.path() + "page.1'";
    const auto [warnings, warned] = shell(env + "man --warnings -l " + file + " 2>&1 >/dev/null");
    const auto [text, status] = shell(env + "man -l " + file + " 2>/dev/null");
    EXPECT_EQ(warned, 0) << warnings;
    EXPECT_EQ(status, 0);
    return {warnings, text};
}

} // namespace

TEST(ManPageWriterTest, PlainTextCannotBeReadAsTroffRequestsOrEscapes)
{
    const struct {
        const char* plain;
        const char* troff;
    } cases[] = {
        {"--help", "\\-\\-help"},
        {"a\\b", "a\\eb"},
        {".settings", "\\&.settings"},
        {"'quoted'", "\\&'quoted'"},
        {"x\n.y", "x\n\\&.y"},
        {"   indented", "indented"},
        {"quillon.settings.rnf", "quillon.settings.rnf"},
        {"監督用", "監督用"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ManPageWriter::escape(c.plain), c.troff) << c.plain;
}

TEST(ManPageWriterTest, RunningTextIsFilledAgainAndKeepsWordsBrokenAtTheirHyphen)
{
    std::ostringstream out;
    ManPageWriter page(out, "X", 1, "d", "s", "m");
    page.paragraph("one line,\n  .and a TAB-\nseparated list; a -\n-flag\n\nsecond");
    page.literal("  kept   as is\n.dot");
    const std::string troff = out.str();
    EXPECT_NE(troff.find(".PP\none line,\n\\&.and a TAB\\-\\c\nseparated list; a \\-\n\\-flag\n"
                         ".PP\nsecond\n"),
              std::string::npos)
        << troff;
    EXPECT_NE(troff.find(".nf\n  kept   as is\n\\&.dot\n.fi\n"), std::string::npos) << troff;
    EXPECT_EQ(troff.rfind(".\\\" -*- coding: UTF-8 -*-\n.TH \"X\" 1 \"d\" \"s\" \"m\"\n", 0), 0u)
        << troff;
}

TEST(ManPagesTest, TheBatchPageHasEveryCommandAndOptionOfTheTables)
{
    const std::string page = batchPage();
    for (const char* section : {".SH \"NAME\"\nquillon\\-batch \\- ", ".SH \"SYNOPSIS\"",
                                ".SH \"DESCRIPTION\"", ".SH \"COMMANDS\"", ".SH \"OPTIONS\"",
                                ".SH \"EXIT STATUS\"", ".SH \"FILES\"", ".SH \"EXAMPLES\""})
        EXPECT_NE(page.find(section), std::string::npos) << section;
    EXPECT_NE(page.find(".TH \"QUILLON\\-BATCH\" 1 \"2030\\-01\\-02\" \"quillon 9.8.7\""),
              std::string::npos);
    for (const OptionHelp& option : BatchCommands::options)
        EXPECT_NE(page.find(".TP\n\\fB" + troffWord(std::string("--") + option.name)),
                  std::string::npos)
            << option.name;
    for (const BatchCommands::Command& command : BatchCommands::commands()) {
        const CommandHelp& help = *command.help;
        const std::size_t at = page.find(std::string(".SS \"") + help.name + "\"\n");
        ASSERT_NE(at, std::string::npos) << help.name;
        const std::size_t end = page.find(".SS ", at + 1);
        const std::string part = page.substr(at, end - at);
        for (const OptionHelp& option : help.allOptions())
            EXPECT_NE(part.find("[\\fB" + troffWord(std::string("--") + option.name) + "\\fR"),
                      std::string::npos)
                << help.name << " --" << option.name;
        for (const OptionHelp& option : help.options)
            EXPECT_NE(part.find(troffWord(option.text)), std::string::npos)
                << help.name << " --" << option.name;
        for (const std::string& line : CommandHelp::linesOf(help.example))
            EXPECT_NE(part.find(troffWord(line)), std::string::npos) << line;
        // The page's synopsis names every command with its arguments.
        std::string synopsis = "\\fBquillon\\-batch\\fR \\fB" + troffWord(help.name) + "\\fR";
        for (const char* argument : help.arguments)
            synopsis += std::string(" \\fI") + argument + "\\fR";
        EXPECT_NE(page.find(synopsis), std::string::npos) << synopsis;
    }
    for (const OptionHelp& option : CommandHelp::folderOptions())
        EXPECT_NE(page.find(troffWord(option.text)), std::string::npos) << option.name;
}

TEST(ManPagesTest, TheDesktopPageHasEveryOptionAndFileOfTheTable)
{
    const std::string page = desktopPage();
    for (const char* section :
         {".SH \"NAME\"\nquillon \\- ", ".SH \"SYNOPSIS\"", ".SH \"DESCRIPTION\"",
          ".SH \"OPTIONS\"", ".SH \"EXIT STATUS\"", ".SH \"FILES\"", ".SH \"EXAMPLES\""})
        EXPECT_NE(page.find(section), std::string::npos) << section;
    for (const auto& options : {ProgramOptions::options(), ProgramOptions::qtOptions()}) {
        for (const ProgramOptions::Option& option : options) {
            const std::size_t at = page.find(".TP\n\\fB" + troffWord(option.name) + "\\fR");
            ASSERT_NE(at, std::string::npos) << option.name;
            EXPECT_NE(page.find(troffWord(option.text), at), std::string::npos) << option.name;
            if (option.alias) {
                EXPECT_NE(page.find(troffWord(option.alias), at), std::string::npos);
            }
        }
    }
    for (const ProgramOptions::File& file : ProgramOptions::files())
        EXPECT_NE(page.find(".TP\n\\fI" + troffWord(file.name) + "\\fR\n" + troffWord(file.text)),
                  std::string::npos)
            << file.name;
}

TEST(ManPagesTest, ManShowsBothPagesWithoutAWarningAndOptionsCopyAsTyped)
{
    const Rendered batch = render(batchPage());
    EXPECT_EQ(batch.warnings, "");
    for (const char* typed :
         {"QUILLON-BATCH(1)", "quillon-batch print FOLDER [--device png|bmp|pdf|printer]",
          "--chars-per-line W", "TAB-separated", "監督用", "quillon-batch print --help"})
        EXPECT_NE(batch.text.find(typed), std::string::npos) << typed << "\n" << batch.text;

    const Rendered desktop = render(desktopPage());
    EXPECT_EQ(desktop.warnings, "");
    for (const char* typed : {"QUILLON(1)", "quillon [QT-OPTION...] [FOLDER]", "--help, -h",
                              "-platform NAME", "~/.config/quillon/", "quillon-batch(1)"})
        EXPECT_NE(desktop.text.find(typed), std::string::npos) << typed << "\n" << desktop.text;
}
