#include "app/ProgramOptions.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string describe(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return "[" + text + "]";
}

std::string help()
{
    std::ostringstream out;
    ProgramOptions::printHelp(out);
    return out.str();
}

// The columns a line of UTF-8 takes on a terminal: the Japanese characters
// (three bytes each in UTF-8) take two.
std::size_t columns(const std::string& line)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x80)
            ++width;
        else if ((byte & 0xf0) == 0xe0)
            width += 2;
    }
    return width;
}

} // namespace

TEST(ProgramOptionsTest, OnlyHelpStandingAloneAsksForTheHelp)
{
    const struct {
        std::vector<std::string> words;
        bool help;
    } cases[] = {
        {{"--help"}, true},
        {{"-h"}, true},
        // Qt's options and their values are Qt's, in any of Qt's spellings.
        {{"-platform", "offscreen", "--help"}, true},
        {{"--platform", "offscreen", "-h"}, true},
        {{"-platform=offscreen", "--help"}, true},
        {{"--help", "-style", "Fusion", "-reverse"}, true},
        // A folder is every word joined: "--help" in it is part of its name.
        {{}, false},
        {{"scenario"}, false},
        {{"My", "-h", "Folder"}, false},
        {{"--help", "scenario"}, false},
        {{"./--help"}, false},
        {{"\"--help\""}, false},
        {{"--HELP"}, false},
        {{"-help"}, false},
        // A switch of Qt's given a value is no option of Qt's.
        {{"-reverse=yes", "--help"}, false},
        // The value of a Qt option is not the program's word.
        {{"-style", "--help"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramOptions::helpAsked(c.words), c.help) << describe(c.words);
}

TEST(ProgramOptionsTest, ADisplayIsMissingOnlyWhenNothingNamesAWindowSystem)
{
    using Environment = ProgramOptions::Environment;
    const struct {
        std::vector<std::string> words;
        Environment environment;
        bool missing;
    } cases[] = {
        {{}, {false, false}, true},
        {{"scenario"}, {false, false}, true},
        {{}, {false, true}, false},
        {{}, {true, false}, false},
        {{"-platform", "offscreen"}, {false, false}, false},
        {{"--platform=offscreen", "scenario"}, {false, false}, false},
        {{"-display", ":1"}, {false, false}, false},
        // An option of Qt's without its value names nothing.
        {{"my", "-platform"}, {false, false}, true},
        {{"-style", "Fusion"}, {false, false}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramOptions::displayMissing(c.words, c.environment), c.missing)
            << describe(c.words) << " " << c.environment.platformVariable << " "
            << c.environment.display;
}

TEST(ProgramOptionsTest, TheHelpExplainsEveryOptionAndFileOfTheTables)
{
    const std::string text = help();
    EXPECT_EQ(text.rfind(ProgramOptions::usage, 0), 0u) << text;
    using Table = std::span<const ProgramOptions::Option> (*)();
    for (const Table table : {Table(&ProgramOptions::options), Table(&ProgramOptions::qtOptions)}) {
        for (const ProgramOptions::Option& option : table()) {
            std::string words = std::string("\n  ") + option.name;
            if (option.takesValue())
                words += std::string(" ") + option.value;
            const std::size_t at = text.find(words);
            ASSERT_NE(at, std::string::npos) << option.name;
            EXPECT_NE(text.find(option.text, at), std::string::npos) << option.name;
            if (option.alias) {
                EXPECT_NE(text.find(option.alias, at), std::string::npos) << option.name;
            }
        }
    }
    for (const ProgramOptions::File& file : ProgramOptions::files()) {
        const std::size_t at = text.find(std::string("\n  ") + file.name);
        ASSERT_NE(at, std::string::npos) << file.name;
        EXPECT_NE(text.find(file.text, at), std::string::npos) << file.name;
    }
    for (const char* section : {"\narguments:\n  FOLDER", "\noptions:\n", "\nfiles:\n",
                                "\nexit status:\n  0    ", "\nexample:\n  quillon "})
        EXPECT_NE(text.find(section), std::string::npos) << section;
}

TEST(ProgramOptionsTest, TheHelpFitsAnEightyColumnTerminal)
{
    std::istringstream lines(help());
    std::string line;
    while (std::getline(lines, line))
        EXPECT_LE(columns(line), 80u) << line;
}
