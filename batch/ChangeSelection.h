#pragma once

#include "batch/CommandHelp.h"
#include "changes/LineChange.h"
#include "changes/ScenarioComparison.h"

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

class BatchArguments;
class FolderSession;
class LineSelection;

// What the changes command and the pickup scripts share: the comparison of
// a loaded folder (its ticked scenes, in their order) with an older version
// of it, a folder or the folder's print record, and the lines of pickup
// scripts (リテイク) made from its changes.
namespace ChangeSelection {

// The options print and estimate take for pickup scripts.
inline constexpr OptionHelp changesFrom{"changes-from", "OLD",
                                        "only the lines changed since the scenario OLD"};
inline constexpr OptionHelp sincePrint{"since-print", nullptr,
                                       "only the lines changed since they were printed"};

// A name given on the command line as a CP932 absolute path; false,
// with the reason told, when it has none.
[[nodiscard]] bool cp932Path(const std::string& given, std::ostream& err, std::string& path);
// The same for a folder, which must be one.
[[nodiscard]] bool oldFolder(const std::string& given, std::ostream& err, std::string& path);

// The changes of the session's ticked scenes since oldFolder (empty: the
// print record), as the listing shows them: suppressed characters'
// lines left out. Done, or Failed with the reason told (the changes
// found are there all the same). With recordable, the scenes whose every
// line to record again would reach a script go there: a print of them
// leaves nothing of their changes unprinted.
int compare(FolderSession& session, const std::string& oldFolder, bool notes, bool onlyGiven,
            std::vector<LineChange>& changes, std::set<std::string>* recordable = nullptr);

// The pickup scripts of the changes: for each line to record again, the
// line in its speaker's script, with the header's "リテイク" and the mark
// "＊".
void select(const std::vector<LineChange>& changes, LineSelection& selection);

// For print and estimate: when the words ask for pickup scripts, fills
// the selection (and recordable, for --since-print) and returns Done, or
// the status of a failure already told; Done with the selection empty
// when they ask for none.
int fromArguments(FolderSession& session, const BatchArguments& args, LineSelection& selection,
                  std::set<std::string>* recordable);
// Whether the words ask for pickup scripts; refuses both at once.
bool asked(const BatchArguments& args);

} // namespace ChangeSelection
