#include "TempFolder.h"
#include "platform/FileSystem.h"
#include "platform/WinError.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool existsOnDisk(const std::string& utf8)
{
    struct stat info;
    return ::lstat(utf8.c_str(), &info) == 0;
}

uint32_t attributesOf(const std::string& path)
{
    uint32_t attributes = 0;
    EXPECT_EQ(FileSystem::attributes(path, attributes), 0u) << path;
    return attributes;
}

// Restores the working directory a test changed.
class WorkingDirectory {
public:
    WorkingDirectory() : m_saved(std::filesystem::current_path()) {}
    ~WorkingDirectory() { std::filesystem::current_path(m_saved); }

private:
    std::filesystem::path m_saved;
};

} // namespace

TEST(FileSystemPathsTest, AttributesTellFoldersFilesReadOnlyAndHiddenApart)
{
    TempFolder temp;
    temp.write("file.txt", "x");
    temp.write(".hidden", "x");
    ASSERT_EQ(::mkdir((temp / "sub").c_str(), 0777), 0);
    EXPECT_EQ(attributesOf(temp / "file.txt"), FileSystem::AttributeArchive);
    EXPECT_EQ(attributesOf(temp / "sub"), FileSystem::AttributeDirectory);
    EXPECT_EQ(attributesOf(temp / "sub/"), FileSystem::AttributeDirectory);
    EXPECT_EQ(attributesOf(temp / ".hidden"),
              FileSystem::AttributeArchive | FileSystem::AttributeHidden);
    EXPECT_EQ(attributesOf(temp / "sub/.") & FileSystem::AttributeHidden, 0u);

    ASSERT_EQ(FileSystem::setAttributes(temp / "file.txt", FileSystem::AttributeReadOnly), 0u);
    EXPECT_EQ(attributesOf(temp / "file.txt"),
              FileSystem::AttributeArchive | FileSystem::AttributeReadOnly);
    ASSERT_EQ(FileSystem::setAttributes(temp / "file.txt", FileSystem::AttributeNormal), 0u);
    EXPECT_EQ(attributesOf(temp / "file.txt"), FileSystem::AttributeArchive);

    uint32_t attributes = 99;
    EXPECT_EQ(FileSystem::attributes(temp / "none", attributes), WinError::FileNotFound);
    EXPECT_EQ(FileSystem::attributes(temp / "none/x", attributes), WinError::PathNotFound);
    EXPECT_EQ(FileSystem::setAttributes(temp / "none", 0), WinError::FileNotFound);
}

TEST(FileSystemPathsTest, CreateDirectoryReportsExistingAndMissingParents)
{
    TempFolder temp;
    EXPECT_EQ(FileSystem::createDirectory(temp / "new"), 0u);
    EXPECT_EQ(attributesOf(temp / "new"), FileSystem::AttributeDirectory);
    EXPECT_EQ(FileSystem::createDirectory(temp / "new"), WinError::AlreadyExists);
    EXPECT_EQ(FileSystem::createDirectory(temp / "a/b"), WinError::PathNotFound);
    EXPECT_FALSE(existsOnDisk(temp / "a"));
    EXPECT_EQ(FileSystem::createDirectory(temp.path() + "/\x80"), WinError::PathNotFound);
}

TEST(FileSystemPathsTest, DeleteFileRefusesReadOnlyFilesAndFolders)
{
    TempFolder temp;
    temp.write("r.txt", "x");
    ASSERT_EQ(::mkdir((temp / "sub").c_str(), 0777), 0);
    ASSERT_EQ(FileSystem::setAttributes(temp / "r.txt", FileSystem::AttributeReadOnly), 0u);
    EXPECT_EQ(FileSystem::deleteFile(temp / "r.txt"), WinError::AccessDenied);
    EXPECT_TRUE(existsOnDisk(temp / "r.txt")) << "even root must not delete a read-only file";
    ASSERT_EQ(FileSystem::setAttributes(temp / "r.txt", 0), 0u);
    EXPECT_EQ(FileSystem::deleteFile(temp / "r.txt"), 0u);
    EXPECT_FALSE(existsOnDisk(temp / "r.txt"));

    EXPECT_EQ(FileSystem::deleteFile(temp / "r.txt"), WinError::FileNotFound);
    EXPECT_EQ(FileSystem::deleteFile(temp / "none/r.txt"), WinError::PathNotFound);
    EXPECT_EQ(FileSystem::deleteFile(temp / "sub"), WinError::AccessDenied);
    EXPECT_TRUE(existsOnDisk(temp / "sub"));
}

