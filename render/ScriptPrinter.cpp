#include "render/ScriptPrinter.h"

#include "document/ScreenplayBodyLine.h"
#include "document/ScreenplayScanner.h"
#include "document/ScreenplaySource.h"
#include "platform/Cp932.h"
#include "platform/Sjis.h"
#include "render/LineSelection.h"

namespace {

constexpr std::string_view spaces = "            "; // the widest lead: 12 cells

// The forced-break marker: a backslash followed by the letter n, both
// single-byte characters.
bool isBreakMarker(const char* p, const char* end)
{
    return p + 1 < end && p[0] == '\\' && p[1] == 'n';
}

} // namespace

ScriptPrinter::ScriptPrinter()
{
    m_generalFont = {400, FCString(Sjis::of("@ＭＳ 明朝"))};
    m_targetFont = {700, FCString(Sjis::of("@ＭＳ ゴシック"))};
    m_commentFont = {700, FCString(Sjis::of("@ＭＳ 明朝"))};
}

void ScriptPrinter::setGeneralFont(int weight, const FCString& face)
{
    m_generalFont = {weight, face};
}

void ScriptPrinter::setTargetFont(int weight, const FCString& face)
{
    m_targetFont = {weight, face};
}

void ScriptPrinter::setCommentFont(int weight, const FCString& face)
{
    m_commentFont = {weight, face};
}

bool ScriptPrinter::setLinesPerPage(int lines)
{
    if (lines < 1)
        return false;
    m_linesPerPage = lines;
    return true;
}

bool ScriptPrinter::setCharactersPerLine(int characters)
{
    if (characters < 1)
        return false;
    m_charactersPerLine = characters;
    return true;
}

void ScriptPrinter::setBackground(int mode, int level)
{
    m_backgroundMode = mode;
    m_backgroundLevel = level < 0 ? 0 : (level > 255 ? 255 : level);
}

void ScriptPrinter::setTypesetting(const TypesettingOptions& options)
{
    m_typesetting = options;
    m_lineBreaker.setOptions(options);
}

void ScriptPrinter::load(const char* path)
{
    m_sourcePath.create(256, path);
    // The file is read through a buffer while it is laid out: a large scene
    // then lives in memory once, as its laid-out text. The source hands over
    // CP932 whether the file is Shift-JIS or UTF-8. Read failures are put to
    // the user by the file layer, which raises on Cancel.
    ScreenplaySource source;
    // Characters a UTF-8 file holds that Shift-JIS cannot print as "〓"; the
    // folder load names such files, once per load.
    source.open(path);
    ScreenplayScanner scanner([&source](char* buffer, std::size_t capacity) -> std::size_t {
        return source.read(buffer, capacity);
    });
    const int64_t size = source.storedSize();
    layOut(scanner, size > 0 ? size : 0);
    m_layout.m_replacedCharacters = static_cast<int64_t>(source.substitutions());
}

void ScriptPrinter::loadText(std::string_view text)
{
    ScreenplayScanner scanner(text);
    layOut(scanner, static_cast<int64_t>(text.size()));
    m_layout.m_replacedCharacters = 0;
}

void ScriptPrinter::setLineSelection(const LineSelection* selection, std::string_view sceneFile)
{
    m_selection = selection;
    m_selectionScene.assign(sceneFile);
    m_partials.clear();
}

void ScriptPrinter::layOut(ScreenplayScanner& scanner, int64_t textBytes)
{
    ScriptLayout& layout = m_layout;
    layout.m_header.clearCharacters();
    layout.m_fileTargetNames.clear();
    m_partials.clear();
    m_bodyLines.clear();
    m_noSpeakerName.assign(m_exclusions[0].view());
    if (!layout.m_header.read(scanner))
        return; // No ".total": the header is all there is.

    layout.clearLines();
    // The laid-out text is about the size of the body plus its leads: make
    // room once rather than growing through the whole scene.
    const int64_t limit = int64_t(1) << 30;
    int64_t expected = textBytes + textBytes / 4 + 4096;
    layout.m_text.reserve(static_cast<int32_t>(expected < limit ? expected : limit));
    layOutBody(scanner);
    layout.m_linesPerPage = m_linesPerPage;
    layout.m_pageCount = (layout.m_lineCount + m_linesPerPage - 1) / m_linesPerPage;
}

void ScriptPrinter::layOutBody(ScreenplayScanner& scanner)
{
    std::string_view line;
    while (scanner.nextLine(line)) {
        if (m_selection)
            m_bodyLines.emplace_back(line);
        layOutLine(m_layout, line);
    }
}

void ScriptPrinter::appendLead(ScriptLayout& into, int count) const
{
    into.m_text.append(spaces.substr(0, static_cast<std::size_t>(count)));
}

