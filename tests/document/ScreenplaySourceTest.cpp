#include "document/ScreenplaySource.h"

#include "ScenarioTestFolder.h"
#include "TestText.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

const std::string Geta = "\x81\xAC"; // 〓

std::string readAll(ScreenplaySource& source, std::size_t capacity)
{
    std::string text;
    std::string buffer(capacity, '\0');
    while (std::size_t got = source.read(buffer.data(), capacity))
        text.append(buffer, 0, got);
    return text;
}

std::string fileBytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string shiftJisFixture()
{
    return fileBytesOf(QUILLON_TEST_DATA "/shift-jis-scene-of-every-line-kind.screenplay.txt");
}

class ScreenplaySourceTest : public testing::Test {
protected:
    // Opens the bytes as a file and reads it all in pieces of capacity.
    std::string readFile(const std::string& bytes, std::size_t capacity = 4096)
    {
        m_folder.writeBytes("scene.screenplay.txt", bytes);
        EXPECT_TRUE(m_source.open((m_folder.path() + "scene.screenplay.txt").c_str()));
        return readAll(m_source, capacity);
    }

    ScenarioTestFolder m_folder;
    ScreenplaySource m_source;
};

} // namespace

TEST_F(ScreenplaySourceTest, UtfEightTwinsReadAsTheirShiftJisFixture)
{
    const std::string shiftJis = shiftJisFixture();
    ASSERT_FALSE(shiftJis.empty());
    std::string utf8;
    ASSERT_TRUE(TextCodec::toUtf8Exact(shiftJis, utf8));

    struct Twin {
        const char* what;
        std::string bytes;
        bool asUtf8;
    };
    const Twin twins[] = {
        {"Shift-JIS", shiftJis, false},
        {"UTF-8", utf8, true},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, true},
    };
    for (const Twin& twin : twins) {
        for (std::size_t capacity : {std::size_t(1), std::size_t(7), std::size_t(1) << 20}) {
            EXPECT_EQ(readFile(twin.bytes, capacity), shiftJis) << twin.what << ", " << capacity;
            EXPECT_EQ(m_source.readAsUtf8(), twin.asUtf8) << twin.what;
            EXPECT_EQ(m_source.substitutions(), 0u) << twin.what;
            EXPECT_EQ(m_source.storedSize(), int64_t(twin.bytes.size())) << twin.what;
        }
        ScreenplaySource inMemory;
        inMemory.openBytes(twin.bytes);
        EXPECT_EQ(readAll(inMemory, 100), shiftJis) << twin.what;
    }
}

TEST_F(ScreenplaySourceTest, ReplacedCharactersAreCountedOverTheWholeFileAtOpen)
{
    // The first pieces are plain ASCII: deciding reads the whole file, and
    // reading starts again from its first byte.
    std::string utf8 = ".scene\tx\n.total\t0\n";
    while (utf8.size() < 3 * ScreenplaySource::PieceSize)
        utf8 += "            note\n";
    utf8 += "000001 A「caf\xC3\xA9 \xF0\x9F\x98\x80 表」\n";
    m_folder.writeBytes("long.screenplay.txt", utf8);
    ScreenplaySource source;
    ASSERT_TRUE(source.open((m_folder.path() + "long.screenplay.txt").c_str()));
    EXPECT_TRUE(source.readAsUtf8());
    EXPECT_EQ(source.substitutions(), 2u) << "known before a byte is read";
    const std::string text = readAll(source, 300000);
    const std::string tail = sj("000001 A「caf") + Geta + " " + Geta + " " + sj("表」\n");
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // Everything before the last line is ASCII and comes through as it is.
    const std::size_t lastLine = utf8.rfind("000001");
    EXPECT_EQ(text.substr(0, lastLine), utf8.substr(0, lastLine));
    EXPECT_EQ(text.size(), lastLine + tail.size());
}

TEST_F(ScreenplaySourceTest, ShiftJisAfterLongAsciiIsReadAsStored)
{
    std::string bytes;
    while (bytes.size() < 2 * ScreenplaySource::PieceSize + 5)
        bytes += "            note\r\n";
    bytes += sj("000001 悠人「表」\n");
    EXPECT_EQ(readFile(bytes), bytes);
    EXPECT_FALSE(m_source.readAsUtf8());
    EXPECT_EQ(m_source.substitutions(), 0u);
}

TEST_F(ScreenplaySourceTest, BadEndsAndEmptyFilesReadSensibly)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string cp932;
        bool asUtf8;
        std::size_t substitutions;
    };
    const Case cases[] = {
        {"empty", "", "", false, 0},
        {"byte-order mark only", "\xEF\xBB\xBF", "", true, 0},
        {"cut in the last character", "000001 悠人「おはよう」\n\xE3\x81",
         sj("000001 悠人「おはよう」\n") + Geta, true, 1},
        {"ASCII", ".total\t0\n", ".total\t0\n", false, 0},
        {"valid in both", "caf\xC3\xA9", "caf\xC3\xA9", false, 0},
        {"a Shift-JIS lead byte last", sj("表") + "\x81", sj("表") + "\x81", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readFile(c.bytes), c.cp932) << c.what;
        EXPECT_EQ(m_source.readAsUtf8(), c.asUtf8) << c.what;
        EXPECT_EQ(m_source.substitutions(), c.substitutions) << c.what;
        // The end stays the end.
        char byte;
        EXPECT_EQ(m_source.read(&byte, 1), 0u) << c.what;
    }
}
