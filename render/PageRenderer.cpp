#include "render/PageRenderer.h"

#include "platform/Cp932.h"
#include "platform/Sjis.h"
#include "render/DeviceContext.h"
#include "render/ScriptPrinter.h"

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Lengths are given in 1/96 inch.
constexpr double baseResolution = 96.0;

int clampToInt(int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < -INT_MAX)
        return -INT_MAX;
    return static_cast<int>(value);
}

void buildFont(FCFont& font, int height, int weight, std::string_view face)
{
    font.reset();
    font.setHeight(height);
    font.weight = weight;
    font.charset = FCFont::ShiftJisCharset;
    font.quality = FCFont::ProofQuality;
    font.pitchAndFamily = FCFont::FixedPitch;
    // A name too long for the description leaves the face to the system.
    if (face.size() < FCFont::FaceNameSize)
        font.setFace(std::string(face));
    // A font that cannot be made stays unusable: selecting it keeps the
    // font before it, and the page is drawn all the same.
    font.create();
}

} // namespace

PageRenderer::PageRenderer(const ScriptPrinter& printer) : m_printer(printer) {}

PageRenderer::~PageRenderer() = default;

int PageRenderer::truncated(double value)
{
    // NaN and values beyond the int range are held at its edges.
    if (!(value > -static_cast<double>(INT_MAX)))
        return value != value ? 0 : -INT_MAX;
    if (value > static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

PageRenderer::Style PageRenderer::styleOf(uint32_t flags, int target)
{
    // The order matters: a line without speaker never takes the target's
    // face, and a note with the comment-font flag is no block even when it
    // begins with "*". A partial script's context is never emphasised.
    if (flags & ScriptLayout::FlagContext)
        return Style::General;
    if (flags & ScriptLayout::FlagNoSpeaker)
        return Style::General;
    if (target >= 0 && (flags & ScriptLayout::FlagCharacterMask) == static_cast<uint32_t>(target))
        return Style::Target;
    if (flags & ScriptLayout::FlagNoteInCommentFont)
        return Style::Comment;
    if (flags & ScriptLayout::FlagEmphasisedComment)
        return Style::CommentBlock;
    return Style::General;
}

PageRenderer::Geometry PageRenderer::geometryFor(const DeviceContext& dc, int linePitch)
{
    Geometry g;
    g.sx = dc.logPixelsX() / baseResolution;
    g.sy = dc.logPixelsY() / baseResolution;
    // Both margins follow the horizontal resolution, and come in whole
    // pairs of pixels.
    g.x0 = clampToInt(2 * static_cast<int64_t>(truncated(24 * g.sx)));
    g.y0 = clampToInt(2 * static_cast<int64_t>(truncated(28 * g.sx)));
    g.pitch = truncated(g.sx * linePitch);
    g.headerSize = truncated(g.sy * HeaderFontSize);
    return g;
}

FCString PageRenderer::headerText(const ScriptLayout& layout, int target, int page)
{
    FCString text(layout.sceneName().view());
    text.append(Sjis::of("　"));
    text.append(layout.targetName(target).view());
    text.append(Sjis::of("　Ｐ－"));
    text.appendNumber(page + 1);
    text.append(Sjis::of("／"));
    text.appendNumber(layout.pageCount());
    text.mapString(FCString::MapFullWidth);
    return text;
}

bool PageRenderer::draw(DeviceContext& dc, int target, int page)
{
    if (target < -1 || target >= ScreenplayHeader::TableSize)
        return false;
    const ScriptLayout& layout = m_printer.scriptLayout(target);
    const int32_t start = layout.pageStart(page);
    if (start == FCString::none)
        return false;

    m_geometry = geometryFor(dc, m_printer.linePitch());
    buildFonts(dc);
    FCFont* previous = dc.selectFont(&m_generalFont);

    drawHeader(dc, layout, target, page);
    drawLines(dc, layout, target, page * layout.linesPerPage(), static_cast<std::size_t>(start));
    drawBlocks(dc);
    drawReadings(dc);

    if (previous)
        dc.selectFont(previous);
    m_blocks.removeAll();
    m_blockLines.clear();
    return true;
}

void PageRenderer::buildFonts(const DeviceContext& dc)
{
    const double sy = dc.logPixelsY() / baseResolution;
    const int textHeight = truncated(sy * m_printer.fontSize());
    const ScriptFont& general = m_printer.generalFont();
    const ScriptFont& target = m_printer.targetFont();
    const ScriptFont& comment = m_printer.commentFont();
    buildFont(m_generalFont, textHeight, general.weight, general.face.view());
    buildFont(m_targetFont, textHeight, target.weight, target.face.view());
    buildFont(m_commentFont, textHeight, comment.weight, comment.face.view());
    buildFont(m_headerFont, truncated(sy * HeaderFontSize), HeaderWeight,
              Sjis::of("@ＭＳ ゴシック"));
    if (m_printer.layout().marks().empty())
        return;
    buildFont(m_generalRuby, textHeight / 2, general.weight, general.face.view());
    buildFont(m_targetRuby, textHeight / 2, target.weight, target.face.view());
    buildFont(m_commentRuby, textHeight / 2, comment.weight, comment.face.view());
}

void PageRenderer::drawHeader(DeviceContext& dc, const ScriptLayout& layout, int target, int page)
{
    const FCString text = headerText(layout, target, page);
    const std::string_view view = text.view();
    const char* begin = view.data();
    const char* end = begin + view.size();
    const int64_t n = static_cast<int64_t>(Cp932::count(begin, end));
    const int64_t h = m_geometry.headerSize;

    dc.selectFont(&m_headerFont);
    // One character per cell, going up the left edge: the first character
    // lowest, the last one 11 cells below the top. Each cell takes one
    // character whatever its width, so a character the full-width mapping
    // left single-byte cannot shift the cells after it.
    int64_t i = 0;
    for (const char* p = begin; p < end; ++i) {
        const char* next = Cp932::next(p, end);
        dc.textOut(m_geometry.headerSize, clampToInt((n + 10 - i) * h),
                   std::string_view(p, static_cast<std::size_t>(next - p)));
        p = next;
    }
}

FCFont& PageRenderer::fontOf(Style style)
{
    switch (style) {
    case Style::Target:
        return m_targetFont;
    case Style::Comment:
    case Style::CommentBlock:
        return m_commentFont;
    case Style::General:
        break;
    }
    return m_generalFont;
}

void PageRenderer::closeBlock()
{
    if (m_openBlock)
        m_blocks.append(m_openBlock.release(), true);
}

void PageRenderer::drawLines(DeviceContext& dc, const ScriptLayout& layout, int target,
                             int firstLine, std::size_t start)
{
    const std::string_view all = layout.text().view();
    std::size_t position = start;
    const int x0 = m_geometry.x0;
    int64_t y = m_geometry.y0;

    for (int taken = 0; taken < layout.linesPerPage() && position < all.size(); ++taken) {
        // One printed line per LF, so that the flags words stay in step with
        // the lines (a LF byte is never the trail of a double-byte character).
        std::size_t lf = all.find('\n', position);
        if (lf == std::string_view::npos)
            lf = all.size();
        std::string_view line = all.substr(position, lf - position);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        position = lf < all.size() ? lf + 1 : lf;

        const Style style = styleOf(layout.lineFlags(firstLine + taken), target);
        const int top = clampToInt(y);
        if (style == Style::CommentBlock) {
            // Gathered now, drawn after the page's other lines over its shading.
            dc.selectFont(&m_commentFont);
            int cx = 0;
            int cy = 0;
            if (!dc.textExtent(line, cx, cy))
                cx = cy = 0;
            if (!m_openBlock)
                m_openBlock = std::make_unique<DecoStr>();
            m_openBlock->add(line, x0, top, cx, cy);
            m_blockLines.push_back(firstLine + taken);
        } else {
            dc.selectFont(&fontOf(style));
            closeBlock();
            drawText(dc, x0, top, line, firstLine + taken, style);
        }
        y += m_geometry.pitch;
    }
    closeBlock();
}

void PageRenderer::drawBlocks(DeviceContext& dc)
{
    if (m_blocks.isEmpty())
        return;
    dc.selectFont(&m_commentFont);

    DeviceContext::Brush brush;
    const int mode = m_printer.backgroundMode();
    if (mode == 0) {
        brush.kind = DeviceContext::BrushKind::None;
    } else if (mode == 1) {
        brush.kind = DeviceContext::BrushKind::Solid;
        brush.grey = static_cast<uint8_t>(m_printer.backgroundLevel());
    } else if (mode >= 2 && mode <= 4) {
        brush.kind = DeviceContext::BrushKind::Pattern;
        brush.pattern = &m_printer.backgroundPattern();
    } else {
        // An unknown mode drops the blocks: neither shading nor text.
        return;
    }

    std::size_t gathered = 0;
    m_blocks.forEach([&](DecoStr* block) {
        dc.fillRect(block->rect(), brush);
        block->lines().forEach([&](UxPosString* line) {
            const int printed = gathered < m_blockLines.size() ? m_blockLines[gathered] : -1;
            ++gathered;
            drawText(dc, line->x(), line->y(), line->view(), printed, Style::CommentBlock);
            return true;
        });
        return true;
    });
}

void PageRenderer::drawText(DeviceContext& dc, int x, int y, std::string_view text, int line,
                            Style style)
{
    const std::span<const ScriptLayout::Mark> marks =
        line < 0 ? std::span<const ScriptLayout::Mark>() : m_printer.layout().marksOf(line);
    if (marks.empty()) {
        dc.textOut(x, y, text);
        return;
    }
    // An upright cell is as wide as a full-width character.
    int cell = 0;
    int cy = 0;
    if (!dc.textExtent(Sjis::of("　"), cell, cy))
        cell = 0;
    const auto advance = [&](std::string_view piece) {
        int cx = 0;
        return dc.textExtent(piece, cx, cy) ? cx : 0;
    };
    int64_t pen = x;
    std::size_t at = 0;
    const auto drawUpTo = [&](std::size_t end) {
        if (end <= at)
            return;
        const std::string_view piece = text.substr(at, end - at);
        dc.textOut(clampToInt(pen), y, piece);
        pen += advance(piece);
        at = end;
    };
    for (const ScriptLayout::Mark& mark : marks) {
        const auto begin = static_cast<std::size_t>(mark.offset);
        const std::size_t end = begin + static_cast<std::size_t>(mark.length);
        if (begin < at || end > text.size())
            continue;
        const std::string_view marked = text.substr(begin, end - begin);
        if (mark.isUpright()) {
            drawUpTo(begin);
            dc.uprightOut(clampToInt(pen), y, marked, cell);
            pen += cell;
            at = end;
        } else {
            // The base is drawn with the text around it; its reading later.
            const int64_t left = pen + advance(text.substr(at, begin - at));
            m_readings.push_back({clampToInt(left), y, advance(marked), style, mark.reading});
        }
    }
    drawUpTo(text.size());
}

void PageRenderer::drawReadings(DeviceContext& dc)
{
    for (const Reading& reading : m_readings) {
        FCFont& font = reading.style == Style::Target    ? m_targetRuby
                       : reading.style == Style::General ? m_generalRuby
                                                         : m_commentRuby;
        dc.selectFont(&font);
        int cx = 0;
        int cy = 0;
        if (!dc.textExtent(reading.text, cx, cy))
            continue;
        // Right beside the line (above it on the page as drawn), centred on
        // the base.
        dc.inkOut(reading.x + (reading.width - cx) / 2, reading.y - cy, reading.text);
    }
    m_readings.clear();
}
