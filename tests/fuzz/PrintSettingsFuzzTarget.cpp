// Loads a print format from a settings file, saves it to a fresh file, loads
// that into a fresh format and saves it again: both saved files must be the
// same, so that nothing read from a broken file changes on its way round.

#include "FuzzScratchFolder.h"
#include "format/PrintFormat.h"
#include "format/PrintSettingsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = FuzzScratchFolder::path() + "input.settings.rnf";
    const std::string first = FuzzScratchFolder::path() + "first.settings.rnf";
    const std::string second = FuzzScratchFolder::path() + "second.settings.rnf";
    FuzzScratchFolder::write("input.settings.rnf", fuzzBytes(data, size));
    FuzzScratchFolder::remove("first.settings.rnf");
    FuzzScratchFolder::remove("second.settings.rnf");

    PrintFormat format;
    PrintSettingsStore::load(format, input.c_str());
    PrintSettingsStore::save(format, first.c_str());

    PrintFormat reread;
    PrintSettingsStore::load(reread, first.c_str());
    PrintSettingsStore::save(reread, second.c_str());
    FUZZ_REQUIRE(FuzzScratchFolder::read("first.settings.rnf") ==
                 FuzzScratchFolder::read("second.settings.rnf"));
    return 0;
}
