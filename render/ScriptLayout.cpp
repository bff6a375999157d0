#include "render/ScriptLayout.h"

#include "platform/Sjis.h"
#include "render/PageFileName.h"

#include <algorithm>
#include <set>
#include <string>

ScriptLayout::ScriptLayout()
{
    // The text is one long text built by appending.
    m_text.create(65536, nullptr);
    m_lineFlags.init(512);
}

void ScriptLayout::clearLines()
{
    m_text.clear();
    m_lineFlags.reset();
    m_marks.clear();
    m_lineCount = 0;
    m_walkedLines = 0;
    m_walkedTo = 0;
}

int ScriptLayout::characterCount() const
{
    // The table has room for so many characters, whatever ".chara" said.
    const int characters = m_header.characterCount();
    if (characters > ScreenplayHeader::TableSize)
        return ScreenplayHeader::TableSize;
    return characters < 0 ? 0 : characters;
}

uint32_t ScriptLayout::lineFlags(int line) const
{
    if (line < 0 || line >= m_lineCount)
        return 0;
    return m_lineFlags.data()[line];
}

std::span<const ScriptLayout::Mark> ScriptLayout::marksOf(int line) const
{
    if (m_marks.empty())
        return {};
    const auto byLine = [](const Mark& mark, int wanted) { return mark.line < wanted; };
    const auto first = std::lower_bound(m_marks.begin(), m_marks.end(), line, byLine);
    const auto last = std::lower_bound(first, m_marks.end(), line + 1, byLine);
    return {first, last};
}

int32_t ScriptLayout::lineStart(int n) const
{
    if (n < 0 || n >= m_lineCount)
        return FCString::none;
    // A copy shares the text and has a cursor of its own.
    FCString text(m_text);
    if (n < m_walkedLines) {
        m_walkedLines = 0;
        m_walkedTo = 0;
    }
    text.setCursor(m_walkedTo);
    for (; m_walkedLines < n; ++m_walkedLines) {
        if (text.findChar('\n') == FCString::none) {
            m_walkedLines = 0;
            m_walkedTo = 0;
            return FCString::none;
        }
        text.nextChar();
        m_walkedTo = text.cursor();
    }
    text.skipSet("\r\n");
    return text.cursor();
}

int32_t ScriptLayout::pageStart(int page) const
{
    if (page < 0 || page >= m_pageCount)
        return FCString::none;
    const int64_t firstLine = static_cast<int64_t>(page) * m_linesPerPage;
    if (firstLine >= m_lineCount)
        return FCString::none;
    return lineStart(static_cast<int>(firstLine));
}

FCString ScriptLayout::targetName(int target) const
{
    FCString name = target < 0 || target >= ScreenplayHeader::TableSize
                        ? FCString(Sjis::of("監督用"))
                        : m_header.character(target).name;
    if (!m_nameSuffix.isEmpty()) {
        name.append(Sjis::of("（"));
        name.append(m_nameSuffix.view());
        name.append(Sjis::of("）"));
    }
    return name;
}

const FCString& ScriptLayout::fileTargetName(int target) const
{
    const int characters = characterCount();
    if (m_fileTargetNames.empty()) {
        // Names are compared as the file system will see them.
        std::set<std::string> taken;
        for (int i = 0; i <= characters; ++i) {
            const FCString name = targetName(i < characters ? i : -1);
            FCString fileName = name;
            for (int n = 2;
                 !taken.insert(PageFileName::safeName(fileName.view()).toStdString()).second; ++n) {
                fileName = name;
                fileName.append("(");
                fileName.appendNumber(n);
                fileName.append(")");
            }
            m_fileTargetNames.push_back(fileName);
        }
    }
    return m_fileTargetNames[target >= 0 && target < characters ? target : characters];
}
