#pragma once

#include <string>
#include <string_view>

class PrintFormat;

// The pieces that the scene list and the character lists share: the mode
// line, the marks and the scene name of a row. Texts are CP932.
namespace CheckListText {

// The script would be printed / would not be printed / the scene has no
// speaking character.
const char* printedMark();
const char* unprintedMark();
const char* noSpeakerMark();
inline const char* mark(bool printed)
{
    return printed ? printedMark() : unprintedMark();
}

// The text after "mode:": for a custom format its effective font height,
// line pitch, lines per page and characters per line; for a preset its
// name. The CSV form ends with two empty columns.
std::string modeLine(const PrintFormat& format, bool csv);

// The file name of a row without ".screenplay.txt".
std::string sceneName(std::string_view fileName);

// "\n" after every line: the lists are LF-only files.
void appendLine(std::string& text, std::string_view line);

} // namespace CheckListText
