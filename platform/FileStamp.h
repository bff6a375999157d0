#pragma once

#include <string>
#include <sys/types.h>

// What a file looked like: whether it was there, its inode, its modification
// time and its size. A stamp taken before a write and one taken after tell
// whether the write touched the file: a new file, a replaced one (another
// inode) and a rewritten one (another time or size) all stamp otherwise.
struct FileStamp {
    // Whether a link at the name is followed to its target or stamped itself.
    enum class Link { Follow, Itself };

    bool exists = false;
    ino_t inode = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    off_t size = 0;

    bool operator==(const FileStamp&) const = default;

    // The stamp of the file at native (a native path); the empty stamp
    // (exists false) when there is nothing to stamp, the path is empty or
    // the file cannot be looked at.
    static FileStamp of(const std::string& native, Link link);
};
