#pragma once

#include "changes/LineChange.h"
#include "changes/SceneVersion.h"

#include <string>
#include <vector>

// Compares two versions of one scene line by line.
//
// Numbered lines are matched by message number (the n-th line of a number
// with the n-th of the same number in the other version): a changed speaker
// is 話者変更 (whatever the text did), else a changed text 変更. Of the
// numbers left over, a new line whose speaker and text an old leftover line
// has (the first such, in the old order) is 番号変更; the other new ones are
// 追加, the other old ones 削除. Unnumbered speaker lines are matched by
// their position among the scene's unnumbered lines and read the same way;
// the lines one version has beyond the other's count are 追加 or 削除. Notes
// and comments are matched by their position among the notes and are
// reported, as 注記変更, only when asked for.
//
// Changes come in the new version's line order; a deleted line follows the
// new line that matches the nearest old line before it that was kept.
namespace SceneComparison {

struct Scene {
    const SceneVersion* oldVersion; // nullptr: the scene is new
    const SceneVersion* newVersion; // nullptr: the scene was removed
    std::string fileName;
    // What the listing names the scene (CP932).
    std::string sceneName;
};

void compare(const Scene& scene, bool notes, std::vector<LineChange>& changes);

} // namespace SceneComparison
