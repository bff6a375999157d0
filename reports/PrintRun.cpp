#include "reports/PrintRun.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "fc/FileReplacement.h"
#include "fc/Progress.h"
#include "format/PrintFormat.h"
#include "format/RunSettings.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "platform/WorkerPool.h"
#include "render/LineSelection.h"
#include "render/PageFileName.h"
#include "render/PageImageSink.h"
#include "render/PdfDraftSink.h"
#include "render/PdfScriptWriter.h"
#include "render/PrinterPageSink.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"
#include "reports/CharacterSelection.h"
#include "reports/PageCountEstimate.h"
#include "reports/PrintRecord.h"
#include "reports/ScenarioContext.h"
#include "reports/SceneDraft.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The log is built in memory and written once at the end; this covers the
// log of a few thousand scenes without growing.
constexpr int32_t InitialLogCapacity = 65536;

// Recorded pages waiting for the threads that paint bundles: enough that a
// thread rarely waits for the next page, few enough that their memory stays
// small and that a cancelled run has them written in a moment.
constexpr std::size_t QueuedBundlePagesPerThread = 32;

// Runs step; false when the foundation raised. File errors have been put to
// the user by the file layer before they were raised; anything else is
// shown here, as nobody above would.
template <typename Step> bool guarded(Step step)
{
    try {
        step();
    } catch (const CannotOpenException&) {
        return false;
    } catch (const CannotReadException&) {
        return false;
    } catch (const CannotWriteException&) {
        return false;
    } catch (const Diagnostic& failure) {
        failure.show();
        return false;
    }
    return true;
}

// Where the pages of a run go, as its device says: PNG pages are encoded
// side by side in the background by the sink's own pipeline; PDF pages go
// into one file per script or, with the bundle switch, one per character.
std::unique_ptr<PageSink> sinkFor(const RunSettings& run, const FCString& destination)
{
    switch (run.device) {
    case OutputDevice::Printer:
        return std::make_unique<PrinterPageSink>();
    case OutputDevice::Bmp:
        return std::make_unique<PageImageSink>(destination, PageImageSink::Format::Bmp);
    case OutputDevice::Png:
        return std::make_unique<PageImageSink>(destination, PageImageSink::Format::Png);
    case OutputDevice::Pdf:
        return std::make_unique<PdfScriptWriter>(run.bundleByActor
                                                     ? PdfScriptWriter::Grouping::ByActor
                                                     : PdfScriptWriter::Grouping::PerScript,
                                                 destination);
    }
    return std::make_unique<PrinterPageSink>();
}

// A page name as the file system will see it: names are compared so.
std::string fileSystemName(const FCString& name)
{
    return PageFileName::safeName(name.view()).toStdString();
}

// The name a scene's pages go under when the names taken are taken: empty
// when its own is free, otherwise the first free one of the scene name with
// "(2)", "(3)"... added.
FCString freeName(const std::set<std::string>& taken, const FCString& scene)
{
    if (taken.count(fileSystemName(scene)) == 0)
        return FCString();
    for (int n = 2;; ++n) {
        FCString name(scene);
        name.append("(");
        name.appendNumber(n);
        name.append(")");
        if (taken.count(fileSystemName(name)) == 0)
            return name;
    }
}

} // namespace

PrintRun::PrintRun(const ScenarioContext& context) : m_context(context) {}

PrintRun::~PrintRun() = default;

const char* PrintRun::openingLine()
{
    return Sjis::of("; 印刷を開始します\n");
}

const char* PrintRun::printedSuffix()
{
    return Sjis::of("; 印刷されました\n");
}

FCString PrintRun::countLine(int printed)
{
    FCString line(Sjis::of("; 印刷されたファイル数："));
    line.appendNumber(printed);
    line.append(Sjis::of(" ファイル\n"));
    return line;
}

const char* PrintRun::completedLine()
{
    return Sjis::of("; 印刷処理は正常に終了しました。\n");
}

