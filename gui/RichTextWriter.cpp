#include "gui/RichTextWriter.h"

#include "gui/QtText.h"

#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

void RichTextWriter::write(QTextEdit* edit, std::string_view cp932Text, std::string_view openMark,
                           std::string_view closeMark)
{
    if (!edit)
        return;
    edit->clear();
    QTextCursor cursor(edit->document());
    for (const RichTextPieces::Piece& piece :
         RichTextPieces::split(cp932Text, openMark, closeMark)) {
        QTextCharFormat format;
        // Without a foreground of its own the text takes the box's colour.
        if (piece.coloured)
            format.setForeground(QColor(int(piece.colour >> 16 & 0xFF),
                                        int(piece.colour >> 8 & 0xFF), int(piece.colour & 0xFF)));
        format.setFontWeight(piece.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(piece.italic);
        format.setFontUnderline(piece.underline);
        format.setFontStrikeOut(false);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(fromCp932(piece.text), format);
    }
}
