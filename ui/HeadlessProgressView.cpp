#include "ui/HeadlessProgressView.h"

#include "platform/TextCodec.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <unistd.h>

namespace {

// Longer texts are cut so that the line never wraps on a usual terminal.
constexpr size_t MaximumTextBytes = 48;
constexpr auto RedrawInterval = std::chrono::milliseconds(50);

// Cuts a UTF-8 text to at most count bytes without splitting a character.
std::string cutUtf8(std::string text, size_t count)
{
    if (text.size() <= count)
        return text;
    size_t end = count;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text + "...";
}

} // namespace

HeadlessProgressView::HeadlessProgressView()
    : m_stream(stderr), m_enabled(isatty(fileno(stderr)) == 1)
{
}

HeadlessProgressView::HeadlessProgressView(std::FILE* stream, bool enabled)
    : m_stream(stream), m_enabled(enabled && stream)
{
}

HeadlessProgressView::~HeadlessProgressView() = default;

std::string HeadlessProgressView::lineFor(const UxProgressDialog& dialog)
{
    std::string line;
    if (!dialog.title().empty())
        line = TextCodec::toUtf8(dialog.title()) + ": ";
    line += cutUtf8(TextCodec::toUtf8(dialog.text()), MaximumTextBytes);
    if (!dialog.showsBar())
        return line;
    const int64_t span = int64_t(dialog.maximum()) - dialog.minimum();
    const int64_t done = std::clamp<int64_t>(int64_t(dialog.position()) - dialog.minimum(), 0,
                                             std::max<int64_t>(span, 0));
    line += "  " + std::to_string(done) + "/" + std::to_string(std::max<int64_t>(span, 0));
    const int filled = span > 0 ? static_cast<int>(done * BarWidth / span) : BarWidth;
    line +=
        " [" + std::string(size_t(filled), '#') + std::string(size_t(BarWidth - filled), '.') + "]";
    return line;
}

void HeadlessProgressView::draw(const UxProgressDialog& dialog, bool force)
{
    if (!m_enabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    const bool atEnd = dialog.position() >= dialog.maximum();
    if (!force && !atEnd && m_drawn && now - m_lastDraw < RedrawInterval)
        return;
    m_lastDraw = now;
    m_drawn = true;
    // "\033[K" clears what a longer earlier line left behind.
    std::fprintf(m_stream, "\r%s\033[K", lineFor(dialog).c_str());
    std::fflush(m_stream);
}

void HeadlessProgressView::opened(UxProgressDialog& dialog)
{
    m_drawn = false;
    draw(dialog, true);
}

void HeadlessProgressView::textChanged(UxProgressDialog& dialog)
{
    draw(dialog, false);
}

void HeadlessProgressView::positionChanged(UxProgressDialog& dialog)
{
    draw(dialog, false);
}

void HeadlessProgressView::pump(UxProgressDialog&) {}

void HeadlessProgressView::closed(UxProgressDialog&)
{
    if (!m_enabled || !m_drawn)
        return;
    std::fputs("\n", m_stream);
    std::fflush(m_stream);
    m_drawn = false;
}
