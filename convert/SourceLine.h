#pragma once

#include "fc/FCString.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// One line of an old engine's scenario source, cut by the rules both the
// pre-survey and the screenplay writer follow. The line arrives as readLine
// gives it (leading blanks, tabs and full-width blanks already gone):
//
//   "//..."            a comment line
//   no "." at all      a macro line: NAME(ARGUMENT, ...)
//   OBJECT.say(...)    a speech line: the id argument and one or two strings
//   OBJECT.METHOD(...) a command
//
// Everything is cut double-byte aware (DelimiterScan), so a trail byte never
// passes for a dot, a quote or a parenthesis. A malformed line yields
// whatever the token rules produce; nothing here fails.
//
// The pieces are views: a line cut from a view refers to the caller's text,
// which must outlive it; a line cut from an FCString shares its storage.
class SourceLine {
public:
    enum class Kind { Comment, Macro, Speech, Command };

    explicit SourceLine(const FCString& line);
    explicit SourceLine(std::string_view line);

    // The next line of a source's text from at, as readLine(out, true, true)
    // takes it: runs of CR and LF end lines (so empty lines never come back)
    // and leading blanks, tabs and full-width blanks are dropped. False at
    // the end.
    static bool nextLine(std::string_view text, std::size_t& at, std::string_view& line);
    virtual ~SourceLine();

    Kind kind() const { return m_kind; }
    std::string_view text() const { return m_line; }
    // The text before the first dot (the whole line of a macro line).
    std::string_view object() const { return m_object; }
    // The text between the dots and the opening parenthesis.
    std::string_view method() const { return m_method; }

    // Macro lines: the name up to "(" and the first argument up to "," or ")".
    FCString macroName() const;
    FCString macroArgument() const;

    // Speech lines. The id argument as written (blanks around it dropped),
    // whether it is the unassigned marker MESSAGEID, and its value as the
    // integer reader gives it (0 for a text that is not a number).
    std::string_view idText() const { return m_idText; }
    bool unassignedId() const;
    int32_t id() const { return m_id; }
    // The quoted strings after the id: with two, the first is an alias and
    // the second the spoken text; with one, alias() is empty. A string
    // without its closing quote runs to the end of the line.
    std::string_view alias() const { return m_alias; }
    std::string_view spoken() const { return m_spoken; }

    // Commands: the first quoted argument (prepareQuestion, entry,
    // changeRequest), and the number of an effect in the first or second
    // argument.
    FCString stringArgument() const;
    int32_t numberArgument(bool second) const;
    // A "// comment" after the statement's ";": true with the text after the
    // two slashes.
    bool trailingComment(FCString& comment) const;

    // Comment lines: the text after the leading "/", blanks, tabs and
    // full-width blanks.
    FCString commentText() const;

    // The text without a lead byte that lost its trail byte at the very
    // end (a source cut short): written before a closing bracket, such a
    // byte would swallow the bracket's first byte.
    static FCString wholeCharacters(std::string_view text);
    // The same as a view of text.
    static std::string_view wholeView(std::string_view text);

private:
    void cut();
    void readSpeech(std::size_t at);

    // Holds the bytes of a line given as an FCString; a line of the many
    // cut from a view makes no string (which costs an allocation).
    std::optional<FCString> m_storage;
    std::string_view m_line;
    std::string_view m_object;
    std::string_view m_method;
    std::string_view m_idText;
    std::string_view m_alias;
    std::string_view m_spoken;
    Kind m_kind = Kind::Command;
    int32_t m_id = 0;
    // Where the method ended: the arguments start here.
    int32_t m_arguments = 0;
};
