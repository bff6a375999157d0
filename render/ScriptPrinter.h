#pragma once

#include "document/ScreenplayHeader.h"
#include "fc/FCIdString.h"
#include "fc/FCString.h"
#include "format/RunSettings.h"
#include "format/TypesettingOptions.h"
#include "render/FCVSurface.h"
#include "render/LineBreaker.h"
#include "render/ScriptFont.h"
#include "render/ScriptLayout.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class LineSelection;

// How a scene becomes pages. A ScriptPrinter, configured with the print
// format's faces, sizes and counts, loads a screenplay file and lays it out:
// the result is a ScriptLayout (character table, printed lines with their
// flags words, page count). A SceneRenderer walks the scene's scripts page by
// page; for each page a PageSink (page image files, the printer, PDF files)
// hands out a DeviceContext, a PageRenderer draws the page on it, and the
// sink writes the page and counts it as written or lost. After every page
// the RunContext lets the progress pump and says whether to stop. A print
// run owns one printer per scene and one sink and run context for the
// whole run; it reads the sink's counts for its log.
//
// One scene laid out for printing: the layout engine and the parameters a
// print run gives a scene. The body is broken into printed lines of a fixed
// character grid: a 12-cell label column followed by at most
// charactersPerLine characters of text. Each printed line carries a flags
// word that tells the renderer which face and treatment it gets; the lines
// are then divided into pages of linesPerPage lines. What the layout gives is
// layout(); the faces, sizes and comment background are read by the page
// renderer, and the exclusions decide which scripts a scene prints.
class ScriptPrinter {
public:
    // Option bits: the run's switches, as RunSettings hands them over.
    static constexpr uint32_t OptionGenericScript = RunSettings::GenericScript; // director's copy
    static constexpr uint32_t OptionNotesInCommentFont = RunSettings::CommentEmphasis;
    static_assert(RunSettings::PrinterOptions == (OptionGenericScript | OptionNotesInCommentFont),
                  "the run hands over exactly the layout engine's option bits");

    static constexpr int LabelColumns = ScriptLayout::LabelColumns;
    static constexpr int ExclusionSlots = 256;

    ScriptPrinter();
    virtual ~ScriptPrinter() = default;
    ScriptPrinter(const ScriptPrinter&) = delete;
    ScriptPrinter& operator=(const ScriptPrinter&) = delete;

    // Parameters, set before load or printing.
    void setOptions(uint32_t options) { m_options = options; }
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
    // Line breaking, upright digits and readings; all off (the plain grid)
    // by default.
    void setTypesetting(const TypesettingOptions& options);

    // Reads and lays out a screenplay file. File errors are put to the user
    // by the file layer and then raised (CannotOpenException and its kin);
    // the scene then has no pages.
    void load(const char* path);
    // Lays out a screenplay text already in memory (the same rules as load).
    void loadText(std::string_view text);
    // What the last load gave.
    const ScriptLayout& layout() const { return m_layout; }

    // A partial run: only the lines the selection chooses in the scene file
    // sceneFile (as the catalogue names it), each run of them with one line
    // of context before and after. Null (the default) prints whole scripts.
    // Set before load; the selection must outlive the printer's scripts.
    void setLineSelection(const LineSelection* selection, std::string_view sceneFile);
    bool isPartial() const { return m_selection != nullptr; }
    // What the script of character slot target (-1: the director's copy) is
    // drawn from: layout() for whole scripts. In a partial run the script's
    // own layout, made when first asked for after the load and exclusions:
    // no lines and no pages when nothing is chosen for the character; the
    // director's copy holds the lines chosen for every character not
    // excluded.
    const ScriptLayout& scriptLayout(int target) const;

    // Marks a name as not to be printed: the slot already holding the name,
    // else the first free slot, gets id 0. False when every slot holds
    // another name.
    bool exclude(const FCString& name);
    bool isExcluded(std::string_view name) const;
    // Whether character slot target's script is left out: an excluded
    // character is left out only when it speaks.
    bool excludes(int target) const;
    // Whether a print run gives character slot target a script: false for a
    // slot outside the table or beyond the characters, and for a character
    // the scene excludes; the director's copy (-1) when the option asks.
    bool printsScriptOf(int target) const;

