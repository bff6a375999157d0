#pragma once

#include "document/ScreenplayHeader.h"
#include "fc/FCIdString.h"
#include "fc/FCString.h"
#include "fc/FCVector.h"
#include "format/OutputDevice.h"
#include "render/FCVSurface.h"
#include "render/ScriptFont.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

class DeviceContext;
class PdfScriptWriter;

// One scene laid out for printing. The body is broken into printed lines of a
// fixed character grid: a 12-cell label column followed by at most
// charactersPerLine characters of text. Each printed line carries a flags word
// that tells the renderer which face and treatment it gets; the lines are then
// divided into pages of linesPerPage lines.
class ScriptPrinter {
public:
    // Option bits.
    static constexpr int OptionGenericScript = 0x01; // also print the director's copy
    static constexpr int OptionNotesInCommentFont = 0x10;

    // Flags word of a printed line.
    static constexpr uint32_t FlagCharacterMask = 0xFF; // speaker's character index
    static constexpr uint32_t FlagNoteIndex = 0xFF;     // on note and comment lines
    static constexpr uint32_t FlagNoteInCommentFont = 0x100;
    static constexpr uint32_t FlagEmphasisedComment = 0x400;
    static constexpr uint32_t FlagNoSpeaker = 0x8000;

    static constexpr int LabelColumns = 12;
    static constexpr int ExclusionSlots = 256;

    ScriptPrinter();
    virtual ~ScriptPrinter() = default;
    ScriptPrinter(const ScriptPrinter&) = delete;
    ScriptPrinter& operator=(const ScriptPrinter&) = delete;

    // Parameters, set before load or printing.
    void setOptions(int options) { m_options = options; }
    void setGeneralFont(int weight, const FCString& face);
    void setTargetFont(int weight, const FCString& face);
    void setCommentFont(int weight, const FCString& face);
    void setFontSize(int size) { m_fontSize = size; }
    void setLinePitch(int pitch) { m_linePitch = pitch; }
    // Both counts must be at least 1: other values are refused (false) and
    // the old value is kept.
    [[nodiscard]] bool setLinesPerPage(int lines);
    [[nodiscard]] bool setCharactersPerLine(int characters);
    void setBackground(int mode, int level);
    void setDestinationFolder(const FCString& folder) { m_destinationFolder = folder; }
    // The name page images are filed under (their folder and the start of
    // their file names): the scene name unless another is set, as a run
    // does for a later scene of a name it has already used.
    void setPageName(const FCString& name) { m_pageName = name; }
    const FCString& pageName() const
    {
        return m_pageName.isEmpty() ? m_header.sceneName() : m_pageName;
    }

    // Where the pages of the PDF device go (not owned; a run keeps one for
    // all its scenes). Without one, printAll writes one file per script of
    // its own, and a single page printed with the PDF device is lost.
    void setPdfWriter(PdfScriptWriter* writer) { m_pdfWriter = writer; }
    PdfScriptWriter* pdfWriter() const { return m_pdfWriter; }

    // Reads and lays out a screenplay file. File errors are put to the user
    // by the file layer and then raised (CannotOpenException and its kin);
    // the scene then has no pages.
    void load(const char* path);
    // Lays out a screenplay text already in memory (the same rules as load).
    void loadText(std::string_view text);

    // Marks a name as not to be printed: the slot already holding the name,
    // else the first free slot, gets id 0. False when every slot holds
    // another name.
    bool exclude(const FCString& name);
    bool isExcluded(std::string_view name) const;

    // Puts the cursor of the laid-out text at the start of printed line n.
    bool seekLine(int n);

