#include "gui/NoticeTextEdit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

NoticeTextEdit::NoticeTextEdit(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Break only where the text allows it: a name too long for the line
    // stays whole and the box scrolls.
    setWordWrapMode(QTextOption::WordWrap);
}

NoticeTextEdit::~NoticeTextEdit() = default;

void NoticeTextEdit::setNotice(const QString& text)
{
    m_notice = text;
    setPlainText(withPathBreaks(text));
}

QString NoticeTextEdit::withPathBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    while (start < text.size()) {
        // The next run without white space, and the white space before it.
        qsizetype end = start;
        if (text[start].isSpace()) {
            while (end < text.size() && text[end].isSpace())
                ++end;
            out += text.mid(start, end - start);
            start = end;
            continue;
        }
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QStringView run = QStringView(text).mid(start, end - start);
        if (!run.contains(u'/')) {
            out += run;
        } else {
            for (qsizetype i = 0; i < run.size(); ++i) {
                out += run[i];
                if (i + 1 == run.size())
                    break;
                // A surrogate pair is one character: nothing goes between
                // its halves.
                if (run[i].isHighSurrogate() && run[i + 1].isLowSurrogate())
                    continue;
                out += run[i] == u'/' ? BreakAfter : NoBreak;
            }
        }
        start = end;
    }
    return out;
}

QString NoticeTextEdit::withoutBreakMarks(QString text)
{
    // A notice's text comes from Shift-JIS, which has neither mark: every
    // one found was put in for display.
    text.remove(BreakAfter);
    text.remove(NoBreak);
    return text;
}

QMimeData* NoticeTextEdit::createMimeDataFromSelection() const
{
    // Plain text only: the marks would survive in a rich copy's markup.
    auto* data = new QMimeData;
    data->setText(withoutBreakMarks(textCursor().selection().toPlainText()));
    return data;
}
