#include "platform/FileSystem.h"

#include "TempFolder.h"
#include "platform/WinError.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr uint32_t readWrite = FileSystem::GenericRead | FileSystem::GenericWrite;

uint32_t openFile(const std::string& path, uint32_t disposition, uint32_t access, int& handle)
{
    return FileSystem::open(path, disposition, access, FileSystem::ShareRead,
                            FileSystem::AttributeNormal, handle);
}

std::string contents(const std::string& path)
{
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(openFile(path, FileSystem::OpenExisting, FileSystem::GenericRead, handle), 0u);
    std::string text(1024, '\0');
    uint32_t done = 0;
    EXPECT_EQ(FileSystem::read(handle, text.data(), static_cast<uint32_t>(text.size()), done), 0u);
    FileSystem::close(handle);
    text.resize(done);
    return text;
}

// A read that goes through the kernel, not through the code under test.
bool existsOnDisk(const std::string& utf8)
{
    struct stat info;
    return ::stat(utf8.c_str(), &info) == 0;
}

} // namespace

TEST(FileSystemTest, MissingFileIsFileNotFoundAndMissingFolderIsPathNotFound)
{
    TempFolder temp;
    int handle = 1234;
    EXPECT_EQ(
        openFile(temp / "none.txt", FileSystem::OpenExisting, FileSystem::GenericRead, handle),
        WinError::FileNotFound);
    EXPECT_EQ(handle, FileSystem::InvalidHandle);
    EXPECT_EQ(FileSystem::lastError(), WinError::FileNotFound);
    EXPECT_EQ(
        openFile(temp / "none/x.txt", FileSystem::OpenExisting, FileSystem::GenericRead, handle),
        WinError::PathNotFound);
    EXPECT_EQ(FileSystem::lastError(), WinError::PathNotFound);
    EXPECT_EQ(openFile(temp / "none/x.txt", FileSystem::CreateAlways, readWrite, handle),
              WinError::PathNotFound);
    // A file standing where a folder is expected.
    temp.write("plain", "x");
    EXPECT_EQ(
        openFile(temp / "plain/x.txt", FileSystem::OpenExisting, FileSystem::GenericRead, handle),
        WinError::PathNotFound);
}

TEST(FileSystemTest, DispositionsCreateKeepAndTruncateAsCreateFileDoes)
{
    TempFolder temp;
    const std::string path = temp / "a.txt";
    int handle = FileSystem::InvalidHandle;
    uint32_t done = 0;

    EXPECT_EQ(openFile(path, FileSystem::TruncateExisting, readWrite, handle),
              WinError::FileNotFound);
    ASSERT_EQ(openFile(path, FileSystem::CreateNew, readWrite, handle), 0u);
    EXPECT_EQ(FileSystem::write(handle, "hello", 5, done), 0u);
    FileSystem::close(handle);
    EXPECT_EQ(openFile(path, FileSystem::CreateNew, readWrite, handle), WinError::FileExists);

    ASSERT_EQ(openFile(path, FileSystem::OpenAlways, readWrite, handle), 0u);
    FileSystem::close(handle);
    EXPECT_EQ(contents(path), "hello") << "OpenAlways keeps what is there";

    ASSERT_EQ(openFile(path, FileSystem::CreateAlways, readWrite, handle), 0u);
    FileSystem::close(handle);
    EXPECT_EQ(contents(path), "") << "CreateAlways empties an existing file";

    temp.write("b.txt", "data");
    ASSERT_EQ(
        openFile(temp / "b.txt", FileSystem::TruncateExisting, FileSystem::GenericWrite, handle),
        0u);
    FileSystem::close(handle);
    EXPECT_EQ(contents(temp / "b.txt"), "");

    ASSERT_EQ(openFile(temp / "c.txt", FileSystem::OpenAlways, readWrite, handle), 0u);
    FileSystem::close(handle);
    EXPECT_TRUE(existsOnDisk(temp / "c.txt"));
}

TEST(FileSystemTest, BadParametersAreRefusedWithoutTouchingTheDisk)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(openFile(temp / "a", 0, readWrite, handle), WinError::InvalidParameter);
    EXPECT_EQ(openFile(temp / "a", 6, readWrite, handle), WinError::InvalidParameter);
    temp.write("b", "keep");
    EXPECT_EQ(openFile(temp / "b", FileSystem::TruncateExisting, FileSystem::GenericRead, handle),
              WinError::InvalidParameter);
    EXPECT_EQ(contents(temp / "b"), "keep");
    EXPECT_FALSE(existsOnDisk(temp / "a"));
    EXPECT_EQ(openFile(std::string(temp / "b") + std::string("\0x", 2), FileSystem::OpenExisting,
                       FileSystem::GenericRead, handle),
              WinError::InvalidName)
        << "a NUL inside a path must not open the file named by the text before it";
    EXPECT_EQ(openFile("", FileSystem::OpenExisting, FileSystem::GenericRead, handle),
              WinError::PathNotFound);
}

