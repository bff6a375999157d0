#include "render/PdfBundleWriters.h"

#include "platform/Trace.h"
#include "render/PdfDocument.h"
#include "render/RecordedCairoPage.h"

#include <algorithm>
#include <utility>

PdfBundleWriters::PdfBundleWriters(int threads, std::size_t queuedPages)
    : m_limit(std::max<std::size_t>(queuedPages, 1))
{
    try {
        for (int n = 0; n < std::max(threads, 1); ++n)
            m_threads.emplace_back([this] { work(); });
    } catch (...) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_ready.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
        throw;
    }
}

PdfBundleWriters::~PdfBundleWriters()
{
    std::vector<Task> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        for (auto& [document, lane] : m_lanes) {
            for (Task& task : lane.tasks)
                dropped.push_back(std::move(task));
            lane.tasks.clear();
        }
        m_waiting.clear();
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void PdfBundleWriters::put(PdfDocument& document, std::optional<std::string> outline,
                           std::unique_ptr<RecordedCairoPage> page)
{
    Task task;
    task.outline = std::move(outline);
    task.page = std::move(page);
    queue(document, std::move(task));
}

void PdfBundleWriters::complete(PdfDocument& document)
{
    Task task;
    task.complete = true;
    queue(document, std::move(task));
}

void PdfBundleWriters::queue(PdfDocument& document, Task task)
{
    {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [&] { return m_queued < m_limit; });
        const auto [found, made] = m_lanes.try_emplace(&document);
        Lane& lane = found->second;
        if (made)
            lane.document = &document;
        lane.tasks.push_back(std::move(task));
        ++m_queued;
        // A lane that a thread is on is worked through by that thread; one
        // that just got its first task waits for a thread.
        if (lane.busy || lane.tasks.size() > 1)
            return;
        m_waiting.push_back(&lane);
    }
    m_ready.notify_one();
}

bool PdfBundleWriters::settle(PdfDocument& document)
{
    std::unique_lock lock(m_mutex);
    const auto found = m_lanes.find(&document);
    if (found == m_lanes.end())
        return true;
    Lane& lane = found->second;
    m_idle.wait(lock, [&] { return lane.tasks.empty() && !lane.busy; });
    const bool whole = !lane.failed;
    m_lanes.erase(found);
    return whole;
}

void PdfBundleWriters::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_ready.wait(lock, [&] { return m_stop || !m_waiting.empty(); });
        if (m_stop)
            return;
        Lane& lane = *m_waiting.front();
        m_waiting.pop_front();
        lane.busy = true;
        PdfDocument& document = *lane.document;
        while (!lane.tasks.empty() && !m_stop) {
            Task task = std::move(lane.tasks.front());
            lane.tasks.pop_front();
            // After a failure the document is dropped at its close: what
            // is left for it is not painted.
            const bool wanted = !lane.failed;
            lock.unlock();
            bool done = true;
            try {
                if (wanted)
                    run(document, task);
            } catch (...) {
                done = false;
                Trace::write("PdfBundleWriters: a page could not be written\n");
            }
            // The page lets its faces go here, outside the lock.
            task.page.reset();
            lock.lock();
            if (!done)
                lane.failed = true;
            --m_queued;
            m_room.notify_all();
        }
        lane.busy = false;
        m_idle.notify_all();
    }
}

void PdfBundleWriters::run(PdfDocument& document, const Task& task)
{
    if (task.complete) {
        // A document that fails here fails again at its close, which then
        // tells the owner, as a close on its own thread would.
        (void)document.complete();
        return;
    }
    if (task.outline)
        document.addOutlineEntry(*task.outline);
    // A page the document refuses (its file failed) is lost with the file,
    // as it is when painted on the owner's thread.
    (void)document.putPage(*task.page);
}
