#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the print runs of a scenario folder printed last: for each scene a
// copy of its screenplay file as it was printed, in the folder's
// ".quillon/printed/", under the file's own name. The next pickup starts
// from these copies, so a copy is only ever replaced whole: it is written
// under a temporary name, flushed and renamed, and a temporary file left by
// an interrupted run is removed by the next one. The record holds one file
// per scene of the folder.
//
// A print run notes each scene's file before it reads it and keeps it once
// the scene is printed. A file that changed in between is not kept (its
// old copy stays): the next comparison then shows more lines than were
// changed since this print, never fewer.
class PrintRecord {
public:
    // The record's folder in a scenario folder (CP932; both end with "/").
    static std::string folderOf(std::string_view scenarioFolder);

    explicit PrintRecord(std::string_view scenarioFolder);

    // Before the scene is read for printing.
    void noteRead(const std::string& fileName);
    // After the scene was printed completely: its copy replaces the one
    // kept. False when it could not be kept; the record is as it was then.
    bool keep(const std::string& fileName);
    // After a run that printed every scene of the folder: the copies of
    // files the folder no longer lists go.
    void keepOnly(const std::vector<std::string>& fileNames);

    // Scenes whose copy could not be kept in this run.
    int failures() const { return m_failures; }
    const std::string& folder() const { return m_folder; }

private:
    struct Stamp {
        int64_t size = -1;
        int64_t changed = 0; // nanoseconds
    };
    static bool stampOf(const std::string& path, Stamp& stamp);
    // Makes the folder and clears what an interrupted run left; once.
    bool prepare();
    bool write(const std::string& target, const std::string& bytes);

    std::string m_scenarioFolder;
    std::string m_folder;
    std::map<std::string, Stamp> m_noted;
    bool m_prepared = false;
    bool m_usable = false;
    int m_failures = 0;
};
