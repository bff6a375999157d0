#include "fc/FileBytes.h"

#include "ScenarioTestFolder.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"

#include <gtest/gtest.h>

TEST(FileBytesTest, AppendsTheWholeFileOrTellsWhyNot)
{
    ScenarioTestFolder folder;
    const std::string large(200000, 'q');
    folder.writeBytes("large.txt", large);
    std::string bytes = "kept:";
    EXPECT_EQ(FileBytes::read(folder.path() + "large.txt", bytes), WinError::Success);
    EXPECT_EQ(bytes, "kept:" + large);
    EXPECT_EQ(FileBytes::read(folder.path() + "none.txt", bytes), WinError::FileNotFound);
    EXPECT_EQ(FileBytes::read(folder.path(), bytes), WinError::AccessDenied);
}

TEST(FileBytesTest, AReadFailingHalfWayIsTold)
{
    ScenarioTestFolder folder;
    folder.writeBytes("large.txt", std::string(200000, 'q'));
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Read, WinError::GeneralFailure, 1, 1);
    std::string cut;
    EXPECT_EQ(FileBytes::read(folder.path() + "large.txt", cut), WinError::GeneralFailure);
}
