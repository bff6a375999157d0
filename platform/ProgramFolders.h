#pragma once

#include <string>

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
    // $HOME (or the password entry's home), without a trailing "/".
    static std::string homeFolder();
    // The mount point of the first mounted optical disc, with a trailing "/",
    // found once per process; empty when there is none.
    static std::string opticalDrive();
    // Shell special-folder codes that have a counterpart here (desktop,
    // documents, application data, profile ...); false for the others.
    [[nodiscard]] static bool shellFolder(int code, std::string& path);

    // Tests point the program folder elsewhere; an empty text restores it.
    static void overrideProgramFolder(const std::string& folder);
};