TEST(FileSystemPathsTest, DeleteFileRemovesALinkAndNotItsTarget)
{
    TempFolder temp;
    temp.write("target", "x");
    ASSERT_EQ(FileSystem::setAttributes(temp / "target", FileSystem::AttributeReadOnly), 0u);
    ASSERT_EQ(::symlink((temp / "target").c_str(), (temp / "link").c_str()), 0);
    EXPECT_EQ(FileSystem::deleteFile(temp / "link"), 0u);
    EXPECT_FALSE(existsOnDisk(temp / "link"));
    EXPECT_TRUE(existsOnDisk(temp / "target"));
}

TEST(FileSystemPathsTest, RemoveDirectoryRefusesFullReadOnlyAndNonFolders)
{
    TempFolder temp;
    ASSERT_EQ(FileSystem::createDirectory(temp / "full"), 0u);
    temp.write("full/x", "x");
    EXPECT_EQ(FileSystem::removeDirectory(temp / "full"), WinError::DirectoryNotEmpty);

    ASSERT_EQ(FileSystem::createDirectory(temp / "locked"), 0u);
    ASSERT_EQ(FileSystem::setAttributes(temp / "locked", FileSystem::AttributeReadOnly), 0u);
    EXPECT_EQ(FileSystem::removeDirectory(temp / "locked"), WinError::AccessDenied);
    EXPECT_TRUE(existsOnDisk(temp / "locked"));
    ASSERT_EQ(FileSystem::setAttributes(temp / "locked", 0), 0u);
    EXPECT_EQ(FileSystem::removeDirectory(temp / "locked/"), 0u);
    EXPECT_FALSE(existsOnDisk(temp / "locked"));

    temp.write("file", "x");
    EXPECT_EQ(FileSystem::removeDirectory(temp / "file"), WinError::DirectoryInvalid);
    EXPECT_EQ(FileSystem::removeDirectory(temp / "none"), WinError::FileNotFound);
    EXPECT_EQ(FileSystem::removeDirectory(temp / "none/deeper"), WinError::PathNotFound);
}

TEST(FileSystemPathsTest, CurrentDirectoryIsGivenInCp932WithoutTrailingSlash)
{
    WorkingDirectory restore;
    TempFolder temp;
    ASSERT_EQ(::mkdir((temp / "台本").c_str(), 0777), 0);
    ASSERT_EQ(::chdir((temp / "台本").c_str()), 0);
    std::string path;
    ASSERT_TRUE(FileSystem::currentDirectory(path));
    EXPECT_EQ(path, temp.path() + "/\x91\xE4\x96\x7B");
    ASSERT_EQ(::chdir("/"), 0);
    ASSERT_TRUE(FileSystem::currentDirectory(path));
    EXPECT_EQ(path, "/");
}

TEST(FileSystemPathsTest, CurrentDirectoryWithoutCp932NameIsReported)
{
    WorkingDirectory restore;
    TempFolder temp;
    ASSERT_EQ(::mkdir((temp / "😀").c_str(), 0777), 0);
    ASSERT_EQ(::chdir((temp / "😀").c_str()), 0);
    std::string path = "unchanged";
    EXPECT_FALSE(FileSystem::currentDirectory(path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(FileSystem::lastError(), WinError::PathNotFound);
}

TEST(FileSystemPathsTest, RelativePathsAreTakenAgainstTheWorkingDirectory)
{
    WorkingDirectory restore;
    TempFolder temp;
    ASSERT_EQ(::chdir(temp.path().c_str()), 0);
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(FileSystem::open("none.txt", FileSystem::OpenExisting, FileSystem::GenericRead, 0, 0,
                               handle),
              WinError::FileNotFound);
    EXPECT_EQ(FileSystem::createDirectory("made"), 0u);
    EXPECT_TRUE(existsOnDisk(temp / "made"));
}
