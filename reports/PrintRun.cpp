#include "reports/PrintRun.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "fc/FCXListIterator.h"
#include "fc/FileReplacement.h"
#include "fc/Progress.h"
#include "format/PrintFormat.h"
#include "format/RunSettings.h"
#include "format/SuppressedCharacters.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/PngWriter.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "render/PageFileCheck.h"
#include "render/PageFileName.h"
#include "render/PageObserver.h"
#include "render/PdfScriptWriter.h"
#include "render/ScriptPrinter.h"
#include "reports/PageCountEstimate.h"
#include "reports/ScenarioContext.h"

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The log is built in memory and written once at the end; this covers the
// log of a few thousand scenes without growing.
constexpr int32_t InitialLogCapacity = 65536;

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

PdfScriptWriter::Grouping pdfGrouping(const RunSettings& run)
{
    return run.bundleByActor ? PdfScriptWriter::Grouping::ByActor
                             : PdfScriptWriter::Grouping::PerScript;
}

// Raised after a page when the user has pressed cancel a second time: the
// scene stops there instead of running to its end.
struct PrintStopped {};

// Lets the progress dialog process what is pending after every page, since
// one scene can run to hundreds of pages and the window must go on
// repainting meanwhile. A first cancel is only noted: the run reads the flag
// between scenes. A second one stops the scene after this page. Pages are
// passed on to the observer this one displaced.
class ProgressPump : public PageObserver {
public:
    explicit ProgressPump(Progress& progress) : m_progress(progress) {}
    DeviceContext* pageOpened(const Page& page, DeviceContext* dc) override
    {
        return previous() ? previous()->pageOpened(page, dc) : dc;
    }
    void pageClosed(const Page& page, const PageDevice& device) override
    {
        if (previous())
            previous()->pageClosed(page, device);
        m_progress.pump();
        if (m_progress.stopRequested())
            throw PrintStopped{};
    }

private:
    Progress& m_progress;
};

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

FCString PrintRun::distinctPageName(const FCString& scene)
{
    // Names are compared as the file system will see them.
    if (m_pageNames.insert(PageFileName::safeName(scene.view()).toStdString()).second)
        return FCString();
    for (int n = 2;; ++n) {
        FCString name(scene);
        name.append("(");
        name.appendNumber(n);
        name.append(")");
        if (m_pageNames.insert(PageFileName::safeName(name.view()).toStdString()).second)
            return name;
    }
}

void PrintRun::configure(const ScenarioContext& context, ScriptPrinter& printer)
{
    // A scene is set up for printing exactly as for counting its pages.
    PageCountEstimate::configurePrinter(context.format, context.run, printer);
}

void PrintRun::excludeUnprinted(const ScenarioContext& context, ScriptPrinter& printer,
                                const ScriptInfo& record)
{
    for (const FCString& name : context.suppressed.names()) {
        if (!printer.exclude(name))
            Trace::write("PrintRun: no exclusion slot left for a suppressed character\n");
    }
    if (record.printTargetCount() >= record.characterCount())
        return;
    FCXListIterator<FCIdString> characters(record.characters());
    while (const FCIdString* character = characters.next()) {
        if (record.isPrintTarget(character->view()))
            continue;
        if (!printer.exclude(FCString(character->view())))
            Trace::write("PrintRun: no exclusion slot left for a character\n");
    }
}

