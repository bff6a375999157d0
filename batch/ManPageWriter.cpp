#include "batch/ManPageWriter.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace {

// An argument of a macro, in double quotes: blanks stay in it; a double
// quote inside is troff's \(dq.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : ManPageWriter::escape(text)) {
        if (c == '"')
            out += "\\(dq";
        else
            out += c;
    }
    return out + "\"";
}

} // namespace

ManPageWriter::ManPageWriter(std::ostream& out, std::string_view title, int section,
                             std::string_view date, std::string_view source,
                             std::string_view manual)
    : m_out(out)
{
    // preconv (run by man) reads this line to learn the page's encoding.
    m_out << ".\\\" -*- coding: UTF-8 -*-\n"
          << ".TH " << quoted(title) << " " << section << " " << quoted(date) << " "
          << quoted(source) << " " << quoted(manual)
          << "\n"
          // Options, file names and paths are never split at a hyphen, and
          // lines with a long path are not spread to fill the width.
          << ".nh\n.ad l\n";
}

void ManPageWriter::name(std::string_view program, std::string_view brief)
{
    section("NAME");
    m_out << escape(program) << " \\- " << escape(brief) << "\n";
}

void ManPageWriter::section(std::string_view heading)
{
    m_out << ".SH " << quoted(heading) << "\n";
}

void ManPageWriter::subsection(std::string_view heading)
{
    m_out << ".SS " << quoted(heading) << "\n";
}

void ManPageWriter::paragraph(std::string_view text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\n\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        m_out << ".PP\n";
        textLines(text.substr(start, end - start));
        start = end + 2;
    }
}

void ManPageWriter::markedParagraph(std::string_view troff)
{
    m_out << ".PP\n" << troff << "\n";
}

void ManPageWriter::hangingLine(std::string_view troff)
{
    // Lines in a row stand one below the other.
    m_out << ".br\n.in +4n\n.ti -4n\n" << troff << "\n.in -4n\n";
}

void ManPageWriter::tagged(std::string_view tagTroff, std::string_view text)
{
    m_out << ".TP\n" << tagTroff << "\n";
    textLines(text);
}

void ManPageWriter::literal(std::string_view lines)
{
    m_out << ".PP\n.RS 4\n.nf\n";
    std::size_t start = 0;
    while (start < lines.size()) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        // The blanks that start a line of an example are part of it.
        const std::string_view line = lines.substr(start, end - start);
        const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
        m_out << std::string(indent, ' ') << escape(line.substr(indent)) << "\n";
        start = end + 1;
    }
    m_out << ".fi\n.RE\n";
}

void ManPageWriter::textLines(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view plain = text.substr(start, end - start);
        const std::string line = escape(plain);
        start = end + 1;
        // An empty line in filled text is a blank line on the page.
        if (line.empty())
            continue;
        // A word the text broke at its hyphen ("TAB-" and "separated") is
        // one word again: \c joins the next line without a blank.
        const bool brokenWord = plain.size() >= 2 && plain.back() == '-' &&
                                std::isalnum(static_cast<unsigned char>(plain[plain.size() - 2])) &&
                                start < text.size() &&
                                std::isalpha(static_cast<unsigned char>(text[start]));
        m_out << line << (brokenWord ? "\\c\n" : "\n");
    }
}

std::string ManPageWriter::escape(std::string_view text)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == ' ' || c == '\t'))
            continue;
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        lineStart = c == '\n';
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string ManPageWriter::bold(std::string_view text)
{
    return std::string("\\fB").append(escape(text)).append("\\fR");
}

std::string ManPageWriter::italic(std::string_view text)
{
    return std::string("\\fI").append(escape(text)).append("\\fR");
}
