#pragma once

#include <string>

// One difference between two versions of a scenario, as the listing shows
// it. Texts are CP932.
struct LineChange {
    enum class Kind {
        Added,       // 追加: a number only the new version has
        Deleted,     // 削除: a number only the old version has
        Changed,     // 変更: the same number, another text
        Reassigned,  // 話者変更: the same number, another speaker
        Renumbered,  // 番号変更: the same speaker and text, a new number
        NoteChanged, // 注記変更: a note or comment (asked for only)
    };

    Kind kind = Kind::Changed;
    // The label number as written (the old one for a deletion); for a
    // renumbered line "old→new".
    std::string number;
    std::string scene;
    // The speaker in the new version (the old one for a deletion).
    std::string character;
    std::string oldText;
    std::string newText;
    // The scene's file name, and the line's position among the new
    // version's body lines (-1 for a deletion).
    std::string fileName;
    int newBodyLine = -1;
    // The new version's speaker exactly as written, whose script holds the
    // line (empty for a deletion and a note).
    std::string speaker;

    // The kind's word (CP932).
    static const char* kindText(Kind kind);
    // Whether the line's actor records it again: added, changed and
    // re-assigned lines.
    bool needsRecording() const
    {
        return kind == Kind::Added || kind == Kind::Changed || kind == Kind::Reassigned;
    }
};
