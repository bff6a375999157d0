#include "batch/PrintCommand.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/DeliveryOptions.h"
#include "batch/FolderSession.h"
#include "batch/TypesettingArguments.h"
#include "document/ScriptCatalogue.h"
#include "fc/FCPathName.h"
#include "format/PrintFormat.h"
#include "platform/DesktopOpener.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "reports/PrintRecord.h"
#include "reports/PrintRun.h"
#include "ui/UxProgressDialog.h"

#include <cassert>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

namespace {

// The text of an option as a CP932 absolute path (a folder ends with "/");
// false, with the option and the reason told, when Shift-JIS cannot write
// it.
bool absolutePath(const char* option, const std::string& utf8, bool folder, std::string& out,
                  std::ostream& err)
{
    std::string cp932;
    if (utf8.empty()) {
        err << "quillon-batch: --" << option << ": an empty name\n";
        return false;
    }
    if (!TextCodec::fromUtf8Exact(utf8, cp932)) {
        err << "quillon-batch: --" << option
            << ": the name cannot be written in Shift-JIS: " << utf8 << "\n";
        return false;
    }
    FCPathName path{FCString(cp932)};
    if (!path.isAbsolute()) {
        err << "quillon-batch: --" << option << ": cannot resolve " << utf8 << "\n";
        return false;
    }
    if (folder)
        path.addSeparator();
    out = path.string().toStdString();
    return true;
}

} // namespace

int PrintCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                      std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    std::optional<long> jobs;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    if (!args.wholeNumber("jobs", 0, jobs))
        return args.refuse(err, usage);

    // The parse has allowed only the values the options table names.
    OutputDevice device = OutputDevice::Png;
    if (auto given = args.value("device")) {
        if (*given == "bmp")
            device = OutputDevice::Bmp;
        else if (*given == "pdf")
            device = OutputDevice::Pdf;
        else if (*given == "printer")
            device = OutputDevice::Printer;
        else
            assert(*given == "png" && "PrintCommand: a --device value without its device");
    }
    if (args.has("no-log") && (args.has("log") || args.has("open-log")))
        return args.refuse(err, usage, "--no-log: goes with neither --log nor --open-log");
    if (args.has("changes-from") && args.has("since-print"))
        return args.refuse(err, usage, "--changes-from and --since-print: give one of them");
    if (args.has("missing-from") && ChangeSelection::asked(args))
        return args.refuse(err, usage,
                           "--missing-from: goes with neither --changes-from nor --since-print");
    if (args.has("bundle-by-actor") && device != OutputDevice::Pdf)
        return args.refuse(err, usage, "--bundle-by-actor: goes with --device pdf only");

    std::string delivery;
    if (int status = DeliveryOptions::missingFromFolder(args, usage, err, delivery))
        return status;
    std::string destination, logPath;
    if (auto given = args.value("dest")) {
        if (!absolutePath("dest", *given, true, destination, err))
            return FolderSession::Failed;
    }
    if (auto given = args.value("log")) {
        if (!absolutePath("log", *given, false, logPath, err))
            return FolderSession::Failed;
    }

    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    // The lines still to record, before anything is printed.
    LineSelection missing;
    bool checkFailed = false;
    if (!delivery.empty()) {
        if (int status =
                DeliveryOptions::missingLines(session, args, delivery, missing, checkFailed))
            return status;
    }

    Quillon& app = session.app();
    app.setOutputDevice(device);
    app.setBundleByActor(args.has("bundle-by-actor"));
    if (!destination.empty())
        app.setDestinationFolder(destination);
    if (!logPath.empty())
        app.setLogPath(logPath);
    app.setGenericScript(args.has("generic"));
    app.setCommentEmphasis(!args.has("no-emphasis"));
    app.setPrintLog(!args.has("no-log"));
    // For this run only: nothing writes the settings file after the load.
    TypesettingOptions typesetting = app.printFormat().typesetting();
    TypesettingArguments::apply(args, typesetting);
    app.printFormat().setTypesetting(typesetting);
    // Over the folder's print.jobs setting, likewise.
    if (jobs)
        app.printFormat().setJobs(static_cast<int>(*jobs));

    LineSelection selection;
    std::set<std::string> recordable;
    if (int status = ChangeSelection::fromArguments(session, args, selection, &recordable))
        return status;

    PrintRun run(app.context());
    if (!delivery.empty()) {
        run.setLineSelection(&missing);
    } else if (ChangeSelection::asked(args)) {
        run.setLineSelection(&selection);
        if (args.has("since-print"))
            run.setRecordedScenes(std::move(recordable));
    }
    if (args.has("open-log"))
        run.setOpener([](const FCString& path) { return DesktopOpener::open(path.view()); });
    const int fileFailuresBefore = session.fileFailures();
    const ScriptCatalogue& catalogue = session.catalogue();
    int chosen = 0;
    for (int index = 0; index < catalogue.count(); ++index)
        chosen += catalogue.isTicked(index) ? 1 : 0;
    UxProgressDialog progress(session.environment().progressView());
    const PrintRun::Outcome outcome = run.printAll(catalogue, progress);

    out << outcome.printed << " scene(s) printed, " << outcome.pages << " page(s)";
    if (writesFiles(device))
        out << " in " << TextCodec::toUtf8(app.destinationOrScenarioFolder().view());
    if (outcome.cancelled) {
        // Every scene the run finished, whatever became of it; a scene a
        // second Ctrl-C stopped within is not among them.
        const int finished = outcome.printed + outcome.failed + outcome.unreadable;
        out << ", interrupted after " << finished << " of " << chosen << " scenes";
    }
    out << "\n";
    if (outcome.logWritten)
        out << "log: " << TextCodec::toUtf8(app.logPath().view()) << "\n";

    bool failed = checkFailed || session.fileFailures() > fileFailuresBefore;
    if (outcome.unreadable > 0) {
        err << "quillon-batch: " << outcome.unreadable
            << " scene(s) could not be read; they are not logged as printed\n";
        failed = true;
    }
    if (const int lost = outcome.pagesLost; lost > 0) {
        if (device == OutputDevice::Pdf)
            err << "quillon-batch: " << lost
                << " page(s) went into PDF files that could not be written\n";
        else
            err << "quillon-batch: " << lost << " page file(s) could not be written\n";
        failed = true;
    }
    if (outcome.noPrinter) {
        err << "quillon-batch: no printer was reached: " << outcome.pagesUnprinted
            << " page(s) were not printed\n";
        failed = true;
    }
    if (outcome.failed > 0) {
        err << "quillon-batch: " << outcome.failed
            << " scene(s) lost pages; the log names them as not printed\n";
        failed = true;
    }
    if (outcome.interrupted)
        err << "quillon-batch: the print run was stopped within a scene; "
               "that scene is not complete\n";
    // The pages are printed; only the next comparison lacks them.
    if (outcome.unrecorded > 0)
        err << "quillon-batch: " << outcome.unrecorded
            << " printed scene(s) could not be kept in the print record "
            << TextCodec::toUtf8(PrintRecord::folderOf(app.scenarioFolder().view())) << "\n";
    if (outcome.logFailed) {
        err << "quillon-batch: the print log could not be written: "
            << TextCodec::toUtf8(app.logPath().view()) << "\n";
        failed = true;
    }
    if (outcome.logWritten && args.has("open-log") && !outcome.logOpened) {
        err << "quillon-batch: xdg-open could not show the print log\n";
        failed = true;
    }
    if (outcome.cancelled)
        return BatchInterrupt::CancelledStatus;
    return session.finish(failed ? FolderSession::Failed : FolderSession::Done);
}
