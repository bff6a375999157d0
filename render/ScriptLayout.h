#pragma once

#include "document/ScreenplayHeader.h"
#include "fc/FCString.h"
#include "fc/FCVector.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What laying a screenplay out gives: the scene's character table and its
// printed lines, each with its flags word, divided into pages. The text holds
// the printed lines one after the other, each ended by a line feed: a label
// or a lead of LabelColumns cells, then at most charactersPerLine characters.
//
// The layout engine (ScriptPrinter) fills it as it reads a file; the page
// count estimate reads the page count, the page renderer the lines of a page
// and their flags, the print run and the preview the scripts it names. It
// knows nothing of faces, devices or files.
class ScriptLayout {
public:
    // Flags word of a printed line.
    static constexpr uint32_t FlagCharacterMask = 0xFF; // speaker's character index
    static constexpr uint32_t FlagNoteIndex = 0xFF;     // on note and comment lines
    static constexpr uint32_t FlagNoteInCommentFont = 0x100;
    static constexpr uint32_t FlagEmphasisedComment = 0x400;
    static constexpr uint32_t FlagNoSpeaker = 0x8000;
    // A line a partial script prints around the chosen ones, and the empty
    // line between two runs of them: set in the general face whatever else
    // the flags say.
    static constexpr uint32_t FlagContext = 0x10000;

    static constexpr int LabelColumns = 12;

    // What a printed line's text carries besides its characters when the
    // typesetting options are on: bytes [offset, offset + length) of the
    // line (counted from its start, label or lead included) either set
    // upright in one cell, or the base of a reading drawn beside it. The
    // readings are not in the text.
    struct Mark {
        int line = 0;
        int32_t offset = 0;
        int32_t length = 0;
        // The reading (CP932); empty for one or two digits set upright.
        std::string reading;
        bool isUpright() const { return reading.empty(); }
    };

    ScriptLayout();
    virtual ~ScriptLayout() = default;
    ScriptLayout(const ScriptLayout&) = delete;
    ScriptLayout& operator=(const ScriptLayout&) = delete;

    const ScreenplayHeader& header() const { return m_header; }
    const FCString& sceneName() const { return m_header.sceneName(); }
    // The characters of the table that have scripts: ".chara"'s count, held
    // within the table.
    int characterCount() const;

    const FCString& text() const { return m_text; }
    int lineCount() const { return m_lineCount; }
    int linesPerPage() const { return m_linesPerPage; }
    int pageCount() const { return m_pageCount; }
    // 0 for a line that does not exist.
    uint32_t lineFlags(int line) const;
    // Characters of the file that Shift-JIS cannot hold (a UTF-8 file), laid
    // out as "〓".
    int64_t replacedCharacters() const { return m_replacedCharacters; }
    // The marks of printed line `line`, in the order of their bytes; none
    // without the typesetting options.
    std::span<const Mark> marksOf(int line) const;
    const std::vector<Mark>& marks() const { return m_marks; }

    // Where printed line n starts in text(): after the n-th line feed, past
    // any further line ends. FCString::none for a line outside the text.
    int32_t lineStart(int n) const;
    // Where page `page` (0-based) starts in text(); FCString::none for a page
    // that holds no line.
    int32_t pageStart(int page) const;

    // The character's name for headers and page files, or the director's
    // caption "監督用" for target -1 (and any target outside the table); in a
    // partial script followed by its suffix in brackets ("さくら（未収録）").
    FCString targetName(int target) const;
    // What a partial script's names add after the character's name; empty
    // for a whole script.
    const FCString& nameSuffix() const { return m_nameSuffix; }
    // The name target's files take: targetName, unless a script printed
    // before it in the scene (slots in order, then the director's copy) has
    // a name that becomes the same file name (the "a/b" and "a_b" of one
    // scene); then that name with "(2)", "(3)"... added, so that no script's
    // pages overwrite another's.
    const FCString& fileTargetName(int target) const;

private:
    friend class ScriptPrinter;

    // Empties the lines and forgets what was worked out from them.
    void clearLines();

    ScreenplayHeader m_header;
    FCString m_nameSuffix;
    FCString m_text;
    FCVector<uint32_t> m_lineFlags;
    // Sorted by line, then by offset.
    std::vector<Mark> m_marks;
    int m_lineCount = 0;
    int m_linesPerPage = 47;
    int m_pageCount = 0;
    int64_t m_replacedCharacters = 0;
    // fileTargetName of every slot, then of the director's copy; made when
    // first asked for.
    mutable std::vector<FCString> m_fileTargetNames;
    // How far lineStart has walked the text: the line feeds passed and the
    // position after the last of them, so that walking the pages in order
    // reads the text once.
    mutable int m_walkedLines = 0;
    mutable int32_t m_walkedTo = 0;
};
