#include "fc/FileHelpers.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "render/PageDevice.h"
#include "render/PageFileName.h"
#include "render/PageObserver.h"
#include "render/PageRenderer.h"
#include "render/PdfScriptWriter.h"
#include "render/ScriptPrinter.h"

#include <cassert>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

void ScriptPrinter::buildBackgroundPattern()
{
    // Modes 0 and 1 need no tile.
    if (m_backgroundMode < 2)
        return;
    const int size = m_backgroundMode == 2 ? 2 : (m_backgroundMode == 3 ? 3 : 4);
    m_backgroundPattern.create(size, size, 255);
    // One dot of the level per tile; the tile repeats from the surface's
    // origin, so the dots form an even mesh.
    *m_backgroundPattern.pixel(0, 0) = static_cast<uint8_t>(m_backgroundLevel);
}

FCString ScriptPrinter::targetName(int target) const
{
    if (target < 0 || target >= ScreenplayHeader::TableSize)
        return FCString(Sjis::of("監督用"));
    return m_header.character(target).name;
}

FCString ScriptPrinter::jobTitle(int target) const
{
    // The print queue lists the job under this title: scene, script and
    // page, so that a user can tell a run's jobs apart.
    FCString title(m_header.sceneName().isEmpty() ? pageName() : m_header.sceneName());
    title.append(" ");
    title.append(targetName(target).view());
    title.append(" " + std::to_string(m_currentPage + 1) + "/" + std::to_string(m_pageCount));
    return title;
}

const FCString& ScriptPrinter::fileTargetName(int target) const
{
    int characters = m_header.characterCount();
    if (characters > ScreenplayHeader::TableSize)
        characters = ScreenplayHeader::TableSize;
    if (characters < 0)
        characters = 0;
    if (m_fileTargetNames.empty()) {
        // Names are compared as the file system will see them.
        std::set<std::string> taken;
        for (int i = 0; i <= characters; ++i) {
            const FCString name = targetName(i < characters ? i : -1);
            FCString fileName = name;
            for (int n = 2;
                 !taken.insert(PageFileName::safeName(fileName.view()).toStdString()).second; ++n) {
                fileName = name;
                fileName.append("(");
                fileName.appendNumber(n);
                fileName.append(")");
            }
            m_fileTargetNames.push_back(fileName);
        }
    }
    return m_fileTargetNames[target >= 0 && target < characters ? target : characters];
}

void ScriptPrinter::printAll(OutputDevice device)
{
    // Printed alone, the scene's PDF pages go into files of their own, one
    // per script; a run hands its writer in instead.
    std::optional<PdfScriptWriter> own;
    if (device == OutputDevice::Pdf && !m_pdfWriter) {
        own.emplace(PdfScriptWriter::Grouping::PerScript);
        own->beginScene();
        m_pdfWriter = &*own;
    }
    struct Restore {
        ScriptPrinter& printer;
        bool owned;
        ~Restore()
        {
            if (owned)
                printer.m_pdfWriter = nullptr;
        }
    } restore{*this, own.has_value()};

    // The table has room for so many characters, whatever ".chara" said.
    int characters = m_header.characterCount();
    if (characters > ScreenplayHeader::TableSize)
        characters = ScreenplayHeader::TableSize;
    for (int i = 0; i < characters; ++i) {
        m_currentPage = 0;
        while (printPage(-1, device, i)) {
        }
    }
    if (m_options & OptionGenericScript) {
        m_currentPage = 0;
        while (printPage(-1, device, -1)) {
        }
    }
}

