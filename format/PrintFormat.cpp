#include "format/PrintFormat.h"

#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cassert>

namespace {

// The weights that every preset mode prints with, whatever the custom
// weights hold.
constexpr int PresetWeight[PrintFormat::FaceCount] = {700, 400, 700};

} // namespace

PrintFormat::PrintFormat()
{
    m_defaultFont[0] = FCString(Sjis::of("@ＭＳ ゴシック"));
    m_defaultFont[1] = FCString(Sjis::of("@ＭＳ 明朝"));
    m_defaultFont[2] = FCString(Sjis::of("@ＭＳ 明朝"));
    for (int face = 0; face < FaceCount; ++face)
        m_customFontName[face] = m_defaultFont[face];
}

void PrintFormat::setDefaultLogName()
{
    m_logName = FCString(std::string_view(ProgramFolders::programFolder() + "quillon.log.txt"));
}

void PrintFormat::checkFace(int face)
{
    assert(face >= 0 && face < FaceCount && "PrintFormat: faces are 0, 1 and 2");
    (void)face;
}

const FCString& PrintFormat::defaultFont(int face) const
{
    checkFace(face);
    return m_defaultFont[face];
}

void PrintFormat::setDefaultFont(int face, const FCString& name)
{
    checkFace(face);
    m_defaultFont[face] = name;
}

const FCString& PrintFormat::customFontName(int face) const
{
    checkFace(face);
    return m_customFontName[face];
}

int PrintFormat::customWeight(int face) const
{
    checkFace(face);
    return m_customWeight[face];
}

void PrintFormat::setCustomFont(int face, const FCString& name, int weight)
{
    checkFace(face);
    m_customFontName[face] = name;
    m_customWeight[face] = weight;
}

void PrintFormat::setFlag(uint32_t flag, bool on)
{
    if (on)
        m_flags |= flag;
    else
        m_flags &= ~flag;
}

void PrintFormat::setLog(bool on, const char* name)
{
    setFlag(FlagLog, on);
    if (name)
        m_logName = FCString(name);
    else
        m_logName.clear();
}

const PrintFormat::Preset& PrintFormat::preset() const
{
    static constexpr Preset Small{14, 20, 47, 40};
    static constexpr Preset Medium{16, 28, 34, 35};
    static constexpr Preset Large{18, 32, 30, 30};
    switch (m_mode) {
    case ModePreset16:
        return Medium;
    case ModePreset18:
        return Large;
    default:
        return Small;
    }
}

int PrintFormat::fontSize() const
{
    return isCustom() ? m_customFontSize : preset().fontSize;
}

int PrintFormat::lineWidth() const
{
    return isCustom() ? m_customLineWidth : preset().lineWidth;
}

int PrintFormat::linesPerPage() const
{
    return isCustom() ? m_customLinesPerPage : preset().linesPerPage;
}

int PrintFormat::charsPerLine() const
{
    return isCustom() ? m_customCharsPerLine : preset().charsPerLine;
}

const FCString& PrintFormat::targetFace() const
{
    return isCustom() ? m_customFontName[0] : m_defaultFont[0];
}

int PrintFormat::targetWeight() const
{
    return isCustom() ? m_customWeight[0] : PresetWeight[0];
}

const FCString& PrintFormat::generalFace() const
{
    return isCustom() ? m_customFontName[1] : m_defaultFont[1];
}

int PrintFormat::generalWeight() const
{
    return isCustom() ? m_customWeight[1] : PresetWeight[1];
}

const FCString& PrintFormat::commentFace() const
{
    return isCustom() ? m_customFontName[2] : m_defaultFont[2];
}

int PrintFormat::commentWeight() const
{
    return isCustom() ? m_customWeight[2] : PresetWeight[2];
}

void PrintFormat::autoCalculate(int fontSize, int lineWidth, int& linesPerPage, int& charsPerLine)
{
    if (lineWidth < 1 || fontSize < 1)
        return;
    linesPerPage = 960 / lineWidth;
    charsPerLine = std::max(1, 650 / fontSize - 6);
}

void PrintFormat::setSuppressedText(const FCString& text)
{
    m_suppressedText = text;
    m_suppressedNames.clear();
    // Names are cut at every "\n" byte, as they were joined: a name read from
    // a broken file may end in a lone lead byte, which must not swallow the
    // line feed behind it.
    std::string_view rest = text.view();
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            m_suppressedNames.emplace_back(rest);
            break;
        }
        m_suppressedNames.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
}

void PrintFormat::rebuildSuppressed(const std::vector<FCString>& names)
{
    FCString text;
    for (const FCString& name : names) {
        text.append(name.view());
        text.append("\n");
    }
    setSuppressedText(text);
}

bool PrintFormat::isSuppressed(std::string_view name) const
{
    return std::any_of(m_suppressedNames.begin(), m_suppressedNames.end(),
                       [name](const FCString& entry) { return entry.view() == name; });
}
