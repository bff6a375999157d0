#pragma once

#include <string_view>

// One body line of a screenplay file, classified by its first character and
// cut into the parts the layout needs. The views point into the line.
class ScreenplayBodyLine {
public:
    enum class Kind {
        Note,        // a space first: stage directions, narration
        ShiftedNote, // spaces, then "$" (dropped): a note with a shorter lead
        Comment,     // spaces, then "*" (kept): an emphasised comment
        Ignored,     // "@" first: neither printed nor counted
        Speaker,     // anything else: a numbered utterance
    };

    static ScreenplayBodyLine classify(std::string_view line);

    Kind kind = Kind::Ignored;
    // The text to lay out: the note's text, or the utterance from its first
    // bracket to the end of the line.
    std::string_view text;
    // Speaker lines only: the label as printed (everything before the first
    // bracket), the label number (up to the first space) and the speaker's
    // name (after the spaces, up to the first bracket).
    std::string_view label;
    std::string_view labelNumber;
    std::string_view speakerName;
};
