#include "fc/CannotOpenException.h"
#include "fc/CannotWriteException.h"
#include "fc/FCFile.h"
#include "fc/FCString.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Sjis.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FCStringFileTest : public testing::Test {
protected:
    FCStringFileTest()
    {
        char pattern[] = "/tmp/quillon-strfile-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = fs::canonical(pattern).string();
    }
    ~FCStringFileTest() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string at(const std::string& name) const { return m_folder + "/" + name; }
    std::string contentsOf(const std::string& name) const
    {
        std::ifstream in(at(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(at(name), std::ios::binary) << bytes;
    }

    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
    FileFaults::Scope m_faults;
    std::string m_folder;
};

} // namespace

TEST_F(FCStringFileTest, RecordIsCountThenTextAndNul)
{
    {
        FCFile file;
        ASSERT_EQ(file.openForWriting(at("record.bin").c_str()), 0u);
        FCString("ab").writeTo(file);
    }
    EXPECT_EQ(contentsOf("record.bin"), std::string("\x03\x00\x00\x00"
                                                    "ab\x00",
                                                    7));
}

TEST_F(FCStringFileTest, PeekingTheLengthLeavesThePositionAlone)
{
    writeFile("record.bin", std::string("\x03\x00\x00\x00"
                                        "ab\x00",
                                        7));
    FCFile file;
    ASSERT_EQ(file.openForReading(at("record.bin").c_str()), 0u);
    FCString text;
    EXPECT_EQ(text.peekStoredLength(file), 2);
    EXPECT_EQ(file.position(), 0);
    text.readFrom(file);
    EXPECT_EQ(text.toStdString(), "ab");
    EXPECT_EQ(text.peekStoredLength(file), 0);
}

TEST_F(FCStringFileTest, RecordsRoundTripInOrder)
{
    std::vector<std::string> texts = {"first", "", Sjis::of("台本の表示"), std::string(300, 'x'),
                                      std::string("nul\0inside", 10)};
    {
        FCFile file;
        ASSERT_EQ(file.openForWriting(at("history.bin").c_str()), 0u);
        for (const std::string& t : texts)
            FCString(std::string_view(t)).writeTo(file);
    }
    FCFile file;
    ASSERT_EQ(file.openForReading(at("history.bin").c_str()), 0u);
    for (const std::string& t : texts) {
        FCString text("old");
        EXPECT_EQ(text.peekStoredLength(file), static_cast<int32_t>(t.size()));
        text.readFrom(file);
        EXPECT_EQ(text.toStdString(), t);
        EXPECT_EQ(text.unit(), 256);
    }
    EXPECT_EQ(file.position(), file.size());
}

struct BrokenRecord {
    const char* name;
    std::string bytes;
    std::string text;
    int32_t peeked;
};

class BrokenRecordTest : public FCStringFileTest,
                         public testing::WithParamInterface<BrokenRecord> {};

TEST_P(BrokenRecordTest, ReadsWhatIsThereWithoutFailing)
{
    writeFile("broken.bin", GetParam().bytes);
    FCFile file;
    ASSERT_EQ(file.openForReading(at("broken.bin").c_str()), 0u);
    FCString text("previous");
    EXPECT_EQ(text.peekStoredLength(file), GetParam().peeked);
    text.readFrom(file);
    EXPECT_EQ(text.toStdString(), GetParam().text);
    EXPECT_TRUE(m_prompt.questions().empty());
}

INSTANTIATE_TEST_SUITE_P(
    FCStringFileTest, BrokenRecordTest,
    testing::Values(BrokenRecord{"empty_file", "", "", 0},
                    BrokenRecord{"header_cut_short", std::string("\x05\x00", 2), "", 0},
                    BrokenRecord{"count_zero", std::string("\x00\x00\x00\x00zz", 6), "", 0},
                    BrokenRecord{"text_cut_short",
                                 std::string("\x0A\x00\x00\x00"
                                             "abc",
                                             7),
                                 "abc", 9},
                    BrokenRecord{"absurd_count",
                                 std::string("\xFF\xFF\xFF\xFF"
                                             "tail",
                                             8),
                                 "tail", 2147483647},
                    BrokenRecord{"missing_nul",
                                 std::string("\x03\x00\x00\x00"
                                             "abc",
                                             7),
                                 "ab", 2}),
    [](const testing::TestParamInfo<BrokenRecord>& info) { return info.param.name; });

