#pragma once

#include <string>
#include <vector>

class LineSelection;
class Progress;
class ScriptCatalogue;
class SuppressedCharacters;
class VoiceNumberPattern;

// The lines of the ticked scenes a delivery of voice files does not hold yet,
// as the selection of a partial print run: each character's unrecorded lines
// (no file carries their number, or only broken ones), to be printed with the
// header suffix "未収録" and no marker. Lines whose label is no number can be
// matched with no file and are not chosen; nor are the lines of suppressed
// characters, who have no scripts.
//
// The window and the batch tool both start the missing-lines print run with
// it: build, then hand the selection to PrintRun::setLineSelection and
// PageCountEstimate::setLineSelection.
namespace MissingLines {

// The header suffix of the scripts of missing lines (CP932).
const char* headerSuffix();

enum class Status {
    Done,
    // The user cancelled; the selection is left empty.
    Cancelled,
    // The delivery folder could not be read (error holds the errno).
    DeliveryUnreadable,
};

struct Outcome {
    Status status = Status::Done;
    int error = 0;
    // Scenes whose file could not be read (the file layer has said why), as
    // the catalogue names them: none of their lines is chosen.
    std::vector<std::string> unreadableScenes;
    // Chosen lines: without a file, and with broken files only.
    int missing = 0;
    int broken = 0;
};

// folder: the scenario folder (CP932, ending with "/"); delivery: the
// delivery folder (native, UTF-8). Every delivered file carrying a scenario
// line's number has its header read; the progress shows the walk and then
// the files, and a cancel stops either. The selection is emptied first and
// gets the suffix.
Outcome build(const ScriptCatalogue& catalogue, const std::string& folder,
              const SuppressedCharacters& suppressed, const std::string& delivery,
              const VoiceNumberPattern& pattern, Progress& progress, LineSelection& selection);

} // namespace MissingLines
