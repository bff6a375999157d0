// Reads a settings file and, separately, the same bytes as an old INI file;
// each store is written back, read again and written once more. The second
// writing must equal the first: what the store writes, it reads back as it
// was.

#include "FuzzScratchFolder.h"
#include "fc/UxRnf.h"

namespace {

std::string scratch(const char* name)
{
    return FuzzScratchFolder::path() + name;
}

// Writes the store to first.rnf, reads that into a fresh store and writes it
// to second.rnf: both files must be the same, and the entries too.
void roundTrip(UxRnf& store)
{
    const std::string written = store.fileText();
    store.save(scratch("first.rnf").c_str());
    FUZZ_REQUIRE(FuzzScratchFolder::read("first.rnf") == written);

    UxRnf again;
    again.setAutoSave(false);
    again.load(scratch("first.rnf").c_str());
    FUZZ_REQUIRE(again.count() == store.count());
    FUZZ_REQUIRE(again.fileText() == written);
    again.save(scratch("second.rnf").c_str());
    FUZZ_REQUIRE(FuzzScratchFolder::read("second.rnf") == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);
    {
        FuzzScratchFolder::write("input.rnf", bytes);
        UxRnf store;
        store.setAutoSave(false);
        store.load(scratch("input.rnf").c_str());
        // Reading never changes the file it read.
        FUZZ_REQUIRE(FuzzScratchFolder::read("input.rnf") == bytes);
        roundTrip(store);
    }
    {
        FuzzScratchFolder::write("input.ini", bytes);
        UxRnf store;
        store.setAutoSave(false);
        FUZZ_REQUIRE(store.importIni(scratch("input.ini").c_str()));
        roundTrip(store);
    }
    return 0;
}
