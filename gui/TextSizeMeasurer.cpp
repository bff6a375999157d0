#include "gui/TextSizeMeasurer.h"

#include "gui/QtText.h"

#include <QSet>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <limits>
#include <new>
#include <utility>

namespace {

// A text a view shows as it stands, in one line.
bool isOneLine(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
}

} // namespace

TextSizeMeasurer::TextSizeMeasurer() = default;

TextSizeMeasurer::~TextSizeMeasurer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_queued.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void TextSizeMeasurer::setFont(const QFont& font)
{
    const std::lock_guard lock(m_mutex);
    if (font == m_done.font)
        return;
    m_done.font = font;
    m_done.sizes.clear();
    ++m_round;
}

void TextSizeMeasurer::add(std::string_view cp932)
{
    const std::lock_guard lock(m_mutex);
    if (!m_thread.joinable())
        m_thread = std::thread(&TextSizeMeasurer::run, this);
    m_queue.emplace_back(cp932);
    // The thread looks at the queue again after each batch: only an empty
    // queue can have left it waiting.
    if (m_queue.size() == 1)
        m_queued.notify_one();
}

TextSizeMeasurer::Sizes TextSizeMeasurer::take()
{
    std::unique_lock lock(m_mutex);
    m_drained.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    Sizes taken{m_done.font, std::exchange(m_done.sizes, {})};
    ++m_round;
    return taken;
}

QSizeF TextSizeMeasurer::layOut(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    qreal height = 0;
    qreal width = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        // As wide as the style allows a line it measures: never wrapped.
        line.setLineWidth(std::numeric_limits<int>::max() / 256);
        line.setPosition(QPointF(0, height));
        height += line.height();
        width = std::max(width, line.naturalTextWidth());
    }
    layout.endLayout();
    return {width, height};
}

void TextSizeMeasurer::run()
{
    // What this round has laid out, so that a text many rows show is laid
    // out once.
    QSet<QByteArray> seen;
    unsigned seenRound = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::vector<std::string> batch = std::exchange(m_queue, {});
        const QFont font = m_done.font;
        const unsigned round = m_round;
        m_busy = true;
        lock.unlock();

        if (round != seenRound) {
            seen.clear();
            seenRound = round;
        }
        std::vector<std::pair<QByteArray, QSizeF>> laidOut;
        try {
            for (const std::string& cp932 : batch) {
                QByteArray key(cp932.data(), qsizetype(cp932.size()));
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                const QString text = fromCp932(cp932);
                if (isOneLine(text))
                    laidOut.emplace_back(std::move(key), layOut(text, font));
            }
        } catch (const std::bad_alloc&) {
            // Short of memory: the batch is dropped, and the view measures
            // these texts itself.
            laidOut.clear();
            seen.clear();
        }

        lock.lock();
        m_busy = false;
        if (round == m_round) {
            if (m_done.sizes.size() + qsizetype(laidOut.size()) > MaxKept) {
                m_done.sizes.clear();
                ++m_round;
            }
            for (auto& [text, size] : laidOut)
                m_done.sizes.insert(std::move(text), size);
        }
        if (m_queue.empty())
            m_drained.notify_all();
    }
}
