#include "fc/FCFileEnumeration.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FCFileEnumerationTest : public testing::Test {
protected:
    FCFileEnumerationTest()
    {
        char pattern[] = "/tmp/quillon-enum-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = fs::canonical(pattern).string();
        for (const char* name : {"b.txt", "A.txt", "c.cpp", ".hidden", ".hidden.txt"})
            touch(name);
        fs::create_directory(m_folder + "/scenes");
        fs::create_directory(m_folder + "/.git");
        touch("scenes/inner.txt");
    }
    ~FCFileEnumerationTest() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    void touch(const std::string& name) const { std::ofstream(m_folder + "/" + name) << name; }

    std::vector<std::string> namesOf(const std::string& pattern, bool foldersOnly = false) const
    {
        FCFileEnumeration walk(pattern.c_str());
        std::vector<std::string> names;
        while (foldersOnly ? walk.nextFolder() : walk.next())
            names.push_back(walk.currentName().toStdString());
        return names;
    }

    std::string m_folder;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(FCFileEnumerationTest, ListsInOrderWithoutDotNamesAndMarksFolders)
{
    EXPECT_EQ(namesOf(m_folder + "/*"), (Names{"A.txt", "b.txt", "c.cpp", "scenes/"}));
    EXPECT_EQ(namesOf(m_folder + "/*.*"), (Names{"A.txt", "b.txt", "c.cpp", "scenes/"}));
}

TEST_F(FCFileEnumerationTest, WildcardFiltersTheNames)
{
    EXPECT_EQ(namesOf(m_folder + "/*.txt"), (Names{"A.txt", "b.txt"}));
    EXPECT_EQ(namesOf(m_folder + "/*.TXT"), (Names{"A.txt", "b.txt"}));
    EXPECT_EQ(namesOf(m_folder + "/?.cpp"), (Names{"c.cpp"}));
    EXPECT_EQ(namesOf(m_folder + "/*.none"), Names{});
}

TEST_F(FCFileEnumerationTest, NextFolderSkipsFiles)
{
    EXPECT_EQ(namesOf(m_folder + "/*", true), (Names{"scenes/"}));
}

TEST_F(FCFileEnumerationTest, CurrentPathJoinsTheFolderAndTheEntry)
{
    FCFileEnumeration walk((m_folder + "/*").c_str());
    ASSERT_TRUE(walk.nextFolder());
    EXPECT_EQ(walk.currentPath().toStdString(), m_folder + "/scenes/");
    EXPECT_TRUE(walk.isFolder());

    FCFileEnumeration inner((walk.currentPath().toStdString() + "*.txt").c_str());
    ASSERT_TRUE(inner.next());
    EXPECT_FALSE(inner.isFolder());
    EXPECT_EQ(inner.currentPath().toStdString(), m_folder + "/scenes/inner.txt");
    EXPECT_FALSE(inner.next());
}

TEST_F(FCFileEnumerationTest, RelativePatternsAreTakenAgainstTheCurrentDirectory)
{
    fs::path saved = fs::current_path();
    fs::current_path(m_folder);
    FCFileEnumeration walk("*.cpp");
    bool found = walk.next();
    std::string path = walk.currentPath().toStdString();
    fs::current_path(saved);
    ASSERT_TRUE(found);
    EXPECT_EQ(path, m_folder + "/c.cpp");
}

TEST_F(FCFileEnumerationTest, MissingFolderEndsAtOnce)
{
    EXPECT_EQ(namesOf(m_folder + "/absent/*"), Names{});
    EXPECT_EQ(namesOf(m_folder + "/"), Names{});
}

TEST_F(FCFileEnumerationTest, ListingIsTakenAtTheFirstNext)
{
    FCFileEnumeration walk((m_folder + "/*.txt").c_str());
    touch("0-before.txt");
    ASSERT_TRUE(walk.next());
    EXPECT_EQ(walk.currentName().toStdString(), "0-before.txt");
    // Deleting and adding while walking does not disturb the walk.
    fs::remove(m_folder + "/b.txt");
    touch("d.txt");
    Names rest;
    while (walk.next())
        rest.push_back(walk.currentName().toStdString());
    EXPECT_EQ(rest, (Names{"A.txt", "b.txt"}));
}

TEST_F(FCFileEnumerationTest, RewindGoesOverTheSameListingAgain)
{
    FCFileEnumeration walk((m_folder + "/*.txt").c_str());
    ASSERT_TRUE(walk.next());
    touch("0-later.txt");
    walk.rewind();
    Names again;
    while (walk.next())
        again.push_back(walk.currentName().toStdString());
    EXPECT_EQ(again, (Names{"A.txt", "b.txt"}));
}

TEST_F(FCFileEnumerationTest, StartAndFinishBeginAFreshListing)
{
    FCFileEnumeration walk((m_folder + "/*.cpp").c_str());
    ASSERT_TRUE(walk.next());
    EXPECT_FALSE(walk.next());
    walk.finish();
    EXPECT_TRUE(walk.currentName().isEmpty());
    ASSERT_TRUE(walk.next());
    EXPECT_EQ(walk.currentName().toStdString(), "c.cpp");

    walk.start((m_folder + "/*.txt").c_str());
    ASSERT_TRUE(walk.next());
    EXPECT_EQ(walk.currentName().toStdString(), "A.txt");
}

TEST(FCFileEnumerationIdleTest, DefaultWalkHasNothing)
{
    FCFileEnumeration walk;
    EXPECT_TRUE(walk.pattern().isEmpty());
    EXPECT_FALSE(walk.next());
}
