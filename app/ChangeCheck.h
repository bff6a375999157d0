#pragma once

#include "changes/LineChange.h"
#include "fc/FCString.h"

#include <set>
#include <string>
#include <vector>

class LineSelection;
class Progress;
class Quillon;
class ScriptCatalogue;
class SuppressedCharacters;

// The loaded scenario's ticked scenes (in their order) compared with an
// older version of them, a folder or the scenario folder's print record,
// and the pickup scripts (リテイク) made from the changes: what the changes
// command, the batch tool's pickup print and the window's change check
// share, so that all give the same changes, texts and lines.
namespace ChangeCheck {

// The input history of the older folders the window was given.
inline constexpr int HistorySlot = 3;

struct Request {
    // The older version (CP932); empty: the scenario folder's print record,
    // where a scene never printed counts as wholly added.
    std::string oldFolder;
    // Whether notes and comments are compared too.
    bool notes = false;
    // Whether scenes only the older version has count as removed; not when
    // scenes were left out on purpose.
    bool removedScenes = true;
    // Shows the comparison scene by scene and lets the user stop it.
    Progress* progress = nullptr;
};

struct Outcome {
    // As the listing shows them: suppressed characters' lines left out.
    std::vector<LineChange> changes;
    // A folder that could not be listed (CP932): nothing was compared.
    std::string unlisted;
    // Files that could not be read (CP932): their scenes are not compared.
    std::vector<std::string> unreadable;
    // The compared scenes whose every line to record again would reach a
    // script: a print of them leaves nothing of their changes unprinted.
    std::set<std::string> recordable;
    // The progress was asked to stop; the rest stays as far as it got.
    bool cancelled = false;
};

// folder: the scenario folder (CP932); suppressed: the characters who get
// no scripts.
Outcome compare(const ScriptCatalogue& catalogue, const std::string& folder,
                const SuppressedCharacters& suppressed, const Request& request);

// The window's comparison of the application's ticked scenes with
// oldFolder (CP932; empty: the print record), showing "変更点の確認" on
// progress with a cancel.
Outcome compare(const Quillon& app, const std::string& oldFolder, Progress& progress);

// The header suffix and the mark of the pickup scripts (CP932).
const char* headerSuffix();
const char* marker();

// The pickup scripts of the changes: the selection is emptied and given the
// suffix and the mark, then each line to record again goes into its
// speaker's script. characters, when given, keeps the lines of those
// characters only. The number of lines chosen.
int select(const std::vector<LineChange>& changes, LineSelection& selection,
           const std::set<std::string>* characters = nullptr);

// The scenes of recordable whose lines to record again are all those of
// characters: a print of those characters' lines still leaves nothing of
// them unprinted.
std::set<std::string> recordableFor(const std::vector<LineChange>& changes,
                                    const std::set<std::string>& recordable,
                                    const std::set<std::string>& characters);

// The older version a window compares with: the print record, or a folder
// as typed (CP932, relative to the current folder).
struct Source {
    bool sincePrint = true;
    FCString folderText;
};

// The older folder of a source as compare() takes it, into folder (CP932,
// absolute, ending with "/"; empty for the print record). False, with the
// reason in message (CP932), when the folder is not given, Shift-JIS cannot
// name it for the system, or it is no folder.
bool oldFolderOf(const Source& source, std::string& folder, std::string& message);

// What the window tells when a comparison found no line to record again.
const char* nothingToPrint();

// What keeps a comparison from standing for the scenario (a folder not
// listed, files not read), as the window tells it (CP932); empty when
// nothing does.
std::string problem(const Outcome& outcome);

} // namespace ChangeCheck
