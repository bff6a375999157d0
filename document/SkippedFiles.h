#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The files of a scenario folder that a load left out, and why, so that the
// user hears of them once per load instead of finding scenes missing.
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
    // with its name and the reason.
    std::string noticeText() const;

private:
    std::vector<Entry> m_entries;
};
