// A UTF-8 screenplay lays out and prints exactly as its Shift-JIS twin: the
// twins are made from one Shift-JIS fixture with the platform's codec.

#include "PageTestSupport.h"
#include "PngPixels.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "render/PageImageSink.h"
#include "render/ScriptPrinter.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string fileBytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string shiftJisFixture()
{
    return fileBytesOf(QUILLON_SOURCE_DIR
                       "/tests/document/data/shift-jis-scene-of-every-line-kind.screenplay.txt");
}

// Everything a load and a print run of one file give.
struct Printed {
    std::string laidOut;
    std::vector<uint32_t> flags;
    int pages = 0;
    std::vector<std::string> characters;
    std::vector<std::string> files;
    std::vector<std::string> images;
};

Printed printFile(const std::string& path)
{
    pagetest::ScratchFolder out;
    ScriptPrinter printer;
    printer.setOptions(ScriptPrinter::OptionGenericScript |
                       ScriptPrinter::OptionNotesInCommentFont);
    // A narrow grid, so that lines wrap and the scene runs over pages.
    EXPECT_TRUE(printer.setCharactersPerLine(12));
    EXPECT_TRUE(printer.setLinesPerPage(8));
    printer.setBackground(4, 160);
    printer.buildBackgroundPattern();
    printer.load(path.c_str());

    Printed printed;
    printed.laidOut = printer.laidOutText().toStdString();
    for (int line = 0; line < printer.lineCount(); ++line)
        printed.flags.push_back(printer.lineFlags(line));
    printed.pages = printer.pageCount();
    for (int slot = 0; slot < printer.header().characterCount(); ++slot)
        printed.characters.push_back(printer.header().character(slot).name.toStdString());
    PageImageSink pages(FCString(out.destination().c_str()), PageImageSink::Format::Png);
    pagetest::printScene(printer, pages);
    printed.files = out.files();
    for (const std::string& file : printed.files)
        printed.images.push_back(pngPixels(out / file));
    return printed;
}

} // namespace

TEST(Utf8ScriptPrinterTest, UtfEightTwinsLayOutAndPrintAsTheShiftJisFixture)
{
    const std::string shiftJis = shiftJisFixture();
    std::string utf8;
    ASSERT_TRUE(TextCodec::toUtf8Exact(shiftJis, utf8));
    ScenarioTestFolder scenes;
    scenes.writeBytes("sjis.screenplay.txt", shiftJis);
    scenes.writeBytes("utf8.screenplay.txt", utf8);
    scenes.writeBytes("bom.screenplay.txt", "\xEF\xBB\xBF" + utf8);

    const Printed original = printFile(scenes.path() + "sjis.screenplay.txt");
    // Something to compare: every kind of line, several pages, one script
    // per character and the director's copy, all as page images.
    ASSERT_GT(original.pages, 2);
    EXPECT_NE(original.laidOut.find(sj("表に出て")), std::string::npos);
    EXPECT_EQ(original.characters,
              (std::vector<std::string>{sj("悠人"), sj("さくら"), sj("ﾏｽﾀｰ")}));
    ASSERT_EQ(original.files.size(), std::size_t(4 * original.pages));
    const std::string director =
        "表の幕間/表の幕間.監督用.1@" + std::to_string(original.pages) + ".png";
    EXPECT_NE(std::find(original.files.begin(), original.files.end(), director),
              original.files.end());

    for (const char* twin : {"utf8.screenplay.txt", "bom.screenplay.txt"}) {
        SCOPED_TRACE(twin);
        const Printed printed = printFile(scenes.path() + twin);
        EXPECT_EQ(printed.laidOut, original.laidOut);
        EXPECT_EQ(printed.flags, original.flags);
        EXPECT_EQ(printed.pages, original.pages);
        EXPECT_EQ(printed.characters, original.characters);
        ASSERT_EQ(printed.files, original.files);
        for (std::size_t i = 0; i < printed.images.size(); ++i) {
            EXPECT_FALSE(printed.images[i].empty()) << printed.files[i];
            EXPECT_TRUE(printed.images[i] == original.images[i])
                << printed.files[i] << " differs from its Shift-JIS twin's page";
        }
    }
}

TEST(Utf8ScriptPrinterTest, CharactersShiftJisCannotHoldPrintAsGeta)
{
    ScenarioTestFolder scenes;
    scenes.writeBytes("cafe.screenplay.txt",
                      ".chara\t1\n.A\t1\n.total\t1\n000001 A「caf\xC3\xA9 \xF0\x9F\x98\x80」\n");
    ScriptPrinter printer;
    printer.load((scenes.path() + "cafe.screenplay.txt").c_str());
    EXPECT_EQ(printer.laidOutText().toStdString(), sj("000001 A「caf〓 〓」\n"));
    EXPECT_EQ(printer.lineFlags(0), 0u) << "speaker A is slot 0";
    EXPECT_EQ(printer.pageCount(), 1);
}

TEST(Utf8ScriptPrinterTest, BadEndsOfUtf8FilesLayOutWithoutHarm)
{
    ScenarioTestFolder scenes;
    struct Case {
        const char* what;
        std::string bytes;
        std::string laidOut;
    };
    const Case cases[] = {
        {"a byte-order mark only", "\xEF\xBB\xBF", ""},
        {"a byte-order mark and an empty body", "\xEF\xBB\xBF.total\t0\n", ""},
        {"cut in the last character", ".total\t0\n000001 悠人「おはよう」\n000002 A「\xE3\x81",
         sj("000001 悠人「おはよう」\n000002 A「〓\n")},
    };
    for (const Case& c : cases) {
        scenes.writeBytes("x.screenplay.txt", c.bytes);
        ScriptPrinter printer;
        printer.load((scenes.path() + "x.screenplay.txt").c_str());
        EXPECT_EQ(printer.laidOutText().toStdString(), c.laidOut) << c.what;
    }
}
