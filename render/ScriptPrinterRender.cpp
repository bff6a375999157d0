#include "fc/FileHelpers.h"
#include "platform/Sjis.h"
#include "render/PageDevice.h"
#include "render/PageFileName.h"
#include "render/PageObserver.h"
#include "render/PageRenderer.h"
#include "render/ScriptPrinter.h"

#include <cassert>
#include <cstdint>

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

void ScriptPrinter::printAll(OutputDevice device)
{
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

    const bool image = writesFiles(output);
    const bool png = output == OutputDevice::Png;

    // Made before the device so that its fonts outlive the page's context.
    PageRenderer renderer(*this);
    PageDevice device;
    device.open(false, image);
    device.logJobs();
    device.startDocument(FCString("hoge"), nullptr);

    PageObserver::Page info;
    info.target = target;
    info.page = m_currentPage;
    info.pageCount = m_pageCount;
    info.device = output;
    FCString path;
    if (image) {
        path = PageFileName::file(m_destinationFolder, pageName(), targetName(target),
                                  m_currentPage + 1, m_pageCount, png);
        info.path = path.toStdString();
    }

    DeviceContext* dc = device.deviceContext();
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
    if (observer)
        observer->pageClosed(info, device);
    device.endDocument();
    device.release();
    return true;
}
