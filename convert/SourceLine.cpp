#include "convert/SourceLine.h"

#include "convert/DelimiterScan.h"
#include "platform/Cp932.h"

#include <string_view>

namespace {

constexpr int FullWidthBlank = 0x8140;

bool isBlank(int code)
{
    return code == ' ' || code == '\t';
}

std::size_t charLength(std::string_view text, std::size_t at)
{
    return std::size_t(Cp932::charLength(text.data() + at, text.data() + text.size()));
}

} // namespace

bool SourceLine::nextLine(std::string_view text, std::size_t& at, std::string_view& line)
{
    at = DelimiterScan::skip(text, at, "\r\n");
    if (at >= text.size())
        return false;
    const std::size_t start = at;
    at = DelimiterScan::find(text, at, "\r\n");
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

SourceLine::SourceLine(const FCString& line) : m_storage(line), m_line(m_storage->view())
{
    cut();
}

SourceLine::SourceLine(std::string_view text) : m_line(text)
{
    cut();
}

SourceLine::~SourceLine() = default;

void SourceLine::cut()
{
    const std::string_view text = m_line;
    if (text.substr(0, 2) == "//") {
        m_kind = Kind::Comment;
        return;
    }
    std::size_t at = 0;
    m_object = DelimiterScan::token(text, at, ".");
    if (at >= text.size()) {
        // No dot: the token ran to the end of the line and is the macro
        // call itself.
        m_arguments = int32_t(text.size());
        m_kind = Kind::Macro;
        return;
    }
    at = DelimiterScan::skip(text, at, ".");
    m_method = DelimiterScan::token(text, at, "(");
    m_arguments = int32_t(at);
    if (m_method == "say") {
        m_kind = Kind::Speech;
        readSpeech(at);
        return;
    }
    m_kind = Kind::Command;
}

void SourceLine::readSpeech(std::size_t at)
{
    const std::string_view text = m_line;
    at = DelimiterScan::skip(text, at, "(");
    std::string_view id = DelimiterScan::token(text, at, ",");
    // Blanks around the argument are C++ layout, not part of it: without
    // this "say( MESSAGEID, ...)" would pass for id 0.
    while (!id.empty() && isBlank(id.front()))
        id.remove_prefix(1);
    while (!id.empty() && isBlank(id.back()))
        id.remove_suffix(1);
    m_idText = id;
    m_id = FCString::parseInteger(id);

    at = DelimiterScan::skip(text, at, ", \t");
    if (at >= text.size())
        return;
    at += charLength(text, at); // the opening quote
    std::size_t start = at;
    at = DelimiterScan::find(text, at, "\"");
    m_spoken = wholeView(text.substr(start, at - start));
    if (at < text.size())
        ++at; // its closing quote
    at = DelimiterScan::skip(text, at, ", \t");
    if (DelimiterScan::at(text, at, "\"")) {
        m_alias = m_spoken;
        at = DelimiterScan::skip(text, at, "\"");
        start = at;
        at = DelimiterScan::find(text, at, "\"");
        m_spoken = wholeView(text.substr(start, at - start));
    }
}

FCString SourceLine::wholeCharacters(std::string_view text)
{
    return FCString(wholeView(text));
}

std::string_view SourceLine::wholeView(std::string_view text)
{
    // Lead bytes pair up with the byte after them from the first byte that
    // is none (a NUL or a trail byte that is no lead byte ends a run), so
    // an odd run of them at the end leaves the last one alone.
    std::size_t run = 0;
    while (run < text.size() &&
           Cp932::isLeadByte(static_cast<unsigned char>(text[text.size() - 1 - run])))
        ++run;
    if (run % 2 == 1)
        text.remove_suffix(1);
    return text;
}

bool SourceLine::unassignedId() const
{
    return m_idText == "MESSAGEID";
}

FCString SourceLine::macroName() const
{
    std::size_t at = 0;
    return FCString(DelimiterScan::token(m_line, at, "("));
}

FCString SourceLine::macroArgument() const
{
    std::size_t at = DelimiterScan::find(m_line, 0, "(");
    if (at >= m_line.size())
        return FCString();
    ++at;
    return wholeCharacters(DelimiterScan::token(m_line, at, ",)"));
}

FCString SourceLine::stringArgument() const
{
    const std::size_t at = DelimiterScan::skip(m_line, std::size_t(m_arguments), "(\"");
    return wholeCharacters(m_line.substr(at, DelimiterScan::find(m_line, at, "\"") - at));
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
    std::size_t at = DelimiterScan::find(m_line, 0, ";");
    // Two slashes after the semicolon; a slash is a character of its own,
    // so the byte after it starts the next one.
    for (at = DelimiterScan::find(m_line, at, "/"); at < m_line.size();
         at = DelimiterScan::find(m_line, at + 1, "/")) {
        if (at + 1 < m_line.size() && m_line[at + 1] == '/') {
            comment = wholeCharacters(m_line.substr(at + 2));
            return true;
        }
    }
    return false;
}

FCString SourceLine::commentText() const
{
    std::size_t at = 0;
    while (at < m_line.size()) {
        const int code = Cp932::codeAt(m_line.data() + at, m_line.data() + m_line.size());
        if (code != '/' && !isBlank(code) && code != FullWidthBlank)
            break;
        at += charLength(m_line, at);
    }
    return wholeCharacters(m_line.substr(at));
}