    // Printing to the printer or to page images.
    //
    // The comment background tile for the background mode and level: a 2x2,
    // 3x3 or 4x4 tile with one pixel of the level, the rest white, for modes
    // 2, 3 and 4 or more; modes 0 and 1 use no tile and leave it as it is.
    void buildBackgroundPattern();
    // Every script of the scene: each character's in table order (excluded
    // ones give no page), then the director's copy when the option asks.
    void printAll(OutputDevice device);
    // One page of the script for character slot target (-1: the director's
    // copy); page -1 is the current page. False when nothing (more) is to be
    // printed for the character.
    bool printPage(int page, OutputDevice device, int target);
    // Draws the current page for target on a fresh device and emits it;
    // false when the page's first line does not exist.
    bool renderPage(int target, OutputDevice device);
    // The character's name for headers and page files, or the director's
    // caption for target -1.
    FCString targetName(int target) const;
    // The title of a printer job for the current page of target's script:
    // the scene name, the script's name (the character, or "監督用") and
    // "page/pages".
    FCString jobTitle(int target) const;
    // The name target's files take: targetName, unless a script printed
    // before it in the scene (slots in order, then the director's copy) has
    // a name that becomes the same file name (the "a/b" and "a_b" of one
    // scene); then that name with "(2)", "(3)"... added, so that no script's
    // pages overwrite another's.
    const FCString& fileTargetName(int target) const;

    // Drawing a page without emitting it (the page preview).
    //
    // Whether printAll gives character slot target a script: false for a
    // slot outside the table or beyond the characters, and for an excluded
    // character that speaks; the director's copy (-1) when the option asks.
    bool printsScriptOf(int target) const;
    // Draws page `page` (0-based) of target's script onto dc exactly as
    // renderPage draws it for its device, without a device, observer or
    // file, and without moving the current page. False when the page does
    // not exist.
    bool drawPage(int page, int target, DeviceContext& dc);

    int options() const { return m_options; }
    const FCString& sourcePath() const { return m_sourcePath; }
    // Characters of the last loaded file that Shift-JIS cannot hold (a UTF-8
    // file), laid out as "〓".
    int64_t replacedCharacters() const { return m_replacedCharacters; }
    FCString& laidOutText() { return m_laidOutText; }
    const FCString& laidOutText() const { return m_laidOutText; }
    int lineCount() const { return m_lineCount; }
    int pageCount() const { return m_pageCount; }
    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int page) { m_currentPage = page; }
    const FCString& sceneName() const { return m_header.sceneName(); }
    const ScreenplayHeader& header() const { return m_header; }
    int linesPerPage() const { return m_linesPerPage; }
    int charactersPerLine() const { return m_charactersPerLine; }
    uint32_t lineFlags(int line) const;
    const FCIdString& exclusion(int slot) const { return m_exclusions[slot]; }
    const FCString& destinationFolder() const { return m_destinationFolder; }
    const ScriptFont& generalFont() const { return m_generalFont; }
    const ScriptFont& targetFont() const { return m_targetFont; }
    const ScriptFont& commentFont() const { return m_commentFont; }
    int fontSize() const { return m_fontSize; }
    int linePitch() const { return m_linePitch; }
    int backgroundLevel() const { return m_backgroundLevel; }
    int backgroundMode() const { return m_backgroundMode; }
    const FCVSurface& backgroundPattern() const { return m_backgroundPattern; }

private:
    void layOut(class ScreenplayScanner& scanner, int64_t textBytes);
    void layOutBody(class ScreenplayScanner& scanner);
    void layOutLine(std::string_view line);
    int layOutText(std::string_view text, int indent);
    void appendLead(int spaces);

    int m_options = OptionGenericScript | OptionNotesInCommentFont;
    FCString m_sourcePath;
    int64_t m_replacedCharacters = 0;
    // fileTargetName of every slot, then of the director's copy; made when
    // first asked for after a load.
    mutable std::vector<FCString> m_fileTargetNames;
    FCString m_laidOutText;
    int m_lineCount = 0;
    int m_pageCount = 0;
    int m_currentPage = 0;
    ScreenplayHeader m_header;
    int m_linesPerPage = 47;
    int m_charactersPerLine = 40;
    FCVector<uint32_t> m_lineFlags;
    std::array<FCIdString, ExclusionSlots> m_exclusions;
    FCString m_destinationFolder;
    FCString m_pageName;
    PdfScriptWriter* m_pdfWriter = nullptr;
    ScriptFont m_generalFont;
    ScriptFont m_targetFont;
    ScriptFont m_commentFont;
    int m_linePitch = 20;
    int m_fontSize = 14;
    int m_backgroundLevel = 0;
    int m_backgroundMode = 4;
    FCVSurface m_backgroundPattern;
};
