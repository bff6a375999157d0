#pragma once

#include "fc/FCString.h"
#include "render/DrawnPageSink.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LineSelection;
class PdfDraftSink;
class ScriptInfo;
class ScriptPrinter;
struct ScenarioContext;

// One scene of a print run made ready on a worker thread: read and laid out
// as the run lays it out (its settings, the line selection, the run's
// exclusions) and, for page images, drawn as well, without a word to the
// user and without touching a file. The run's own thread then hands its
// pages on, scene after scene in list order, as if it had printed the scene
// itself.
//
// A scene the worker could not make ready quietly (its file asked something
// of the user, or reading or drawing raised) is marked to be printed again on
// the run's thread, which then tells the user exactly as before.
struct SceneDraft {
    // Reads the scene fileName (under the context's folder) and, with draw,
    // draws every page of it and makes each its file, staged in
    // stagingFolder (see DrawnPageSink). stop is asked after every page
    // drawn: true ends the drawing there.
    static SceneDraft prepare(const ScenarioContext& context, const LineSelection* selection,
                              const std::string& fileName, const ScriptInfo& record, bool draw,
                              const std::function<bool()>& stop,
                              const std::string& stagingFolder = std::string());

    // Draws the PDF pages of a prepared scene into destination, filed
    // under pageName (empty: the scene's own name; see PdfDraftSink): per
    // script whole files, with bundles recorded pages. When that cannot be
    // done quietly the draft keeps none, and the run's thread draws the
    // scene itself.
    void drawPdf(bool bundles, const FCString& destination, const FCString& pageName,
                 const std::function<bool()>& stop);

    SceneDraft();
    ~SceneDraft();
    SceneDraft(SceneDraft&&) noexcept;
    SceneDraft& operator=(SceneDraft&&) noexcept;

    bool prepared = false; // laid out (and drawn, when asked) quietly
    bool stopped = false;  // stop ended the drawing before the scene's end
    std::unique_ptr<ScriptPrinter> printer;
    std::vector<DrawnPageSink::Drawn> pages; // drawn and encoded, in order
    std::unique_ptr<PdfDraftSink> pdf;       // the PDF pages drawn, when drawn
};
