#include "app/MissingLines.h"

#include "app/DeliveryCheck.h"
#include "fc/Progress.h"
#include "render/LineSelection.h"

const char* MissingLines::headerSuffix()
{
    return DeliveryCheck::missingHeaderSuffix();
}

MissingLines::Outcome
MissingLines::build(const ScriptCatalogue& catalogue, const std::string& folder,
                    const SuppressedCharacters& suppressed, const std::string& delivery,
                    const VoiceNumberPattern& pattern, Progress& progress, LineSelection& selection)
{
    Outcome outcome;
    selection = LineSelection();
    selection.setHeaderSuffix(headerSuffix());

    DeliveryCheck check(catalogue, folder, suppressed);
    for (int scene : check.unreadableScenes())
        outcome.unreadableScenes.push_back(check.fileName(scene));
    bool cancelled = false;
    if (const int error = check.scan(delivery, pattern, std::string(), progress, cancelled)) {
        outcome.status = Status::DeliveryUnreadable;
        outcome.error = error;
        return outcome;
    }
    if (cancelled || !check.check(false, progress)) {
        outcome.status = Status::Cancelled;
        return outcome;
    }
    for (const VoiceCheck::Line& line : check.result().lines) {
        if (line.state == VoiceCheck::State::Missing)
            ++outcome.missing;
        else if (line.state == VoiceCheck::State::Broken)
            ++outcome.broken;
    }
    check.selectMissing(selection);
    return outcome;
}
