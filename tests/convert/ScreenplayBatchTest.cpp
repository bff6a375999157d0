#include "convert/ScreenplayBatch.h"

#include "ConvertTestSupport.h"
#include "convert/SpareFiles.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::size_t filesIn(const std::string& folder)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

TEST(ScreenplayBatchTest, FilesTakeTheirNamesOnlyAtTheCommit)
{
    ScenarioTestFolder out;
    out.writeBytes("a.screenplay.txt", "old");
    ScreenplayBatch batch(3);
    ASSERT_TRUE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("new a")));
    ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("new b")));
    EXPECT_FALSE(batch.full());
    // Until then the old file stands whole and the new texts wait beside it.
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "old");
    EXPECT_FALSE(out.exists("b.screenplay.txt"));
    EXPECT_EQ(filesIn(out.path()), 3u);

    std::vector<FCString> failed;
    batch.commit(failed);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "new a");
    EXPECT_EQ(fileText(out.path() + "b.screenplay.txt"), "new b");
    EXPECT_EQ(filesIn(out.path()), 2u);
}

TEST(ScreenplayBatchTest, TheLaterOfTwoTextsForOneNameWins)
{
    ScenarioTestFolder out;
    const FCString path(out.path() + "a.screenplay.txt");
    {
        ScreenplayBatch batch(4);
        ASSERT_TRUE(batch.add(path, FCString("first")));
        ASSERT_TRUE(batch.add(path, FCString("second")));
        ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("b")));
        ASSERT_TRUE(batch.add(FCString(out.path() + "c.screenplay.txt"), FCString("c")));
        EXPECT_TRUE(batch.full());
        // Leaving the scope commits what is pending.
    }
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "second");
    EXPECT_EQ(filesIn(out.path()), 3u);
}

TEST(ScreenplayBatchTest, AFileThatCannotBeWrittenLeavesNothing)
{
    ScenarioTestFolder out;
    out.writeBytes("a.screenplay.txt", "old");
    ScriptedPrompt prompt{Prompt::Answer::Cancel};
    Prompt::Scope scope(prompt);
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, 1);
    ScreenplayBatch batch(2);
    EXPECT_FALSE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("new")));
    EXPECT_FALSE(batch.add(FCString("relative/a.screenplay.txt"), FCString("new")));
    std::vector<FCString> failed;
    batch.commit(failed);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "old");
    EXPECT_EQ(filesIn(out.path()), 1u);
}

TEST(ScreenplayBatchTest, ARenameThatFailsKeepsTheOldFileAndNamesTheTarget)
{
    ScenarioTestFolder out;
    // A folder cannot be replaced by a file.
    std::filesystem::create_directory(out.path() + "a.screenplay.txt");
    ScreenplayBatch batch(2);
    ASSERT_TRUE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("a")));
    ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("b")));
    std::vector<FCString> failed;
    batch.commit(failed);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].toStdString(), out.path() + "a.screenplay.txt");
    EXPECT_TRUE(std::filesystem::is_directory(out.path() + "a.screenplay.txt"));
    EXPECT_EQ(fileText(out.path() + "b.screenplay.txt"), "b");
    EXPECT_EQ(filesIn(out.path()), 2u);
}

TEST(ScreenplayBatchTest, OnlyAnOldFileSeenNowhereElseIsWrittenOverLater)
{
    enum class Old { None, Ours, ReadOnly, Linked, Link, Folder };
    const struct {
        const char* name;
        Old old;
        // A reader holds the old file open throughout.
        bool held;
        bool reused;
    } cases[] = {
        {"no old file", Old::None, false, false},
        {"an old file of the run's look", Old::Ours, false, true},
        {"an old file a reader holds open", Old::Ours, true, false},
        {"a read-only old file", Old::ReadOnly, true, false},
        {"an old file with a second name", Old::Linked, true, false},
        {"a link to another file", Old::Link, true, false},
        {"a folder", Old::Folder, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScenarioTestFolder out;
        const std::string target = out.path() + "a.screenplay.txt";
        const std::string other = out.path() + "other.txt";
        switch (c.old) {
        case Old::None:
            break;
        case Old::Ours:
        case Old::ReadOnly:
        case Old::Linked:
            out.writeBytes("a.screenplay.txt", "old text");
            if (c.old == Old::ReadOnly)
                std::filesystem::permissions(target, std::filesystem::perms::owner_read);
            if (c.old == Old::Linked)
                std::filesystem::create_hard_link(target, other);
            break;
        case Old::Link:
            out.writeBytes("other.txt", "old text");
            std::filesystem::create_symlink(other, target);
            break;
        case Old::Folder:
            std::filesystem::create_directory(target);
            break;
        }
        struct stat before {};
        ::stat(target.c_str(), &before);
        const int held = c.held ? ::open(target.c_str(), O_RDONLY | O_CLOEXEC) : -1;
        {
            SpareFiles spares;
            ScreenplayBatch batch(2);
            batch.recycle(&spares);
            const auto write = [&](const char* name, const char* text) {
                ScreenplayBatch::Temporary file;
                ASSERT_TRUE(file.write(FCString(out.path() + name), FCString(text), &spares));
                batch.adopt(std::move(file));
            };
            write("b.screenplay.txt", "b");
            write("a.screenplay.txt", "new a");
            std::vector<FCString> failed;
            batch.commit(failed);
            EXPECT_EQ(failed.size(), c.old == Old::Folder ? 1u : 0u);
            if (c.old == Old::Folder) {
                EXPECT_TRUE(std::filesystem::is_directory(target));
            } else {
                EXPECT_EQ(fileText(target), "new a");
            }
            if (c.old == Old::Linked || c.old == Old::Link) {
                EXPECT_EQ(fileText(other), "old text");
            }

            // Until the next flush the old file is nobody's to write.
            std::string spare;
            EXPECT_FALSE(spares.take(spare, 1));
            spares.settle();
            write("c.screenplay.txt", "c");
            batch.commit(failed);
            EXPECT_EQ(fileText(out.path() + "c.screenplay.txt"), "c");
            struct stat written {};
            ::lstat((out.path() + "c.screenplay.txt").c_str(), &written);
            EXPECT_EQ(written.st_mode & 07777, 0666u & ~currentUmask());
            // An old file kept aside keeps its number until the run ends,
            // so only the reuse gives it to c.
            if (c.reused) {
                EXPECT_EQ(written.st_ino, before.st_ino);
            }
        }
        // Anyone who still sees the old file reads what it held.
        if (held >= 0) {
            char bytes[16] = {};
            const ssize_t n = ::pread(held, bytes, sizeof bytes, 0);
            EXPECT_EQ(std::string(bytes, std::size_t(std::max<ssize_t>(n, 0))), "old text");
            ::close(held);
        }
        // The files moved aside at the last commit go with the run.
        const bool otherFile = c.old == Old::Linked || c.old == Old::Link;
        EXPECT_EQ(filesIn(out.path()), 3u + (otherFile ? 1u : 0u));
    }
}
