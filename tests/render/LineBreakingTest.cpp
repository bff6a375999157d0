#include "TestText.h"
#include "document/ScreenplayBodyLine.h"
#include "render/LineBreaker.h"
#include "render/ScriptPrinter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// The layout cases of tests/render/data/line-breaking.tsv: each lays one
// body line out with its options and width and compares the printed lines,
// the cells set upright and the readings with the expected ones.

namespace {

struct LayoutCase {
    int lineNumber = 0;
    TypesettingOptions options;
    int width = 0;
    std::string text;     // UTF-8
    std::string expected; // UTF-8
};

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

bool parseOptions(const std::string& word, TypesettingOptions& options)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    std::vector<std::string> parts = split(word, '+');
    if (parts[0] == "strict")
        options.lineBreaking = LineBreaking::Strict;
    else if (parts[0] == "loose")
        options.lineBreaking = LineBreaking::Loose;
    else if (parts[0] != "off")
        return false;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i] == "digits")
            options.uprightDigits = true;
        else if (parts[i] == "ruby")
            options.ruby = true;
        else
            return false;
    }
    return true;
}

std::vector<LayoutCase> readCases()
{
    std::ifstream in(std::string(QUILLON_TEST_DATA) + "/line-breaking.tsv");
    EXPECT_TRUE(in.good()) << "the case file is missing";
    std::vector<LayoutCase> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields = split(line, '\t');
        LayoutCase c;
        c.lineNumber = number;
        if (fields.size() != 4 || !parseOptions(fields[0], c.options)) {
            ADD_FAILURE() << "line-breaking.tsv:" << number << ": not a case: " << line;
            continue;
        }
        c.width = std::stoi(fields[1]);
        c.text = fields[2];
        c.expected = fields[3];
        cases.push_back(c);
    }
    return cases;
}

// Printed line `line` in UTF-8 with its marks shown as the case file writes
// them, and without the lead of a note or continuation line.
std::string shown(const ScriptLayout& layout, int line)
{
    const std::string_view all = layout.text().view();
    const std::size_t start = static_cast<std::size_t>(layout.lineStart(line));
    const std::string_view text = all.substr(start, all.find('\n', start) - start);
    std::string out;
    std::size_t at = 0;
    for (const ScriptLayout::Mark& mark : layout.marksOf(line)) {
        const auto begin = static_cast<std::size_t>(mark.offset);
        const auto end = begin + static_cast<std::size_t>(mark.length);
        out += utf8(std::string(text.substr(at, begin - at)));
        const std::string base = utf8(std::string(text.substr(begin, end - begin)));
        out += mark.isUpright() ? "⟦" + base + "⟧" : base + "⟨" + utf8(mark.reading) + "⟩";
        at = end;
    }
    out += utf8(std::string(text.substr(at)));
    const std::string lead(ScriptLayout::LabelColumns, ' ');
    if (out.compare(0, lead.size(), lead) == 0)
        out.erase(0, lead.size());
    return out;
}

std::string layOut(const LayoutCase& c)
{
    ScriptPrinter printer;
    EXPECT_TRUE(printer.setCharactersPerLine(c.width));
    printer.setTypesetting(c.options);
    const bool speaker = c.text.starts_with("000");
    printer.loadText(sj(".scene\ttest\n.chara\t1\n.悠人\t1\n.total\t1\n" +
                        (speaker ? c.text : " " + c.text) + "\n"));
    std::string printed;
    for (int line = 0; line < printer.lineCount(); ++line)
        printed += (line ? "|" : "") + shown(printer.layout(), line);
    return printed;
}

} // namespace

TEST(LineBreakingTest, CasesOfTheCaseFile)
{
    const std::vector<LayoutCase> cases = readCases();
    EXPECT_GT(cases.size(), 80u);
    for (const LayoutCase& c : cases)
        EXPECT_EQ(layOut(c), c.expected) << "line-breaking.tsv:" << c.lineNumber << ": " << c.text;
}

TEST(LineBreakingTest, PagesFollowTheNewLines)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    // Three notes each, on pages of 3 lines of 5 characters: a pushed
    // bracket makes a third line, a hanging stop saves the second.
    const struct {
        const char* note;
        LineBreaking lineBreaking;
        int lines;
        int pages;
    } cases[] = {
        {"あいうえ「かきくけこ", LineBreaking::Off, 6, 2},
        {"あいうえ「かきくけこ", LineBreaking::Strict, 9, 3},
        {"あいうえお。", LineBreaking::Off, 6, 2},
        {"あいうえお。", LineBreaking::Loose, 3, 1},
    };
    for (const auto& c : cases) {
        ScriptPrinter printer;
        ASSERT_TRUE(printer.setCharactersPerLine(5));
        ASSERT_TRUE(printer.setLinesPerPage(3));
        printer.setTypesetting({c.lineBreaking, false, false});
        std::string body;
        for (int i = 0; i < 3; ++i)
            body += std::string(" ") + c.note + "\n";
        printer.loadText(sj(".scene\ttest\n.chara\t1\n.悠人\t1\n.total\t1\n" + body));
        EXPECT_EQ(printer.lineCount(), c.lines) << c.note;
        EXPECT_EQ(printer.layout().pageCount(), c.pages) << c.note;
    }
}