bool ScriptPrinter::printPage(int page, OutputDevice device, int target)
{
    assert(target >= -1 && target < ScreenplayHeader::TableSize &&
           "ScriptPrinter::printPage: target outside the character table");
    if (target < -1 || target >= ScreenplayHeader::TableSize)
        return false;
    if (page == -1)
        page = m_currentPage;
    if (page < 0 || page >= m_pageCount)
        return false;
    m_currentPage = page;

    if (target >= 0) {
        const ScreenplayCharacter& character = m_header.character(target);
        for (const FCIdString& slot : m_exclusions) {
            if (slot.id() < 0)
                break;
            if (slot.id() == 0 && character.count > 0 && slot.view() == character.name.view())
                return false;
        }
        renderPage(target, device);
        ++m_currentPage;
        return true;
    }

    if (m_options & OptionGenericScript)
        renderPage(-1, device);
    ++m_currentPage;
    return true;
}

bool ScriptPrinter::renderPage(int target, OutputDevice output)
{
    const int64_t firstLine = static_cast<int64_t>(m_currentPage) * m_linesPerPage;
    if (firstLine >= m_lineCount || !seekLine(static_cast<int>(firstLine)))
        return false;

    // A PDF page is drawn into its file's page: it makes no page image and
    // opens no printer.
    const bool pdf = output == OutputDevice::Pdf;
    const bool image = writesFiles(output) && !pdf;
    const bool png = output == OutputDevice::Png;

    // Made before the device so that its fonts outlive the page's context.
    PageRenderer renderer(*this);
    PageDevice device;
    if (!pdf) {
        device.open(false, image);
        device.logJobs();
        device.startDocument(jobTitle(target), nullptr);
    }

    PageObserver::Page info;
    info.target = target;
    info.page = m_currentPage;
    info.pageCount = m_pageCount;
    info.device = output;
    FCString path;
    if (image) {
        path = PageFileName::file(m_destinationFolder, pageName(), fileTargetName(target),
                                  m_currentPage + 1, m_pageCount, png);
        info.path = path.toStdString();
    }

    DeviceContext* dc = nullptr;
    if (!pdf)
        dc = device.deviceContext();
    else if (m_pdfWriter)
        dc = m_pdfWriter->beginPage(*this, target);
    else
        Trace::write("ScriptPrinter: a PDF page without a file to go into is lost\n");
    PageObserver* observer = PageObserver::current();
    if (observer)
        dc = observer->pageOpened(info, dc);
    // Without a context (no printer) the page is drawn nowhere and lost.
    if (dc)
        renderer.draw(*dc, target, m_currentPage, static_cast<int>(firstLine));

    if (image) {
        createDirectories(PageFileName::folder(m_destinationFolder, pageName()).text());
        device.save(path.text(), png);
    }
    if (pdf && m_pdfWriter)
        m_pdfWriter->endPage();
    if (observer)
        observer->pageClosed(info, device);
    device.endDocument();
    device.release();
    return true;
}

bool ScriptPrinter::printsScriptOf(int target) const
{
    if (target == -1)
        return (m_options & OptionGenericScript) != 0;
    int characters = m_header.characterCount();
    if (characters > ScreenplayHeader::TableSize)
        characters = ScreenplayHeader::TableSize;
    if (target < 0 || target >= characters)
        return false;
    // The test printPage makes: an excluded character is left out only
    // when it speaks.
    const ScreenplayCharacter& character = m_header.character(target);
    for (const FCIdString& slot : m_exclusions) {
        if (slot.id() < 0)
            break;
        if (slot.id() == 0 && character.count > 0 && slot.view() == character.name.view())
            return false;
    }
    return true;
}

bool ScriptPrinter::drawPage(int page, int target, DeviceContext& dc)
{
    if (target < -1 || target >= ScreenplayHeader::TableSize || page < 0 || page >= m_pageCount)
        return false;
    const int64_t firstLine = static_cast<int64_t>(page) * m_linesPerPage;
    if (firstLine >= m_lineCount || !seekLine(static_cast<int>(firstLine)))
        return false;
    // The renderer is told the page, so the current page stays where a
    // print left it.
    PageRenderer renderer(*this);
    renderer.draw(dc, target, page, static_cast<int>(firstLine));
    return true;
}
