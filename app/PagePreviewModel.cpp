#include "app/PagePreviewModel.h"

#include "app/Quillon.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/Diagnostic.h"
#include "fc/FCXListIterator.h"
#include "platform/Sjis.h"
#include "render/FCVSurface.h"
#include "render/PageDevice.h"
#include "render/PageRenderer.h"
#include "render/ScriptPrinter.h"
#include "reports/PrintRun.h"
#include "ui/CatalogueListBinding.h"
#include "ui/UxListViewControl.h"

#include <string_view>

namespace {

// Appends a text and a separator that no CP932 text holds, so that the key
// of ("ab", "c") differs from that of ("a", "bc").
void appendField(std::string& key, std::string_view text)
{
    key.append(text);
    key.push_back('\0');
}

void appendField(std::string& key, long long number)
{
    appendField(key, std::to_string(number));
}

} // namespace

PagePreviewModel::PagePreviewModel(const Quillon& app, const CatalogueListBinding& rows)
    : m_app(app), m_rows(rows)
{
}

PagePreviewModel::~PagePreviewModel() = default;

int PagePreviewModel::rowToPreview(const UxListViewControl& list)
{
    const int focused = list.focusedRow();
    if (focused >= 0 && list.isSelected(focused))
        return focused;
    return list.nextSelectedRow(-1);
}

const char* PagePreviewModel::noSelectionMessage()
{
    return Sjis::of("プレビューするシナリオファイルが選択されていません。\n"
                    "左のリストボックスで選択してから実行して下さい。");
}

const FCString& PagePreviewModel::sceneName() const
{
    static const FCString none;
    return m_printer ? m_printer->sceneName() : none;
}

bool PagePreviewModel::showRow(int row)
{
    const ScriptCatalogue& catalogue = m_app.catalogue();
    const int index = m_rows.entryOfRow(row);
    if (index < 0 || catalogue.fileName(index).isEmpty()) {
        m_fileName.clear();
        m_printer.reset();
        m_layoutKey.clear();
        m_readable = false;
        m_scripts.clear();
        m_chosen = -1;
        m_page = 0;
        m_cache.clear();
        return false;
    }
    const FCString& name = catalogue.fileName(index);
    const bool sameScene = m_fileName.view() == name.view();
    m_fileName = FCString(name.view());
    if (!sameScene)
        m_layoutKey.clear(); // another file: always laid out afresh
    refresh();
    if (!sameScene)
        m_page = 0;
    return hasScene();
}

const ScriptInfo* PagePreviewModel::recordOfScene() const
{
    const ScriptCatalogue& catalogue = m_app.catalogue();
    for (int index = 0; index < catalogue.count(); ++index) {
        if (catalogue.fileName(index).view() == m_fileName.view())
            return &catalogue.record(index);
    }
    return nullptr;
}

PagePreviewModel::Refresh PagePreviewModel::refresh()
{
    if (!hasScene())
        return Refresh::Unchanged;
    const ScriptInfo* record = recordOfScene();
    if (!record) {
        showRow(-1);
        return Refresh::SceneGone;
    }
    // A fresh printer configured as a run configures it tells what the
    // pages would be made of now.
    auto printer = std::make_unique<ScriptPrinter>();
    PrintRun::configure(m_app.context(), *printer);
    const std::string key = layoutKey(*printer, *record);
    if (key == m_layoutKey && m_printer)
        return Refresh::Unchanged;
    m_printer = std::move(printer);
    layOut(*record, key);
    return Refresh::Changed;
}

std::string PagePreviewModel::layoutKey(const ScriptPrinter& printer,
                                        const ScriptInfo& record) const
{
    std::string key;
    // A folder load makes new records in a new generation, so a scene
    // loaded again (its file may have changed) is read again.
    appendField(key, m_app.scenarioFolder().view());
    appendField(key, m_fileName.view());
    appendField(key, static_cast<long long>(m_app.catalogue().generation()));
    appendField(key, printer.options());
    for (const ScriptFont* font :
         {&printer.generalFont(), &printer.targetFont(), &printer.commentFont()}) {
        appendField(key, font->weight);
        appendField(key, font->face.view());
    }
    appendField(key, printer.fontSize());
    appendField(key, printer.linePitch());
    appendField(key, printer.linesPerPage());
    appendField(key, printer.charactersPerLine());
    const TypesettingOptions& typesetting = printer.typesetting();
    appendField(key, static_cast<long long>(typesetting.lineBreaking));
    appendField(key, static_cast<long long>(typesetting.uprightDigits));
    appendField(key, static_cast<long long>(typesetting.ruby));
    appendField(key, printer.backgroundMode());
    appendField(key, printer.backgroundLevel());
    // The names the scene excludes: the suppressed ones, then those that
    // are no print target (the order does not change the pages, but a
    // change of either list does).
    for (const FCString& name : m_app.suppressedCharacters().names())
        appendField(key, name.view());
    key.push_back('\1');
    FCXListIterator<FCIdString> characters(record.characters());
    while (const FCIdString* character = characters.next()) {
        if (!record.isPrintTarget(character->view()))
            appendField(key, character->view());
    }
    return key;
}

