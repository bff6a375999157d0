#include "document/ScreenplayBodyLine.h"

#include "document/ScreenplayScanner.h"

namespace {

bool isSpace(int c)
{
    return c == ' ';
}

} // namespace

ScreenplayBodyLine ScreenplayBodyLine::classify(std::string_view line)
{
    ScreenplayBodyLine result;
    int first = ScreenplayScanner::codeAt(line);
    if (first == ' ') {
        std::string_view rest = ScreenplayScanner::skipWhile(line, isSpace);
        int mark = ScreenplayScanner::codeAt(rest);
        if (mark == '$') {
            result.kind = Kind::ShiftedNote;
            rest.remove_prefix(1);
        } else if (mark == '*') {
            result.kind = Kind::Comment;
        } else {
            result.kind = Kind::Note;
        }
        result.text = rest;
        return result;
    }
    if (first == '@') {
        result.kind = Kind::Ignored;
        return result;
    }

    result.kind = Kind::Speaker;
    auto isBracket = [](int c) { return ScreenplayScanner::isSpeakerBracket(c); };

    std::string_view rest = line;
    result.labelNumber = ScreenplayScanner::nextToken(rest, isSpace);
    rest = ScreenplayScanner::skipWhile(rest, isSpace);
    // Token scanning skips brackets first: a bracket right after the spaces
    // is passed over and the name runs up to the next one.
    result.speakerName = ScreenplayScanner::nextToken(rest, isBracket);
    result.text = rest;

    // The label is scanned from the start of the line the same way.
    std::string_view fromStart = line;
    result.label = ScreenplayScanner::nextToken(fromStart, isBracket);
    return result;
}
