#include "batch/VoicesCommand.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "document/ScriptCatalogue.h"
#include "fc/FCXListIterator.h"
#include "fc/FileReplacement.h"
#include "platform/FileTransfer.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "reports/CheckListText.h"
#include "ui/UxProgressDialog.h"
#include "voices/DeliveryScan.h"
#include "voices/SpeakerLines.h"
#include "voices/VoiceCheck.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoicePatternSetting.h"
#include "voices/VoiceReport.h"
#include "voices/VoiceSorter.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>

namespace {

// A folder or file named on the command line: its absolute native form,
// which must have a Shift-JIS form too (the reports and the log name it).
bool absoluteName(const std::string& given, const char* option, std::ostream& err,
                  std::string& native)
{
    std::string cp932;
    if (!TextCodec::fromUtf8Exact(given, cp932)) {
        err << "quillon-batch: " << option << ": the name cannot be written in Shift-JIS: " << given
            << "\n";
        return false;
    }
    std::error_code failed;
    std::filesystem::path path = std::filesystem::absolute(given, failed);
    if (failed) {
        err << "quillon-batch: " << option << ": " << given << ": " << failed.message() << "\n";
        return false;
    }
    // Resolved where it exists, so that "." and ".." read well and a link
    // names the folder it leads to.
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, failed);
    native = (failed ? path.lexically_normal() : resolved).string();
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    return true;
}

// The ticked scenes as the check takes them: their files and scene names.
// A scene without a name of its own goes by its file name.
std::vector<SceneFile> chosenScenes(FolderSession& session)
{
    std::vector<SceneFile> scenes;
    const ScriptCatalogue& catalogue = session.catalogue();
    const std::string folder(session.app().scenarioFolder().view());
    for (int i = 0; i < catalogue.count(); ++i) {
        if (!catalogue.isTicked(i))
            continue;
        const std::string file(catalogue.fileName(i).view());
        std::string scene(catalogue.record(i).sceneName().view());
        if (scene.empty())
            scene = CheckListText::sceneName(file);
        scenes.push_back({folder + file, scene});
    }
    return scenes;
}

std::optional<VoiceNumberPattern> numberPattern(FolderSession& session, const BatchArguments& args,
                                                int& status)
{
    const std::string folder(session.app().scenarioFolder().view());
    std::string error;
    if (auto given = args.value("pattern")) {
        auto pattern = VoiceNumberPattern::compile(*given, error);
        if (!pattern) {
            session.err() << "quillon-batch: --pattern: " << error << "\n";
            status = FolderSession::BadArguments;
            return std::nullopt;
        }
        if (!VoicePatternSetting::save(folder, *given))
            session.err() << "quillon-batch: --pattern: not kept in the folder's settings file\n";
        return pattern;
    }
    const std::string stored = VoicePatternSetting::load(folder);
    auto pattern = VoiceNumberPattern::compile(stored, error);
    if (!pattern) {
        session.err() << "quillon-batch: the folder's " << VoicePatternSetting::Key << " \""
                      << stored << "\": " << error << " (give --pattern)\n";
        status = FolderSession::Failed;
    }
    return pattern;
}

int sortFiles(FolderSession& session, const VoiceSortPlan::Input& input, bool move)
{
    std::vector<int> unsortable;
    const std::vector<SortItem> items = VoiceSortPlan::make(input, &unsortable);
    std::ostream& err = session.err();
    for (int line : unsortable)
        err << "quillon-batch: not sorted: the names of line "
            << TextCodec::toUtf8(input.lines[std::size_t(line)].label)
            << " have no file-system form\n";
    VoiceSorter sorter(input.destination, move, session.environment().clock());
    UxProgressDialog progress(session.environment().progressView());
    const VoiceSorter::Outcome outcome = sorter.run(items, progress);
    for (const std::string& error : sorter.errors())
        err << "quillon-batch: " << error << "\n";
    const VoiceSorter::Counts& counts = sorter.counts();
    err << "quillon-batch: sorted into " << input.destination << ": " << counts.copied
        << " copied, " << counts.moved << " moved, " << counts.alreadyThere << " already there, "
        << counts.keptBeside << " kept beside another of its name, " << counts.failed
        << " failed\n";
    if (outcome == VoiceSorter::Outcome::Cancelled) {
        err << "quillon-batch: interrupted; the same command again completes the sort\n";
        return BatchInterrupt::CancelledStatus;
    }
    if (outcome != VoiceSorter::Outcome::Done || !unsortable.empty())
        return FolderSession::Failed;
    return FolderSession::Done;
}

} // namespace

int VoicesCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    const auto destinationGiven = args.value("sort");
    if (!destinationGiven && (args.has("move") || args.has("by-scene")))
        return args.refuse(err, usage, "--move and --by-scene sort: give --sort DEST");

    std::string delivery, destination, csv;
    if (!absoluteName(args.positional()[1], "DELIVERY", err, delivery))
        return FolderSession::Failed;
    if (!std::filesystem::is_directory(delivery)) {
        err << "quillon-batch: no such folder: " << args.positional()[1] << "\n";
        return FolderSession::Failed;
    }
    if (auto file = args.value("csv"); file && !absoluteName(*file, "--csv", err, csv))
        return FolderSession::Failed;
    if (destinationGiven && !absoluteName(*destinationGiven, "--sort", err, destination))
        return FolderSession::Failed;
    std::error_code ignored;
    if (destinationGiven && std::filesystem::equivalent(delivery, destination, ignored))
        return args.refuse(err, usage, "--sort: DEST must not be the delivery folder itself");

    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    int status = FolderSession::Done;
    const std::optional<VoiceNumberPattern> pattern = numberPattern(session, args, status);
    if (!pattern)
        return status;
    // Made before the walk, so that the walk knows it when it lies inside
    // the delivery and leaves the sorted files alone.
    if (destinationGiven) {
        if (uint32_t error = FileTransfer::makeFolders(destination)) {
            err << "quillon-batch: --sort: cannot make " << destination << " (error " << error
                << ")\n";
            return FolderSession::Failed;
        }
    }

    const std::vector<SceneFile> scenes = chosenScenes(session);
    SpeakerLines::Result read = SpeakerLines::read(scenes);
    for (int scene : read.unreadable)
        err << "quillon-batch: cannot read " << TextCodec::toUtf8(scenes[std::size_t(scene)].path)
            << "; its lines are not checked\n";
    // Suppressed characters have no scripts, so nothing is recorded for them.
    const SuppressedCharacters& suppressed = session.app().suppressedCharacters();
    std::vector<SpeakerLine> lines;
    for (SpeakerLine& line : read.lines) {
        if (!suppressed.contains(line.character))
            lines.push_back(std::move(line));
    }
    std::vector<std::string> order;
    FCXListIterator<FCIdString> walk(session.app().scenarioTotals().characters());
    while (const FCIdString* character = walk.next())
        order.emplace_back(character->view());
    std::vector<std::string> sceneNames;
    for (const SceneFile& scene : scenes)
        sceneNames.push_back(scene.sceneName);

    Delivery found;
    bool cancelled = false;
    {
        UxProgressDialog progress(session.environment().progressView());
        progress.setTitle(Sjis::of("納品音声の確認"));
        progress.setText(Sjis::of("納品フォルダを調べています。"));
        progress.open(true);
        if (int error =
                DeliveryScan::scan(delivery, *pattern, destination, progress, found, cancelled)) {
            err << "quillon-batch: cannot read " << delivery << ": " << std::strerror(error)
                << "\n";
            return FolderSession::Failed;
        }
    }
    if (cancelled)
        return BatchInterrupt::CancelledStatus;
    for (const DeliverySkip& skip : found.skipped)
        err << "quillon-batch: skipped " << delivery << "/" << skip.path << ": "
            << DeliveryScan::reasonText(skip) << "\n";

    const bool checkContent = args.has("check-content");
    UxProgressDialog progress(session.environment().progressView());
    const VoiceCheck::Result result = VoiceCheck::run(
        lines, found, order,
        [&](const DeliveredFile& file) {
            return AudioProbe::probe(delivery + "/" + file.path, checkContent);
        },
        progress);
    if (result.cancelled)
        return BatchInterrupt::CancelledStatus;

    const VoiceReport::Input report{lines, sceneNames, found, result};
    out << VoiceReport::table(report) << std::flush;
    if (!read.unreadable.empty())
        status = FolderSession::Failed;
    if (!csv.empty() &&
        !FileReplacement::replace(FCString(std::string_view(TextCodec::fromUtf8(csv))),
                                  VoiceReport::csv(report)))
        status = FolderSession::Failed;
    if (destinationGiven) {
        const int sorted = sortFiles(
            session,
            {lines, sceneNames, found, result, delivery, destination, args.has("by-scene")},
            args.has("move"));
        if (sorted == BatchInterrupt::CancelledStatus)
            return sorted;
        if (sorted != FolderSession::Done)
            status = sorted;
    }
    if (status == FolderSession::Done && !result.complete())
        status = Incomplete;
    return session.finish(status);
}
