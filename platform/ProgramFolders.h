#pragma once

#include <string>
#include <string_view>

// Where the program lives and keeps its own files. All paths CP932 with "/".
namespace ProgramFolders {

// The folder of the running program (/proc/self/exe) with a trailing "/";
// where that folder is not writable, ~/.config/quillon/ (created on
// demand) takes its place, so that the program's own files always have a
// home.
std::string programFolder();
// programFolder() + "quillon": the name the program's own files derive
// from by replacing the extension ("quillon.configuration" and so on),
// shared by the GUI and the batch tool.
std::string programFile();
// $HOME (or the password entry's home), without a trailing "/" (the root
// stays "/"); empty when there is none with a CP932 name.
std::string homeFolder();
// The mount point of the first mounted optical disc, with a trailing "/",
// found once per process; empty when there is none.
std::string opticalDrive();
// Shell special-folder codes that have a counterpart here, without a
// trailing "/": 0 desktop (~/Desktop), 5 documents (~/Documents), 26
// application data (~/.config), 28 local application data
// (~/.local/share), 40 profile (~). False for the others, and when there
// is no home folder. The folder need not exist.
[[nodiscard]] bool shellFolder(int code, std::string& path);

// Why the program's own files are not in the program's folder, or why
// that folder will not take them (CP932, beginning with a line break),
// for the messages about those files; empty when it is writable.
std::string placementNote();

// Puts the program's own files in another folder (with the note their
// messages give) while the scope lives, and the previous placement back
// after it: a test's temporary folder, which a failing test cannot leave
// behind. The foundation reads the placement deep inside its file and
// path code, so it is the process's, not handed down. A missing
// trailing "/" is added.
class Scope {
public:
    explicit Scope(const std::string& folder, const std::string& note = {});
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    std::string m_previousFolder;
    std::string m_previousNote;
};

// homeFolder() + "/.config/quillon/", created when missing: where the
// program's own files go when the program's folder is not writable.
// Empty when there is no home folder with a CP932 name.
std::string configFolder();

// The mount point (CP932, with a trailing "/") of the first optical disc
// listed in a text in the form of /proc/mounts: a line whose file system
// is iso9660 or udf, or whose device is a /dev/sr* drive. Empty when
// there is none.
std::string opticalDriveIn(std::string_view mounts);
} // namespace ProgramFolders
