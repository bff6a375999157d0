#include "app/Quillon.h"

#include "ScenarioTestFolder.h"
#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

TEST(QuillonTest, StartsWithTheApplicationDefaults)
{
    ScenarioTestFolder program;
    {
        ProgramFolders::Scope placement(program.path());
        Quillon app;
        EXPECT_EQ(app.flags(), 0x12u);
        EXPECT_TRUE(app.printLog());
        EXPECT_TRUE(app.commentEmphasis());
        EXPECT_FALSE(app.genericScript());
        EXPECT_FALSE(app.keepWordTotals());
        EXPECT_FALSE(app.loadAtStart());
        EXPECT_EQ(app.outputDevice(), OutputDevice::Png);
        EXPECT_EQ(app.logPath().toStdString(), program.path() + "quillon.log.txt");
        EXPECT_EQ(app.printFormat().logName().toStdString(), app.logPath().toStdString());
        EXPECT_TRUE(app.scenarioFolder().isEmpty());
        EXPECT_EQ(app.scenarioTotals().characterCount(), 0);
        EXPECT_EQ(app.suppressedCharacters().count(), 0);
    }
}

TEST(QuillonTest, FlagBitsSitWhereTheLayoutEngineAndTheLoadExpectThem)
{
    Quillon app;
    app.setGenericScript(true);
    EXPECT_EQ(app.printerOptions(), 0x11u);
    app.setCommentEmphasis(false);
    EXPECT_EQ(app.printerOptions(), 0x01u);
    app.setPrintLog(false);
    app.setKeepWordTotals(true);
    app.setLoadAtStart(true);
    EXPECT_EQ(app.flags(), 0xC0000001u);
    app.setKeepWordTotals(false);
    EXPECT_EQ(app.flags(), 0x80000001u);
}

TEST(QuillonTest, TheScenarioFolderIsAbsoluteWithASeparator)
{
    ScenarioTestFolder folder;
    Quillon app;
    std::string withoutSeparator = folder.path();
    withoutSeparator.pop_back();
    app.setScenarioFolder(withoutSeparator);
    EXPECT_EQ(app.scenarioFolder().toStdString(), folder.path());
    EXPECT_EQ(app.destinationOrScenarioFolder().toStdString(), folder.path());
    app.setDestinationFolder("/out/");
    EXPECT_EQ(app.destinationOrScenarioFolder().toStdString(), "/out/");

    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    app.setScenarioFolder("relative");
    EXPECT_EQ(app.scenarioFolder().toStdString(), std::string(cwd) + "/relative/");
    app.setScenarioFolder("");
    EXPECT_TRUE(app.scenarioFolder().isEmpty());
}

TEST(QuillonTest, SuppressedCharactersComeFromThePrintFormatsText)
{
    Quillon app;
    app.printFormat().setSuppressedText(FCString("A\nB C\n\nD\n"));
    app.rebuildSuppressedCharacters();
    EXPECT_EQ(app.suppressedCharacters().count(), 3);
    EXPECT_TRUE(app.isSuppressed("A"));
    EXPECT_TRUE(app.isSuppressed("B C"));
    EXPECT_TRUE(app.isSuppressed("D"));
    EXPECT_FALSE(app.isSuppressed("B"));
    EXPECT_FALSE(app.isSuppressed("a"));
    EXPECT_FALSE(app.isSuppressed(""));

    app.printFormat().setSuppressedText(FCString(""));
    app.rebuildSuppressedCharacters();
    EXPECT_FALSE(app.isSuppressed("A"));
}
