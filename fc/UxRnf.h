#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A key/value settings store bound to one file. The file is plain CP932 text,
// one "key=value" line per entry ended by a single line feed, in lstrcmpA
// order of the keys; reading is lenient (see load). Every store that has a
// path writes itself back when it is destroyed, so the usual way to use one
// is: construct, load, read or change entries, let it go.
//
// Keys never hold "=", blanks, TABs or line breaks (a caller passing one is
// a bug). Values never hold TABs or line breaks: a value given with one is
// cut there, since the reader would cut it there anyway and anything behind
// a line break would come back as a line of its own.
class UxRnf {
public:
    UxRnf();
    virtual ~UxRnf();

    UxRnf(const UxRnf&) = delete;
    UxRnf& operator=(const UxRnf&) = delete;

    // Clears the store and binds it to the path (made absolute) even when the
    // file does not exist, so that a later save creates it. True when the
    // file existed and was not empty. An absent or empty path binds nothing.
    // When the file cannot be read the store is left unbound, so that it
    // never overwrites a file it could not read; the file layer's exception
    // goes on to the caller.
    bool load(const char* path);
    // Adds the entries of a sectioned INI file ("section.key"; the last
    // occurrence of a key wins) without clearing the store. An unbound store
    // is bound to the INI file's path with the extension ".configuration".
    // True when the file exists.
    bool importIni(const char* path);
    // Writes all entries to the path, or to the store's own path when none is
    // given (nothing happens when that is empty too); the path used becomes
    // the store's path. An empty store deletes an existing file when
    // deleteWhenEmpty is set and writes an empty file otherwise.
    void save(const char* path = nullptr, bool deleteWhenEmpty = false);
    // Auto-save (when on and bound), then forgets entries and path. Errors of
    // the write reach the caller, unlike those of the destructor.
    void destroy();

    // With index >= 0 the key is key followed by the index in decimal.
    bool getText(const char* key, int32_t index, FCString& out) const;
    bool getText(const char* key, FCString& out) const { return getText(key, -1, out); }
    // The value through FCString::toInteger (decimal, "0x", "0b").
    bool getNumber(const char* key, int32_t index, int32_t& out) const;
    bool getNumber(const char* key, int32_t& out) const { return getNumber(key, -1, out); }
    // When the key is missing: out = defaultValue, stored under the key when
    // storeDefault is set, and false.
    bool getNumber(int32_t& out, const char* key, int32_t defaultValue, int32_t index = -1,
                   bool storeDefault = false);

    void setText(const char* key, std::string_view value, int32_t index = -1);
    void setText(const char* key, const FCString& value, int32_t index = -1)
    {
        setText(key, value.view(), index);
    }
    void setText(const char* key, const char* value, int32_t index = -1)
    {
        setText(key, std::string_view(value ? value : ""), index);
    }
    void setNumber(const char* key, int32_t value, int32_t index = -1);
    void remove(const char* key, int32_t index = -1);
    // Removes key + i for every 0 <= i < count. The cost follows the entries
    // present, not count, so a count taken from a hand-edited file cannot
    // keep the program busy.
    void removeIndexed(const char* key, int32_t count);

    bool contains(const char* key, int32_t index = -1) const;
    int32_t count() const { return static_cast<int32_t>(m_entries.size()); }
    const FCString& path() const { return m_path; }
    bool autoSave() const { return m_autoSave; }
    void setAutoSave(bool on) { m_autoSave = on; }

    // The file text of the entries as save writes it.
    std::string fileText() const;

private:
    struct KeyOrder {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Entries = std::map<std::string, std::string, KeyOrder>;

    static std::string composeKey(const char* key, int32_t index);
    // Whether a key can be written and read back as the same key.
    static bool isStorableKey(std::string_view key);
    // Adds the entries of a file text by the settings rules (first wins) or
    // by the INI rules (sections, last wins).
    void parse(std::string_view text, bool sectioned);
    void insert(std::string key, std::string_view value, bool overwrite);

    FCString m_path;
    Entries m_entries;
    bool m_autoSave = true;
};