const char* PrintRun::cancelledLine()
{
    return Sjis::of("; 印刷処理は中断されました。直前のファイルまでは、印刷が終了しています。\n");
}

FCString PrintRun::partialLine(std::string_view suffix)
{
    FCString line("; ");
    line.append(suffix.empty() ? std::string_view(Sjis::of("一部")) : suffix);
    line.append(Sjis::of("の台詞のみを印刷します\n"));
    return line;
}

FCString PrintRun::renamedSuffix(const FCString& pageName)
{
    FCString line(Sjis::of("; 印刷されました（シーン名が重複するため、ページ画像は「"));
    line.append(pageName.view());
    line.append(Sjis::of("」の名前で出力しました）\n"));
    return line;
}

FCString PrintRun::failedSuffix(int pagesLost)
{
    FCString line(Sjis::of("; 印刷できませんでした（"));
    line.appendNumber(pagesLost);
    line.append(Sjis::of(" ページが出力されませんでした）\n"));
    return line;
}

const char* PrintRun::unfinishedSuffix()
{
    return Sjis::of("; 印刷は完了していません（中断されました）\n");
}

const char* PrintRun::incompleteLine()
{
    return Sjis::of("; 印刷処理は終了しましたが、出力されなかったページがあります。\n");
}

const char* PrintRun::interruptedLine()
{
    return Sjis::of("; 印刷処理は中断されました。印刷中のファイルは完了していません。\n");
}

FCString PrintRun::lostPagesNotice(const Outcome& outcome)
{
    FCString text;
    if (outcome.noPrinter) {
        text.append(Sjis::of("プリンタに接続できませんでした。"));
        text.appendNumber(outcome.pagesUnprinted);
        text.append(Sjis::of(" ページが印刷されていません。\n"));
    }
    if (outcome.pagesLost > 0) {
        text.appendNumber(outcome.pagesLost);
        text.append(outcome.pdf ? Sjis::of(" ページを含むPDFファイルを書き込めませんでした。\n")
                                : Sjis::of(" ページの画像ファイルを書き込めませんでした。\n"));
    }
    if (outcome.failed > 0 && outcome.logWritten)
        text.append(Sjis::of("印刷できなかったファイルは印刷ログに記録されています。\n"));
    return text;
}

FCString PrintRun::recordNotice(const Outcome& outcome)
{
    FCString text;
    if (outcome.unrecorded > 0) {
        text.appendNumber(outcome.unrecorded);
        text.append(Sjis::of(" ファイルの印刷の記録（.quillon/printed）を保存できませんでした。"
                             "印刷は完了しています。\n"));
    }
    return text;
}

FCString PrintRun::distinctPageName(const FCString& scene)
{
    const FCString name = freeName(m_pageNames, scene);
    m_pageNames.insert(fileSystemName(name.isEmpty() ? scene : name));
    return name;
}

void PrintRun::configure(const ScenarioContext& context, ScriptPrinter& printer)
{
    // A scene is set up for printing exactly as for counting its pages.
    PageCountEstimate::configurePrinter(context.format, context.run, printer);
}

void PrintRun::excludeUnprinted(const ScenarioContext& context, ScriptPrinter& printer,
                                const ScriptInfo& record)
{
    CharacterSelection::excludeUnprinted(context, printer, record);
}

bool PrintRun::keepsRecordOf(const std::string& fileName) const
{
    if (m_recorded)
        return m_recorded->count(fileName) > 0;
    return !m_selection;
}

FCString PrintRun::pageDestination() const
{
    FCString destination = m_context.run.destinationOr(m_context.folder);
    // Page folders are put directly behind the destination.
    if (!destination.isEmpty() && destination.view().back() != '/')
        destination.append("/");
    return destination;
}

