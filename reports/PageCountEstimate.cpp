#include "reports/PageCountEstimate.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/Diagnostic.h"
#include "fc/Progress.h"
#include "format/PrintFormat.h"
#include "format/RunSettings.h"
#include "platform/SilentPrompt.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WorkerPool.h"
#include "render/LineSelection.h"
#include "render/ScriptPrinter.h"
#include "reports/CharacterSelection.h"
#include "reports/ScenarioContext.h"

#include <string>
#include <string_view>

PageCountEstimate::PageCountEstimate(const ScenarioContext& context) : m_context(context) {}

PageCountEstimate::~PageCountEstimate() = default;

int PageCountEstimate::cacheMode(int mode)
{
    if (mode >= PrintFormat::ModeCustom && mode <= PrintFormat::ModePreset18)
        return mode;
    return PrintFormat::ModePreset14;
}

int PageCountEstimate::cacheEntry(const PrintFormat& format)
{
    return format.typesetting().any() ? PrintFormat::ModeCustom : cacheMode(format.mode());
}

void PageCountEstimate::configurePrinter(const PrintFormat& format, const RunSettings& run,
                                         ScriptPrinter& printer, bool trace)
{
    printer.setOptions(run.printerOptions());
    printer.setGeneralFont(format.generalWeight(), format.generalFace());
    printer.setTargetFont(format.targetWeight(), format.targetFace());
    printer.setCommentFont(format.commentWeight(), format.commentFace());
    printer.setLinePitch(format.lineWidth());
    printer.setFontSize(format.fontSize());
    // A custom count below 1 cannot be laid out; the printer keeps its own
    // count then, as it would in a print run.
    if (!printer.setLinesPerPage(format.linesPerPage()) && trace)
        Trace::write("PageCountEstimate: lines per page below 1 ignored\n");
    if (!printer.setCharactersPerLine(format.charsPerLine()) && trace)
        Trace::write("PageCountEstimate: characters per line below 1 ignored\n");
    printer.setTypesetting(format.typesetting());
    printer.setBackground(format.customModeEmphasis(), format.customColEmphasis());
    printer.buildBackgroundPattern();
}

namespace {

// The smallest screenplay that the layout engine reads completely: a header
// and an empty body. Loading it puts a printer's lines and pages back to 0.
constexpr std::string_view EmptyScene = ".total\t0\n";

} // namespace

PageCountEstimate::LaidOut PageCountEstimate::layOutQuietly(ScriptPrinter& printer,
                                                            const std::string& path)
{
    // Whatever the file layer or the layout would say to the user is held
    // back here; the scene then counts as not laid out and is done again by
    // estimateScene on the thread that may speak.
    SilentPrompt silent;
    Prompt::ThreadScope quiet(silent);
    try {
        printer.loadText(EmptyScene);
        printer.load(path.c_str());
    } catch (...) {
        return LaidOut{};
    }
    if (silent.asked())
        return LaidOut{};
    return LaidOut{printer.layout().pageCount()};
}

int32_t PageCountEstimate::estimateScene(const FCString& fileName, const ScriptInfo& record,
                                         int32_t& pages)
{
    if (pages < 0) {
        // Within a run the run's printer serves every scene: a printer is
        // costly to build (its character and exclusion tables) and the
        // settings are the same for all. Without a run a fresh one is made.
        std::unique_ptr<ScriptPrinter> own;
        ScriptPrinter* printer = m_printer.get();
        if (!printer) {
            own = std::make_unique<ScriptPrinter>();
            configurePrinter(m_context.format, m_context.run, *own);
            printer = own.get();
        }
        // A file that cannot be read, or one without a ".total" line, leaves
        // a printer's page count as it was; emptied first, it reports 0 for
        // them as a fresh printer does. Nothing else of an earlier scene
        // counts: loading clears the character table, lines and pages, and
        // the estimate excludes nobody.
        printer->loadText(EmptyScene);
        std::string path(m_context.folder.view());
        path.append(fileName.view());
        ++m_layouts;
        try {
            printer->load(path.c_str());
        } catch (const CannotOpenException&) {
            ++m_unreadable; // The file layer has put it to the user already.
        } catch (const CannotReadException&) {
            ++m_unreadable;
        } catch (const Diagnostic& failure) {
            failure.show();
            ++m_unreadable;
        }
        pages = printer->layout().pageCount();
    }
    return CharacterSelection::printedCharacterCount(m_context, record);
}

bool PageCountEstimate::estimatePartialScene(const FCString& fileName, const ScriptInfo& record,
                                             int64_t& pages, int32_t& scripts)
{
    pages = 0;
    scripts = 0;
    // Laid out as a print run lays it out: a printer of its own, the
    // selection, then the run's exclusions, which the director's copy of a
    // partial run follows.
    ScriptPrinter printer;
    configurePrinter(m_context.format, m_context.run, printer);
    printer.setLineSelection(m_selection, fileName.view());
    std::string path(m_context.folder.view());
    path.append(fileName.view());
    ++m_layouts;
    try {
        printer.load(path.c_str());
    } catch (const CannotOpenException&) {
        ++m_unreadable;
        return false;
    } catch (const CannotReadException&) {
        ++m_unreadable;
        return false;
    } catch (const Diagnostic& failure) {
        failure.show();
        ++m_unreadable;
        return false;
    }
    CharacterSelection::excludeUnprinted(m_context, printer, record);
    auto count = [&](int target) {
        const int scriptPages = printer.scriptLayout(target).pageCount();
        if (scriptPages > 0) {
            pages += scriptPages;
            ++scripts;
        }
    };
    const int characters = printer.layout().characterCount();
    for (int target = 0; target < characters; ++target) {
        if (printer.printsScriptOf(target))
            count(target);
    }
    if (m_directorsCopies)
        count(-1);
    return true;
}

