#pragma once

#include "fc/FCString.h"
#include "render/PageSink.h"
#include "render/PdfDocument.h"
#include "render/RecordedCairoPage.h"

#include <memory>
#include <string>
#include <vector>

class CairoDeviceContext;

// The PDF pages of a scene drawn away from the run's PdfScriptWriter, on a
// thread of their own, to be handed to it in order later (putComplete,
// putRecorded) as if drawn there.
//
// Files: each script is written completely into a file of its own, named
// and titled as the writer names and titles it per script, but left under
// a temporary name in the nearest folder of the destination that exists
// (the writer gives it its name, after making its folder), and on the disk
// once the scene has ended; nothing else is made on the disk. Pages: each page is recorded, for a
// bundle that only the writer's thread may draw into.
//
// A file that cannot be written here marks the sink failed: the scene is
// then drawn by the writer itself, which tells what fails. Files not handed
// on are removed with the sink.
class PdfDraftSink : public PageSink {
public:
    enum class Form {
        Files,
        Pages,
    };

    struct Drafted {
        Page page;
        std::unique_ptr<PdfDocument> script;         // Files: with a script's first page
        std::unique_ptr<RecordedCairoPage> recorded; // Pages
    };

    // The destination folder ends with "/".
    PdfDraftSink(Form form, const FCString& destination);
    ~PdfDraftSink() override;

    bool failed() const { return m_failed; }
    // The pages drawn, in order.
    std::vector<Drafted>& drafted() { return m_drafted; }

    // The folder itself when it exists, else the nearest one above it that
    // does (ending with "/"); empty when none does.
    static std::string existingFolder(const FCString& folder);

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    Form m_form;
    FCString m_destination;
    std::string m_temporaryFolder;
    std::vector<Drafted> m_drafted;
    PdfDocument* m_script = nullptr; // the script being written
    std::unique_ptr<CairoDeviceContext> m_page;
    bool m_lastOfScript = false;
    bool m_failed = false;
};
