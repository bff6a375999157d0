#include "fc/FileHelpers.h"

#include "platform/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace fs = std::filesystem;

namespace {

class FileHelpersTest : public testing::Test {
protected:
    FileHelpersTest() : m_saved(fs::current_path())
    {
        char pattern[] = "/tmp/quillon-helpers-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = fs::canonical(pattern).string();
        fs::current_path(m_folder);
    }
    ~FileHelpersTest() override
    {
        fs::current_path(m_saved);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string at(const std::string& name) const { return m_folder + "/" + name; }

    FileFaults::Scope m_faults;
    fs::path m_saved;
    std::string m_folder;
};

} // namespace

TEST_F(FileHelpersTest, ExistenceOfFilesAndFoldersWithTheirAttributes)
{
    std::ofstream(at("file.txt")) << "x";
    uint32_t attributes = 0;
    EXPECT_TRUE(fileExists(at("file.txt").c_str(), &attributes));
    EXPECT_EQ(attributes & FileSystem::AttributeDirectory, 0u);
    EXPECT_TRUE(fileExists("file.txt"));

    attributes = 0;
    EXPECT_TRUE(fileExists(m_folder.c_str(), &attributes));
    EXPECT_NE(attributes & FileSystem::AttributeDirectory, 0u);

    attributes = 12345;
    EXPECT_FALSE(fileExists("missing.txt", &attributes));
    EXPECT_EQ(attributes, 12345u);
    EXPECT_FALSE(fileExists(nullptr));
}

TEST_F(FileHelpersTest, FoldersThatAllExistAreNotCreated)
{
    fs::create_directories(at("a/b"));
    EXPECT_FALSE(createDirectories(at("a/b").c_str()));
    EXPECT_FALSE(createDirectories((at("a/b") + "/").c_str()));
    EXPECT_FALSE(createDirectories("/"));
}

TEST_F(FileHelpersTest, NestedFoldersAreCreatedFromTheFirstMissingOne)
{
    fs::create_directory(at("a"));
    EXPECT_TRUE(createDirectories(at("a/b/c/d").c_str()));
    EXPECT_TRUE(fs::is_directory(at("a/b/c/d")));
    EXPECT_TRUE(createDirectories("rel/x/"));
    EXPECT_TRUE(fs::is_directory(at("rel/x")));
}

TEST_F(FileHelpersTest, DoubleByteFolderNamesAreCreated)
{
    // "表" ends in the byte 0x5C; the walk must not cut the name there.
    std::string name = std::string(Sjis::of("台本")) + "/" + Sjis::of("表") + "/";
    EXPECT_TRUE(createDirectories((m_folder + "/" + name).c_str()));
    EXPECT_TRUE(fs::is_directory(m_folder + "/" + TextCodec::toUtf8(name)));
}

TEST_F(FileHelpersTest, FailedCreationStopsTheWalk)
{
    std::ofstream(at("plain")) << "x";
    EXPECT_FALSE(createDirectories(at("plain/sub").c_str()));

    FileFaults::fail(FileFaults::Kind::CreateDirectory, 5, 1);
    EXPECT_FALSE(createDirectories(at("p/q/r").c_str()));
    EXPECT_TRUE(fs::is_directory(at("p")));
    EXPECT_FALSE(fs::exists(at("p/q")));
}

TEST_F(FileHelpersTest, UnresolvedOpticalDrivePathCreatesNothingHere)
{
    if (!ProgramFolders::opticalDrive().empty())
        GTEST_SKIP() << "an optical disc is mounted";
    EXPECT_FALSE(createDirectories("%:/setup"));
    EXPECT_TRUE(fs::is_empty(m_folder));
}
