#include "render/PdfScriptWriter.h"

#include "fc/FileHelpers.h"
#include "platform/Trace.h"
#include "render/PageFileName.h"
#include "render/PdfDocument.h"
#include "render/PdfFileName.h"
#include "render/ScriptPrinter.h"

#include <utility>

PdfScriptWriter::PdfScriptWriter(Grouping grouping) : m_grouping(grouping) {}

PdfScriptWriter::~PdfScriptWriter() = default;

int PdfScriptWriter::beginScene()
{
    return ++m_scene;
}

PdfScriptWriter::File* PdfScriptWriter::fileFor(const ScriptPrinter& printer, int target,
                                                FCString& path)
{
    const FCString& destination = printer.destinationFolder();
    const FCString character = printer.targetName(target);
    FCString title;
    FCString folder;
    if (m_grouping == Grouping::PerScript) {
        path = PdfFileName::script(destination, printer.pageName(), printer.fileTargetName(target));
        folder = PageFileName::folder(destination, printer.pageName());
        title = printer.pageName();
        title.append(" ");
        title.append(character.view());
    } else {
        path = bundlePath(destination, character);
        folder = destination;
        title = character;
    }

    const std::string key = path.toStdString();
    if (m_grouping == Grouping::PerScript && !m_script.empty() && m_script != key)
        close(m_script);
    File& file = m_open[key];
    if (!file.document) {
        file.document = std::make_unique<PdfDocument>();
        // The folder is made with every missing level, as for page images;
        // when that fails, opening the file fails and tells why.
        createDirectories(folder.text());
        file.opened = file.document->open(path, title.view());
    }
    if (m_grouping == Grouping::PerScript)
        m_script = key;
    return &file;
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

DeviceContext* PdfScriptWriter::beginPage(const ScriptPrinter& printer, int target)
{
    endPage();
    FCString path;
    File* file = fileFor(printer, target, path);
    // The page is the file's, written or lost with it.
    ++file->pagesOfScene[m_scene];
    m_lastOfScript = printer.currentPage() + 1 >= printer.pageCount();
    if (!file->opened)
        return nullptr;
    if (m_grouping == Grouping::ByActor && file->lastScene != m_scene) {
        file->document->addOutlineEntry(printer.pageName().view());
        file->lastScene = m_scene;
    }
    DeviceContext* dc = file->document->beginPage();
    if (dc)
        m_pageOf = file->document.get();
    return dc;
}

void PdfScriptWriter::endPage()
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

void PdfScriptWriter::endScene(bool complete)
{
    if (complete) {
        endPage();
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

void PdfScriptWriter::finish()
{
    endPage();
    while (!m_open.empty())
        close(m_open.begin()->first);
    m_script.clear();
}

void PdfScriptWriter::close(const std::string& key)
{
    const auto found = m_open.find(key);
    if (found == m_open.end())
        return;
    File file = std::move(found->second);
    m_open.erase(found);
    if (m_pageOf == file.document.get())
        m_pageOf = nullptr;
    const bool written = file.opened && file.document->close();
    if (written && file.document->pageCount() > 0) {
        m_written.push_back(file.document->path());
        return;
    }
    if (written)
        return;
    for (const auto& [scene, pages] : file.pagesOfScene)
        m_lost[scene] += pages;
}

int PdfScriptWriter::lostPages(int scene) const
{
    const auto found = m_lost.find(scene);
    return found == m_lost.end() ? 0 : found->second;
}

int PdfScriptWriter::lostPages() const
{
    int lost = 0;
    for (const auto& [scene, pages] : m_lost)
        lost += pages;
    return lost;
}
