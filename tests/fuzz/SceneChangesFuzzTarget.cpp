// Two versions of a scene (the input cut at its first NUL; no NUL: the same
// text twice) read and compared: reading never crashes, a version compared
// with itself has no change, and every change names a side that exists.

#include "FuzzScratchFolder.h"
#include "FuzzScreenplayText.h"
#include "changes/SceneComparison.h"
#include "changes/SceneVersion.h"

#include <string>
#include <vector>

namespace {

std::vector<LineChange> compare(const SceneVersion* oldVersion, const SceneVersion* newVersion,
                                bool notes)
{
    std::vector<LineChange> changes;
    SceneComparison::compare({oldVersion, newVersion, "fuzz.screenplay.txt", "fuzz"}, notes,
                             changes);
    return changes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);
    const std::size_t cut = bytes.find('\0');
    const std::string oldText = screenplayText(bytes.substr(0, cut));
    const std::string newText =
        cut == std::string_view::npos ? oldText : screenplayText(bytes.substr(cut + 1));
    const SceneVersion oldVersion = SceneVersion::fromText(oldText);
    const SceneVersion newVersion = SceneVersion::fromText(newText);

    for (bool notes : {false, true}) {
        FUZZ_REQUIRE(compare(&oldVersion, &oldVersion, notes).empty());
        FUZZ_REQUIRE(compare(&newVersion, &newVersion, notes).empty());
        for (const LineChange& change : compare(&oldVersion, &newVersion, notes)) {
            // What a change says was there, or is there now, is a line of
            // that side.
            FUZZ_REQUIRE(change.kind != LineChange::Kind::Added || change.oldText.empty());
            FUZZ_REQUIRE(change.kind != LineChange::Kind::Deleted || change.newText.empty());
        }
        // A scene only one side has: every one of its lines is a change.
        const std::size_t added = compare(nullptr, &newVersion, notes).size();
        FUZZ_REQUIRE(added <= newVersion.lines.size());
        const std::size_t removed = compare(&oldVersion, nullptr, notes).size();
        FUZZ_REQUIRE(removed <= oldVersion.lines.size());
    }
    return 0;
}