void PagePreviewModel::layOut(const ScriptInfo& record, const std::string& key)
{
    const Script previous =
        m_chosen >= 0 ? m_scripts[static_cast<std::size_t>(m_chosen)] : Script{};
    m_layoutKey = key;
    m_cache.clear();
    m_pagesDrawn = 0;
    std::string path(m_app.scenarioFolder().view());
    path.append(m_fileName.view());
    m_readable = false;
    try {
        m_printer->load(path.c_str());
        m_readable = true;
    } catch (const CannotOpenException&) {
        // The file layer has put these to the user already.
    } catch (const CannotReadException&) {
    } catch (const CannotWriteException&) {
    } catch (const Diagnostic& failure) {
        failure.show();
    }
    if (!m_readable) {
        // Whatever a failed load left behind is not shown.
        m_printer = std::make_unique<ScriptPrinter>();
        PrintRun::configure(m_app.context(), *m_printer);
    }
    // Exclusion works on the loaded character table, so it comes after load.
    PrintRun::excludeUnprinted(m_app.context(), *m_printer, record);
    collectScripts(m_chosen >= 0 ? &previous : nullptr);
}

void PagePreviewModel::collectScripts(const Script* previous)
{
    m_scripts.clear();
    m_chosen = -1;
    if (m_readable) {
        for (int target = 0; target < ScreenplayHeader::TableSize; ++target) {
            if (m_printer->printsScriptOf(target))
                m_scripts.push_back({m_printer->targetName(target), target});
        }
        if (m_printer->printsScriptOf(-1))
            m_scripts.push_back({m_printer->targetName(-1), -1});
    }
    // The script shown before stays chosen when the scene still prints it:
    // the same character by name, or the director's copy.
    for (std::size_t i = 0; previous && i < m_scripts.size() && m_chosen < 0; ++i) {
        const Script& script = m_scripts[i];
        if ((script.target < 0) == (previous->target < 0) &&
            script.name.view() == previous->name.view())
            m_chosen = static_cast<int>(i);
    }
    if (m_chosen < 0 && !m_scripts.empty())
        m_chosen = 0;
    if (m_page >= pageCount())
        m_page = pageCount() > 0 ? pageCount() - 1 : 0;
}

bool PagePreviewModel::choose(int index)
{
    if (index < 0 || index >= static_cast<int>(m_scripts.size()))
        return false;
    m_chosen = index;
    return true;
}

int PagePreviewModel::pageCount() const
{
    return m_chosen >= 0 && m_printer ? m_printer->pageCount() : 0;
}

bool PagePreviewModel::setPage(int page)
{
    if (page < 0 || page >= pageCount())
        return false;
    m_page = page;
    return true;
}

FCString PagePreviewModel::pageText() const
{
    FCString text;
    const int count = pageCount();
    text.appendNumber(count > 0 ? m_page + 1 : 0);
    text.append(" / ");
    text.appendNumber(count);
    text.append(Sjis::of(" ページ"));
    return text;
}

const char* PagePreviewModel::noPageText() const
{
    if (!hasScene() || pageCount() > 0)
        return "";
    if (!m_readable)
        return Sjis::of("台本ファイルを読み込めませんでした。");
    return Sjis::of("印刷されるページはありません。");
}

std::shared_ptr<const FCVSurface> PagePreviewModel::pageImage(int page)
{
    if (m_chosen < 0 || page < 0 || page >= pageCount())
        return nullptr;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->script == m_chosen && it->page == page) {
            m_cache.splice(m_cache.begin(), m_cache, it);
            return m_cache.front().image;
        }
    }
    // The page is drawn on the page image a PNG run draws on, and turned as
    // that device turns it when it saves. The renderer's fonts outlive the
    // page's context.
    PageRenderer renderer(*m_printer);
    PageDevice device;
    device.open(false, true);
    DeviceContext* dc = device.deviceContext();
    const int target = m_scripts[static_cast<std::size_t>(m_chosen)].target;
    if (!dc || !device.pageSurface() || !renderer.draw(*dc, target, page))
        return nullptr;
    std::shared_ptr<const FCVSurface> image = device.pageSurface()->turnedClockwise();
    ++m_pagesDrawn;
    m_cache.push_front({m_chosen, page, image});
    if (m_cache.size() > static_cast<std::size_t>(CachedPages))
        m_cache.pop_back();
    return image;
}
