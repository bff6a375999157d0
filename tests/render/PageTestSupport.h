#pragma once

// Helpers shared by the page rendering tests: a scratch folder, an observer
// that records every emitted page, and screenplay texts.

#include "render/PageObserver.h"
#include "render/RecordingDeviceContext.h"

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

// Records every page the renderer emits, in order. Each page is drawn
// through a recorder that forwards to the page's real context, or (draw =
// false) through one that draws nowhere at the given resolution, so that
// geometry does not depend on the installed faces.
class RecordingObserver : public PageObserver {
public:
    explicit RecordingObserver(bool draw = false, int dotsPerInch = 96)
        : m_draw(draw), m_dotsPerInch(dotsPerInch)
    {
    }

    struct Recorded {
        Page page;
        std::unique_ptr<RecordingDeviceContext> dc;
        bool hadDevice = false;
    };

    DeviceContext* pageOpened(const Page& page, DeviceContext* dc) override
    {
        Recorded recorded;
        recorded.page = page;
        recorded.hadDevice = dc != nullptr;
        recorded.dc =
            std::make_unique<RecordingDeviceContext>(m_draw ? dc : nullptr, m_dotsPerInch);
        m_pages.push_back(std::move(recorded));
        return m_pages.back().dc.get();
    }

    void pageClosed(const Page& page, const PageDevice& device) override
    {
        if (m_onClosed)
            m_onClosed(page, device);
    }

    std::vector<Recorded>& pages() { return m_pages; }
    void onClosed(std::function<void(const Page&, const PageDevice&)> f)
    {
        m_onClosed = std::move(f);
    }

private:
    bool m_draw;
    int m_dotsPerInch;
    std::vector<Recorded> m_pages;
    std::function<void(const Page&, const PageDevice&)> m_onClosed;
};

} // namespace pagetest
