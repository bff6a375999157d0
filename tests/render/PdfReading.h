#pragma once

// Reading written PDF files back in tests: the page count through poppler's
// pdfinfo, the text lines through pdftotext, and the outline entries' titles
// from the file itself.

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace pdfread {

// A PDF file's bytes without the second it was made in, which cairo writes
// into it: two runs a second apart make otherwise the same file.
inline std::string withoutCreationDate(std::string bytes)
{
    const std::string key = "/CreationDate (D:";
    for (std::size_t at = bytes.find(key); at != std::string::npos;
         at = bytes.find(key, at + key.size())) {
        for (std::size_t i = at + key.size(); i < bytes.size() && bytes[i] != ')'; ++i)
            bytes[i] = '0';
    }
    return bytes;
}

// The output of a shell command; empty when it could not run.
inline std::string shell(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

// The text without spaces of any width, so that lines compare by their
// characters alone.
inline std::string withoutSpaces(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        if (utf8[i] == ' ' || utf8[i] == '\t' || utf8[i] == '\f' || utf8[i] == '\r') {
            ++i;
        } else if (utf8.compare(i, 3, "\xE3\x80\x80") == 0) {
            i += 3;
        } else {
            out += utf8[i];
            ++i;
        }
    }
    return out;
}

// The lines of a text that hold more than spaces, without their spaces.
inline std::vector<std::string> nonEmptyLines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = withoutSpaces(line);
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

inline bool pdfinfoInstalled()
{
    return !shell("command -v pdfinfo").empty();
}

// pdfinfo's page count of the file; -1 when it cannot read it.
inline int pageCount(const std::string& file)
{
    std::istringstream lines(shell("pdfinfo '" + file + "' 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Pages:", 0) == 0)
            return std::stoi(line.substr(6));
    }
    return -1;
}

inline void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The outline entries' titles (UTF-8) in file order: the "/Title" of every
// dictionary that has a "/Parent", a UTF-16BE hex string or a literal one.
inline std::vector<std::string> outlineTitles(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string pdf{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> titles;
    for (std::size_t at = pdf.find("/Title"); at != std::string::npos;
         at = pdf.find("/Title", at + 1)) {
        const std::size_t open = pdf.rfind("<<", at);
        const std::size_t close = pdf.find(">>", at);
        if (open == std::string::npos ||
            pdf.substr(open, close - open).find("/Parent") == std::string::npos)
            continue;
        std::size_t p = at + 6;
        while (p < pdf.size() && pdf[p] == ' ')
            ++p;
        std::string title;
        if (pdf[p] == '<') {
            std::u16string units;
            for (std::size_t q = p + 1; q + 4 <= pdf.size() && pdf[q] != '>'; q += 4)
                units.push_back(static_cast<char16_t>(std::stoul(pdf.substr(q, 4), nullptr, 16)));
            for (std::size_t i = 1; i < units.size(); ++i) { // after the byte order mark
                char32_t c = units[i];
                if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size())
                    c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
                appendUtf8(title, c);
            }
        } else if (pdf[p] == '(') {
            int depth = 0;
            for (std::size_t q = p + 1; q < pdf.size(); ++q) {
                if (pdf[q] == '\\') {
                    title += pdf[++q];
                } else if (pdf[q] == '(') {
                    ++depth;
                    title += '(';
                } else if (pdf[q] == ')') {
                    if (depth-- == 0)
                        break;
                    title += ')';
                } else {
                    title += pdf[q];
                }
            }
        }
        titles.push_back(title);
    }
    return titles;
}

} // namespace pdfread