PrintRun::SceneResult PrintRun::printScene(const FCString& fileName, const ScriptInfo& record)
{
    // Printed alone, a scene has pages of its own: a pipeline of its own for
    // PNG pages, and PDF files closed with the scene.
    const std::unique_ptr<PageSink> sink = sinkFor(m_context.run, pageDestination());
    RunContext pages(nullptr, m_watch);
    SceneResult result = printScene(fileName, record, *sink, pages);
    sink->finish();
    if (result.sinkScene >= 0)
        settle(result, *sink);
    return result;
}

PrintRun::SceneResult PrintRun::printScene(const FCString& fileName, const ScriptInfo& record,
                                           PageSink& sink, RunContext& context)
{
    SceneResult result;
    ScriptPrinter printer;
    configure(m_context, printer);
    printer.setLineSelection(m_selection, fileName.view());

    std::string path(m_context.folder.view());
    path.append(fileName.view());
    if (!guarded([&] { printer.load(path.c_str()); }))
        return result;
    result.read = true;
    // Exclusion works on the loaded character table, so it comes after load.
    excludeUnprinted(m_context, printer, record);
    drawScene(printer, result, sink, context);
    return result;
}

void PrintRun::drawScene(const ScriptPrinter& printer, SceneResult& result, PageSink& sink,
                         RunContext& context)
{
    SceneRenderer renderer(printer, sink, context);
    // Every device above the printer writes files, each under a name of its
    // scene's own in this run.
    if (writesFiles(m_context.run.device)) {
        result.pageName = distinctPageName(printer.sceneName());
        if (!result.pageName.isEmpty())
            renderer.setPageName(result.pageName);
    }

    result.sinkScene = sink.beginScene();
    // A scene stopped half-way by a failure does not count as printed; a
    // second cancel stops it after the page in progress.
    result.completed = guarded([&] { renderer.printAll(); }) && !renderer.stopped();
    result.interrupted = renderer.stopped();
    // The scene is printed once the last of its files is in place: PNG pages
    // still being encoded are waited for, and a script cut short by a stop or
    // a failure is not left as a file.
    sink.endScene(result.completed);
    result.pages = renderer.pages();
    settle(result, sink);
}

PrintRun::SceneResult PrintRun::commitScene(SceneDraft& draft, PageSink& sink, RunContext& context)
{
    if (auto* pdf = dynamic_cast<PdfScriptWriter*>(&sink); pdf && draft.pdf)
        return commitPdfScene(draft, *pdf, context);
    SceneResult result;
    result.read = true;
    auto* images = dynamic_cast<PageImageSink*>(&sink);
    if (!images) {
        // Laid out on a worker; drawn here, into the files and jobs the
        // run's sink holds in list order.
        drawScene(*draft.printer, result, sink, context);
        return result;
    }
    // Drawn and encoded on a worker: every page is filed here as if drawn
    // here, and the run's context hears of it and may stop the scene after
    // it.
    result.pageName = distinctPageName(draft.printer->sceneName());
    fileDrafted(result, draft.stopped, draft.pages.size(), sink, context,
                [&](std::size_t index) -> const PageSink::Page& {
                    DrawnPageSink::Drawn& drawn = draft.pages[index];
                    if (!result.pageName.isEmpty())
                        drawn.page.pageName = result.pageName;
                    images->putEncoded(std::move(drawn.file));
                    return drawn.page;
                });
    // The pages not filed take their temporaries with them.
    draft.pages.clear();
    return result;
}

void PrintRun::fileDrafted(SceneResult& result, bool stopped, std::size_t count, PageSink& sink,
                           RunContext& context,
                           const std::function<const PageSink::Page&(std::size_t)>& handOn)
{
    result.sinkScene = sink.beginScene();
    for (std::size_t index = 0; index < count; ++index) {
        const PageSink::Page& page = handOn(index);
        (void)sink.beginPage(page);
        ++result.pages;
        sink.endPage();
        if (context.pageDone(page, sink)) {
            stopped = true;
            break;
        }
    }
    result.completed = !stopped;
    result.interrupted = stopped;
    sink.endScene(result.completed);
    settle(result, sink);
}

