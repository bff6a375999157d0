#include "app/WindowConfiguration.h"

#include "AppTestFolder.h"

#include <string>

namespace {

class WindowConfigurationTest : public AppTestFolder {};

} // namespace

TEST_F(WindowConfigurationTest, ConfigurationFileGivesTheRectangle)
{
    writeFile("quillon.configuration",
              "system.sh=600\nsystem.sw=420\nsystem.sx=120\nsystem.sy=80\nother=1\n");
    EXPECT_EQ(WindowConfiguration::restore(), (WindowRectangle{120, 80, 420, 600}));
    EXPECT_EQ(contentsOf("quillon.configuration"),
              "other=1\nsystem.sh=600\nsystem.sw=420\nsystem.sx=120\nsystem.sy=80\n");
}

TEST_F(WindowConfigurationTest, MissingKeysAreZeroAndGetWritten)
{
    writeFile("quillon.configuration", "system.sx=-30\n");
    writeFile("quillon.ini", "[system]\nsy=9\n");
    EXPECT_EQ(WindowConfiguration::restore(), (WindowRectangle{-30, 0, 0, 0}));
    EXPECT_EQ(contentsOf("quillon.configuration"),
              "system.sh=0\nsystem.sw=0\nsystem.sx=-30\nsystem.sy=0\n");
    // With a configuration there is nothing to take over.
    EXPECT_TRUE(exists("quillon.ini"));
}

TEST_F(WindowConfigurationTest, OldIniIsTakenOverOnceAndDeleted)
{
    writeFile("quillon.ini", "[window]\nsx=1\n[system]\nsx=5\nsw=640\n");
    EXPECT_EQ(WindowConfiguration::restore(), (WindowRectangle{5, 0, 640, 0}));
    EXPECT_FALSE(exists("quillon.ini"));
    EXPECT_EQ(contentsOf("quillon.configuration"),
              "system.sh=0\nsystem.sw=640\nsystem.sx=5\nsystem.sy=0\nwindow.sx=1\n");
    EXPECT_TRUE(m_prompt.questions().empty());
}

TEST_F(WindowConfigurationTest, EmptyConfigurationCountsAsMissing)
{
    writeFile("quillon.configuration", "");
    writeFile("quillon.ini", "[system]\nsy=7\n");
    EXPECT_EQ(WindowConfiguration::restore(), (WindowRectangle{0, 7, 0, 0}));
    EXPECT_FALSE(exists("quillon.ini"));
}

TEST_F(WindowConfigurationTest, NeitherFileGivesZerosAndAnEmptyConfiguration)
{
    EXPECT_EQ(WindowConfiguration::restore(), WindowRectangle{});
    ASSERT_TRUE(exists("quillon.configuration"));
    EXPECT_EQ(contentsOf("quillon.configuration"), "");
}

TEST_F(WindowConfigurationTest, SaveKeepsOtherKeysAndRestoresTheSame)
{
    writeFile("quillon.configuration", "find.case=1\nsystem.sx=3\n");
    WindowConfiguration::save(WindowRectangle{10, -20, 800, 600});
    EXPECT_EQ(contentsOf("quillon.configuration"),
              "find.case=1\nsystem.sh=600\nsystem.sw=800\nsystem.sx=10\nsystem.sy=-20\n");
    EXPECT_EQ(WindowConfiguration::restore(), (WindowRectangle{10, -20, 800, 600}));
}
