#pragma once

#include <QTextEdit>

// The read-only text box of a notice. A path in the text wraps after its
// "/" rather than inside a folder or file name: for display, the text gets
// a zero-width space after every "/" of a path and a word joiner between
// the other characters of its names (Japanese names would otherwise break
// between any two characters). What the user selects and copies is the
// text as given, without those marks. A name wider than the box does not
// break at all; the box scrolls sideways instead.
//
// A path is a run of characters without white space that holds a "/".
class NoticeTextEdit : public QTextEdit {
    Q_OBJECT

public:
    static constexpr QChar BreakAfter{0x200B}; // zero-width space
    static constexpr QChar NoBreak{0x2060};    // word joiner

    explicit NoticeTextEdit(QWidget* parent = nullptr);
    ~NoticeTextEdit() override;

    // Shows the text, its paths marked as above.
    void setNotice(const QString& text);
    // The text as given.
    const QString& notice() const { return m_notice; }

    // The text as shown: the marks put in.
    static QString withPathBreaks(const QString& text);
    // The text without the marks.
    static QString withoutBreakMarks(QString text);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString m_notice;
};
