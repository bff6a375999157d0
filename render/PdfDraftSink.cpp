#include "render/PdfDraftSink.h"

#include "platform/FileSystem.h"
#include "platform/WinError.h"
#include "render/CairoDeviceContext.h"
#include "render/PdfDocument.h"
#include "render/PdfFileName.h"
#include "render/RecordedCairoPage.h"

#include <utility>

PdfDraftSink::PdfDraftSink(Form form, const FCString& destination)
    : m_form(form), m_destination(destination)
{
    if (m_form == Form::Files)
        m_temporaryFolder = existingFolder(destination);
}

PdfDraftSink::~PdfDraftSink() = default;

std::string PdfDraftSink::existingFolder(const FCString& folder)
{
    std::string path(folder.view());
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    while (!path.empty()) {
        FileSystem::EntryKind kind = FileSystem::EntryKind::File;
        if (FileSystem::entryKind(path, kind) == WinError::Success)
            return kind == FileSystem::EntryKind::Folder ? path + "/" : std::string();
        const std::size_t slash = path.find_last_of('/');
        if (slash == std::string::npos)
            return std::string();
        path.erase(slash);
    }
    // Up to the root of an absolute path.
    return folder.view().substr(0, 1) == "/" ? std::string("/") : std::string();
}

DeviceContext* PdfDraftSink::openPage(const Page& page)
{
    Drafted drafted;
    drafted.page = page;
    DeviceContext* dc = nullptr;
    if (m_form == Form::Pages) {
        drafted.recorded = std::make_unique<RecordedCairoPage>();
        m_page = std::make_unique<CairoDeviceContext>(*drafted.recorded, PdfDocument::DrawingWidth,
                                                      PdfDocument::DrawingHeight,
                                                      PdfDocument::DotsPerInch);
        dc = m_page.get();
    } else {
        const FCString path = PdfFileName::script(m_destination, page.pageName, page.scriptFile);
        if (!m_script || m_script->path().view() != path.view()) {
            // The script before ended with its last page, where it was
            // completed.
            if (m_script)
                m_failed = true;
            FCString title = page.pageName;
            title.append(" ");
            title.append(page.script.view());
            drafted.script = std::make_unique<PdfDocument>();
            m_script = drafted.script.get();
            if (m_temporaryFolder.empty() || !m_script->open(path, title.view(), m_temporaryFolder))
                m_failed = true;
        }
        m_lastOfScript = page.page + 1 >= page.pageCount;
        dc = m_failed ? nullptr : m_script->beginPage();
    }
    m_drafted.push_back(std::move(drafted));
    return dc;
}

void PdfDraftSink::closePage()
{
    if (m_form == Form::Pages) {
        if (m_page)
            m_page->flush();
        m_page.reset();
        return;
    }
    if (!m_script)
        return;
    if (!m_failed && !m_script->endPage())
        m_failed = true;
    if (m_lastOfScript) {
        if (!m_failed && !m_script->complete(PdfDocument::Sync::Later))
            m_failed = true;
        m_script = nullptr;
    }
    m_lastOfScript = false;
}

void PdfDraftSink::closeScene(bool complete)
{
    // Whatever did not end as a whole scene ends (a drawing that raised, a
    // stop within a script) is not handed on.
    if (!complete || m_page || m_script)
        m_failed = true;
    m_page.reset();
    m_script = nullptr;
    // The scene's files go onto the disk once it is drawn: the disk has
    // written most of the earlier scripts meanwhile, so this thread waits
    // less than it would right after each script's end.
    for (Drafted& drafted : m_drafted) {
        if (!m_failed && drafted.script && !drafted.script->sync())
            m_failed = true;
    }
}

void PdfDraftSink::closeAll()
{
    closeScene(true);
}
