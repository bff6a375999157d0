#include "render/PdfScriptWriter.h"

#include "fc/FileHelpers.h"
#include "platform/NativePath.h"
#include "platform/StagedFile.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "render/PageFileName.h"
#include "render/PdfBundleWriters.h"
#include "render/PdfDocument.h"
#include "render/PdfDraftSink.h"
#include "render/PdfFileName.h"
#include "render/RecordedCairoPage.h"

#include <cassert>
#include <optional>
#include <utility>

PdfScriptWriter::PdfScriptWriter(Grouping grouping, const FCString& destination)
    : m_grouping(grouping), m_destination(destination)
{
}

PdfScriptWriter::~PdfScriptWriter() = default;

void PdfScriptWriter::writeBundlesOn(int threads, std::size_t queuedPages)
{
    if (m_grouping != Grouping::ByActor)
        return;
    for (auto& [key, file] : m_open)
        settle(file);
    m_writers.reset();
    if (threads > 1)
        m_writers = std::make_unique<PdfBundleWriters>(threads, queuedPages);
}

void PdfScriptWriter::settle(File& file)
{
    if (m_writers && file.document && !m_writers->settle(*file.document))
        file.failed = true;
}

void PdfScriptWriter::putRecorded(std::unique_ptr<RecordedCairoPage> page)
{
    m_recorded = std::move(page);
}

void PdfScriptWriter::putComplete(std::unique_ptr<PdfDocument> script)
{
    m_completeScript = std::move(script);
}

PdfScriptWriter::File* PdfScriptWriter::fileFor(const Page& page)
{
    FCString path;
    FCString title;
    FCString folder;
    if (m_grouping == Grouping::PerScript) {
        path = PdfFileName::script(m_destination, page.pageName, page.scriptFile);
        folder = PageFileName::folder(m_destination, page.pageName);
        title = page.pageName;
        title.append(" ");
        title.append(page.script.view());
    } else {
        path = bundlePath(m_destination, page.script);
        folder = m_destination;
        title = page.script;
    }

    const std::string key = path.toStdString();
    if (m_grouping == Grouping::PerScript && !m_script.empty() && m_script != key)
        close(m_script);
    File& file = m_open[key];
    if (!file.document) {
        // The folder is made with every missing level, as for page images;
        // when that fails, opening the file fails and tells why (a file
        // written elsewhere fails to take its name).
        createDirectories(folder.text());
        removeLeftovers();
        if (m_grouping == Grouping::PerScript)
            removeLeftoversIn(folder.toStdString());
        if (m_completeScript) {
            assert(m_completeScript->path() == path &&
                   "a script written elsewhere under another name");
            file.document = std::move(m_completeScript);
            file.opened = true;
        } else {
            file.document = std::make_unique<PdfDocument>();
            // A bundle's temporary goes where the drafts' go, so that what a
            // crash leaves of it goes with theirs.
            file.opened = m_grouping == Grouping::ByActor
                              ? file.document->open(path, title.view(), m_destination.toStdString())
                              : file.document->open(path, title.view());
        }
    }
    m_completeScript.reset();
    if (m_grouping == Grouping::PerScript)
        m_script = key;
    return &file;
}

void PdfScriptWriter::removeLeftovers()
{
    if (m_leftoversRemoved)
        return;
    m_leftoversRemoved = true;
    // Where the drafts of a run on workers are written (and the bundles'
    // temporaries): what a process that ended left there is a crash's.
    removeLeftoversIn(PdfDraftSink::existingFolder(m_destination));
}

void PdfScriptWriter::removeLeftoversIn(const std::string& folder)
{
    // The scripts of a folder come together: each folder is looked at once.
    if (folder.empty() || folder == m_cleaned)
        return;
    m_cleaned = folder;
    std::string native;
    if (NativePath::fromCp932(folder, native) == WinError::Success)
        (void)StagedFile::removeLeftovers(native, PdfDocument::TemporaryPrefix);
}

