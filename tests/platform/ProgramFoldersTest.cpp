#include "platform/ProgramFolders.h"

#include "TempFolder.h"
#include "platform/TextCodec.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets $HOME for one test and puts the old value back.
class HomeScope {
public:
    explicit HomeScope(const std::string& home)
    {
        if (const char* old = std::getenv("HOME"))
            m_saved = old;
        ::setenv("HOME", home.c_str(), 1);
    }
    ~HomeScope()
    {
        if (m_saved)
            ::setenv("HOME", m_saved->c_str(), 1);
        else
            ::unsetenv("HOME");
    }

private:
    std::optional<std::string> m_saved;
};

bool isFolder(const std::string& utf8)
{
    struct stat info;
    return ::stat(utf8.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TEST(ProgramFoldersTest, ProgramFolderIsTheFolderOfTheRunningProgram)
{
    // The test program lies in the build tree, which is writable.
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    ASSERT_GT(n, 0);
    std::string exe(buffer, static_cast<std::size_t>(n));
    std::string folder = exe.substr(0, exe.find_last_of('/') + 1);
    EXPECT_EQ(TextCodec::toUtf8(ProgramFolders::programFolder()), folder);
    EXPECT_EQ(ProgramFolders::programFile(), ProgramFolders::programFolder() + "quillon");
}

TEST(ProgramFoldersTest, ScopeReplacesTheProgramFolderUntilItEnds)
{
    std::string original = ProgramFolders::programFolder();
    const std::string originalNote = ProgramFolders::placementNote();
    {
        ProgramFolders::Scope elsewhere("/tmp/elsewhere", "\nnote");
        EXPECT_EQ(ProgramFolders::programFolder(), "/tmp/elsewhere/");
        EXPECT_EQ(ProgramFolders::programFile(), "/tmp/elsewhere/quillon");
        EXPECT_EQ(ProgramFolders::placementNote(), "\nnote");
        {
            ProgramFolders::Scope inner("/tmp/x/");
            EXPECT_EQ(ProgramFolders::programFolder(), "/tmp/x/");
            EXPECT_EQ(ProgramFolders::placementNote(), "");
        }
        EXPECT_EQ(ProgramFolders::programFolder(), "/tmp/elsewhere/");
        EXPECT_EQ(ProgramFolders::placementNote(), "\nnote");
    }
    EXPECT_EQ(ProgramFolders::programFolder(), original);
    EXPECT_EQ(ProgramFolders::placementNote(), originalNote);
}

TEST(ProgramFoldersTest, HomeFolderComesFromHomeWithoutTrailingSlash)
{
    TempFolder temp;
    {
        HomeScope home(temp.path() + "/");
        EXPECT_EQ(ProgramFolders::homeFolder(), temp.path());
    }
    {
        HomeScope home(temp / "台本");
        EXPECT_EQ(ProgramFolders::homeFolder(), temp.path() + "/\x91\xE4\x96\x7B");
    }
    {
        HomeScope home(temp / "😀");
        EXPECT_EQ(ProgramFolders::homeFolder(), "") << "a home with no CP932 name is no home";
        std::string path;
        EXPECT_FALSE(ProgramFolders::shellFolder(40, path));
        EXPECT_EQ(ProgramFolders::configFolder(), "");
    }
}

TEST(ProgramFoldersTest, ConfigFolderIsCreatedUnderHome)
{
    TempFolder temp;
    HomeScope home(temp.path());
    EXPECT_EQ(ProgramFolders::configFolder(), temp.path() + "/.config/quillon/");
    EXPECT_TRUE(isFolder(temp / ".config/quillon"));
    EXPECT_EQ(ProgramFolders::configFolder(), temp.path() + "/.config/quillon/")
        << "an existing folder is fine";
}

TEST(ProgramFoldersTest, ShellFoldersLieUnderHome)
{
    TempFolder temp;
    HomeScope home(temp.path());
    struct Case {
        int code;
        std::string below;
    };
    const Case cases[] = {
        {0, "/Desktop"}, {5, "/Documents"}, {26, "/.config"}, {28, "/.local/share"}, {40, ""},
    };
    for (const Case& c : cases) {
        std::string path;
        ASSERT_TRUE(ProgramFolders::shellFolder(c.code, path)) << "code " << c.code;
        EXPECT_EQ(path, temp.path() + c.below) << "code " << c.code;
    }
    for (int code : {1, 2, 35, 30583, -1}) {
        std::string path = "unchanged";
        EXPECT_FALSE(ProgramFolders::shellFolder(code, path)) << "code " << code;
        EXPECT_EQ(path, "unchanged");
    }
}

TEST(ProgramFoldersTest, OpticalDriveIsTheFirstDiscInTheMountTable)
{
    struct Case {
        std::string mounts;
        std::string drive;
    };
    const Case cases[] = {
        {"", ""},
        {"/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\n", ""},
        {"/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n", "/media/cdrom/"},
        {"/dev/loop3 /mnt/image udf ro 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0", "/mnt/image/"},
        {"/dev/sr1 /media/disc auto ro 0 0\n", "/media/disc/"},
        {"/dev/sr0 /media/My\\040Disc iso9660 ro 0 0\n", "/media/My Disc/"},
        {"/dev/sr0 /media/\xE5\x8F\xB0\xE6\x9C\xAC iso9660 ro 0 0\n", "/media/\x91\xE4\x96\x7B/"},
        // A mount point with no CP932 form is passed over.
        {"/dev/sr0 /media/\xF0\x9F\x98\x80 iso9660 ro 0 0\n/dev/sr1 /cd udf ro 0 0\n", "/cd/"},
        {"broken line\n/dev/sr0\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramFolders::opticalDriveIn(c.mounts), c.drive) << c.mounts;
}

TEST(ProgramFoldersTest, OpticalDriveIsStableWithinTheProcess)
{
    std::string first = ProgramFolders::opticalDrive();
    EXPECT_EQ(ProgramFolders::opticalDrive(), first);
    EXPECT_TRUE(first.empty() || first.back() == '/');
}
