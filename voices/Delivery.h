#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One audio file of a delivery: its path from the delivery folder (native
// UTF-8, "/" between the levels) and the message number its name carries.
struct DeliveredFile {
    std::string path;
    std::optional<uint64_t> number;
    // Reached through a symbolic link: its bytes are copied, the link is
    // never renamed into the sorted folders (it might lead nowhere there).
    bool viaLink = false;
};

// An entry of the delivery that was left out, and why.
struct DeliverySkip {
    enum class Why {
        // A FIFO, socket or device: never opened.
        Special,
        // A folder that could not be opened or read.
        UnreadableFolder,
        // A folder reached again through a link.
        AlreadyWalked,
        // A link that leads to nothing or round in a loop.
        BrokenLink,
        // Shift-JIS cannot hold the name, so no report could name it.
        NameNotShiftJis,
    };
    std::string path;
    Why why;
    int error = 0;
};

// What a delivery folder holds, in walk order (byte order of the names
// within a folder, sub-folders after the files).
struct Delivery {
    std::vector<DeliveredFile> audio;
    // Files that are no audio (by their extension) or hidden: counted and
    // never touched.
    int otherFiles = 0;
    std::vector<DeliverySkip> skipped;
};
