#pragma once

#include "ui/RichTextPieces.h"

#include <string_view>

class QTextEdit;

// Writes a CP932 text marked up with format blocks (see RichTextPieces) into
// a text box, replacing what it held: each piece with its colour (the box's
// own text colour for the default), bold, italic and underline, never
// struck out.
namespace RichTextWriter {

void write(QTextEdit* edit, std::string_view cp932Text,
           std::string_view openMark = RichTextPieces::DefaultOpen,
           std::string_view closeMark = RichTextPieces::DefaultClose);

} // namespace RichTextWriter
