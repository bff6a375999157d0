#include "convert/QuickFile.h"

#include "ConvertTestSupport.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"

#include <filesystem>
#include <unistd.h>

TEST(QuickFileTest, ReadsRegularFilesWholeAndLeavesTheRestToTheFileLayer)
{
    ScenarioTestFolder folder;
    folder.writeBytes("text.cpp", std::string("a\0b\x82\xa0", 5));
    folder.writeBytes("empty.cpp", "");
    folder.writeBytes("big.cpp", std::string(300000, 'x'));
    std::filesystem::create_directory(folder.path() + "folder.cpp");
    std::filesystem::create_symlink(folder.path() + "none", folder.path() + "gone.cpp");
    ASSERT_EQ(::mkfifo((folder.path() + "pipe.cpp").c_str(), 0644), 0);
    const struct {
        const char* name;
        bool read;
        std::string bytes;
    } cases[] = {
        {"text.cpp", true, std::string("a\0b\x82\xa0", 5)},
        {"empty.cpp", true, ""},
        {"big.cpp", true, std::string(300000, 'x')},
        {"folder.cpp", false, ""},
        {"gone.cpp", false, ""},
        {"pipe.cpp", false, ""},
        {"absent.cpp", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = "left over";
        ASSERT_EQ(QuickFile::read(folder.path() + c.name, bytes), c.read);
        if (c.read) {
            EXPECT_EQ(bytes, c.bytes);
        }
    }

    // An armed fault must reach the code under test: the short way steps
    // aside.
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Delete, WinError::AccessDenied);
    std::string bytes;
    EXPECT_FALSE(QuickFile::read(folder.path() + "text.cpp", bytes));
    EXPECT_EQ(QuickFile::create(folder.path() + "new.txt", "x"), -1);
    EXPECT_FALSE(folder.exists("new.txt"));
}

TEST(QuickFileTest, CreatesOnlyFilesThatDoNotExist)
{
    ScenarioTestFolder folder;
    folder.writeBytes("old.txt", "old");
    EXPECT_EQ(QuickFile::create(folder.path() + "old.txt", "new"), -1);
    EXPECT_EQ(fileText(folder.path() + "old.txt"), "old");
    EXPECT_EQ(QuickFile::create(folder.path() + "no/such/folder.txt", "new"), -1);

    const int fd = QuickFile::create(folder.path() + sj("台本.txt"), "new text");
    ASSERT_GE(fd, 0);
    ::close(fd);
    // The CP932 name is the UTF-8 one on disk.
    EXPECT_EQ(fileText(folder.path() + "台本.txt"), "new text");
}