TEST(FileSystemTest, WritesReadsSeeksAndCutsAFile)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    ASSERT_EQ(openFile(temp / "f.bin", FileSystem::CreateAlways, readWrite, handle), 0u);
    uint32_t done = 0;
    ASSERT_EQ(FileSystem::write(handle, "0123456789", 10, done), 0u);
    EXPECT_EQ(done, 10u);

    int64_t position = -1;
    ASSERT_EQ(FileSystem::seek(handle, 2, FileSystem::SeekBegin, position), 0u);
    EXPECT_EQ(position, 2);
    char buffer[16] = {};
    ASSERT_EQ(FileSystem::read(handle, buffer, 3, done), 0u);
    EXPECT_EQ(std::string(buffer, done), "234");
    ASSERT_EQ(FileSystem::seek(handle, -2, FileSystem::SeekEnd, position), 0u);
    EXPECT_EQ(position, 8);
    ASSERT_EQ(FileSystem::read(handle, buffer, 16, done), 0u) << "a short read is no error";
    EXPECT_EQ(std::string(buffer, done), "89");
    ASSERT_EQ(FileSystem::read(handle, buffer, 16, done), 0u);
    EXPECT_EQ(done, 0u);

    ASSERT_EQ(FileSystem::seek(handle, -6, FileSystem::SeekCurrent, position), 0u);
    EXPECT_EQ(position, 4);
    ASSERT_EQ(FileSystem::setEndOfFile(handle), 0u);
    int64_t bytes = -1;
    ASSERT_EQ(FileSystem::size(handle, bytes), 0u);
    EXPECT_EQ(bytes, 4);
    EXPECT_EQ(FileSystem::seek(handle, -5, FileSystem::SeekCurrent, position),
              WinError::NegativeSeek);
    EXPECT_EQ(FileSystem::seek(handle, 0, 7, position), WinError::InvalidParameter);
    FileSystem::close(handle);
    EXPECT_EQ(contents(temp / "f.bin"), "0123");
}

TEST(FileSystemTest, AHandleServesOnlyTheAccessItWasOpenedFor)
{
    TempFolder temp;
    temp.write("f", "abc");
    int handle = FileSystem::InvalidHandle;
    uint32_t done = 7;
    char buffer[4];
    ASSERT_EQ(openFile(temp / "f", FileSystem::OpenExisting, FileSystem::GenericRead, handle), 0u);
    EXPECT_EQ(FileSystem::write(handle, "x", 1, done), WinError::AccessDenied);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(FileSystem::setEndOfFile(handle), WinError::AccessDenied);
    FileSystem::close(handle);
    ASSERT_EQ(openFile(temp / "f", FileSystem::OpenExisting, FileSystem::GenericWrite, handle), 0u);
    EXPECT_EQ(FileSystem::read(handle, buffer, 4, done), WinError::AccessDenied);
    FileSystem::close(handle);
    EXPECT_EQ(contents(temp / "f"), "abc");
}

TEST(FileSystemTest, ClosedHandlesAreInvalid)
{
    uint32_t done = 0;
    char buffer[1];
    int64_t value = 0;
    EXPECT_EQ(FileSystem::read(FileSystem::InvalidHandle, buffer, 1, done),
              WinError::InvalidHandle);
    EXPECT_EQ(FileSystem::write(FileSystem::InvalidHandle, buffer, 1, done),
              WinError::InvalidHandle);
    EXPECT_EQ(FileSystem::seek(FileSystem::InvalidHandle, 0, FileSystem::SeekBegin, value),
              WinError::InvalidHandle);
    EXPECT_EQ(FileSystem::size(FileSystem::InvalidHandle, value), WinError::InvalidHandle);
    EXPECT_EQ(FileSystem::setEndOfFile(FileSystem::InvalidHandle), WinError::InvalidHandle);
    FileSystem::close(FileSystem::InvalidHandle);
}

