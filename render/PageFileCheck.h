#pragma once

#include "render/PageObserver.h"

#include <string>
#include <sys/types.h>
#include <vector>

// Counts the pages that the renderer emits while it lives and, afterwards,
// tells the page images that did not reach the disk: the PNG path only
// traces its failures, and a run that lost pages must not end as a success.
// A page counts as written when its file is there and is not the one that
// was there before the page was begun. Printer pages that found no printer
// to go to are counted as they close.
class PageFileCheck : public PageObserver {
public:
    PageFileCheck();
    ~PageFileCheck() override;

    // Pages are passed on to the observer this one displaced, so a check
    // can run inside a recording or a capture.
    DeviceContext* pageOpened(const Page& page, DeviceContext* dc) override;
    void pageClosed(const Page& page, const PageDevice& device) override;

    int pages() const { return m_pages; }
    // After the pages are written: how many page files are missing or
    // unchanged.
    int failed() const;
    // Printer pages drawn while no printer was reached.
    int unprinted() const { return m_unprinted; }

private:
    struct State {
        bool exists = false;
        ino_t inode = 0;
        long long seconds = 0;
        long nanoseconds = 0;
        off_t size = 0;
        bool operator==(const State&) const = default;
    };
    struct File {
        std::string path;
        State before;
    };
    // The page names carry the extension the device forces on them.
    static State stateOf(const std::string& cp932);

    int m_pages = 0;
    int m_unprinted = 0;
    std::vector<File> m_files;
};
