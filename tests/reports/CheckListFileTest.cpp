#include "reports/CheckListFile.h"

#include "ReportsTestFixture.h"

namespace {

class CheckListFileTest : public ReportsTest {
protected:
    FCString folder() const { return FCString(m_folder.path()); }
};

} // namespace

TEST(CheckListFileNameTest, NumbersAreEightLowerCaseHexadecimalDigits)
{
    EXPECT_EQ(CheckListFile::fileName("", 0, ".csv"), "@sceneCheckList.00000000.csv");
    EXPECT_EQ(CheckListFile::fileName("", 0xab, ".txt"), "@sceneCheckList.000000ab.txt");
    EXPECT_EQ(CheckListFile::fileName(sj("悠人"), 10, ".csv"),
              sj("@sceneCheckList.悠人.0000000a.csv"));
}

TEST(CheckListFileNameTest, UnsafeNamesNeverLeaveTheFolder)
{
    struct Case {
        std::string name, part;
    };
    for (const Case& c : {Case{"a/b", "a_b"}, Case{"/", "_"}, Case{"../../etc", ".._.._etc"},
                          Case{".", "_"}, Case{"..", "_"}, Case{"...", "..."},
                          Case{std::string("x\0y", 3), "x_y"}, Case{sj("悠人"), sj("悠人")},
                          // A lone lead byte before "/" does not shield it.
                          Case{"\x81/", "\x81_"},
                          // Characters with no form on disk: a lone lead
                          // byte, an unassigned pair.
                          Case{"\x82", "_"},
                          Case{"a\x85\x40"
                               "b",
                               "a_b"},
                          Case{sj("悠") + "\xfc", sj("悠") + "_"}}) {
        EXPECT_EQ(CheckListFile::safeNamePart(c.name), c.part) << c.part;
    }
}

TEST(CheckListFileNameTest, LongNamesAreCutAtACharacterBoundary)
{
    // 100 double-byte characters are 300 bytes on disk.
    std::string name;
    for (int i = 0; i < 100; ++i)
        name += sj("悠");
    const std::string part = CheckListFile::safeNamePart(name);
    const std::string native = utf8(part);
    EXPECT_LE(native.size(), CheckListFile::MaxNativeNamePart);
    EXPECT_GT(native.size() + 3, CheckListFile::MaxNativeNamePart);
    EXPECT_EQ(name.compare(0, part.size(), part), 0);
    EXPECT_EQ(part.size() % 2, 0u);
}

TEST_F(CheckListFileTest, TakesTheFirstFreeNumberAndNeverOverwrites)
{
    m_folder.writeBytes("@sceneCheckList.00000000.csv", "keep");
    m_folder.writeBytes("@sceneCheckList.00000002.csv", "keep too");
    FCString path;
    ASSERT_TRUE(CheckListFile::write(folder(), "", ".csv", "first", path));
    EXPECT_EQ(path.toStdString(), m_folder.path() + "@sceneCheckList.00000001.csv");
    ASSERT_TRUE(CheckListFile::write(folder(), "", ".csv", "second", path));
    EXPECT_EQ(path.toStdString(), m_folder.path() + "@sceneCheckList.00000003.csv");
    EXPECT_EQ(bytesOf(m_folder.path() + "@sceneCheckList.00000000.csv"), "keep");
    EXPECT_EQ(bytesOf(m_folder.path() + "@sceneCheckList.00000001.csv"), "first");
    EXPECT_EQ(bytesOf(m_folder.path() + "@sceneCheckList.00000002.csv"), "keep too");
    EXPECT_EQ(bytesOf(m_folder.path() + "@sceneCheckList.00000003.csv"), "second");
    // Another extension or name counts on its own.
    ASSERT_TRUE(CheckListFile::write(folder(), "", ".txt", "t", path));
    EXPECT_EQ(path.toStdString(), m_folder.path() + "@sceneCheckList.00000000.txt");
}

TEST_F(CheckListFileTest, ADanglingLinkIsATakenName)
{
    const std::string outside = m_folder.path() + "outside.txt";
    std::filesystem::create_symlink(outside, m_folder.path() + "@sceneCheckList.00000000.csv");
    FCString path;
    ASSERT_TRUE(CheckListFile::write(folder(), "", ".csv", "list", path));
    EXPECT_EQ(path.toStdString(), m_folder.path() + "@sceneCheckList.00000001.csv");
    EXPECT_FALSE(std::filesystem::exists(outside));
}

TEST_F(CheckListFileTest, AMissingFolderIsReportedByTheFileLayer)
{
    FCString path;
    EXPECT_FALSE(
        CheckListFile::write(FCString(m_folder.path() + "missing/"), "", ".csv", "x", path));
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_NE(m_prompt.questions()[0].text.find("missing/@sceneCheckList.00000000.csv"),
              std::string::npos);
}

TEST_F(CheckListFileTest, AWriteThatFailsHalfwayLeavesNothing)
{
    FileFaults::Scope faults;
    // The first piece goes through, the rest fails until the user cancels.
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 1, -1);
    FCString path;
    const std::string big(600 * 1024, 'x');
    EXPECT_FALSE(CheckListFile::write(folder(), "", ".csv", big, path));
    FileFaults::reset();
    EXPECT_TRUE(filesIn(m_folder.path(), "@sceneCheckList.").empty());
}

TEST_F(CheckListFileTest, RetryAfterAWriteFailureWritesTheWholeText)
{
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, 1);
    m_prompt.push(Prompt::Answer::Retry);
    FCString path;
    ASSERT_TRUE(CheckListFile::write(folder(), "", ".csv", "whole", path));
    EXPECT_EQ(bytesOf(path.toStdString()), "whole");
}
