// Reads a screenplay header the way the catalogue does, from a text and from
// a file (Shift-JIS or UTF-8), and checks that both readings agree and that
// its numbers are read as the string class reads them.

#include "FuzzScratchFolder.h"
#include "FuzzScreenplayText.h"
#include "document/CatalogueHeader.h"
#include "fc/FCString.h"

#include <string>
#include <vector>

namespace {

struct Reading {
    bool hasScene;
    std::string scene;
    std::vector<std::pair<std::string, int32_t>> entries;
    bool hasTotal;

    bool operator==(const Reading&) const = default;
};

Reading reading(const CatalogueHeader& header)
{
    Reading result{header.hasScene(), std::string(header.scene()), {}, header.hasTotal()};
    for (const CatalogueHeader::Entry& entry : header.entries()) {
        FUZZ_REQUIRE(!entry.name.empty());
        result.entries.emplace_back(std::string(entry.name), entry.count);
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text = fuzzBytes(data, size);

    CatalogueHeader fromText;
    fromText.scan(text);
    const Reading scanned = reading(fromText);

    // The file is read in pieces; whatever piece ends the header, the result
    // is the one of the whole text, as the file's CP932 form (the text
    // itself unless it is read as UTF-8).
    const std::string cp932 = screenplayText(text);
    CatalogueHeader fromCp932;
    fromCp932.scan(cp932);
    const Reading expected = reading(fromCp932);
    FuzzScratchFolder::write("header.screenplay.txt", text);
    CatalogueHeader fromFile;
    FUZZ_REQUIRE(fromFile.load((FuzzScratchFolder::path() + "header.screenplay.txt").c_str()));
    FUZZ_REQUIRE(reading(fromFile) == expected);
    if (!fromFile.readAsUtf8())
        FUZZ_REQUIRE(expected == scanned);

    // The header's own number reading is the string class's.
    const std::string_view number = text.substr(0, std::min<size_t>(text.size(), 64));
    FUZZ_REQUIRE(CatalogueHeader::toInteger(number) == FCString::parseInteger(number));
    return 0;
}
