#pragma once

#include "fc/FCString.h"

#include <array>
#include <string>
#include <vector>

// The recent entries of the program's text-input dialogs: four slots (0 the
// find dialog's texts, 1 the folder dialog's folders, 2 the delivery
// folders, 3 the older scenario folders changes are looked for against), at
// most 20 entries each, oldest first. Each slot lives in the binary file
// "quillon.history." + slot + ".txt" in the program's folder: a signed 32-bit
// little-endian count, then that many FCString records.
class InputHistory {
public:
    static constexpr int SlotCount = 4;
    static constexpr int MaximumEntries = 20;

    InputHistory();
    virtual ~InputHistory();

    // Slots outside 0 to 3 are ignored. An entry equal to text becomes the
    // newest and nothing else changes; otherwise text is appended and the
    // oldest entry goes when there are more than 20. With saveNow the slot's
    // file is written at once.
    void add(int slot, const FCString& text, bool saveNow = false);
    // Every slot whose file exists is emptied and filled from it; a missing
    // file leaves its slot alone.
    void loadAll();
    void saveAll();
    void load(int slot);
    void save(int slot);

    // Oldest first; empty for a slot outside 0 to 3.
    const std::vector<FCString>& entries(int slot) const;

    static std::string fileName(int slot);

private:
    static bool isSlot(int slot) { return slot >= 0 && slot < SlotCount; }

    std::array<std::vector<FCString>, SlotCount> m_slots;
    // Set for a slot whose file exists but could not be opened or read: that
    // file is left as it is instead of being replaced by what little the
    // slot holds.
    std::array<bool, SlotCount> m_unreadable{};
};
