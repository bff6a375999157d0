#pragma once

// Helpers shared by the page rendering tests: a scratch folder, a sink that
// records every emitted page, and a scene printed into a sink.

#include "render/PageSink.h"
#include "render/RecordingDeviceContext.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pagetest {

// A fresh folder under the temporary folder, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-render-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = ::mkdtemp(buffer.data());
        EXPECT_NE(made, nullptr) << "mkdtemp failed for " << pattern;
        m_path = made ? made : "";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Without a trailing "/".
    const std::string& path() const { return m_path; }
    // The destination folder form: with the trailing "/".
    std::string destination() const { return m_path + "/"; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Every regular file below the folder, as paths relative to it (UTF-8).
    std::vector<std::string> files() const
    {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path)) {
            if (entry.is_regular_file())
                out.push_back(std::filesystem::relative(entry.path(), m_path).string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::string m_path;
};

// Records every page the renderer emits, in order, and passes it on to the
// sink it stands before (if any). Each page is drawn through a recorder that
// forwards to the page's real context, or (draw = false) through one that
// draws nowhere at the given resolution, so that geometry does not depend on
// the installed faces.
class RecordingSink : public PageSink {
public:
    explicit RecordingSink(PageSink* next = nullptr, bool draw = false, int dotsPerInch = 96)
        : m_next(next), m_draw(draw), m_dotsPerInch(dotsPerInch)
    {
    }

    struct Recorded {
        Page page;
        std::string path; // the page's own file (CP932), empty for none
        std::unique_ptr<RecordingDeviceContext> dc;
        bool hadDevice = false;
    };

    std::vector<Recorded>& pages() { return m_pages; }
    // Called as each page ends, before the sink after it ends it.
    void onClosed(std::function<void(const Recorded&)> f) { m_onClosed = std::move(f); }

protected:
    void openScene() override
    {
        if (m_next)
            m_next->beginScene();
    }
    DeviceContext* openPage(const Page& page) override
    {
        DeviceContext* dc = m_next ? m_next->beginPage(page) : nullptr;
        Recorded recorded;
        recorded.page = page;
        recorded.path = m_next ? m_next->pageFile(page).toStdString() : std::string();
        recorded.hadDevice = dc != nullptr;
        recorded.dc =
            std::make_unique<RecordingDeviceContext>(m_draw ? dc : nullptr, m_dotsPerInch);
        m_pages.push_back(std::move(recorded));
        return m_pages.back().dc.get();
    }
    void closePage() override
    {
        if (m_onClosed)
            m_onClosed(m_pages.back());
        if (m_next)
            m_next->endPage();
    }
    void closeScene(bool complete) override
    {
        if (m_next)
            m_next->endScene(complete);
    }
    void closeAll() override
    {
        if (m_next)
            m_next->finish();
    }

private:
    PageSink* m_next;
    bool m_draw;
    int m_dotsPerInch;
    std::vector<Recorded> m_pages;
    std::function<void(const Recorded&)> m_onClosed;
};

// Prints every script of the printer's scene into the sink as one scene of
// its own, and finishes the sink; false when the context stopped it.
inline bool printScene(const ScriptPrinter& printer, PageSink& sink, RunContext* context = nullptr)
{
    RunContext quiet;
    SceneRenderer renderer(printer, sink, context ? *context : quiet);
    sink.beginScene();
    const bool done = renderer.printAll();
    sink.endScene(done);
    sink.finish();
    return done;
}

} // namespace pagetest
