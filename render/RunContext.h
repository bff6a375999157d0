#pragma once

#include "render/PageSink.h"

#include <functional>
#include <utility>

class Progress;

// What a drawing loop is handed by the run that started it: the progress to
// let the user's input in after every page (one scene can run to hundreds of
// pages, and the window must go on repainting meanwhile), the way to learn
// that the run is to stop within a scene, and, for tests and benchmarks, a
// watch told of every page. The loop stops by returning after the page it
// is on; nothing is thrown.
//
// A first cancel of the progress is the run's to read between scenes; a
// second one (stopRequested) stops the scene after the page in progress.
class RunContext {
public:
    // Told of every page after it has gone to its sink.
    using PageWatch = std::function<void(const PageSink::Page& page, const PageSink& sink)>;

    // Without a progress: nothing to pump, and no stop but requestStop.
    explicit RunContext(Progress* progress = nullptr, PageWatch watch = nullptr);

    // After every page: tells the watch, lets the progress pump, and says
    // whether the scene is to stop now.
    [[nodiscard]] bool pageDone(const PageSink::Page& page, const PageSink& sink);

    // Stops the scene after the page in progress, as a second cancel does.
    void requestStop() { m_stop = true; }
    // Asked after every page as well: a scene drawn on a worker thread has
    // no progress of its own, and stops when the run no longer wants it.
    void setStopCheck(std::function<bool()> check) { m_stopCheck = std::move(check); }
    bool stopRequested() const;

private:
    Progress* m_progress;
    PageWatch m_watch;
    std::function<bool()> m_stopCheck;
    bool m_stop = false;
};
