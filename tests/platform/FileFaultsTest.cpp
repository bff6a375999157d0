#include "platform/FileFaults.h"

#include "TempFolder.h"
#include "platform/FileSystem.h"
#include "platform/WinError.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t readWrite = FileSystem::GenericRead | FileSystem::GenericWrite;

int openNew(const std::string& path)
{
    int handle = FileSystem::InvalidHandle;
    EXPECT_EQ(FileSystem::open(path, FileSystem::CreateAlways, readWrite, 0, 0, handle), 0u);
    return handle;
}

} // namespace

TEST(FileFaultsTest, FailsTheCallsAfterTheFirstNAndThenRecovers)
{
    FileFaults::Scope faults;
    TempFolder temp;
    int handle = openNew(temp / "f");
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 2, 2);
    uint32_t done = 99;
    EXPECT_EQ(FileSystem::write(handle, "a", 1, done), 0u);
    EXPECT_EQ(FileSystem::write(handle, "b", 1, done), 0u);
    EXPECT_EQ(FileSystem::write(handle, "c", 1, done), WinError::DiskFull);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(FileSystem::lastError(), WinError::DiskFull);
    EXPECT_EQ(FileSystem::write(handle, "d", 1, done), WinError::DiskFull);
    EXPECT_EQ(FileSystem::write(handle, "e", 1, done), 0u);
    int64_t size = 0;
    ASSERT_EQ(FileSystem::size(handle, size), 0u);
    EXPECT_EQ(size, 3) << "failed writes must not reach the file";
    FileSystem::close(handle);
}

TEST(FileFaultsTest, EachKindCountsOnlyItsOwnCalls)
{
    FileFaults::Scope faults;
    TempFolder temp;
    temp.write("f", "abc");
    FileFaults::fail(FileFaults::Kind::Read, WinError::GeneralFailure, 1);
    int handle = FileSystem::InvalidHandle;
    ASSERT_EQ(FileSystem::open(temp / "f", FileSystem::OpenExisting, FileSystem::GenericRead, 0, 0,
                               handle),
              0u);
    char buffer[4];
    uint32_t done = 0;
    EXPECT_EQ(FileSystem::read(handle, buffer, 1, done), 0u);
    EXPECT_EQ(FileSystem::read(handle, buffer, 1, done), WinError::GeneralFailure);
    EXPECT_EQ(FileSystem::read(handle, buffer, 1, done), 0u);
    EXPECT_EQ(std::string(buffer, done), "b") << "the failed read must not move the file";
    FileSystem::close(handle);
}

TEST(FileFaultsTest, OpenDeleteFolderAndAttributeCallsCanBeMadeToFail)
{
    FileFaults::Scope faults;
    TempFolder temp;
    temp.write("f", "x");
    int handle = FileSystem::InvalidHandle;
    FileFaults::fail(FileFaults::Kind::Open, WinError::SharingViolation);
    EXPECT_EQ(FileSystem::open(temp / "f", FileSystem::OpenExisting, FileSystem::GenericRead, 0, 0,
                               handle),
              WinError::SharingViolation);
    EXPECT_EQ(handle, FileSystem::InvalidHandle);
    FileFaults::fail(FileFaults::Kind::Delete, WinError::SharingViolation);
    EXPECT_EQ(FileSystem::deleteFile(temp / "f"), WinError::SharingViolation);
    EXPECT_EQ(FileSystem::deleteFile(temp / "f"), 0u);
    FileFaults::fail(FileFaults::Kind::CreateDirectory, WinError::DiskFull);
    EXPECT_EQ(FileSystem::createDirectory(temp / "d"), WinError::DiskFull);
    FileFaults::fail(FileFaults::Kind::SetAttributes, WinError::AccessDenied);
    EXPECT_EQ(FileSystem::setAttributes(temp / "d", 0), WinError::AccessDenied);
}

TEST(FileFaultsTest, NegativeTimesFailsForEverUntilReset)
{
    FileFaults::Scope faults;
    TempFolder temp;
    FileFaults::fail(FileFaults::Kind::Open, WinError::NotReady, 0, -1);
    int handle = FileSystem::InvalidHandle;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(FileSystem::open(temp / "f", FileSystem::CreateAlways, readWrite, 0, 0, handle),
                  WinError::NotReady);
    FileFaults::reset();
    ASSERT_EQ(FileSystem::open(temp / "f", FileSystem::CreateAlways, readWrite, 0, 0, handle), 0u);
    FileSystem::close(handle);
}

TEST(FileFaultsTest, ArmingAgainStartsTheCountAfresh)
{
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Delete, WinError::AccessDenied, 1);
    EXPECT_EQ(FileFaults::check(FileFaults::Kind::Delete), 0u);
    FileFaults::fail(FileFaults::Kind::Delete, WinError::SharingViolation, 1);
    EXPECT_EQ(FileFaults::check(FileFaults::Kind::Delete), 0u);
    EXPECT_EQ(FileFaults::check(FileFaults::Kind::Delete), WinError::SharingViolation);
    EXPECT_EQ(FileFaults::check(FileFaults::Kind::Delete), 0u);
    EXPECT_EQ(FileFaults::check(FileFaults::Kind::Open), 0u);
}
