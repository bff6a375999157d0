#include "ui/RichTextPieces.h"

#include "fc/FCString.h"
#include "platform/Cp932.h"

namespace {

// The byte offset of the first character at or after from where mark
// begins, or npos. Steps by characters, never into a trail byte.
size_t findMark(std::string_view text, std::string_view mark, size_t from)
{
    if (mark.empty())
        return std::string_view::npos;
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin + from; p < end; p = Cp932::next(p, end)) {
        if (static_cast<size_t>(end - p) >= mark.size() && std::string_view(p, mark.size()) == mark)
            return static_cast<size_t>(p - begin);
    }
    return std::string_view::npos;
}

bool isSeparator(char c)
{
    return c == ',' || c == ' ' || c == '\t';
}

// Applies the attributes of one block to the format of what follows.
void applyBlock(std::string_view attributes, RichTextPieces::Piece& format)
{
    format.bold = format.italic = format.underline = false;
    size_t i = 0;
    while (i < attributes.size()) {
        if (isSeparator(attributes[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < attributes.size() && !isSeparator(attributes[j]))
            ++j;
        const std::string_view token = attributes.substr(i, j - i);
        i = j;
        if (token == "-") {
            format.coloured = false;
            format.colour = 0;
        } else if (token.front() == '0') {
            format.coloured = true;
            format.colour = static_cast<uint32_t>(FCString::parseInteger(token)) & 0xFFFFFFu;
        } else if (token == "B" || token == "b") {
            format.bold = true;
        } else if (token == "I" || token == "i") {
            format.italic = true;
        } else if (token == "U" || token == "u") {
            format.underline = true;
        }
    }
}

void addPiece(std::vector<RichTextPieces::Piece>& pieces, const RichTextPieces::Piece& format,
              std::string_view text)
{
    if (text.empty())
        return;
    RichTextPieces::Piece piece = format;
    piece.text.assign(text);
    pieces.push_back(std::move(piece));
}

} // namespace

std::vector<RichTextPieces::Piece>
RichTextPieces::split(std::string_view text, std::string_view openMark, std::string_view closeMark)
{
    std::vector<Piece> pieces;
    Piece format;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = findMark(text, openMark, at);
        const size_t close = open == std::string_view::npos
                                 ? std::string_view::npos
                                 : findMark(text, closeMark, open + openMark.size());
        if (close == std::string_view::npos)
            break;
        addPiece(pieces, format, text.substr(at, open - at));
        const size_t attributesAt = open + openMark.size();
        applyBlock(text.substr(attributesAt, close - attributesAt), format);
        at = close + closeMark.size();
    }
    if (at < text.size())
        addPiece(pieces, format, text.substr(at));
    return pieces;
}
