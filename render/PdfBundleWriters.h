#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class PdfDocument;
class RecordedCairoPage;

// Threads that paint recorded pages into PDF documents, so that the thread
// that hands them on (in the order the documents must take them) does not
// have to write every page itself. Each document takes its pages in the
// order they were put, painted by one thread at a time, whichever that is;
// different documents are written side by side, as many at once as there
// are threads. What one document is given is thus exactly what painting
// each page into it in turn on the handing thread would have given it.
//
// At most queuedPages pages wait to be painted: put waits for room beyond
// that, which bounds the memory of the recorded pages whatever the run, and
// the time it takes to settle what is waiting.
//
// Between put and settle a document belongs to the writers: its owner
// neither draws into it nor asks it anything, and keeps it alive.
class PdfBundleWriters {
public:
    PdfBundleWriters(int threads, std::size_t queuedPages);
    // Pages still waiting are dropped (the documents they were put for are
    // about to go); a page being painted is finished first.
    ~PdfBundleWriters();
    PdfBundleWriters(const PdfBundleWriters&) = delete;
    PdfBundleWriters& operator=(const PdfBundleWriters&) = delete;

    int threads() const { return static_cast<int>(m_threads.size()); }

    // The page goes into document after every page put for it before, with
    // an outline entry titled outline (CP932) before it when one is given
    // (PdfDocument::addOutlineEntry, putPage).
    void put(PdfDocument& document, std::optional<std::string> outline,
             std::unique_ptr<RecordedCairoPage> page);
    // After its pages, the rest of the document is written
    // (PdfDocument::complete): the heavy part of closing a document, done
    // side by side for many.
    void complete(PdfDocument& document);
    // Waits until all that was put for document is done; the document is
    // its owner's again. False when a writer could not do it all (memory
    // ran out): the document is then not whole.
    [[nodiscard]] bool settle(PdfDocument& document);

private:
    struct Task {
        bool complete = false;
        std::optional<std::string> outline;
        std::unique_ptr<RecordedCairoPage> page;
    };
    // What waits for one document; a lane is written by one thread at a
    // time.
    struct Lane {
        PdfDocument* document = nullptr;
        std::deque<Task> tasks;
        bool busy = false;   // a thread is working through it
        bool failed = false; // a task raised
    };

    void queue(PdfDocument& document, Task task);
    void work();
    static void run(PdfDocument& document, const Task& task);

    std::size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a lane has tasks and nobody on it, or stop
    std::condition_variable m_room;  // fewer pages wait
    std::condition_variable m_idle;  // a lane has been worked through
    std::map<const PdfDocument*, Lane> m_lanes;
    std::deque<Lane*> m_waiting; // lanes with tasks that no thread is on
    std::size_t m_queued = 0;    // tasks put and not yet done
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};