TEST_F(FCStringFileTest, SavingOverALongerFileCutsIt)
{
    writeFile("text.txt", "a much longer old text");
    FCString("new").saveFile(at("text.txt").c_str());
    EXPECT_EQ(contentsOf("text.txt"), "new");

    FCString("created").saveFile(at("fresh.txt").c_str());
    EXPECT_EQ(contentsOf("fresh.txt"), "created");
}

TEST_F(FCStringFileTest, LoadingReadsTheWholeFileOrItsStart)
{
    std::string bytes = std::string(Sjis::of("一行目\n二行目\n")) + std::string(1000, 'z');
    writeFile("text.txt", bytes);
    FCString text;
    text.loadFile(at("text.txt").c_str());
    EXPECT_EQ(text.toStdString(), bytes);
    EXPECT_EQ(text.unit(), 256);
    EXPECT_EQ(text.cursor(), 0);

    text.loadFile(at("text.txt").c_str(), 6);
    EXPECT_EQ(text.toStdString(), Sjis::of("一行目"));
    text.loadFile(at("text.txt").c_str(), 100000);
    EXPECT_EQ(text.toStdString(), bytes);
}

TEST_F(FCStringFileTest, ReadTextStartsAtTheFilePosition)
{
    writeFile("text.txt", "headerbody");
    FCFile file;
    ASSERT_EQ(file.openForReading(at("text.txt").c_str()), 0u);
    ASSERT_EQ(file.seek(6, FileSystem::SeekBegin), 0u);
    FCString text;
    text.readText(file);
    EXPECT_EQ(text.toStdString(), "body");
    text.readText(file);
    EXPECT_EQ(text.toStdString(), "");
}

TEST_F(FCStringFileTest, LoadingAMissingFileRaisesAfterCancel)
{
    FCString text("kept");
    EXPECT_THROW(text.loadFile(at("missing.txt").c_str()), CannotOpenException);
    EXPECT_EQ(text.toStdString(), "kept");
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - open");
}

TEST_F(FCStringFileTest, ClosedFilesAreSkipped)
{
    FCFile closed;
    FCString text("kept");
    text.readText(closed);
    text.readFrom(closed);
    EXPECT_EQ(text.toStdString(), "kept");
    EXPECT_EQ(text.peekStoredLength(closed), 0);
    text.writeText(closed);
    text.writeTo(closed);
    EXPECT_TRUE(m_prompt.questions().empty());
}

TEST_F(FCStringFileTest, CancelledWriteRaisesAndKeepsNoHalfText)
{
    writeFile("text.txt", "old");
    FileFaults::fail(FileFaults::Kind::Write, 112);
    EXPECT_THROW(FCString("new text").saveFile(at("text.txt").c_str()), CannotWriteException);
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - write");
    EXPECT_EQ(contentsOf("text.txt"), "old");
}

TEST_F(FCStringFileTest, FileTooLargeForAStringRaisesBeforeReading)
{
    // A sparse file: its size costs no disk space.
    writeFile("huge.bin", "");
    fs::resize_file(at("huge.bin"), (int64_t(1) << 31) + 16);
    FCString text("kept");
    try {
        text.loadFile(at("huge.bin").c_str());
        FAIL() << "no exception";
    } catch (const NotEnoughMemoryException& e) {
        EXPECT_EQ(e.caption(), "FCString - create()");
    }
    EXPECT_EQ(text.toStdString(), "kept");
}
