// Lays a screenplay text out on the usual grid and on a narrow one that
// wraps nearly every line, plain and with the typesetting options. The
// laid-out text must hold exactly the printed lines the printer reports, and
// the pages must follow from them.
// Read from a file, the bytes lay out as their CP932 text does.

#include "FuzzScratchFolder.h"
#include "FuzzScreenplayText.h"
#include "format/TypesettingOptions.h"
#include "render/ScriptPrinter.h"

#include <algorithm>

namespace {

void layOut(std::string_view text, int charactersPerLine, int linesPerPage,
            const TypesettingOptions& typesetting = {})
{
    ScriptPrinter printer;
    printer.setTypesetting(typesetting);
    FUZZ_REQUIRE(printer.setCharactersPerLine(charactersPerLine));
    FUZZ_REQUIRE(printer.setLinesPerPage(linesPerPage));
    printer.loadText(text);

    const std::string_view laidOut = printer.laidOutText().view();
    const auto feeds = std::count(laidOut.begin(), laidOut.end(), '\n');
    // Every printed line is in the laid-out text, one line feed each, and
    // the last one can be found by stepping through it.
    FUZZ_REQUIRE(feeds == printer.lineCount());
    if (printer.lineCount() > 0)
        FUZZ_REQUIRE(printer.seekLine(printer.lineCount() - 1));
    FUZZ_REQUIRE(printer.lineCount() >= 0);
    FUZZ_REQUIRE(printer.pageCount() == (printer.lineCount() + linesPerPage - 1) / linesPerPage);
    if (printer.lineCount() > 0)
        FUZZ_REQUIRE(printer.seekLine(0));
    FUZZ_REQUIRE(!printer.seekLine(printer.lineCount()));
}

// The same bytes as a file: read through the screenplay source (Shift-JIS or
// UTF-8), they lay out as their CP932 text does in memory.
void layOutFile(std::string_view bytes)
{
    ScriptPrinter fromText;
    fromText.loadText(screenplayText(bytes));
    FuzzScratchFolder::write("layout.screenplay.txt", bytes);
    ScriptPrinter fromFile;
    fromFile.load((FuzzScratchFolder::path() + "layout.screenplay.txt").c_str());
    FUZZ_REQUIRE(fromFile.laidOutText().view() == fromText.laidOutText().view());
    FUZZ_REQUIRE(fromFile.lineCount() == fromText.lineCount());
    FUZZ_REQUIRE(fromFile.pageCount() == fromText.pageCount());
    for (int line = 0; line < fromFile.lineCount(); ++line)
        FUZZ_REQUIRE(fromFile.lineFlags(line) == fromText.lineFlags(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text = fuzzBytes(data, size);
    layOut(text, 40, 47);
    layOut(text, 3, 5);
    // Line breaking, upright digits and readings keep the same invariants.
    for (auto lineBreaking :
         {TypesettingOptions::LineBreaking::Strict, TypesettingOptions::LineBreaking::Loose}) {
        layOut(text, 40, 47, {lineBreaking, true, true});
        layOut(text, 3, 5, {lineBreaking, true, true});
    }
    layOutFile(text);
    return 0;
}
