#pragma once

#include "format/TypesettingOptions.h"
#include "render/ScriptLayout.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class FCString;

// Lays the text of one body line out on the character grid as the plain
// grid does (the first segment beside the label with the label's indent
// less room, every forced break starting a new line with the full width,
// each continuation line after a 12-space lead), with the typesetting
// options on:
//
// - Cells: one or two half-width digits in a row are one cell, set upright;
//   the notation of a reading ("｜" base "《" reading "》", or a run of kanji
//   directly before "《" reading "》") takes no cells, its base is laid out
//   as ordinary text and its reading recorded beside it.
// - Line breaking: a line does not start with a character that may not
//   start one, end with an opening bracket, or cut a run of dashes and
//   leaders or the base of a reading. A full stop or comma that would start
//   a line hangs past its end instead (the line holds one cell more);
//   otherwise the line gives up its last cells to the next, as few as
//   needed. A line that would give up every cell (nothing in it may end a
//   line) is cut after its width as on the plain grid.
//
// A reading's notation that does not close within the segment is ordinary
// text.
class LineBreaker {
public:
    // Where the laid-out text goes.
    struct Target {
        FCString& text;
        std::vector<ScriptLayout::Mark>& marks;
        int line = 0;          // the printed line the text starts on
        int32_t lineStart = 0; // where that line starts in text
    };

    void setOptions(const TypesettingOptions& options) { m_options = options; }

    // Appends text, the line's closing line feed included; returns the
    // printed lines made. width is at least 1, indent at least 0.
    int layOut(std::string_view text, int width, int indent, Target target);

private:
    // A cell of the grid: one character, or one or two digits set upright.
    struct Unit {
        uint32_t begin = 0; // bytes of the text
        uint32_t end = 0;
        int first = 0; // the codes of its first and last characters
        int last = 0;
        int group = -1; // the reading whose base it belongs to
        bool upright = false;
    };
    // A reading and its base, units [first, end).
    struct Group {
        std::size_t first = 0;
        std::size_t end = 0;
        std::string_view reading;
    };

    void readSegment(std::size_t begin, std::size_t end);
    // The notation of a reading at p ("｜" or "《"); false when it is none.
    bool readBarNotation(std::size_t& p, std::size_t end);
    bool readKanjiNotation(std::size_t& p, std::size_t end);
    // The reading at p, just after "《", up to "》" within end: false when
    // there is none or it is empty; p moves past "》".
    bool readReading(std::size_t& p, std::size_t end, std::string_view& reading) const;
    void addUnit(std::size_t begin, std::size_t end, bool upright = false);

    void placeSegment(int room);
    // Where the line that starts at unit `start` ends when its room would
    // end it before unit `cut`.
    std::size_t breakBefore(std::size_t start, std::size_t cut) const;
    bool mayBreakBefore(std::size_t unit) const;
    void emit(std::size_t first, std::size_t end);
    void emitReading(const Group& group, std::size_t first, std::size_t end, int32_t offset,
                     int32_t length);
    void newLine();

    TypesettingOptions m_options;
    int m_width = 1;
    std::string_view m_text;
    std::vector<Unit> m_units;
    std::vector<Group> m_groups;
    FCString* m_out = nullptr;
    std::vector<ScriptLayout::Mark>* m_marks = nullptr;
    int m_line = 0;
    int32_t m_lineStart = 0;
    int m_lines = 0;
};
