#include "voices/VoiceSortPlan.h"

#include "fc/SafeFileName.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <map>

bool VoiceSortPlan::folderName(std::string_view cp932, std::string& native)
{
    std::string safe = SafeFileName::of(cp932);
    // An empty name would put the files into the level above.
    if (safe.empty())
        safe = "_";
    return TextCodec::toUtf8Exact(safe, native);
}

std::vector<SortItem> VoiceSortPlan::make(const Input& input, std::vector<int>* unsortable)
{
    std::map<int, SortItem> byFile;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const VoiceCheck::Line& line = input.result.lines[i];
        if (line.state != VoiceCheck::State::Recorded && line.state != VoiceCheck::State::Duplicate)
            continue;
        const SpeakerLine& speaker = input.lines[i];
        std::string character, scene;
        if (!folderName(speaker.character, character) ||
            (input.byScene && !folderName(input.sceneNames[std::size_t(speaker.scene)], scene))) {
            if (unsortable)
                unsortable->push_back(int(i));
            continue;
        }
        std::string folder = input.destination + "/" + character;
        if (input.byScene)
            folder += "/" + scene;
        const DeliveredFile& file = input.delivery.audio[std::size_t(line.file)];
        SortItem& item = byFile[line.file];
        if (item.source.empty()) {
            item.source = input.deliveryFolder + "/" + file.path;
            const std::size_t slash = file.path.find_last_of('/');
            item.name = slash == std::string::npos ? file.path : file.path.substr(slash + 1);
            item.viaLink = file.viaLink;
        }
        if (std::find(item.folders.begin(), item.folders.end(), folder) == item.folders.end())
            item.folders.push_back(folder);
    }
    std::vector<SortItem> items;
    items.reserve(byFile.size());
    for (auto& [file, item] : byFile)
        items.push_back(std::move(item));
    return items;
}
