#include "app/FolderSelectionModel.h"

#include "AppTestFolder.h"
#include "TestText.h"
#include "app/InputHistory.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs in the temporary folder, which is also the program's folder, and
// puts the current directory back afterwards.
class FolderSelectionModelTest : public AppTestFolder {
protected:
    FolderSelectionModelTest()
    {
        m_previousDirectory = std::filesystem::current_path().string();
        std::filesystem::current_path(m_folder);
        std::filesystem::create_directory(at("scenario"));
        writeFile("scene.screenplay.txt", ".scene\tA\n");
    }
    ~FolderSelectionModelTest() override
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previousDirectory, ignored);
    }

    std::string notFoundText(const std::string& path) const
    {
        return sj("パスが見つかりません。\n") + path +
               sj("台本ファイルがあるファイルを指定してください。");
    }

    InputHistory m_history;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    std::string m_previousDirectory;
};

std::vector<std::string> texts(const std::vector<FCString>& entries)
{
    std::vector<std::string> out;
    for (const FCString& entry : entries)
        out.push_back(entry.toStdString());
    return out;
}

} // namespace

TEST_F(FolderSelectionModelTest, TheRequestStartsAtTheCurrentFolderWithSlotOne)
{
    m_history.add(1, FCString("/first/"));
    m_history.add(1, FCString("/second/"));
    m_history.add(0, FCString("search"));
    FolderSelectionModel model(m_history, FCString("/current/"), m_notices);

    EXPECT_EQ(model.request().title().toStdString(), sj("印刷するフォルダの入力"));
    EXPECT_EQ(model.request().text().toStdString(),
              sj("指定されたフォルダの下にある *.screenplay.txt が印刷されます。"));
    EXPECT_EQ(model.request().historySlot(), 1);
    EXPECT_EQ(model.request().value().toStdString(), "/current/");
    EXPECT_EQ(model.initialText().toStdString(), "/current/");
    EXPECT_EQ(texts(model.historyEntries()), (std::vector<std::string>{"/first/", "/second/"}));
    EXPECT_EQ(std::string(FolderSelectionModel::keepWordTotalsLabel()),
              sj("ワード数データベースをを初期化しない"));
    EXPECT_EQ(std::string(FolderSelectionModel::browserInstruction()), sj("フォルダの選択"));
    EXPECT_FALSE(model.keepWordTotalsRequested());
}

TEST_F(FolderSelectionModelTest, AnEmptyTextKeepsTheDialogOpenWithTheMessage)
{
    FolderSelectionModel model(m_history, FCString("/current/"), m_notices);
    EXPECT_FALSE(model.accept("", true));
    EXPECT_EQ(model.message().toStdString(), sj("フォルダを指定してください"));
    EXPECT_EQ(model.promptAreaText().toStdString(), sj("フォルダを指定してください"));
    EXPECT_FALSE(model.keepWordTotalsRequested()) << "a refused OK remembers nothing";
    EXPECT_TRUE(m_history.entries(1).empty());
    EXPECT_EQ(model.value().toStdString(), "/current/");

    EXPECT_TRUE(model.accept(at("scenario"), false));
    EXPECT_TRUE(model.message().isEmpty());
    EXPECT_EQ(model.promptAreaText().toStdString(), model.request().text().toStdString());
}

TEST_F(FolderSelectionModelTest, TheSameFolderChosenTwiceLeavesOneHistoryEntry)
{
    const std::string folder = at("scenario");
    for (int run = 0; run < 2; ++run) {
        FolderSelectionModel model(m_history, FCString(), m_notices);
        ASSERT_TRUE(model.accept(folder, false));
    }
    EXPECT_EQ(texts(m_history.entries(1)), (std::vector<std::string>{folder}));
    EXPECT_TRUE(m_history.entries(0).empty());
}

TEST_F(FolderSelectionModelTest, AFolderTypedWithoutSeparatorResolvesWithOne)
{
    // Relative texts are taken against the current directory.
    for (const std::string& typed :
         {at("scenario"), at("scenario") + "/", std::string("scenario")}) {
        FolderSelectionModel model(m_history, FCString(), m_notices);
        ASSERT_TRUE(model.accept(typed, false));
        FCString folder("unchanged");
        EXPECT_TRUE(model.resolve(folder)) << typed;
        EXPECT_EQ(folder.toStdString(), at("scenario") + "/") << typed;
        // The history keeps the text as it was typed.
        EXPECT_EQ(m_history.entries(1).back().toStdString(), typed);
    }
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(FolderSelectionModelTest, WhatIsNoFolderIsReportedWithTheExactNotice)
{
    ASSERT_EQ(mkfifo(at("pipe").c_str(), 0600), 0);
    struct Case {
        std::string typed;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {at("scene.screenplay.txt"), at("scene.screenplay.txt") + "/"},
        {at("missing"), at("missing") + "/"},
        {"missing/deeper/", m_folder + "/missing/deeper/"},
        {at("pipe"), at("pipe") + "/"},
    };
    for (const Case& c : cases) {
        ScriptedDialogHost dialogs;
        UxDialogs notices(dialogs);
        FolderSelectionModel model(m_history, FCString("/current/"), notices);
        ASSERT_TRUE(model.accept(c.typed, false));
        FCString folder("unchanged");
        EXPECT_FALSE(model.resolve(folder)) << c.typed;
        EXPECT_EQ(folder.toStdString(), "unchanged") << c.typed;
        ASSERT_EQ(dialogs.notices().size(), 1u) << c.typed;
        EXPECT_EQ(dialogs.notices()[0].title, "Quillon Utility");
        EXPECT_EQ(dialogs.notices()[0].text, notFoundText(c.shown));
    }
}

TEST_F(FolderSelectionModelTest, KeepingTheWordTotalsHoldsEvenWhenTheFolderIsMissing)
{
    FolderSelectionModel model(m_history, FCString(), m_notices);
    ASSERT_TRUE(model.accept(at("missing"), true));
    EXPECT_TRUE(model.keepWordTotalsRequested());
    FCString folder;
    EXPECT_FALSE(model.resolve(folder));
    EXPECT_TRUE(model.keepWordTotalsRequested());

    // An unticked box never takes back what was asked for.
    ASSERT_TRUE(model.accept(at("scenario"), false));
    EXPECT_TRUE(model.keepWordTotalsRequested());

    FolderSelectionModel unticked(m_history, FCString(), m_notices);
    ASSERT_TRUE(unticked.accept(at("scenario"), false));
    EXPECT_FALSE(unticked.keepWordTotalsRequested());
}

TEST_F(FolderSelectionModelTest, ResolveWithoutAValueNeverStandsForTheCurrentDirectory)
{
    FolderSelectionModel model(m_history, FCString(), m_notices);
    FCString folder("unchanged");
    EXPECT_FALSE(model.resolve(folder));
    EXPECT_EQ(folder.toStdString(), "unchanged");
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text, notFoundText(""));
}

TEST_F(FolderSelectionModelTest, TheBrowserStartsAtTheTextOrTheProgramFolder)
{
    EXPECT_EQ(FolderSelectionModel::browserStartFolder("").toStdString(), m_folder + "/");
    EXPECT_EQ(FolderSelectionModel::browserStartFolder("scenario").toStdString(),
              m_folder + "/scenario");
    EXPECT_EQ(FolderSelectionModel::browserStartFolder("/usr/share").toStdString(), "/usr/share");
    EXPECT_EQ(FolderSelectionModel::browserStartFolder(sj("台本")).toStdString(),
              m_folder + "/" + sj("台本"));
}
