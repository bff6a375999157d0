#pragma once

#include "fc/FCIdString.h"
#include "fc/FCString.h"
#include "fc/FCXList.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

class CatalogueHeader;

// One scene of the catalogue: the scene name and the speaking characters of
// a screenplay file's header, the characters whose scripts are printed (the
// print targets), and the estimated page counts per print mode.
//
// Characters are owned FCIdStrings (text = name, id = word count) in order
// of first declaration; names are unique. Print targets are references to
// entries of the characters, each at most once. Names compare as lstrcmpA,
// for which only identical texts are equal, so comparing bytes is the same.
//
// The scenario totals are a record of the same kind: every character of all
// loaded files with the sum of its counts (see readHeader's accumulate).
class ScriptInfo {
public:
    static constexpr int PageModes = 4;
    // Page count not known yet; and the answer for a mode outside 0-3.
    static constexpr int32_t UnknownPages = -1;
    static constexpr int32_t NoSuchMode = -2;

    ScriptInfo();
    virtual ~ScriptInfo();

    ScriptInfo(const ScriptInfo&) = delete;
    ScriptInfo& operator=(const ScriptInfo&) = delete;

    // Empty name, no characters, no targets, page counts unknown.
    void clear();

    // Reads the header of a screenplay file; true when it holds a "total"
    // line. Without accumulate the record is cleared first and a name the
    // file repeats is ignored; with accumulate a name already present gets
    // the new count added. Each name new to the record becomes a character
    // and a print target and is appended to namesOut (after a "," unless
    // namesOut is empty). A missing file changes nothing and gives false.
    bool readHeader(const char* path, FCString& namesOut, bool accumulate);
    // The same with a header already read (the catalogue reads each file
    // once for its record and for the totals).
    bool applyHeader(const CatalogueHeader& header, FCString& namesOut, bool accumulate);

    // Becomes a copy of other: name, page counts, characters (fresh entries)
    // and print targets (the copies of other's targets, in other's order).
    void copyFrom(const ScriptInfo& other);
    // Adds other's characters: an existing name's count grows by other's;
    // a new name is appended and is a target when it is one in other.
    void merge(const ScriptInfo& other);

    FCIdString* findCharacter(std::string_view name) const;
    FCIdString* findPrintTarget(std::string_view name) const;
    bool isPrintTarget(std::string_view name) const { return findPrintTarget(name) != nullptr; }
    // False when the name is a target already or no character; otherwise the
    // character becomes the last target.
    bool addPrintTarget(std::string_view name);
    void clearPrintTargets();

    // countOut = "T / A" (targets, characters). When every character is a
    // target, suppressedOut is emptied and the result is false; otherwise it
    // receives the other characters' names in character order, joined with
    // ",", and the result is true.
    bool summary(FCString& countOut, FCString& suppressedOut) const;

    // The characters' names in their order, joined with ",".
    FCString characterNames() const;

    // The page count of one script in print mode 0-3; NoSuchMode otherwise.
    int32_t cachedPageCount(int mode) const;
    // Ignored for a mode outside 0-3.
    void setCachedPageCount(int mode, int32_t pages);

    const FCString& sceneName() const { return m_sceneName; }
    void setSceneName(std::string_view name) { m_sceneName.create(32, name); }
    const FCXList<FCIdString>& characters() const { return m_characters; }
    const FCXList<FCIdString>& printTargets() const { return m_printTargets; }
    int32_t characterCount() const { return m_characters.count(); }
    int32_t printTargetCount() const { return m_printTargets.count(); }

    // Adds a character (name, count) that must not be there yet, as a
    // character and a print target.
    FCIdString* appendCharacter(std::string_view name, int32_t count);

private:
    void resetPageCounts();
    // Appends a fresh entry to the characters and to the name index.
    FCIdString* addEntry(int32_t count, std::string_view name);
    void addTarget(FCIdString* character);

    FCString m_sceneName;
    FCXList<FCIdString> m_characters;
    FCXList<FCIdString> m_printTargets;
    // Look-ups by name and target membership without walking the lists: a
    // header with thousands of names would otherwise cost a walk per name.
    // The index holds the first entry of each name, as a walk would find it.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const
        {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_map<std::string, FCIdString*, NameHash, std::equal_to<>> m_characterIndex;
    std::unordered_set<const FCIdString*> m_targetSet;
    std::array<int32_t, PageModes> m_pageCounts;
};

// Records in a list match by scene name, as texts do.
template <> struct FCXListMatch<ScriptInfo> {
    static bool matches(const ScriptInfo* object, const ScriptInfo* key)
    {
        if (!object || !key)
            return object == key;
        return object->sceneName().equals(key->sceneName());
    }
};