void ScriptPrinter::layOutLine(ScriptLayout& into, std::string_view line, std::string_view marker,
                               uint32_t extraFlags) const
{
    ScreenplayBodyLine body = ScreenplayBodyLine::classify(line);
    uint32_t flags = 0;
    int indent = 0;
    const int32_t lineStart = into.m_text.length();
    switch (body.kind) {
    case ScreenplayBodyLine::Kind::Ignored:
        return;
    case ScreenplayBodyLine::Kind::Note:
    case ScreenplayBodyLine::Kind::ShiftedNote:
    case ScreenplayBodyLine::Kind::Comment:
        flags = ScriptLayout::FlagNoteIndex;
        if (m_options & OptionNotesInCommentFont)
            flags |= ScriptLayout::FlagNoteInCommentFont;
        if (body.kind == ScreenplayBodyLine::Kind::Comment)
            flags = (flags & ~ScriptLayout::FlagNoteInCommentFont) |
                    ScriptLayout::FlagEmphasisedComment;
        appendLead(into,
                   body.kind == ScreenplayBodyLine::Kind::Note ? LabelColumns : LabelColumns - 2);
        break;
    case ScreenplayBodyLine::Kind::Speaker: {
        // Exclusion slot 0 is empty while a scene loads (the print run
        // excludes after loading), so this marks lines without a speaker.
        if (body.speakerName == m_noSpeakerName)
            flags = ScriptLayout::FlagNoSpeaker;
        int index = into.m_header.find(body.speakerName);
        if (index > 0)
            flags += static_cast<uint32_t>(index);
        // A marker is part of the label: it pushes a wide label's text right
        // as the label's own characters do.
        if (!marker.empty())
            into.m_text.append(marker);
        into.m_text.append(body.label);
        int labelBytes = static_cast<int>(marker.size() + body.label.size());
        // A label wider than the column pushes the text right by whole
        // double-width cells (a half cell is not counted).
        indent = labelBytes > LabelColumns ? (labelBytes - LabelColumns) / 2 : 0;
        break;
    }
    }

    flags |= extraFlags;
    // The plain grid keeps a loop of its own: most scenes are laid out
    // without the typesetting options.
    const int printedLines =
        m_typesetting.any()
            ? m_lineBreaker.layOut(body.text, m_charactersPerLine, indent,
                                   {into.m_text, into.m_marks, into.m_lineCount, lineStart})
            : layOutText(into, body.text, indent);
    for (int i = 0; i < printedLines; ++i)
        *into.m_lineFlags.at(into.m_lineCount + i) = flags;
    into.m_lineCount += printedLines;
}

// Lays out the text after the label or lead; returns the printed lines made.
// One pass over the characters: a printed line is cut when it holds its room
// and another character follows, and at every forced-break marker.
int ScriptPrinter::layOutText(ScriptLayout& into, std::string_view text, int indent) const
{
    FCString& out = into.m_text;
    const int width = m_charactersPerLine;
    const char* p = text.data();
    const char* end = p + text.size();
    const char* lineStart = p;
    int lines = 1;
    int onLine = 0;
    // The first segment shares its line with the label; a label so wide that
    // no room is left puts the whole segment on continuation lines.
    int room = width - indent;
    if (room < 0)
        room = 0;

    auto newLine = [&]() {
        // A line feed and the 12-space lead of a continuation line.
        out.append(std::string_view("\n            ", 1 + LabelColumns));
        ++lines;
        onLine = 0;
        room = width;
    };
    while (true) {
        if (p >= end || isBreakMarker(p, end)) {
            out.append(std::string_view(lineStart, static_cast<std::size_t>(p - lineStart)));
            if (p >= end)
                break;
            // A forced break starts the next segment on a new line with the
            // full width; an empty segment still makes a line holding only
            // the lead.
            p += 2;
            lineStart = p;
            newLine();
            continue;
        }
        if (Cp932::charLength(p, end) == 1 && Cp932::isLeadByte(static_cast<unsigned char>(*p))) {
            // A lead byte without its trail (one before a NUL) is no
            // character. Kept, it would pair with whatever follows it in the
            // laid-out text, the line feed of a cut line among them, and
            // hide that line from everything that steps through the text.
            out.append(std::string_view(lineStart, static_cast<std::size_t>(p - lineStart)));
            lineStart = ++p;
            continue;
        }
        if (onLine >= room) {
            out.append(std::string_view(lineStart, static_cast<std::size_t>(p - lineStart)));
            lineStart = p;
            newLine();
        }
        p = Cp932::next(p, end);
        ++onLine;
    }
    out.append(std::string_view("\n", 1));
    return lines;
}

const ScriptLayout& ScriptPrinter::scriptLayout(int target) const
{
    if (!m_selection)
        return m_layout;
    if (target < -1 || target >= ScreenplayHeader::TableSize)
        target = -1;
    std::unique_ptr<ScriptLayout>& script = m_partials[target];
    if (!script) {
        script = std::make_unique<ScriptLayout>();
        layOutPartial(*script, target);
    }
    return *script;
}