PrintRun::SceneResult PrintRun::commitPdfScene(SceneDraft& draft, PdfScriptWriter& writer,
                                               RunContext& context)
{
    SceneResult result;
    result.read = true;
    const FCString& scene = draft.printer->sceneName();
    std::vector<PdfDraftSink::Drafted>& pages = draft.pdf->drafted();
    if (writer.grouping() == PdfScriptWriter::Grouping::PerScript && !pages.empty()) {
        // Its files are named and titled after the name the worker was
        // told; a scene whose pages go under another one (an earlier scene
        // was left out) is drawn here.
        const FCString name = freeName(m_pageNames, scene);
        if (pages.front().page.pageName.view() != (name.isEmpty() ? scene : name).view()) {
            Trace::write("PrintRun: a scene drafted under another name is drawn again\n");
            drawScene(*draft.printer, result, writer, context);
            return result;
        }
    }
    result.pageName = distinctPageName(scene);
    const FCString& filed = result.pageName.isEmpty() ? scene : result.pageName;
    fileDrafted(result, draft.stopped, pages.size(), writer, context,
                [&](std::size_t index) -> const PageSink::Page& {
                    PdfDraftSink::Drafted& drafted = pages[index];
                    drafted.page.pageName = filed;
                    if (drafted.script)
                        writer.putComplete(std::move(drafted.script));
                    if (drafted.recorded)
                        writer.putRecorded(std::move(drafted.recorded));
                    return drafted.page;
                });
    draft.pdf.reset();
    return result;
}

std::vector<FCString>
PrintRun::expectedPageNames(const std::vector<const ScriptInfo*>& records) const
{
    std::set<std::string> taken = m_pageNames;
    std::vector<FCString> names(records.size());
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (!records[index])
            continue;
        const FCString& scene = records[index]->sceneName();
        names[index] = freeName(taken, scene);
        taken.insert(fileSystemName(names[index].isEmpty() ? scene : names[index]));
    }
    return names;
}

void PrintRun::settle(SceneResult& result, const PageSink& sink) const
{
    result.lost = sink.lostPages(result.sinkScene);
    result.unprinted = m_context.run.device == OutputDevice::Printer ? result.lost : 0;
}

void PrintRun::printOnWorkers(WorkerPool& pool, const ScriptCatalogue& catalogue, PageSink& sink,
                              Progress& progress,
                              const std::function<bool(int index, SceneDraft* draft)>& commit)
{
    // What the workers read, taken from the catalogue before they start:
    // the file of each scene to print (empty for the others) and its record.
    const int entries = catalogue.count();
    std::vector<std::string> wanted(static_cast<std::size_t>(entries));
    std::vector<const ScriptInfo*> records(static_cast<std::size_t>(entries), nullptr);
    for (int index = 0; index < entries; ++index) {
        const FCString& fileName = catalogue.fileName(index);
        if (!catalogue.isTicked(index) || (m_selection && !m_selection->scene(fileName.view())))
            continue;
        wanted[static_cast<std::size_t>(index)] = fileName.toStdString();
        records[static_cast<std::size_t>(index)] = &catalogue.record(index);
    }
    // Page images are drawn and made files on the workers as well, staged
    // beside their final place; printer jobs are drawn here, into the jobs
    // that stay open.
    auto* images = dynamic_cast<PageImageSink*>(&sink);
    const std::string staging = images ? images->stagingFolder() : std::string();
    // PDF pages as well: per script into files of their own, with bundles
    // recorded, to be painted into them here.
    const bool pdf = m_context.run.device == OutputDevice::Pdf;
    const FCString destination = pageDestination();
    // Per script the page name is in the files' names and titles.
    const std::vector<FCString> pageNames = pdf && !m_context.run.bundleByActor
                                                ? expectedPageNames(records)
                                                : std::vector<FCString>(records.size());

    // Cancels are heard where a serial run hears them, at the pumps of this
    // thread, and take effect at the scene being handed on; while this
    // thread waits for that scene, it pumps too. Once the run ends there,
    // the scenes still being made ready stop after their page in progress
    // and are never handed on; a first cancel heard while waiting lets the
    // scene waited for go on, but none after it.
    std::atomic<bool> ended{false};
    std::atomic<int> lastWanted{entries};
    pool.map<SceneDraft>(
        entries,
        [&](int index, int) {
            const std::string& fileName = wanted[static_cast<std::size_t>(index)];
            if (fileName.empty())
                return SceneDraft();
            auto stop = [&, index] {
                if (m_workerWatch)
                    m_workerWatch(index);
                return ended.load() || index > lastWanted.load();
            };
            SceneDraft draft = SceneDraft::prepare(m_context, m_selection, fileName,
                                                   *records[static_cast<std::size_t>(index)],
                                                   images != nullptr, stop, staging);
            if (pdf)
                draft.drawPdf(m_context.run.bundleByActor, destination,
                              pageNames[static_cast<std::size_t>(index)], stop);
            return draft;
        },
        [&](int index, SceneDraft& draft) {
            bool goOn = false;
            try {
                goOn = commit(index, &draft);
            } catch (...) {
                ended = true;
                throw;
            }
            if (!goOn)
                ended = true;
            return goOn;
        },
        [&](int index) {
            progress.pumpWaiting();
            if (progress.stopRequested())
                ended = true;
            else if (progress.cancelled())
                lastWanted = index;
        });
}