    // Puts the cursor of the laid-out text at the start of printed line n.
    bool seekLine(int n);

    // The comment background tile for the background mode and level: a 2x2,
    // 3x3 or 4x4 tile with one pixel of the level, the rest white, for modes
    // 2, 3 and 4 or more; modes 0 and 1 use no tile and leave it as it is.
    void buildBackgroundPattern();

    uint32_t options() const { return m_options; }
    const TypesettingOptions& typesetting() const { return m_typesetting; }
    bool printsDirectorsCopy() const { return (m_options & OptionGenericScript) != 0; }
    const FCString& sourcePath() const { return m_sourcePath; }
    int linesPerPage() const { return m_linesPerPage; }
    int charactersPerLine() const { return m_charactersPerLine; }
    const FCIdString& exclusion(int slot) const { return m_exclusions[slot]; }
    const ScriptFont& generalFont() const { return m_generalFont; }
    const ScriptFont& targetFont() const { return m_targetFont; }
    const ScriptFont& commentFont() const { return m_commentFont; }
    int fontSize() const { return m_fontSize; }
    int linePitch() const { return m_linePitch; }
    int backgroundLevel() const { return m_backgroundLevel; }
    int backgroundMode() const { return m_backgroundMode; }
    const FCVSurface& backgroundPattern() const { return m_backgroundPattern; }

    // The layout's own, for the callers that hold the printer.
    int64_t replacedCharacters() const { return m_layout.replacedCharacters(); }
    const FCString& laidOutText() const { return m_layout.text(); }
    int lineCount() const { return m_layout.lineCount(); }
    int pageCount() const { return m_layout.pageCount(); }
    uint32_t lineFlags(int line) const { return m_layout.lineFlags(line); }
    const ScreenplayHeader& header() const { return m_layout.header(); }
    const FCString& sceneName() const { return m_layout.sceneName(); }
    FCString targetName(int target) const { return m_layout.targetName(target); }
    const FCString& fileTargetName(int target) const { return m_layout.fileTargetName(target); }

private:
    void layOut(class ScreenplayScanner& scanner, int64_t textBytes);
    void layOutBody(class ScreenplayScanner& scanner);
    // One body line into a layout; a chosen line of a partial script has
    // marker before its label, a context line has FlagContext added.
    void layOutLine(ScriptLayout& into, std::string_view line, std::string_view marker = {},
                    uint32_t extraFlags = 0) const;
    int layOutText(ScriptLayout& into, std::string_view text, int indent) const;
    void appendLead(ScriptLayout& into, int spaces) const;
    // The partial script of the chosen body lines into a layout of its own.
    void layOutPartial(ScriptLayout& into, int target) const;

    uint32_t m_options = OptionGenericScript | OptionNotesInCommentFont;
    FCString m_sourcePath;
    ScriptLayout m_layout;
    int m_linesPerPage = 47;
    int m_charactersPerLine = 40;
    std::array<FCIdString, ExclusionSlots> m_exclusions;
    ScriptFont m_generalFont;
    ScriptFont m_targetFont;
    ScriptFont m_commentFont;
    int m_linePitch = 20;
    int m_fontSize = 14;
    int m_backgroundLevel = 0;
    int m_backgroundMode = 4;
    FCVSurface m_backgroundPattern;
    // The speaker name that marks a line without speaker, as the first
    // exclusion slot held when the scene was loaded.
    std::string m_noSpeakerName;

    const LineSelection* m_selection = nullptr;
    std::string m_selectionScene;
    // A partial run keeps the scene's body lines, to lay out each script's
    // chosen lines and their context from.
    std::vector<std::string> m_bodyLines;
    mutable std::map<int, std::unique_ptr<ScriptLayout>> m_partials;
    TypesettingOptions m_typesetting;
    // Its working buffers are reused from line to line, also while a
    // partial script is laid out from a const printer.
    mutable LineBreaker m_lineBreaker;
};
