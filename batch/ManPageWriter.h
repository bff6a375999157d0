#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

// Writes a manual page in the man(7) macros, UTF-8, for man(1) and groff.
// Texts given as plain text are escaped here; texts given as marked-up
// troff (built with bold() and italic()) go out as they are.
//
// Plain text may hold line breaks as the --help texts do: in running text
// troff fills the lines again, so a break is only a blank between words
// (none after a word broken at its hyphen), and an empty line starts a new
// paragraph. The page is set ragged right and without hyphenation.
class ManPageWriter {
public:
    // The page's first lines: the encoding (so that man converts the UTF-8
    // text for any terminal) and the title line, e.g. "QUILLON", 1,
    // "2026-01-31", "quillon 0.1.0", "User Commands".
    ManPageWriter(std::ostream& out, std::string_view title, int section, std::string_view date,
                  std::string_view source, std::string_view manual);

    // The NAME section: "quillon - make ...", as whatis lists it.
    void name(std::string_view program, std::string_view brief);
    // .SH: "SYNOPSIS", "EXIT STATUS".
    void section(std::string_view heading);
    // .SS: a heading within a section.
    void subsection(std::string_view heading);
    // A paragraph (or several, split at empty lines) of plain text.
    void paragraph(std::string_view text);
    // One paragraph of marked-up text.
    void markedParagraph(std::string_view troff);
    // A line whose further lines, when troff breaks it, hang indented: a
    // synopsis line. Marked up; not stretched.
    void hangingLine(std::string_view troff);
    // .TP: a marked-up tag, and its plain text indented below it.
    void tagged(std::string_view tagTroff, std::string_view text);
    // Lines of plain text kept as they are, indented, as an example.
    void literal(std::string_view lines);

    // Plain text as troff: "\" and "-" escaped (a "\-" is the minus sign
    // that copies as "-", so that options can be copied from the page), a
    // line that would start with "." or "'" (a request to troff) made
    // text, and leading blanks of a line dropped.
    static std::string escape(std::string_view text);
    static std::string bold(std::string_view text);
    static std::string italic(std::string_view text);
    // Troff's blank that never breaks a line: between an option and its
    // value.
    static constexpr const char* fixedBlank = "\\ ";

private:
    void textLines(std::string_view text);

    std::ostream& m_out;
};