FCString PdfScriptWriter::bundlePath(const FCString& destination, const FCString& character)
{
    const auto known = m_bundlePaths.find(character.toStdString());
    if (known != m_bundlePaths.end())
        return known->second;
    // Two names that become one file name ("a/b" and "a_b") get two bundles:
    // the later one adds "(2)", "(3)"...
    FCString name = character;
    for (int n = 2;
         !m_bundleFileNames.insert(PageFileName::safeName(name.view()).toStdString()).second; ++n) {
        name = character;
        name.append("(");
        name.appendNumber(n);
        name.append(")");
    }
    const FCString path = PdfFileName::bundle(destination, name);
    m_bundlePaths.emplace(character.toStdString(), path);
    return path;
}

DeviceContext* PdfScriptWriter::openPage(const Page& page)
{
    std::unique_ptr<RecordedCairoPage> recorded = std::move(m_recorded);
    File* file = fileFor(page);
    // The page is the file's, written or lost with it.
    ++file->pagesOfScene[scene()];
    m_lastOfScript = page.page + 1 >= page.pageCount;
    if (!file->opened)
        return nullptr;
    std::optional<std::string> outline;
    if (m_grouping == Grouping::ByActor && file->lastScene != scene()) {
        outline.emplace(page.pageName.view());
        file->lastScene = scene();
    }
    if (recorded && m_writers) {
        m_writers->put(*file->document, std::move(outline), std::move(recorded));
        return nullptr;
    }
    // Drawn here: whatever the writers still had for the file goes first.
    settle(*file);
    if (outline)
        file->document->addOutlineEntry(*outline);
    if (recorded) {
        file->document->putPage(*recorded);
        return nullptr;
    }
    DeviceContext* dc = file->document->beginPage();
    if (dc)
        m_pageOf = file->document.get();
    return dc;
}

void PdfScriptWriter::closePage()
{
    if (m_pageOf) {
        m_pageOf->endPage();
        m_pageOf = nullptr;
    }
    // A script's file is complete with its last page.
    if (m_grouping == Grouping::PerScript && m_lastOfScript && !m_script.empty()) {
        close(m_script);
        m_script.clear();
    }
    m_lastOfScript = false;
}

void PdfScriptWriter::closeScene(bool complete)
{
    m_recorded.reset();
    m_completeScript.reset();
    if (complete) {
        closePage();
    } else {
        // The page being drawn when the scene stopped is kept; the script
        // it belongs to is not complete.
        if (m_pageOf) {
            m_pageOf->endPage();
            m_pageOf = nullptr;
        }
        m_lastOfScript = false;
    }
    if (m_grouping != Grouping::PerScript)
        return;
    if (!m_script.empty()) {
        if (complete) {
            close(m_script);
        } else {
            m_open.erase(m_script);
            Trace::write("PdfScriptWriter: a script stopped within was dropped\n");
        }
        m_script.clear();
    }
}

void PdfScriptWriter::closeAll()
{
    m_recorded.reset();
    m_completeScript.reset();
    closePage();
    // The bundles' ends are written side by side; each then takes its name
    // here, in the order they close.
    if (m_writers) {
        for (auto& [key, file] : m_open) {
            if (file.opened && !file.failed)
                m_writers->complete(*file.document);
        }
    }
    while (!m_open.empty())
        close(m_open.begin()->first);
    m_script.clear();
}

void PdfScriptWriter::close(const std::string& key)
{
    const auto found = m_open.find(key);
    if (found == m_open.end())
        return;
    settle(found->second);
    File file = std::move(found->second);
    m_open.erase(found);
    if (m_pageOf == file.document.get())
        m_pageOf = nullptr;
    if (file.failed)
        file.document->abandon();
    const bool written = file.opened && !file.failed && file.document->close();
    if (written && file.document->pageCount() > 0) {
        m_written.push_back(file.document->path());
        return;
    }
    if (written)
        return;
    for (const auto& [scene, pages] : file.pagesOfScene)
        addLost(scene, pages);
}
