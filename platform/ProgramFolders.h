#pragma once

#include <string>
#include <string_view>

// Where the program lives and keeps its own files. All paths CP932 with "/".
class ProgramFolders {
public:
    // The folder of the running program (/proc/self/exe) with a trailing "/";
    // where that folder is not writable, ~/.config/quillon/ (created on
    // demand) takes its place, so that the program's own files always have a
    // home.
    static std::string programFolder();
    // programFolder() + "quillon": the name the program's own files derive
    // from by replacing the extension ("quillon.configuration" and so on),
    // shared by the GUI and the batch tool.
    static std::string programFile();
    // $HOME (or the password entry's home), without a trailing "/" (the root
    // stays "/"); empty when there is none with a CP932 name.
    static std::string homeFolder();
    // The mount point of the first mounted optical disc, with a trailing "/",
    // found once per process; empty when there is none.
    static std::string opticalDrive();
    // Shell special-folder codes that have a counterpart here, without a
    // trailing "/": 0 desktop (~/Desktop), 5 documents (~/Documents), 26
    // application data (~/.config), 28 local application data
    // (~/.local/share), 40 profile (~). False for the others, and when there
    // is no home folder. The folder need not exist.
    [[nodiscard]] static bool shellFolder(int code, std::string& path);

    // Why the program's own files are not in the program's folder, or why
    // that folder will not take them (CP932, beginning with a line break),
    // for the messages about those files; empty when it is writable.
    static std::string placementNote();

    // Tests point the program folder elsewhere; an empty text restores it
    // (and the note). A missing trailing "/" is added.
    static void overrideProgramFolder(const std::string& folder);
    // The note given while the program folder is overridden.
    static void overridePlacementNote(const std::string& note);

    // homeFolder() + "/.config/quillon/", created when missing: where the
    // program's own files go when the program's folder is not writable.
    // Empty when there is no home folder with a CP932 name.
    static std::string configFolder();

    // The mount point (CP932, with a trailing "/") of the first optical disc
    // listed in a text in the form of /proc/mounts: a line whose file system
    // is iso9660 or udf, or whose device is a /dev/sr* drive. Empty when
    // there is none.
    static std::string opticalDriveIn(std::string_view mounts);
};
