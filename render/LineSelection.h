#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

// The lines a partial print run prints: per scene, per character, the body
// lines chosen for that character's script, with the words the page header
// adds after the character's name and an optional mark before each chosen
// line's label. A run with a selection prints, for every character of a
// scene with lines chosen, only those lines, each run of them with one line
// of context before and after; scenes and characters with nothing chosen
// print nothing.
//
// A scene is named by its file name as the catalogue lists it (relative to
// the scenario folder, CP932). A character by its name as the screenplay
// writes it (CP932). A body line by its position in the file: the n-th line
// (from 0) that ScreenplayScanner::nextLine returns after
// ScreenplayHeader::read has read the header up to ".total". Empty lines are
// no lines; "@" lines are lines (they are not printed, so choosing one
// prints nothing).
class LineSelection {
public:
    using Lines = std::set<int>;

    // The chosen lines of one scene, per character.
    class Scene {
    public:
        // Null when nothing is chosen for the character.
        const Lines* linesOf(std::string_view character) const;
        const std::map<std::string, Lines, std::less<>>& characters() const { return m_characters; }

    private:
        friend class LineSelection;
        std::map<std::string, Lines, std::less<>> m_characters;
    };

    // Chooses body line bodyLine of the scene file for the character's
    // script. A negative line is no line and is ignored.
    void select(std::string_view sceneFile, std::string_view character, int bodyLine);

    // Null when nothing is chosen in the scene.
    const Scene* scene(std::string_view sceneFile) const;
    const std::map<std::string, Scene, std::less<>>& scenes() const { return m_scenes; }
    bool isEmpty() const { return m_scenes.empty(); }
    // Chosen lines over every scene and character.
    int lineCount() const { return m_lineCount; }

    // What the header shows after the character's name, set in brackets:
    // "未収録" makes "さくら（未収録）" (CP932). Partial scripts' files take
    // the same name, so that they never replace whole scripts. Empty: the
    // name alone.
    void setHeaderSuffix(std::string_view suffix) { m_headerSuffix = suffix; }
    const std::string& headerSuffix() const { return m_headerSuffix; }

    // Put in the label column before each chosen speaker line's label, such
    // as "＊" (CP932); empty (the default) for none.
    void setMarker(std::string_view marker) { m_marker = marker; }
    const std::string& marker() const { return m_marker; }

private:
    std::map<std::string, Scene, std::less<>> m_scenes;
    int m_lineCount = 0;
    std::string m_headerSuffix;
    std::string m_marker;
};