PrintRun::Outcome PrintRun::printAll(const ScriptCatalogue& catalogue, Progress& progress)
{
    Outcome outcome;
    const int entries = catalogue.count();
    progress.setTitle(Sjis::of("台本の印刷"));
    progress.setText(Sjis::of("台本を印刷しています。"));
    progress.setupBar(true, 0, 0, entries);
    progress.setStepSize(1);
    progress.open(true);

    m_log.clear();
    m_log.reserve(InitialLogCapacity);
    m_log.append(openingLine());
    if (m_selection)
        m_log << partialLine(m_selection->headerSuffix());
    m_pageNames.clear();
    // After every page the progress pumps; a second cancel stops the scene.
    RunContext pages(&progress, m_watch);
    // One sink for every scene of the run: PNG pages drawn on this thread
    // have one encoder pipeline, whose workers start and stop once (each
    // scene still waits for its own files), and PDF bundles stay open from
    // scene to scene.
    const std::unique_ptr<PageSink> sink = sinkFor(m_context.run, pageDestination());
    outcome.pdf = m_context.run.device == OutputDevice::Pdf;

    // The scenes printed, logged once every file of the run is closed: a
    // bundle that fails at its close fails every scene in it.
    struct Printed {
        std::string fileName;
        SceneResult scene;
    };
    std::vector<Printed> printed;
    // What is printed is kept for the next comparison of versions.
    PrintRecord record(m_context.folder.view());
    // The window comes up now, before the first scene's fonts are loaded and
    // its text laid out, which takes long enough for the closed settings
    // form to linger on the screen with nothing answering.
    progress.pump();
    if (progress.cancelled())
        outcome.cancelled = true;

    const char* printing = Sjis::of("を印刷しています...");
    std::string text;
    // One entry of the list, in list order; false ends the run. A draft made
    // ready on a worker is handed on; without one the scene is printed here.
    auto commit = [&](int index, SceneDraft* draft) {
        const FCString& fileName = catalogue.fileName(index);
        text.assign(fileName.view());
        text.append(printing);
        progress.setText(text);

        // A partial run passes over the scenes it chooses nothing in.
        const bool chosen = !m_selection || m_selection->scene(fileName.view());
        if (catalogue.isTicked(index) && chosen) {
            record.noteRead(fileName.toStdString());
            printed.push_back({fileName.toStdString(),
                               draft && draft->prepared
                                   ? commitScene(*draft, *sink, pages)
                                   : printScene(fileName, catalogue.record(index), *sink, pages)});
            if (printed.back().scene.interrupted) {
                outcome.interrupted = true;
                outcome.cancelled = true;
                return false;
            }
        }

        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            outcome.cancelled = true;
            return false;
        }
        return true;
    };

    // At most one scene per worker is in flight: a scene of page images
    // keeps the files of the pages it has drawn until it is handed on, and
    // one of bundles its recorded pages. PDF scripts are whole files on the
    // disk by then, and what stays of their scene is its layout: two each,
    // so that a worker done before the scene ahead of its own goes on.
    const bool perScript =
        m_context.run.device == OutputDevice::Pdf && !m_context.run.bundleByActor;
    WorkerPool pool(entries > 1 ? m_context.format.jobs() : 1, perScript ? 2 : 1);
    // Bundles are painted on threads of their own, as many as the workers,
    // while this thread hands the next scene's pages on.
    if (auto* pdf = dynamic_cast<PdfScriptWriter*>(sink.get()); pdf && pool.jobs() > 1)
        pdf->writeBundlesOn(pool.jobs(),
                            QueuedBundlePagesPerThread * static_cast<std::size_t>(pool.jobs()));
    if (pool.jobs() == 1) {
        for (int index = 0; index < entries && !outcome.cancelled; ++index) {
            if (!commit(index, nullptr))
                break;
        }
    } else if (!outcome.cancelled) {
        printOnWorkers(pool, catalogue, *sink, progress, commit);
    }

    // The files still open close now: a bundle that fails at its close
    // loses the pages of every scene in it.
    sink->finish();
    for (Printed& entry : printed) {
        if (entry.scene.sinkScene >= 0)
            settle(entry.scene, *sink);
    }

    for (const Printed& entry : printed) {
        const SceneResult& scene = entry.scene;
        outcome.pages += scene.pages;
        outcome.pagesLost += scene.lost - scene.unprinted;
        outcome.pagesUnprinted += scene.unprinted;
        if (scene.interrupted) {
            m_log.append(entry.fileName);
            m_log.append(unfinishedSuffix());
        } else if (!scene.read || !scene.completed) {
            ++outcome.unreadable;
        } else if (m_selection && scene.pages == 0) {
            // Nothing chosen in it is printed (the characters are excluded):
            // the scene printed nothing and is not logged.
        } else if (scene.lost > 0) {
            ++outcome.failed;
            m_log.append(entry.fileName);
            m_log << failedSuffix(scene.lost);
        } else {
            ++outcome.printed;
            if (keepsRecordOf(entry.fileName) && !record.keep(entry.fileName))
                ++outcome.unrecorded;
            m_log.append(entry.fileName);
            if (scene.pageName.isEmpty())
                m_log.append(printedSuffix());
            else
                m_log << renamedSuffix(scene.pageName);
        }
    }

    if (!m_selection && outcome.printed == entries && outcome.unrecorded == 0) {
        std::vector<std::string> names;
        for (int index = 0; index < entries; ++index)
            names.push_back(catalogue.fileName(index).toStdString());
        record.keepOnly(names);
    }

    outcome.noPrinter = outcome.pagesUnprinted > 0;
    m_log << countLine(outcome.printed);
    if (outcome.interrupted)
        m_log.append(interruptedLine());
    else if (outcome.cancelled)
        m_log.append(cancelledLine());
    else if (outcome.failed > 0)
        m_log.append(incompleteLine());
    else
        m_log.append(completedLine());

    if (m_context.run.printLog()) {
        outcome.logWritten = FileReplacement::replace(m_context.run.logPath, m_log.view());
        outcome.logFailed = !outcome.logWritten;
        if (outcome.logWritten && m_opener)
            outcome.logOpened = m_opener(m_context.run.logPath);
    }
    progress.close();
    return outcome;
}
