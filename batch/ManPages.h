#pragma once

#include <iosfwd>
#include <string>

// The manual pages quillon(1) and quillon-batch(1), made from the tables
// that the programs' parsers and --help texts read (ProgramOptions,
// BatchCommands and each command's CommandHelp), so that a page cannot
// name an option the program does not take, nor leave one out.
namespace ManPages {

// What the title line names besides the page: the version of the
// programs ("0.1.0") and the date of the pages ("2026-01-31").
struct Edition {
    std::string version;
    std::string date;
};

void writeDesktopPage(std::ostream& out, const Edition& edition);
void writeBatchPage(std::ostream& out, const Edition& edition);

} // namespace ManPages
