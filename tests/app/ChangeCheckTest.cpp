#include "app/ChangeCheck.h"

#include "AppTestFolder.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/Quillon.h"
#include "fc/FCString.h"
#include "render/LineSelection.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

// One scene in two versions: さくら's 000103 and 悠人's 000102 rewritten,
// 悠人's 000104 added.
class ChangeCheckTest : public AppTestFolder {
protected:
    ChangeCheckTest()
    {
        m_old.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t1\n"
                                          ".total\t3\n000101 さくら「a」\n000102 悠人「b」\n"
                                          "000103 さくら「c」\n");
        m_new.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t2\n"
                                          ".total\t4\n000101 さくら「a」\n000102 悠人「b2」\n"
                                          "000103 さくら「c2」\n000104 悠人「d」\n");
        UxProgressDialog::clearCancelRequest();
        m_app.setScenarioFolder(m_new.path());
        UxProgressDialog progress(m_progress);
        EXPECT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    }

    ChangeCheck::Outcome compare()
    {
        ChangeCheck::Request request;
        request.oldFolder = m_old.path();
        return ChangeCheck::compare(m_app.catalogue(), m_app.scenarioFolder().toStdString(),
                                    m_app.suppressedCharacters(), request);
    }

    ScenarioTestFolder m_old;
    ScenarioTestFolder m_new;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_progress;
    Quillon m_app;
};

} // namespace

TEST_F(ChangeCheckTest, TheSelectionHoldsTheLinesToRecordAgainOfTheChosenCharacters)
{
    const ChangeCheck::Outcome outcome = compare();
    ASSERT_TRUE(outcome.unlisted.empty());
    ASSERT_TRUE(outcome.unreadable.empty());
    ASSERT_EQ(outcome.changes.size(), 3u);

    const struct {
        const char* name;
        std::set<std::string> characters; // empty: no filter
        int chosen;
        bool sceneRecordable;
    } cases[] = {
        {"every character", {}, 3, true},
        {"悠人 alone", {sj("悠人")}, 2, false},
        {"さくら alone", {sj("さくら")}, 1, false},
        {"both by name", {sj("悠人"), sj("さくら")}, 3, true},
        {"a character without changes", {sj("先生")}, 0, false},
    };
    for (const auto& c : cases) {
        LineSelection selection;
        selection.select("old.screenplay.txt", "x", 1); // emptied first
        const int chosen = ChangeCheck::select(outcome.changes, selection,
                                               c.characters.empty() ? nullptr : &c.characters);
        EXPECT_EQ(chosen, c.chosen) << c.name;
        EXPECT_EQ(selection.lineCount(), c.chosen) << c.name;
        EXPECT_EQ(selection.scene("old.screenplay.txt"), nullptr) << c.name;
        EXPECT_EQ(utf8(selection.headerSuffix()), "リテイク") << c.name;
        EXPECT_EQ(utf8(selection.marker()), "＊") << c.name;
        const std::set<std::string> recordable =
            c.characters.empty()
                ? outcome.recordable
                : ChangeCheck::recordableFor(outcome.changes, outcome.recordable, c.characters);
        EXPECT_EQ(recordable.count("s01.screenplay.txt") == 1, c.sceneRecordable) << c.name;
    }
}

TEST_F(ChangeCheckTest, AProgressStepsPerSceneAndItsCancelEndsTheComparison)
{
    m_new.write("s02.screenplay.txt", ".scene\ts02\n.chara\t1\n.悠人\t1\n.total\t1\n"
                                      "000201 悠人「e」\n");
    UxProgressDialog progress(m_progress);
    ASSERT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    const int stepsBefore = m_progress.steps();
    m_progress.cancelAfterSteps(1);
    UxProgressDialog comparing(m_progress);
    comparing.open(true);
    ChangeCheck::Request request;
    request.oldFolder = m_old.path();
    request.progress = &comparing;
    const ChangeCheck::Outcome outcome =
        ChangeCheck::compare(m_app.catalogue(), m_app.scenarioFolder().toStdString(),
                             m_app.suppressedCharacters(), request);
    comparing.close();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(m_progress.steps() - stepsBefore, 1);
    ASSERT_FALSE(m_progress.positions().empty());
    EXPECT_EQ(m_progress.positions().back(), 1);
    EXPECT_EQ(outcome.changes.size(), 3u) << "the first scene's changes, s02 not compared";
}

TEST_F(ChangeCheckTest, TheOlderFolderMustBeGivenNameableAndAFolder)
{
    m_old.write("file.txt", "x");
    const struct {
        const char* name;
        std::string text; // CP932
        bool accepted;
        const char* message;
    } cases[] = {
        {"empty", "", false, "比較する台本フォルダを指定してください。"},
        {"missing", m_old.path() + "gone", false, "比較する台本フォルダが見つかりません。\n"},
        {"a file", m_old.path() + "file.txt", false, "比較する台本フォルダが見つかりません。\n"},
        {"a folder", m_old.path(), true, ""},
        {"a folder without its slash", m_old.path().substr(0, m_old.path().size() - 1), true, ""},
    };
    for (const auto& c : cases) {
        std::string folder, message;
        EXPECT_EQ(
            ChangeCheck::oldFolderOf({false, FCString(std::string_view(c.text))}, folder, message),
            c.accepted)
            << c.name;
        EXPECT_EQ(utf8(message).substr(0, std::string(c.message).size()), c.message) << c.name;
        EXPECT_EQ(folder, c.accepted ? m_old.path() : "") << c.name;
    }
    // The print record needs no folder, whatever the field holds.
    std::string folder = "x", message;
    EXPECT_TRUE(ChangeCheck::oldFolderOf({true, FCString("gone")}, folder, message));
    EXPECT_EQ(folder, "");
}
