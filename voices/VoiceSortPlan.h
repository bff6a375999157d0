#pragma once

#include "voices/VoiceCheck.h"

#include <string>
#include <vector>

// One delivered file to sort: where it is and the folders it goes into
// (native, absolute). A file whose number several lines share goes into the
// folder of each of their speakers (and scenes).
struct SortItem {
    std::string source;
    // The file's own name, kept in every folder.
    std::string name;
    std::vector<std::string> folders;
    bool viaLink = false;
};

// Which files go where: the file that stands for each recorded line (the
// only good file, or the first good one of a duplicate) into
// destination/<character>/ or, by scene, destination/<character>/<scene>/.
// Broken files, the other files of a duplicate and files matching no line
// are not sorted. Character and scene names become folder names as the page
// images' folders do (no "/", no "." or ".." of their own, never empty).
namespace VoiceSortPlan {

struct Input {
    const std::vector<SpeakerLine>& lines;
    const std::vector<std::string>& sceneNames; // CP932
    const Delivery& delivery;
    const VoiceCheck::Result& result;
    std::string deliveryFolder; // native, absolute
    std::string destination;    // native, absolute
    bool byScene = false;
};

// Items in walk order of their files. A name without a native form
// (which Shift-JIS text from a screenplay may lack) is left out, its
// line told in unsortable.
std::vector<SortItem> make(const Input& input, std::vector<int>* unsortable = nullptr);

// A name as one folder level (CP932 in, native out); false when it has
// no native form.
bool folderName(std::string_view cp932, std::string& native);

} // namespace VoiceSortPlan
