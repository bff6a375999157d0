// Restores the window rectangle from a configuration file and, when the
// input holds a NUL, from the old INI file after it (the bytes before the
// NUL are the configuration, those after it the INI file). A rectangle
// stored afterwards must be the one restored next.

#include "FuzzScratchFolder.h"
#include "app/WindowConfiguration.h"
#include "platform/ProgramFolders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ProgramFolders::Scope placement(FuzzScratchFolder::path());
    const std::string_view bytes = fuzzBytes(data, size);
    const size_t split = bytes.find('\0');
    FuzzScratchFolder::write("quillon.configuration", bytes.substr(0, split));
    if (split == std::string_view::npos)
        FuzzScratchFolder::remove("quillon.ini");
    else
        FuzzScratchFolder::write("quillon.ini", bytes.substr(split + 1));

    const WindowRectangle restored = WindowConfiguration::restore();
    // The configuration file exists afterwards whatever it held.
    FUZZ_REQUIRE(::access((FuzzScratchFolder::path() + "quillon.configuration").c_str(), F_OK) ==
                 0);

    WindowConfiguration::save(restored);
    FUZZ_REQUIRE(WindowConfiguration::restore() == restored);
    // Stored numbers wrap in 32 bits; so does the step.
    const WindowRectangle moved{static_cast<int32_t>(static_cast<uint32_t>(restored.x) + 1u),
                                static_cast<int32_t>(static_cast<uint32_t>(restored.y) - 1u), 640,
                                480};
    WindowConfiguration::save(moved);
    FUZZ_REQUIRE(WindowConfiguration::restore() == moved);
    return 0;
}
