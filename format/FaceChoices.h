#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The faces the print settings' three face boxes offer: every installed face
// usable for vertical setting, and in front of them each face the print
// format names that is not installed here (a folder made on Windows names
// "@ＭＳ ゴシック"). Such a face is offered under its own name, which is what
// OK stores, byte for byte; its label adds the installed family that prints
// it in its place, or that none does on this machine.
//
// Faces and labels are CP932.
class FaceChoices {
public:
    // (face) -> the installed family that prints it, empty when none does.
    using PrintedBy = std::function<std::string(std::string_view face)>;

    // installed: the installed faces (sorted here, repeats dropped); named:
    // the faces the print format names, empty names left out; printedBy:
    // asked once per named face that is not installed (the font engine's
    // answer when empty).
    FaceChoices(std::vector<std::string> installed, const std::vector<std::string>& named,
                PrintedBy printedBy = {});

    // The face of each entry, in the boxes' order.
    const std::vector<std::string>& faces() const { return m_faces; }
    // What the boxes show for each entry.
    const std::vector<std::string>& labels() const { return m_labels; }
    int size() const { return static_cast<int>(m_faces.size()); }
    // The entry of the face (exact bytes), -1 when there is none.
    int indexOf(std::string_view face) const;

    // The font engine's answer: the installed family that prints the face,
    // as CP932.
    static std::string printedByFontEngine(std::string_view face);

private:
    std::vector<std::string> m_faces;
    std::vector<std::string> m_labels;
};
