#include "app/MissingLines.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/Progress.h"
#include "format/SuppressedCharacters.h"
#include "platform/AudioProbe.h"
#include "platform/Sjis.h"
#include "render/LineSelection.h"
#include "voices/DeliveryScan.h"
#include "voices/SpeakerLines.h"
#include "voices/VoiceCheck.h"

const char* MissingLines::headerSuffix()
{
    return Sjis::of("未収録");
}

MissingLines::Outcome
MissingLines::build(const ScriptCatalogue& catalogue, const std::string& folder,
                    const SuppressedCharacters& suppressed, const std::string& delivery,
                    const VoiceNumberPattern& pattern, Progress& progress, LineSelection& selection)
{
    Outcome outcome;
    selection = LineSelection();
    selection.setHeaderSuffix(headerSuffix());

    // The ticked scenes, as a print run takes them; scenes are named by
    // their file names, which is how the run asks for them.
    std::vector<SceneFile> scenes;
    std::vector<std::string> fileNames;
    for (int i = 0; i < catalogue.count(); ++i) {
        if (!catalogue.isTicked(i))
            continue;
        const std::string file(catalogue.fileName(i).view());
        scenes.push_back({folder + file, std::string(catalogue.record(i).sceneName().view())});
        fileNames.push_back(file);
    }
    SpeakerLines::Result read = SpeakerLines::read(scenes);
    for (int scene : read.unreadable)
        outcome.unreadableScenes.push_back(fileNames[std::size_t(scene)]);
    std::vector<SpeakerLine> lines;
    for (SpeakerLine& line : read.lines) {
        if (!suppressed.contains(line.character))
            lines.push_back(std::move(line));
    }

    Delivery found;
    bool cancelled = false;
    progress.setTitle(Sjis::of("納品音声の確認"));
    progress.setText(Sjis::of("納品フォルダを調べています。"));
    progress.open(true);
    const int error =
        DeliveryScan::scan(delivery, pattern, std::string(), progress, found, cancelled);
    progress.close();
    if (error) {
        outcome.status = Status::DeliveryUnreadable;
        outcome.error = error;
        return outcome;
    }
    if (cancelled) {
        outcome.status = Status::Cancelled;
        return outcome;
    }

    // The table's order of characters does not matter here.
    const VoiceCheck::Result checked = VoiceCheck::run(
        lines, found, {},
        [&](const DeliveredFile& file) {
            return AudioProbe::probe(delivery + "/" + file.path, false);
        },
        progress);
    if (checked.cancelled) {
        outcome.status = Status::Cancelled;
        return outcome;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const VoiceCheck::State state = checked.lines[i].state;
        if (state != VoiceCheck::State::Missing && state != VoiceCheck::State::Broken)
            continue;
        ++(state == VoiceCheck::State::Missing ? outcome.missing : outcome.broken);
        const SpeakerLine& line = lines[i];
        selection.select(fileNames[std::size_t(line.scene)], line.character, line.bodyLine);
    }
    return outcome;
}