int64_t PageCountEstimate::run(ScriptCatalogue& catalogue, bool allRows, Progress& progress)
{
    const int entries = catalogue.count();
    progress.setTitle(Sjis::of("印刷に必要なページ数の確認"));
    progress.setText(Sjis::of("ページ数を確認しています。"));
    progress.setupBar(true, 0, 0, entries);
    progress.setStepSize(1);
    progress.open(true);

    // The settings as they stand now, for every scene of this run.
    m_printer = std::make_unique<ScriptPrinter>();
    configurePrinter(m_context.format, m_context.run, *m_printer);
    struct Release {
        std::unique_ptr<ScriptPrinter>& printer;
        ~Release() { printer.reset(); }
    } release{m_printer};

    m_scenes.clear();
    m_chosen = 0;
    for (int index = 0; index < entries; ++index) {
        if (allRows || catalogue.isTicked(index))
            ++m_chosen;
    }

    // With a typesetting option on, scenes are laid out afresh as in the
    // custom mode.
    const int mode = cacheEntry(m_context.format);
    const bool preset = mode != PrintFormat::ModeCustom;

    // What each entry needs, taken from the catalogue before any worker
    // starts: the workers read only this and their own printer. A partial
    // run's scenes are laid out script by script on this thread.
    std::vector<std::string> toLayOut(static_cast<std::size_t>(entries));
    int layOuts = 0;
    for (int index = 0; index < entries && !m_selection; ++index) {
        if (!allRows && !catalogue.isTicked(index))
            continue;
        if (preset && catalogue.record(index).cachedPageCount(mode) >= 0)
            continue;
        std::string& path = toLayOut[static_cast<std::size_t>(index)];
        path.assign(m_context.folder.view());
        path.append(catalogue.fileName(index).view());
        ++layOuts;
    }

    // With every count in the cache there is nothing to share out.
    // A result is one number: workers may run far ahead of this thread, and
    // a scene takes microseconds: each worker takes scenes in batches, and
    // this thread is woken once per batch rather than once per scene.
    WorkerPool pool(layOuts > 1 ? m_context.format.jobs() : 1, 256, 32);
    // A printer per worker; the run's own stays with this thread for the
    // scenes laid out again here.
    std::vector<std::unique_ptr<ScriptPrinter>> printers(static_cast<std::size_t>(pool.jobs()));
    for (std::size_t worker = 0; worker < printers.size(); ++worker) {
        printers[worker] = std::make_unique<ScriptPrinter>();
        configurePrinter(m_context.format, m_context.run, *printers[worker], false);
    }

    const char* checking = Sjis::of("を確認しています...");
    int64_t total = 0;
    bool cancelled = false;
    std::string text;
    pool.map<LaidOut>(
        entries,
        [&](int index, int worker) {
            const std::string& path = toLayOut[static_cast<std::size_t>(index)];
            if (path.empty())
                return LaidOut{};
            return layOutQuietly(*printers[static_cast<std::size_t>(worker)], path);
        },
        [&](int index, LaidOut& laidOut) {
            const FCString& fileName = catalogue.fileName(index);
            text.assign(fileName.view());
            text.append(checking);
            progress.setText(text);

            const bool chosen = allRows || catalogue.isTicked(index);
            if (chosen && m_selection) {
                if (m_selection->scene(fileName.view())) {
                    Scene scene;
                    scene.fileName = fileName;
                    scene.sceneName = catalogue.record(index).sceneName();
                    scene.partialPages = 0;
                    scene.unreadable = !estimatePartialScene(fileName, catalogue.record(index),
                                                             scene.partialPages, scene.scripts);
                    total += scene.pages();
                    m_scenes.push_back(std::move(scene));
                }
            } else if (chosen) {
                ScriptInfo& record = catalogue.record(index);
                int32_t pages = preset ? record.cachedPageCount(mode) : ScriptInfo::UnknownPages;
                const int failedBefore = m_unreadable;
                if (laidOut.pages >= 0) {
                    // Laid out by a worker without a word to the user.
                    ++m_layouts;
                    pages = laidOut.pages;
                }
                // Anything a worker met that the user must hear of is met
                // again here, on this thread, in list order: the scene is laid
                // out once more as it always was.
                const int32_t characters = estimateScene(fileName, record, pages);
                Scene scene;
                scene.fileName = fileName;
                scene.sceneName = record.sceneName();
                scene.pagesPerScript = pages;
                scene.unreadable = m_unreadable != failedBefore;
                if (!scene.unreadable)
                    record.setCachedPageCount(mode, pages);
                // A print run prints no director's copy of a scene it cannot
                // read.
                scene.scripts = characters + (m_directorsCopies && !scene.unreadable ? 1 : 0);
                total += scene.pages();
                m_scenes.push_back(std::move(scene));
            }

            progress.step();
            progress.pump();
            cancelled = progress.cancelled();
            return !cancelled;
        });
    progress.close();
    return cancelled ? Cancelled : total;
}

FCString PageCountEstimate::message(int64_t total)
{
    std::string text(Sjis::of("現在の設定で印刷すると、\n"));
    text += std::to_string(total);
    text += Sjis::of("ページの台本が出力されます。");
    return FCString(text);
}
