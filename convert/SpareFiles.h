#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

// The old screenplay files a conversion run has moved aside, kept to be
// written over as the temporaries of its next files. A file that takes the
// place of an old one trades names with it, so the old file lives on under
// the temporary's name; writing the next text into it spares the file
// system both the release of the old file and the making of a new one,
// which on a file system without a journal searches past every file
// released in the last minutes. A file moved aside is written over only
// once the trade of names is on the disk (settle() after the next flush of
// the file system): until then a crash could give the old name back to it.
// Shared by the threads of one run; paths are CP932. Whatever is left at
// the end is removed.
class SpareFiles {
public:
    SpareFiles();
    ~SpareFiles();

    SpareFiles(const SpareFiles&) = delete;
    SpareFiles& operator=(const SpareFiles&) = delete;

    // Notes what a file the run made itself looks like (owner, group and
    // permissions), once: only spares that look the same are written over,
    // so that every file of the run comes out as a new one would.
    void noteFresh(int fd);
    bool knowsFresh() const;

    // Whether a file (as lstat or fstat tells it) may be written over: a
    // regular file with no other name, looking as a new one would.
    bool fits(const struct stat& info) const;

    // A settled spare's path for a text of size bytes; false when there is
    // none. The file system releases the blocks a file is cut by, which may
    // wait for the disk: the spare chosen is the largest that needs no
    // cutting, or else the smallest.
    bool take(std::string& path, std::size_t size);
    // A file moved aside, at path, and its size: a spare once settled.
    void give(std::string path, off_t size);
    // The files given so far have their new names on the disk.
    void settle();
    // Removes a spare that cannot be written over, as a rename onto its
    // old name would have.
    static void drop(const std::string& path);

private:
    mutable std::mutex m_mutex;
    bool m_knowsFresh = false;
    struct stat m_fresh {};
    struct Spare {
        std::string path;
        off_t blocks;
    };
    off_t blocksOf(off_t size) const;

    std::vector<Spare> m_settled;
    std::vector<Spare> m_given;
};