void ScriptPrinter::layOutPartial(ScriptLayout& into, int target) const
{
    into.m_header = m_layout.m_header;
    into.m_nameSuffix = FCString(std::string_view(m_selection->headerSuffix()));
    into.m_linesPerPage = m_linesPerPage;
    into.clearLines();
    into.m_pageCount = 0;

    LineSelection::Lines chosen;
    if (const LineSelection::Scene* scene = m_selection->scene(m_selectionScene)) {
        if (target >= 0) {
            if (const LineSelection::Lines* lines =
                    scene->linesOf(m_layout.m_header.character(target).name.view()))
                chosen = *lines;
        } else {
            for (const auto& [character, lines] : scene->characters()) {
                if (!isExcluded(character))
                    chosen.insert(lines.begin(), lines.end());
            }
        }
    }
    if (chosen.empty())
        return;

    // Context is the neighbouring printed line: "@" lines are never printed,
    // so they are passed over, and a chosen "@" line prints nothing.
    std::vector<int> printed;
    for (int i = 0; i < static_cast<int>(m_bodyLines.size()); ++i) {
        if (ScreenplayBodyLine::classify(m_bodyLines[std::size_t(i)]).kind !=
            ScreenplayBodyLine::Kind::Ignored)
            printed.push_back(i);
    }
    const std::size_t count = printed.size();
    std::vector<bool> wanted(count, false);
    std::vector<bool> isChosen(count, false);
    for (std::size_t p = 0; p < count; ++p) {
        if (!chosen.contains(printed[p]))
            continue;
        isChosen[p] = true;
        wanted[p] = true;
        if (p > 0)
            wanted[p - 1] = true;
        if (p + 1 < count)
            wanted[p + 1] = true;
    }

    // Runs whose context lines touch or overlap are one run; between two
    // runs an empty line (a lead alone) shows the gap, unless the second run
    // starts a page, where the page break shows it.
    const std::string_view marker = m_selection->marker();
    bool started = false;
    for (std::size_t p = 0; p < count; ++p) {
        if (!wanted[p])
            continue;
        if (started && !wanted[p - 1] && into.m_lineCount % m_linesPerPage != 0) {
            appendLead(into, LabelColumns);
            into.m_text.append(std::string_view("\n", 1));
            *into.m_lineFlags.at(into.m_lineCount) =
                ScriptLayout::FlagNoSpeaker | ScriptLayout::FlagContext;
            ++into.m_lineCount;
        }
        const std::string_view line = m_bodyLines[std::size_t(printed[p])];
        if (isChosen[p])
            layOutLine(into, line, marker);
        else
            layOutLine(into, line, {}, ScriptLayout::FlagContext);
        started = true;
    }
    into.m_pageCount = (into.m_lineCount + m_linesPerPage - 1) / m_linesPerPage;
}

bool ScriptPrinter::exclude(const FCString& name)
{
    // The director's copy of a partial run follows the exclusions.
    m_partials.clear();
    for (FCIdString& slot : m_exclusions) {
        if (slot.id() != -1 && slot.view() == name.view()) {
            slot.set(0, name);
            return true;
        }
    }
    for (FCIdString& slot : m_exclusions) {
        if (slot.id() == -1) {
            slot.set(0, name);
            return true;
        }
    }
    return false;
}

bool ScriptPrinter::isExcluded(std::string_view name) const
{
    for (const FCIdString& slot : m_exclusions) {
        if (slot.id() == -1)
            return false;
        if (slot.id() == 0 && slot.view() == name)
            return true;
    }
    return false;
}

bool ScriptPrinter::excludes(int target) const
{
    if (target < 0 || target >= ScreenplayHeader::TableSize)
        return false;
    const ScreenplayCharacter& character = m_layout.header().character(target);
    return character.count > 0 && isExcluded(character.name.view());
}

bool ScriptPrinter::printsScriptOf(int target) const
{
    if (target == -1)
        return printsDirectorsCopy();
    if (target < 0 || target >= m_layout.characterCount())
        return false;
    return !excludes(target);
}

bool ScriptPrinter::seekLine(int n)
{
    const int32_t start = m_layout.lineStart(n);
    if (start == FCString::none)
        return false;
    m_layout.m_text.setCursor(start);
    return true;
}

void ScriptPrinter::buildBackgroundPattern()
{
    // Modes 0 and 1 need no tile.
    if (m_backgroundMode < 2)
        return;
    const int size = m_backgroundMode == 2 ? 2 : (m_backgroundMode == 3 ? 3 : 4);
    m_backgroundPattern.create(size, size, 255);
    // One dot of the level per tile; the tile repeats from the surface's
    // origin, so the dots form an even mesh.
    *m_backgroundPattern.pixel(0, 0) = static_cast<uint8_t>(m_backgroundLevel);
}
