// Reads a history file into every slot, writes the slots back and reads them
// again: the entries must come back as they were, and never more than a
// slot holds.

#include "FuzzScratchFolder.h"
#include "app/InputHistory.h"
#include "platform/ProgramFolders.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ProgramFolders::Scope placement(FuzzScratchFolder::path());
    const std::string_view bytes = fuzzBytes(data, size);
    for (int slot = 0; slot < InputHistory::SlotCount; ++slot)
        FuzzScratchFolder::write("quillon.history." + std::to_string(slot) + ".txt", bytes);

    InputHistory history;
    history.loadAll();
    std::vector<std::vector<std::string>> loaded;
    for (int slot = 0; slot < InputHistory::SlotCount; ++slot) {
        FUZZ_REQUIRE(history.entries(slot).size() <= size_t(InputHistory::MaximumEntries));
        loaded.emplace_back();
        for (const FCString& entry : history.entries(slot))
            loaded.back().push_back(entry.toStdString());
        // Every slot reads the same bytes the same way.
        FUZZ_REQUIRE(loaded.back() == loaded.front());
    }
    history.saveAll();

    InputHistory again;
    again.loadAll();
    for (int slot = 0; slot < InputHistory::SlotCount; ++slot) {
        std::vector<std::string> reread;
        for (const FCString& entry : again.entries(slot))
            reread.push_back(entry.toStdString());
        FUZZ_REQUIRE(reread == loaded[size_t(slot)]);
    }
    return 0;
}