namespace {

// What may not start a line, from the list of the rules rather than the
// layout's table: the loose rules allow the second string.
const std::string neverFirst = "」』）〕］｝〉》】’”)]}｣‐～！？!?：；ヽヾゝゞ。．｡、，､";
const std::string strictlyNeverFirst =
    "々ー・ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶｧｨｩｪｫｯｬｭｮｰ･";
const std::string neverLast = "「『（〔［｛〈《【‘“([{｢";

bool holds(const std::string& list, const std::string& character)
{
    return !character.empty() && list.find(character) != std::string::npos;
}

std::string firstCharacter(const std::string& utf8Line)
{
    if (utf8Line.empty())
        return {};
    const auto lead = static_cast<unsigned char>(utf8Line[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return utf8Line.substr(0, length);
}

std::string lastCharacter(const std::string& utf8Line)
{
    std::size_t start = utf8Line.size();
    while (start > 0 && (static_cast<unsigned char>(utf8Line[--start]) & 0xC0) == 0x80) {
    }
    return utf8Line.substr(start);
}

// The printed lines of one segment (no forced break) laid out alone, UTF-8,
// without their leads.
std::vector<std::string> segmentLines(const std::string& segment, int width,
                                      const TypesettingOptions& options)
{
    FCString text;
    std::vector<ScriptLayout::Mark> marks;
    LineBreaker breaker;
    breaker.setOptions(options);
    breaker.layOut(segment, width, 0, {text, marks, 0, 0});
    std::vector<std::string> lines = split(utf8(std::string(text.view())), '\n');
    lines.pop_back(); // after the closing line feed
    for (std::size_t i = 1; i < lines.size(); ++i)
        lines[i].erase(0, ScriptLayout::LabelColumns);
    return lines;
}

// The texts of every body line of the example scenario and of sentences
// made up of the words scripts use, their segments apart.
std::vector<std::string> corpus()
{
    std::vector<std::string> segments;
    const std::string folder = std::string(QUILLON_SOURCE_DIR) + "/examples/scenario/";
    for (const char* name : {"s01_harbour", "s02_lighthouse", "s03_epilogue"}) {
        std::ifstream in(folder + name + ".screenplay.txt", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_FALSE(bytes.empty()) << name;
        std::istringstream lines(bytes);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.empty() || line[0] == '.' || line[0] == '@')
                continue;
            for (std::string_view text = ScreenplayBodyLine::classify(line).text;;) {
                const std::size_t mark = text.find("\\n");
                segments.emplace_back(text.substr(0, mark));
                if (mark == std::string_view::npos)
                    break;
                text.remove_prefix(mark + 2);
            }
        }
    }
    // Words, each followed now and then by the punctuation of a script.
    const char* words[] = {"ちょっと", "コーヒー", "灯台",        "人々",   "ｷｬｯﾁ", "悠人",
                           "あの",     "そう",     "です",        "ね",     "だよ", "見て",
                           "海",       "いすゞ",   "ファン",      "きゃあ", "ヴィ", "ｽｰﾊﾟｰ",
                           "１２",     "うわぁ",   "ミュージック"};
    const char* marks[] = {"、", "。", "！", "？！", "……", "――",   "」",   "「",
                           "『", "』", "（", "）",   "・", "：",   "、「", "」。",
                           "｣",  "､",  "｡",  "～",   "!?", "』」", "「『", "ー"};
    uint32_t seed = 21;
    const auto next = [&seed](std::size_t count) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % count;
    };
    for (int sentence = 0; sentence < 400; ++sentence) {
        std::string text;
        for (int word = 0; word < 24; ++word) {
            text += words[next(std::size(words))];
            if (next(2))
                text += marks[next(std::size(marks))];
        }
        segments.push_back(sj(text));
    }
    return segments;
}

} // namespace

TEST(LineBreakingTest, NoLineOfTheCorpusStartsOrEndsAgainstTheRules)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    const std::vector<std::string> segments = corpus();
    int continuations = 0;
    for (const LineBreaking lineBreaking : {LineBreaking::Strict, LineBreaking::Loose}) {
        for (const int width : {6, 7, 9, 12, 20, 40}) {
            for (const std::string& segment : segments) {
                const std::vector<std::string> lines =
                    segmentLines(segment, width, {lineBreaking, false, false});
                for (std::size_t i = 1; i < lines.size(); ++i) {
                    ++continuations;
                    const std::string first = firstCharacter(lines[i]);
                    const std::string last = lastCharacter(lines[i - 1]);
                    EXPECT_FALSE(
                        holds(neverFirst, first) ||
                        (lineBreaking == LineBreaking::Strict && holds(strictlyNeverFirst, first)))
                        << "width " << width << ": " << lines[i - 1] << " / " << lines[i];
                    EXPECT_FALSE(holds(neverLast, last))
                        << "width " << width << ": " << lines[i - 1] << " / " << lines[i];
                    EXPECT_FALSE((last == "…" && first == "…") || (last == "―" && first == "―"))
                        << "width " << width << ": " << lines[i - 1] << " / " << lines[i];
                }
            }
        }
    }
    EXPECT_GT(continuations, 10000);
}

TEST(LineBreakingTest, EveryOptionOffLaysTheCorpusOutAsThePlainGrid)
{
    // The breaker with nothing switched on against the printer's own loop.
    for (const int width : {1, 5, 40}) {
        for (const std::string& segment : corpus()) {
            // A note that reads as a comment takes a lead of its own.
            if (segment.empty() || segment[0] == '*' || segment[0] == '$')
                continue;
            ScriptPrinter plain;
            ASSERT_TRUE(plain.setCharactersPerLine(width));
            plain.loadText(".total\t0\n " + segment + "\n");
            FCString text(std::string(ScriptLayout::LabelColumns, ' '));
            std::vector<ScriptLayout::Mark> marks;
            LineBreaker breaker;
            const int lines = breaker.layOut(segment, width, 0, {text, marks, 0, 0});
            EXPECT_EQ(lines, plain.lineCount());
            EXPECT_EQ(text.view(), plain.laidOutText().view()) << utf8(segment);
            EXPECT_TRUE(marks.empty());
        }
    }
}
