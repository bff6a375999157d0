#pragma once

#include <iosfwd>
#include <optional>
#include <string>

class BatchArguments;
class FolderSession;
class LineSelection;
class VoiceNumberPattern;

// What the commands that read a delivery of voice files share: the folders
// named on the command line, the file-name pattern (--pattern, else the one
// kept for the scenario folder) and, for print and estimate, the selection
// of lines --missing-from DELIVERY asks for.
namespace DeliveryOptions {

// A folder or file named on the command line: its absolute native form,
// which must have a Shift-JIS form too (the reports and the log name it).
// False, with the reason told, when it has none.
bool absoluteName(const std::string& given, const char* option, std::ostream& err,
                  std::string& native);

// --pattern, kept for the folder, or the pattern kept before; nullopt, with
// the reason told and status set (2 for a bad --pattern, 1 for a bad kept
// one), when it does not compile.
std::optional<VoiceNumberPattern> numberPattern(FolderSession& session, const BatchArguments& args,
                                                int& status);

// Before the folder is opened: the delivery folder of --missing-from
// (empty without the option). 0, or the exit status of a refusal: 2 for
// --pattern without --missing-from, 1 for a delivery that is no folder.
int missingFromFolder(const BatchArguments& args, const char* usage, std::ostream& err,
                      std::string& delivery);

// The lines of the ticked scenes the delivery has no good file for, into
// selection. 0, the exit status of a failure (the reason told), or the
// status of an interruption; scenes that cannot be read are told and make
// the run fail at its end (failed is set).
int missingLines(FolderSession& session, const BatchArguments& args, const std::string& delivery,
                 LineSelection& selection, bool& failed);

} // namespace DeliveryOptions