TEST(FileSystemTest, OpeningAFolderIsAccessDenied)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(openFile(temp.path(), FileSystem::OpenExisting, FileSystem::GenericRead, handle),
              WinError::AccessDenied);
    EXPECT_EQ(handle, FileSystem::InvalidHandle);
    EXPECT_EQ(openFile(temp.path(), FileSystem::OpenAlways, readWrite, handle),
              WinError::AccessDenied);
    EXPECT_EQ(
        openFile(temp.path() + "/", FileSystem::OpenExisting, FileSystem::GenericRead, handle),
        WinError::AccessDenied);
}

TEST(FileSystemTest, AReadOnlyFileRefusesWritingButNotReading)
{
    TempFolder temp;
    temp.write("r.txt", "keep");
    ASSERT_EQ(FileSystem::setAttributes(temp / "r.txt", FileSystem::AttributeReadOnly), 0u);
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(openFile(temp / "r.txt", FileSystem::OpenExisting, readWrite, handle),
              WinError::AccessDenied);
    EXPECT_EQ(openFile(temp / "r.txt", FileSystem::CreateAlways, FileSystem::GenericWrite, handle),
              WinError::AccessDenied);
    EXPECT_EQ(openFile(temp / "r.txt", FileSystem::CreateAlways, FileSystem::GenericRead, handle),
              WinError::AccessDenied);
    EXPECT_EQ(contents(temp / "r.txt"), "keep");
}

TEST(FileSystemTest, AFileCreatedReadOnlyCanBeWrittenThroughItsFirstHandle)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    ASSERT_EQ(FileSystem::open(temp / "r", FileSystem::CreateNew, readWrite, 0,
                               FileSystem::AttributeReadOnly, handle),
              0u);
    uint32_t done = 0;
    EXPECT_EQ(FileSystem::write(handle, "ab", 2, done), 0u);
    FileSystem::close(handle);
    uint32_t attributes = 0;
    ASSERT_EQ(FileSystem::attributes(temp / "r", attributes), 0u);
    EXPECT_TRUE(attributes & FileSystem::AttributeReadOnly);
    EXPECT_EQ(openFile(temp / "r", FileSystem::OpenExisting, readWrite, handle),
              WinError::AccessDenied);
    EXPECT_EQ(contents(temp / "r"), "ab");
}

TEST(FileSystemTest, HandlesAreNotInheritedByChildPrograms)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    ASSERT_EQ(openFile(temp / "f", FileSystem::CreateAlways, readWrite, handle), 0u);
    int flags = ::fcntl(handle, F_GETFD);
    EXPECT_TRUE(flags & FD_CLOEXEC);
    EXPECT_FALSE(::fcntl(handle, F_GETFL) & O_NONBLOCK);
    FileSystem::close(handle);
}

TEST(FileSystemTest, JapaneseNamesAreStoredInUtf8OnDisk)
{
    TempFolder temp;
    const std::string cp932 = temp.path() + "/\x91\xE4\x96\x7B\x83\x5C.txt"; // 台本ソ.txt
    int handle = FileSystem::InvalidHandle;
    ASSERT_EQ(openFile(cp932, FileSystem::CreateNew, readWrite, handle), 0u);
    FileSystem::close(handle);
    EXPECT_TRUE(existsOnDisk(temp / "台本ソ.txt"));
}

TEST(FileSystemTest, NamesWithNoUtf8FormCannotExist)
{
    TempFolder temp;
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(openFile(temp.path() + "/\x80.txt", FileSystem::CreateAlways, readWrite, handle),
              WinError::FileNotFound);
    EXPECT_EQ(openFile(temp.path() + "/\xFF/a.txt", FileSystem::CreateAlways, readWrite, handle),
              WinError::PathNotFound);
    EXPECT_EQ(handle, FileSystem::InvalidHandle);
}

TEST(FileSystemTest, LastErrorFollowsEveryCallAndBelongsToItsThread)
{
    FileSystem::setLastError(1234);
    EXPECT_EQ(FileSystem::lastError(), 1234u);
    std::thread other([] { FileSystem::setLastError(WinError::AccessDenied); });
    other.join();
    EXPECT_EQ(FileSystem::lastError(), 1234u);
    TempFolder temp;
    uint32_t attributes = 0;
    EXPECT_EQ(FileSystem::attributes(temp.path(), attributes), 0u);
    EXPECT_EQ(FileSystem::lastError(), 0u);
    EXPECT_EQ(FileSystem::attributes(temp / "none", attributes), WinError::FileNotFound);
    EXPECT_EQ(FileSystem::lastError(), WinError::FileNotFound);
}
