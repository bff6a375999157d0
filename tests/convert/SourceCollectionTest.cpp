#include "convert/SourceCollection.h"

#include "ConvertTestSupport.h"
#include "convert/SourceSurvey.h"

#include <filesystem>
#include <vector>

namespace {

class SourceFolderTest : public testing::Test {
protected:
    // root/b.cpp, root/a.cpp, root/sub/c.cpp, root/sub/deeper/d.cpp,
    // root/note.txt and a folder root/folder.cpp/ that is no source.
    SourceFolderTest()
    {
        std::filesystem::create_directories(m_root.path() + "sub/deeper");
        std::filesystem::create_directories(m_root.path() + "folder.cpp");
        m_root.write("b.cpp", "b.say(2, \"x\");\n");
        m_root.write("a.cpp", "a.say(1, \"x\");\n");
        m_root.write("sub/c.cpp", "c.say(3, \"x\");\n");
        m_root.write("sub/deeper/d.cpp", "d.say(4, \"x\");\n");
        m_root.write("note.txt", "n.say(5, \"x\");\n");
    }

    std::vector<std::string> collected(bool subfolders, const std::string& folder)
    {
        SourceCollection::Sources sources;
        EXPECT_TRUE(
            SourceCollection::collectSources(sources, FCString(folder), "*.cpp", subfolders));
        std::vector<std::string> names;
        for (const FCString& source : sources)
            names.push_back(source.toStdString().substr(m_root.path().size()));
        return names;
    }

    ScenarioTestFolder m_root;
};

} // namespace

TEST_F(SourceFolderTest, CollectsTheFolderAloneInPathOrder)
{
    EXPECT_EQ(collected(false, m_root.path()), (std::vector<std::string>{"a.cpp", "b.cpp"}));
}

TEST_F(SourceFolderTest, CollectsSubFoldersAtAnyDepthWithoutATrailingSeparator)
{
    std::string folder = m_root.path();
    folder.pop_back();
    EXPECT_EQ(collected(true, folder),
              (std::vector<std::string>{"a.cpp", "b.cpp", "sub/c.cpp", "sub/deeper/d.cpp"}));
}

TEST_F(SourceFolderTest, AMissingFolderIsRefused)
{
    SourceCollection::Sources sources;
    EXPECT_FALSE(SourceCollection::collectSources(sources, FCString(m_root.path() + "none/"),
                                                  "*.cpp", true));
    EXPECT_FALSE(SourceCollection::collectSources(sources, FCString(m_root.path() + "a.cpp"),
                                                  "*.cpp", true));
    EXPECT_TRUE(sources.empty());
}

TEST_F(SourceFolderTest, ALinkLoopIsWalkedOnce)
{
    std::filesystem::create_directory_symlink(m_root.path(), m_root.path() + "sub/back");
    EXPECT_EQ(collected(true, m_root.path()),
              (std::vector<std::string>{"a.cpp", "b.cpp", "sub/c.cpp", "sub/deeper/d.cpp"}));
}

TEST_F(SourceFolderTest, TheSurveyTakesSubFoldersFirst)
{
    ConversionState state;
    std::vector<std::string> shown;
    SourceSurvey::surveyFolder(state, FCString(m_root.path()), true, [&](const FCString& text) {
        shown.push_back(utf8(text.toStdString()));
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"d.cpp出力中...", "c.cpp出力中...", "a.cpp出力中...",
                                               "b.cpp出力中..."}));
    // The objects were met in that order too.
    ASSERT_EQ(state.unregisteredNames().size(), 4u);
    EXPECT_EQ(state.unregisteredNames()[0].toStdString(), "d");
    EXPECT_EQ(state.unregisteredNames()[3].toStdString(), "b");
    EXPECT_EQ(state.smallestId(), 1);
    EXPECT_EQ(state.largestId(), 4);
}

TEST_F(SourceFolderTest, TheSurveyWithoutSubFoldersStaysInTheFolder)
{
    ConversionState state;
    SourceSurvey::surveyFolder(state, FCString(m_root.path()), false);
    EXPECT_EQ(state.largestId(), 2);
}

TEST(SourceCollectionTest, FolderPathGetsASeparator)
{
    EXPECT_EQ(SourceCollection::folderPath(FCString("/tmp")).toStdString(), "/tmp/");
    EXPECT_EQ(SourceCollection::folderPath(FCString("/tmp/")).toStdString(), "/tmp/");
    EXPECT_TRUE(SourceCollection::folderPath(FCString()).isEmpty());
    EXPECT_FALSE(SourceCollection::folderExists(FCString()));
}
