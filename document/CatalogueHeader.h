#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The header of a screenplay file as the catalogue reads it: the scene name,
// the character lines with their word counts, and whether a "total" line
// ended it. The lines are read as the layout engine's file is, CP932
// character by character (a lead byte takes any following byte as its
// trail), with leading blanks, TABs and full-width spaces trimmed:
//
//   ";..."          skipped
//   "." directive   "scene" names the scene, "start", "end" and "chara" are
//                   ignored, "total" ends the header, anything else is a
//                   character name with its count as value
//   anything else   ends the header
//
// Leading dots are all skipped; the name runs up to a TAB, the value is the
// next token cut at TAB or ";" (so a ";" behind the value starts a comment).
//
// Only the header is wanted, so a file is read from its start in growing
// pieces until its header is known to have ended; a large body is never
// laid out or kept. A UTF-8 file is read through its CP932 form (see
// ScreenplaySource), which takes one pass over the whole file first.
// The entries are views into the text read (or given) and valid until the
// next load or scan.
class CatalogueHeader {
public:
    struct Entry {
        std::string_view name;
        int32_t count;
    };

    // The first piece of a file that is read.
    static constexpr size_t FirstPiece = 64 * 1024;

    CatalogueHeader();
    virtual ~CatalogueHeader();

    CatalogueHeader(const CatalogueHeader&) = delete;
    CatalogueHeader& operator=(const CatalogueHeader&) = delete;

    // False (and an empty header) when the path names no file. A file that
    // exists but cannot be read is put to the user by the file layer, and
    // raises its exception when the user cancels.
    bool load(const char* path);
    // Reads the header of a whole text.
    void scan(std::string_view text);

    bool hasScene() const { return m_hasScene; }
    // The value of the last "scene" line.
    std::string_view scene() const { return m_scene; }
    // Character lines in file order, repeated names included.
    const std::vector<Entry>& entries() const { return m_entries; }
    bool hasTotal() const { return m_hasTotal; }

    // Of the last load: whether the file was read as UTF-8, and how many of
    // its characters (over the whole file, not only the header) Shift-JIS
    // cannot hold and became "〓".
    bool readAsUtf8() const { return m_readAsUtf8; }
    std::size_t substitutions() const { return m_substitutions; }

    // The reading of header numbers: decimal (after blanks, with a sign),
    // hexadecimal after "0x", binary after "0b"; wrapping in 32 bits, as
    // FCString::toInteger reads them, but without building a string.
    static int32_t toInteger(std::string_view text);

private:
    // Scans text from its start. When complete is false the text is only the
    // beginning of the file, and the result is false if the header might go
    // on behind it (a line runs into the end of the piece).
    bool scanText(std::string_view text, bool complete);
    void reset();
    void readDirective(std::string_view line);

    std::string m_buffer;
    std::vector<Entry> m_entries;
    std::string_view m_scene;
    bool m_hasScene = false;
    bool m_hasTotal = false;
    bool m_readAsUtf8 = false;
    std::size_t m_substitutions = 0;
};
