#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ScreenplayScanner;

// One version of a scene as a comparison reads it: its scene name and its
// body lines, each cut into what can change between versions. The texts are
// CP932 with trailing blanks (ASCII spaces, TABs, full-width spaces) removed,
// so that versions that differ only there read the same. Lines the layout
// drops ("@" first) are not kept.
struct SceneVersion {
    enum class Kind {
        Numbered,   // a speaker line whose label number is all digits
        Unnumbered, // a speaker line with any other label
        Note,       // a note or a comment
    };

    struct Line {
        Kind kind = Kind::Note;
        // Speaker lines: the label number as written and, for numbered
        // lines, the message number it gives.
        std::string label;
        std::optional<uint64_t> number;
        std::string character;
        // The speaker's name exactly as written (character may have lost
        // trailing blanks), as the scripts tell their characters apart.
        std::string speaker;
        // The utterance from its first bracket, or the note's text.
        std::string text;
        // The line's position among the body lines of the file, from 0 (the
        // lines after ".total" that are not empty, "@" lines included); a
        // pickup script selects its lines by it.
        int bodyLine = 0;
    };

    std::string sceneName;
    std::vector<Line> lines;

    // Reads a screenplay text already in CP932. A text without ".total" has
    // no body.
    static SceneVersion fromText(std::string_view cp932);
    // Reads the text a scanner hands out.
    static SceneVersion fromScanner(ScreenplayScanner& scanner);

    // The text without its trailing ASCII spaces, TABs and full-width
    // spaces; double-byte aware.
    static std::string_view withoutTrailingBlanks(std::string_view text);
};
