#include "platform/StagedFile.h"

#include "TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// A crashed run's temporaries go; those of a process still running (this
// one), other names and folders stay.
TEST(StagedFileTest, RemovesOnlyTheLeftoversOfEndedProcesses)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string ended = ".t-" + std::to_string(child);
    TempFolder folder;
    for (const std::string& name :
         {ended + "-0.part", ended + "-17.part", ".t-" + std::to_string(::getpid()) + "-3.part",
          ended + ".part", ".u-" + ended.substr(3) + "-1.part", ended + "-2.partial"})
        folder.write(name, "x");
    std::filesystem::create_directory(folder / (ended + "-5.part"));
    EXPECT_EQ(StagedFile::removeLeftovers(folder.path(), ".t-"), 2);
    EXPECT_FALSE(std::filesystem::exists(folder / (ended + "-0.part")));
    EXPECT_FALSE(std::filesystem::exists(folder / (ended + "-17.part")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 5);
}
