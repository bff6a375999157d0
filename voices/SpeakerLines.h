#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A chosen screenplay file as the check takes it: its path and the scene
// name its lines are reported and sorted under (CP932).
struct SceneFile {
    std::string path;
    std::string sceneName;
};

// One speaker line of the scenario: the label number as written, the
// message number it gives (the label read as a decimal number when it is
// all digits), its scene (an index into the scene files) and its speaker.
struct SpeakerLine {
    std::string label;
    std::optional<uint64_t> number;
    int scene = 0;
    std::string character;
};

// Reads the speaker lines of screenplay files, in scenario order (the files
// in the order given, the lines in file order), as the layout engine reads
// them: the body after the ".total" line, lines told apart by their first
// character, the speaker as written before the first bracket.
namespace SpeakerLines {

struct Result {
    std::vector<SpeakerLine> lines;
    // The indexes of the files that could not be read (the file layer has
    // said why); their lines are missing from lines.
    std::vector<int> unreadable;
};

Result read(const std::vector<SceneFile>& scenes);
// The lines of one screenplay text already in memory, as scene `scene`.
void readText(std::string_view text, int scene, std::vector<SpeakerLine>& lines);

} // namespace SpeakerLines