PrintRun::SceneResult PrintRun::printScene(const FCString& fileName, const ScriptInfo& record)
{
    SceneResult result;
    ScriptPrinter printer;
    configure(m_context, printer);

    std::string path(m_context.folder.view());
    path.append(fileName.view());
    if (!guarded([&] { printer.load(path.c_str()); }))
        return result;
    result.read = true;

    // Every device above the printer writes page files, so each of them
    // gets the destination; none may write relative to the working folder.
    const OutputDevice device = m_context.run.device;
    if (writesFiles(device)) {
        FCString destination = m_context.run.destinationOr(m_context.folder);
        // Page folders are put directly behind the destination.
        if (!destination.isEmpty() && destination.view().back() != '/')
            destination.append("/");
        printer.setDestinationFolder(destination);
        result.pageName = distinctPageName(printer.sceneName());
        if (!result.pageName.isEmpty())
            printer.setPageName(result.pageName);
    }
    // Exclusion works on the loaded character table, so it comes after load.
    excludeUnprinted(m_context, printer, record);
    // PDF pages go into the run's files (or, for a scene printed alone,
    // files of its own, closed with the scene).
    std::optional<PdfScriptWriter> ownPdf;
    PdfScriptWriter* pdf = nullptr;
    if (device == OutputDevice::Pdf) {
        pdf = m_pdf ? m_pdf : &ownPdf.emplace(pdfGrouping(m_context.run));
        result.pdfScene = pdf->beginScene();
        printer.setPdfWriter(pdf);
    }
    PageFileCheck check;
    {
        // PNG pages are encoded side by side in the background, by the
        // run's pipeline (or one of the scene's own when it is printed
        // alone); the scene is printed once the last of its files is in
        // place, so its pages are checked after the pipeline has caught up.
        std::optional<PngWriter::Pipeline> own;
        PngWriter::Pipeline* pages = nullptr;
        if (device == OutputDevice::Png) {
            pages = PngWriter::Pipeline::current();
            if (!pages)
                pages = &own.emplace();
        }
        try {
            // A scene stopped half-way by a failure does not count as printed.
            result.completed = guarded([&] { printer.printAll(device); });
        } catch (const PrintStopped&) {
            result.interrupted = true;
        }
        if (pages)
            pages->finish();
    }
    if (pdf) {
        // A script cut short by a stop or a failure is not left as a file.
        pdf->endScene(result.completed);
        if (ownPdf)
            ownPdf->finish();
        result.pdfLost = pdf->lostPages(result.pdfScene);
    }
    result.pages = check.pages();
    result.unprinted = check.unprinted();
    result.lost = check.failed() + result.unprinted + result.pdfLost;
    return result;
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
    m_pageNames.clear();
    ProgressPump pagePump(progress);
    // One encoder pipeline for every scene of the run, so that its workers
    // start and stop once; each scene still waits for its own files.
    std::optional<PngWriter::Pipeline> pngPages;
    if (m_context.run.device == OutputDevice::Png)
        pngPages.emplace();
    // The run's PDF files; bundles stay open from scene to scene.
    std::optional<PdfScriptWriter> pdfFiles;
    if (m_context.run.device == OutputDevice::Pdf) {
        pdfFiles.emplace(pdfGrouping(m_context.run));
        m_pdf = &*pdfFiles;
        outcome.pdf = true;
    }

    // The scenes printed, logged once every file of the run is closed: a
    // bundle that fails at its close fails every scene in it.
    struct Printed {
        std::string fileName;
        SceneResult scene;
    };
    std::vector<Printed> printed;
    // The window comes up now, before the first scene's fonts are loaded and
    // its text laid out, which takes long enough for the closed settings
    // form to linger on the screen with nothing answering.
    progress.pump();
    if (progress.cancelled())
        outcome.cancelled = true;

    const char* printing = Sjis::of("を印刷しています...");
    std::string text;
    for (int index = 0; index < entries && !outcome.cancelled; ++index) {
        const FCString& fileName = catalogue.fileName(index);
        text.assign(fileName.view());
        text.append(printing);
        progress.setText(text);

        if (catalogue.isTicked(index)) {
            printed.push_back(
                {fileName.toStdString(), printScene(fileName, catalogue.record(index))});
            if (printed.back().scene.interrupted) {
                outcome.interrupted = true;
                outcome.cancelled = true;
                break;
            }
        }

        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            outcome.cancelled = true;
            break;
        }
    }

    if (pdfFiles) {
        pdfFiles->finish();
        m_pdf = nullptr;
        for (Printed& entry : printed) {
            if (entry.scene.pdfScene < 0)
                continue;
            const int lost = pdfFiles->lostPages(entry.scene.pdfScene);
            entry.scene.lost += lost - entry.scene.pdfLost;
            entry.scene.pdfLost = lost;
        }
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
        } else if (scene.lost > 0) {
            ++outcome.failed;
            m_log.append(entry.fileName);
            m_log << failedSuffix(scene.lost);
        } else {
            ++outcome.printed;
            m_log.append(entry.fileName);
            if (scene.pageName.isEmpty())
                m_log.append(printedSuffix());
            else
                m_log << renamedSuffix(scene.pageName);
        }
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
