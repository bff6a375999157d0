#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Lays out texts on a thread of its own, the way an item view's style lays
// out a cell's text when it measures the cell: in one line, in the view's
// font. A list being filled hands it the texts a column fit will measure, so
// that the fit afterwards finds most of them laid out already instead of
// shaping each new name on the thread that shows the list, after that
// thread has filled it.
//
// Texts with a line break or another control character are left out: a
// view shows them otherwise than as one plain line.
class TextSizeMeasurer {
public:
    struct Sizes {
        // The font the texts were laid out in.
        QFont font;
        // Each text's (CP932) laid-out width and height, unrounded.
        QHash<QByteArray, QSizeF> sizes;
    };

    TextSizeMeasurer();
    ~TextSizeMeasurer();
    TextSizeMeasurer(const TextSizeMeasurer&) = delete;
    TextSizeMeasurer& operator=(const TextSizeMeasurer&) = delete;

    // Texts are laid out in this font from now on; sizes laid out in
    // another are let go.
    void setFont(const QFont& font);
    // Queues a text (CP932) to be laid out; a text laid out already since
    // the last take() is not laid out again. Sizes no take() comes for are
    // let go beyond MaxKept texts.
    void add(std::string_view cp932);
    // Waits until every queued text is laid out and hands the sizes over;
    // what is added afterwards is laid out anew.
    Sizes take();

    // The size of the text laid out in one line in the font, as the style
    // lays out a cell's text to measure it.
    static QSizeF layOut(const QString& text, const QFont& font);

    static constexpr qsizetype MaxKept = 16384;

private:
    void run();

    std::mutex m_mutex;
    // Something was queued, or the thread is to stop.
    std::condition_variable m_queued;
    // The queue ran empty and the thread has put in what it laid out.
    std::condition_variable m_drained;
    std::vector<std::string> m_queue;
    Sizes m_done;
    // Counts the times the sizes were let go or handed over: texts the
    // thread laid out for an earlier count are dropped, not put in.
    unsigned m_round = 0;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};
