#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The files of a scenario folder that a load left out, and why, so that the
// user hears of them once per load instead of finding scenes missing. Files
// that were read, but not faithfully, are told the same way: UTF-8 files
// with characters Shift-JIS cannot hold.
class SkippedFiles {
public:
    enum class Reason {
        // The name has no Shift-JIS form: the program could not name it.
        NameNotShiftJis,
        // A FIFO, socket or device named like a screenplay: reading one can
        // hang, and it holds no scene.
        NotARegularFile,
        // Links that lead round in a loop, or a link that cannot be followed
        // for another reason than a missing target.
        BrokenLink,
        // The folder's settings file is a folder or another non-file: the
        // print settings stay as they were and nothing is written there.
        SettingsNotAFile,
        // Read as UTF-8, and some of its characters have no Shift-JIS form:
        // they became "〓". The scene is in the list all the same.
        CharactersReplaced,
    };

    struct Entry {
        // CP932; for NameNotShiftJis the nearest CP932 form.
        std::string name;
        // The name as on disk (UTF-8).
        std::string nativeName;
        Reason reason;
        // For BrokenLink: the Windows error number that says why.
        uint32_t error = 0;
    };

    // name is CP932 (its UTF-8 form is taken as the name on disk).
    void add(const std::string& name, Reason reason, uint32_t error = 0);
    // nativeName is the UTF-8 name of an entry without a CP932 form.
    void addUnnamed(const std::string& nativeName);
    void clear() { m_entries.clear(); }
    bool empty() const { return m_entries.empty(); }
    const std::vector<Entry>& entries() const { return m_entries; }

    // The window's notice (CP932): a title line, then one line per file
    // left out with its name and the reason; then, when there are any, a
    // second title and the names of the files read with replaced
    // characters.
    std::string noticeText() const;

private:
    std::vector<Entry> m_entries;
};
