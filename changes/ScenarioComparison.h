#pragma once

#include "changes/LineChange.h"

#include <string>
#include <vector>

class Progress;

// Compares two versions of a scenario folder scene by scene: the screenplay
// files (*.screenplay.txt) of the same file name are two versions of one
// scene; a file only the new folder has is a scene wholly added, one only
// the old folder has a scene wholly removed. Changes come in the new
// folder's scene order, the removed scenes after them in the old folder's
// order.
//
// Files with the same bytes are not read further; the others are read as
// the layout reads them (Shift-JIS or UTF-8, CR LF or LF), so that what does
// not change the printed scripts is no change.
namespace ScenarioComparison {

struct Input {
    // CP932 folder paths, with or without a trailing "/".
    std::string oldFolder;
    std::string newFolder;
    // The new folder's scenes to compare, by file name in the order they
    // are listed; empty: every screenplay file of the new folder.
    std::vector<std::string> newFiles;
    // Whether scenes only the old folder has are reported (removed).
    bool removedScenes = true;
    // Whether notes and comments are compared too.
    bool notes = false;
    // A missing old folder is an empty one (a scenario never printed).
    bool oldMayBeMissing = false;
    // When given, steps once per scene of the new folder (its bar set up
    // here) and is asked after each whether to stop; the scene being
    // compared is finished first.
    Progress* progress = nullptr;
};

struct Result {
    std::vector<LineChange> changes;
    // Files that could not be read (CP932 paths); their scenes are not
    // compared.
    std::vector<std::string> unreadable;
    // A folder that could not be listed (CP932), empty when both were.
    std::string unlisted;
    int scenes = 0; // scenes compared
    // The progress asked to stop: the changes are those of the scenes
    // compared so far.
    bool cancelled = false;
};

Result compare(const Input& input);

// The screenplay files of a folder in the order the program lists them
// (CP932 names); false when the folder cannot be listed.
[[nodiscard]] bool listScenes(const std::string& folder, std::vector<std::string>& names);
// The name a scene goes by when its header names none: its file name
// without ".screenplay.txt".
std::string fallbackSceneName(const std::string& fileName);
// The whole file; false when it cannot be read.
[[nodiscard]] bool readFile(const std::string& path, std::string& bytes);

} // namespace ScenarioComparison
