#include "batch/DeliveryOptions.h"

#include "app/MissingLines.h"
#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "ui/UxProgressDialog.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoicePatternSetting.h"

#include <cstring>
#include <filesystem>
#include <ostream>

bool DeliveryOptions::absoluteName(const std::string& given, const char* option, std::ostream& err,
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

std::optional<VoiceNumberPattern>
DeliveryOptions::numberPattern(FolderSession& session, const BatchArguments& args, int& status)
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

int DeliveryOptions::missingFromFolder(const BatchArguments& args, const char* usage,
                                       std::ostream& err, std::string& delivery)
{
    delivery.clear();
    const auto given = args.value("missing-from");
    if (!given) {
        if (args.has("pattern"))
            return args.refuse(err, usage, "--pattern: goes with --missing-from only");
        return 0;
    }
    if (!absoluteName(*given, "--missing-from", err, delivery))
        return FolderSession::Failed;
    if (!std::filesystem::is_directory(delivery)) {
        err << "quillon-batch: --missing-from: no such folder: " << *given << "\n";
        return FolderSession::Failed;
    }
    return 0;
}

int DeliveryOptions::missingLines(FolderSession& session, const BatchArguments& args,
                                  const std::string& delivery, LineSelection& selection,
                                  bool& failed)
{
    int status = FolderSession::Done;
    const std::optional<VoiceNumberPattern> pattern = numberPattern(session, args, status);
    if (!pattern)
        return status;
    UxProgressDialog progress(session.environment().progressView());
    const MissingLines::Outcome outcome = MissingLines::build(
        session.catalogue(), std::string(session.app().scenarioFolder().view()),
        session.app().suppressedCharacters(), delivery, *pattern, progress, selection);
    std::ostream& err = session.err();
    switch (outcome.status) {
    case MissingLines::Status::Cancelled:
        return BatchInterrupt::CancelledStatus;
    case MissingLines::Status::DeliveryUnreadable:
        err << "quillon-batch: cannot read " << delivery << ": " << std::strerror(outcome.error)
            << "\n";
        return FolderSession::Failed;
    case MissingLines::Status::Done:
        break;
    }
    for (const std::string& scene : outcome.unreadableScenes) {
        err << "quillon-batch: cannot read " << TextCodec::toUtf8(scene)
            << "; its lines are not checked\n";
        failed = true;
    }
    err << "quillon-batch: " << outcome.missing << " line(s) missing and " << outcome.broken
        << " with broken files only in " << delivery << "\n";
    return FolderSession::Done;
}
