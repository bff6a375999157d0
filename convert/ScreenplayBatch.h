#pragma once

#include "fc/FCString.h"

#include <cstddef>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class FCFile;
class SpareFiles;

// Screenplay files of one conversion run on their way to their names. Each
// text goes to a temporary file beside its target at once; commit() makes
// the pending temporaries durable in one pass (one syncfs() for the file
// system instead of an fsync() per file, which cost a disk flush each) and
// only then renames them, in the order they came. So a name never shows a
// file whose bytes are not on the disk, even after a crash; what a crash
// can lose is the pending batch, whose targets keep their old files.
class ScreenplayBatch {
public:
    // A text written to a temporary file beside its target, still open.
    // Made on any thread; it takes its name only in a batch's commit, and
    // one dropped before that (a cancelled run) takes its temporary along.
    class Temporary {
    public:
        Temporary();
        Temporary(Temporary&& other) noexcept;
        Temporary& operator=(Temporary&& other) noexcept;
        Temporary(const Temporary&) = delete;
        Temporary& operator=(const Temporary&) = delete;
        ~Temporary();

        // The text written beside path the short way (QuickFile): no
        // question to the user, and nothing left behind when it fails.
        // False then; the batch's add() goes the file layer's way. With
        // spares, the text goes into one of them when one fits, under the
        // name it already has.
        [[nodiscard]] bool write(const FCString& path, const FCString& text,
                                 SpareFiles* spares = nullptr);

        bool isOpen() const { return m_fd >= 0 || m_file != nullptr; }
        const FCString& target() const { return m_target; }

    private:
        friend class ScreenplayBatch;
        int handle() const;
        void close();
        // Closes and removes the temporary file.
        void discard();

        FCString m_target;
        std::string m_temporary;
        int m_fd = -1;
        std::unique_ptr<FCFile> m_file;
    };

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
    // Takes a temporary written elsewhere into the batch, in the order of
    // the adds.
    void adopt(Temporary temporary);
    bool full() const { return m_pending.size() >= m_capacity; }
    // From now on a file that takes the place of an old regular file
    // trades names with it, and the old file goes to spares instead of
    // being released; spares must outlive the batch.
    void recycle(SpareFiles* spares) { m_spares = spares; }

    // Puts the pending files in place; the targets that could not be made
    // durable or renamed go to failed (their temporaries are removed, their
    // old files kept).
    void commit(std::vector<FCString>& failed);

private:
    bool rename(const Temporary& pending);
    // Trades the names of the temporary and an old file at the target that
    // may become a spare; false, with nothing changed, otherwise.
    bool tradeNames(const std::string& temporary, const std::string& target, off_t& oldSize) const;

    std::size_t m_capacity;
    SpareFiles* m_spares = nullptr;
    std::vector<Temporary> m_pending;
};
