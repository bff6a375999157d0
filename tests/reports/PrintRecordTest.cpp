#include "reports/PrintRecord.h"

#include "ReportsTestFixture.h"
#include "reports/PrintRun.h"

namespace {

// The record of a folder with one scene, a.
class PrintRecordTest : public testing::Test {
protected:
    PrintRecordTest() { m_folder.write("a.screenplay.txt", "version 1\n"); }

    std::string copyOf(const std::string& name) const
    {
        std::ifstream in(PrintRecord::folderOf(m_folder.path()) + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> recordFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(PrintRecord::folderOf(m_folder.path())))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool printed(const std::string& name)
    {
        PrintRecord record(m_folder.path());
        record.noteRead(name);
        return record.keep(name);
    }

    ScenarioTestFolder m_folder;
};

TEST_F(PrintRecordTest, KeepsACopyAndReplacesItOnTheNextPrint)
{
    EXPECT_EQ(PrintRecord::folderOf("/s/x"), "/s/x/.quillon/printed/");
    ASSERT_TRUE(printed("a.screenplay.txt"));
    EXPECT_EQ(copyOf("a.screenplay.txt"), "version 1\n");
    m_folder.write("a.screenplay.txt", "version 2, longer\n");
    ASSERT_TRUE(printed("a.screenplay.txt"));
    EXPECT_EQ(copyOf("a.screenplay.txt"), "version 2, longer\n");
    EXPECT_EQ(recordFiles(), std::vector<std::string>{"a.screenplay.txt"});
}

TEST_F(PrintRecordTest, AnInterruptedWriteLeavesTheOldCopyAndNoTemporaryFile)
{
    ASSERT_TRUE(printed("a.screenplay.txt"));
    m_folder.write("a.screenplay.txt", "version 2\n");
    {
        FileFaults::Scope faults;
        FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, 1);
        EXPECT_FALSE(printed("a.screenplay.txt"));
    }
    EXPECT_EQ(copyOf("a.screenplay.txt"), "version 1\n");
    EXPECT_EQ(recordFiles(), std::vector<std::string>{"a.screenplay.txt"});
}

TEST_F(PrintRecordTest, ATemporaryFileACrashLeftIsRemovedByTheNextRun)
{
    ASSERT_TRUE(printed("a.screenplay.txt"));
    const std::string stale = PrintRecord::folderOf(m_folder.path()) + "a.screenplay.txt.99.part";
    std::ofstream(stale) << "cut";
    m_folder.write("b.screenplay.txt", "b\n");
    ASSERT_TRUE(printed("b.screenplay.txt"));
    EXPECT_EQ(recordFiles(), (std::vector<std::string>{"a.screenplay.txt", "b.screenplay.txt"}));
}

TEST_F(PrintRecordTest, AFileChangedSinceItWasReadIsNotKept)
{
    ASSERT_TRUE(printed("a.screenplay.txt"));
    PrintRecord record(m_folder.path());
    record.noteRead("a.screenplay.txt");
    m_folder.write("a.screenplay.txt", "version 2, written while printing\n");
    EXPECT_FALSE(record.keep("a.screenplay.txt"));
    EXPECT_FALSE(record.keep("never-read.screenplay.txt"));
    EXPECT_EQ(record.failures(), 2);
    EXPECT_EQ(copyOf("a.screenplay.txt"), "version 1\n");
}

TEST_F(PrintRecordTest, AFolderThatCannotHoldTheRecordFailsEveryScene)
{
    m_folder.write(".quillon", "a file where the folder would be");
    PrintRecord record(m_folder.path());
    record.noteRead("a.screenplay.txt");
    EXPECT_FALSE(record.keep("a.screenplay.txt"));
    EXPECT_EQ(record.failures(), 1);
}

TEST_F(PrintRecordTest, KeepOnlyDropsTheCopiesOfScenesTheFolderLost)
{
    m_folder.write("b.screenplay.txt", "b\n");
    ASSERT_TRUE(printed("a.screenplay.txt"));
    ASSERT_TRUE(printed("b.screenplay.txt"));
    PrintRecord(m_folder.path()).keepOnly({"b.screenplay.txt"});
    EXPECT_EQ(recordFiles(), std::vector<std::string>{"b.screenplay.txt"});
}

// A run over a: and b, c cleared.
class PrintRunRecordTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 2}}, 2);
        scene("b.screenplay.txt", "b", {{"悠人", 3}}, 3);
        load();
        m_app.setDestinationFolder(m_folder.path() + "pages/");
        m_app.setOutputDevice(OutputDevice::Bmp);
        m_app.setPrintLog(false);
    }
    PrintRun::Outcome run()
    {
        UxProgressDialog progress(m_view);
        return m_run.printAll(catalogue(), progress);
    }

    ScriptedProgressView m_view;
    PrintRun m_run{m_app};
};

TEST_F(PrintRunRecordTest, EveryPrintedSceneIsKeptAsItsFile)
{
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.unrecorded, 0);
    EXPECT_TRUE(PrintRun::recordNotice(outcome).isEmpty());
    const std::string record = PrintRecord::folderOf(m_folder.path());
    EXPECT_EQ(bytesOf(record + "a.screenplay.txt"), bytesOf(m_folder.path() + "a.screenplay.txt"));
    EXPECT_FALSE(std::filesystem::exists(record + "b.screenplay.txt"));
}

TEST_F(PrintRunRecordTest, ARecordThatCannotBeWrittenLeavesTheRunASuccessWithANotice)
{
    m_folder.write(".quillon", "a file where the record's folder would be");
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_EQ(outcome.unrecorded, 2);
    EXPECT_NE(utf8(PrintRun::recordNotice(outcome).toStdString()).find("2 ファイルの印刷の記録"),
              std::string::npos);
}

} // namespace
