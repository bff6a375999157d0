#include "reports/SceneDraft.h"

#include "document/ScriptInfo.h"
#include "format/RunSettings.h"
#include "platform/SilentPrompt.h"
#include "render/PdfDraftSink.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"
#include "reports/CharacterSelection.h"
#include "reports/PageCountEstimate.h"
#include "reports/ScenarioContext.h"

SceneDraft::SceneDraft() = default;
SceneDraft::~SceneDraft() = default;
SceneDraft::SceneDraft(SceneDraft&&) noexcept = default;
SceneDraft& SceneDraft::operator=(SceneDraft&&) noexcept = default;

SceneDraft SceneDraft::prepare(const ScenarioContext& context, const LineSelection* selection,
                               const std::string& fileName, const ScriptInfo& record, bool draw,
                               const std::function<bool()>& stop, const std::string& stagingFolder)
{
    SceneDraft draft;
    // Whatever the file layer would put to the user is held back; the scene
    // is then printed again where the user can be asked.
    SilentPrompt silent;
    Prompt::ThreadScope quiet(silent);
    try {
        auto printer = std::make_unique<ScriptPrinter>();
        // Set up as the run's thread sets a scene up, traces included.
        PageCountEstimate::configurePrinter(context.format, context.run, *printer);
        printer->setLineSelection(selection, fileName);
        const std::string path = std::string(context.folder.view()) + fileName;
        printer->load(path.c_str());
        CharacterSelection::excludeUnprinted(context, *printer, record);
        if (draw) {
            DrawnPageSink sink(context.run.device == OutputDevice::Png, stagingFolder);
            RunContext pages;
            pages.setStopCheck(stop);
            SceneRenderer renderer(*printer, sink, pages);
            sink.beginScene();
            renderer.printAll();
            draft.stopped = renderer.stopped();
            sink.endScene(!draft.stopped);
            draft.pages = std::move(sink.drawn());
        }
        draft.printer = std::move(printer);
    } catch (...) {
        return SceneDraft();
    }
    if (silent.asked())
        return SceneDraft();
    draft.prepared = true;
    return draft;
}

void SceneDraft::drawPdf(bool bundles, const FCString& destination, const FCString& pageName,
                         const std::function<bool()>& stop)
{
    if (!prepared)
        return;
    SilentPrompt silent;
    Prompt::ThreadScope quiet(silent);
    try {
        auto sink = std::make_unique<PdfDraftSink>(
            bundles ? PdfDraftSink::Form::Pages : PdfDraftSink::Form::Files, destination);
        RunContext pages;
        pages.setStopCheck(stop);
        SceneRenderer renderer(*printer, *sink, pages);
        if (!pageName.isEmpty())
            renderer.setPageName(pageName);
        sink->beginScene();
        renderer.printAll();
        stopped = renderer.stopped();
        sink->endScene(!stopped);
        if (!sink->failed() && !silent.asked())
            pdf = std::move(sink);
    } catch (...) {
        // Drawn again where what raised can be told.
    }
}
