#include "convert/SourceLine.h"

#include "platform/Cp932.h"

#include <string_view>

namespace {

constexpr int FullWidthBlank = 0x8140;

bool isBlank(int code)
{
    return code == ' ' || code == '\t';
}

// Character-wise scans for sets of ASCII delimiters, as FCString's cursor
// operations make them (a double-byte character never matches), but over a
// view: these run for every line of every source.
std::size_t charLength(std::string_view text, std::size_t at)
{
    return std::size_t(Cp932::charLength(text.data() + at, text.data() + text.size()));
}

bool delimiterAt(std::string_view text, std::size_t at, std::string_view set)
{
    return charLength(text, at) == 1 && set.find(text[at]) != std::string_view::npos;
}

std::size_t findIn(std::string_view text, std::size_t at, std::string_view set)
{
    while (at < text.size() && !delimiterAt(text, at, set))
        at += charLength(text, at);
    return at;
}

std::size_t skipIn(std::string_view text, std::size_t at, std::string_view set)
{
    while (at < text.size() && delimiterAt(text, at, set))
        ++at;
    return at;
}

// nextToken: the delimiters before the token are skipped, the token ends at
// the next delimiter, where the position rests.
std::string_view token(std::string_view text, std::size_t& at, std::string_view set)
{
    at = skipIn(text, at, set);
    const std::size_t start = at;
    at = findIn(text, at, set);
    return text.substr(start, at - start);
}

} // namespace

bool SourceLine::nextLine(std::string_view text, std::size_t& at, std::string_view& line)
{
    at = skipIn(text, at, "\r\n");
    if (at >= text.size())
        return false;
    const std::size_t start = at;
    at = findIn(text, at, "\r\n");
    line = text.substr(start, at - start);
    if (at < text.size())
        ++at;
    while (!line.empty()) {
        const int code = Cp932::codeAt(line.data(), line.data() + line.size());
        if (!isBlank(code) && code != FullWidthBlank)
            break;
        line.remove_prefix(code == FullWidthBlank ? 2 : 1);
    }
    return true;
}

SourceLine::SourceLine(const FCString& line) : SourceLine(line.view()) {}

SourceLine::SourceLine(std::string_view text) : m_line(text)
{
    if (text.substr(0, 2) == "//") {
        m_kind = Kind::Comment;
        return;
    }
    std::size_t at = 0;
    const std::string_view object = token(text, at, ".");
    const bool hasDot = at < text.size();
    m_object = FCString(object);
    if (!hasDot) {
        // No dot: the token ran to the end of the line and is the macro
        // call itself.
        m_arguments = int32_t(text.size());
        m_kind = Kind::Macro;
        return;
    }
    at = skipIn(text, at, ".");
    const std::string_view method = token(text, at, "(");
    m_method = FCString(method);
    m_arguments = int32_t(at);
    if (method == "say") {
        m_kind = Kind::Speech;
        readSpeech(text, at);
        return;
    }
    m_kind = Kind::Command;
}

SourceLine::~SourceLine() = default;

void SourceLine::readSpeech(std::string_view text, std::size_t at)
{
    at = skipIn(text, at, "(");
    std::string_view id = token(text, at, ",");
    // Blanks around the argument are C++ layout, not part of it: without
    // this "say( MESSAGEID, ...)" would pass for id 0.
    while (!id.empty() && isBlank(id.front()))
        id.remove_prefix(1);
    while (!id.empty() && isBlank(id.back()))
        id.remove_suffix(1);
    m_idText = FCString(id);
    m_id = FCString::parseInteger(id);

    at = skipIn(text, at, ", \t");
    if (at >= text.size())
        return;
    at += charLength(text, at); // the opening quote
    std::size_t start = at;
    at = findIn(text, at, "\"");
    m_spoken = wholeCharacters(text.substr(start, at - start));
    if (at < text.size())
        ++at; // its closing quote
    at = skipIn(text, at, ", \t");
    if (at < text.size() && delimiterAt(text, at, "\"")) {
        m_alias = m_spoken;
        at = skipIn(text, at, "\"");
        start = at;
        at = findIn(text, at, "\"");
        m_spoken = wholeCharacters(text.substr(start, at - start));
    }
}

FCString SourceLine::upToQuote(FCString& cursor)
{
    const int32_t start = cursor.cursor();
    cursor.findChar('"');
    return wholeCharacters(cursor.view().substr(size_t(start), size_t(cursor.cursor() - start)));
}

FCString SourceLine::wholeCharacters(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* last = begin;
    for (const char* p = begin; p < end; p = Cp932::next(p, end))
        last = p;
    if (last < end && Cp932::charLength(last, end) == 1 &&
        Cp932::isLeadByte(static_cast<unsigned char>(*last)))
        text.remove_suffix(1);
    return FCString(text);
}

bool SourceLine::unassignedId() const
{
    return m_idText.equals("MESSAGEID");
}

FCString SourceLine::macroName() const
{
    FCString cursor(m_line);
    FCString name;
    cursor.rewind();
    cursor.nextToken(name, "(");
    return name;
}

FCString SourceLine::macroArgument() const
{
    FCString cursor(m_line);
    FCString argument;
    cursor.rewind();
    if (cursor.findChar('(') == FCString::none)
        return argument;
    cursor.nextChar();
    cursor.nextToken(argument, ",)");
    return wholeCharacters(argument.view());
}

FCString SourceLine::stringArgument() const
{
    FCString cursor(m_line);
    cursor.setCursor(m_arguments);
    cursor.skipSet("(\"");
    return upToQuote(cursor);
}

int32_t SourceLine::numberArgument(bool second) const
{
    FCString cursor(m_line);
    cursor.setCursor(m_arguments);
    if (second) {
        cursor.findChar(',');
        cursor.skipSet(", \t");
    } else {
        cursor.skipSet("(");
    }
    return cursor.toInteger(true);
}

bool SourceLine::trailingComment(FCString& comment) const
{
    FCString cursor(m_line);
    cursor.rewind();
    if (cursor.findChar(';') == FCString::none)
        return false;
    if (cursor.findText("//") == FCString::none)
        return false;
    comment = wholeCharacters(cursor.view().substr(size_t(cursor.cursor()) + 2));
    return true;
}

FCString SourceLine::commentText() const
{
    FCString cursor(m_line);
    cursor.rewind();
    while (cursor.cursor() < cursor.length()) {
        const int code = cursor.currentChar();
        if (code != '/' && !isBlank(code) && code != FullWidthBlank)
            break;
        cursor.nextChar();
    }
    return wholeCharacters(cursor.view().substr(size_t(cursor.cursor())));
}
