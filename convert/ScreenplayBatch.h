#pragma once

#include "fc/FCString.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class FCFile;

// Screenplay files of one conversion run on their way to their names. Each
// text goes to a temporary file beside its target at once; commit() makes
// the pending temporaries durable in one pass (one syncfs() for the file
// system instead of an fsync() per file, which cost a disk flush each) and
// only then renames them, in the order they came. So a name never shows a
// file whose bytes are not on the disk, even after a crash; what a crash
// can lose is the pending batch, whose targets keep their old files.
class ScreenplayBatch {
public:
    // A batch of capacity files is full() then; 1 puts every file in place
    // before the next is written.
    explicit ScreenplayBatch(std::size_t capacity);
    // Commits what is still pending; failures only go to the trace then.
    virtual ~ScreenplayBatch();

    ScreenplayBatch(const ScreenplayBatch&) = delete;
    ScreenplayBatch& operator=(const ScreenplayBatch&) = delete;

    // Writes text to a temporary file beside path (an absolute CP932 path).
    // False when it could not be written (the file layer has told the user
    // why); no temporary file is left behind then.
    [[nodiscard]] bool add(const FCString& path, const FCString& text);
    bool full() const { return m_pending.size() >= m_capacity; }

    // Puts the pending files in place; the targets that could not be made
    // durable or renamed go to failed (their temporaries are removed, their
    // old files kept).
    void commit(std::vector<FCString>& failed);

private:
    struct Pending {
        FCString target;
        std::string temporary;
        std::unique_ptr<FCFile> file;
    };

    static bool rename(const Pending& pending);
    static void discard(const std::string& temporary);

    std::size_t m_capacity;
    std::vector<Pending> m_pending;
};
