#include "platform/StagedFile.h"

#include "TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether the target is taken already, the overwrite switch, and what
// placing gives: the result, the bytes under the target afterwards, and
// whether tryPlace leaves the temporary for its caller.
struct PlaceCase {
    bool taken, overwrite;
    int result;
    const char* target;
    bool temporaryLeft;
};

class StagedFilePlaceTest : public testing::TestWithParam<PlaceCase> {};

// The process number of one that has ended.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

} // namespace

TEST_P(StagedFilePlaceTest, PutsTheFileInPlaceOrLeavesTheNameAsItWas)
{
    const PlaceCase c = GetParam();
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "tryPlace" : "place");
        TempFolder folder;
        const std::string target = folder / "page.png";
        if (c.taken)
            folder.write("page.png", "old");
        std::string temporary;
        const auto* bytes = reinterpret_cast<const uint8_t*>("new");
        ASSERT_EQ(StagedFile::write(folder.path(), ".t-", bytes, 3, temporary),
                  StagedFile::Written);
        EXPECT_EQ(bytesOf(temporary), "new");
        const int result = keep ? StagedFile::tryPlace(temporary, target, c.overwrite)
                                : StagedFile::place(temporary, target, c.overwrite);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(bytesOf(target), c.target);
        EXPECT_EQ(std::filesystem::exists(temporary), keep && c.temporaryLeft);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StagedFilePlaceTest,
                         testing::Values(PlaceCase{false, false, StagedFile::Written, "new", false},
                                         PlaceCase{false, true, StagedFile::Written, "new", false},
                                         PlaceCase{true, true, StagedFile::Written, "new", false},
                                         PlaceCase{true, false, StagedFile::Exists, "old", true}));

// A crashed run's temporaries go; those of a process still running (this
// one), other names and folders stay.
TEST(StagedFileTest, RemovesOnlyTheLeftoversOfEndedProcesses)
{
    TempFolder folder;
    const std::string ended = std::to_string(endedProcess());
    const std::string mine = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             ".t-" + ended + "-0.part", ".t-" + ended + "-17.part", ".t-" + mine + "-3.part",
             ".t-" + ended + ".part", ".u-" + ended + "-1.part", ".t-" + ended + "-2.partial",
             "page.png"})
        folder.write(name, "x");
    std::filesystem::create_directory(folder / (".t-" + ended + "-5.part"));
    EXPECT_EQ(StagedFile::removeLeftovers(folder.path(), ".t-"), 2);
    EXPECT_FALSE(std::filesystem::exists(folder / (".t-" + ended + "-0.part")));
    EXPECT_FALSE(std::filesystem::exists(folder / (".t-" + ended + "-17.part")));
    int left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        (void)entry;
        ++left;
    }
    EXPECT_EQ(left, 6);
}
