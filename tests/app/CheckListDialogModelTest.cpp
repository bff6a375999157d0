#include "app/CheckListDialogModel.h"

#include "format/ConfirmedFolderCreation.h"
#include "reports/ReportsTestFixture.h"

#include <unistd.h>

namespace {

class CheckListDialogModelTest : public ReportsTest {
protected:
    CheckListDialogModel model(const std::string& folder) { return model(folder, m_notices); }
    CheckListDialogModel model(const std::string& folder, Notices& notices)
    {
        return CheckListDialogModel(FCString(folder), CheckListOptions(), notices);
    }
};

const std::string noFolderQuestion(const std::string& path)
{
    return sj("指定されたフォルダ、\n") + path + sj("\nは存在しません。作成しても構いませんか？");
}

} // namespace

TEST_F(CheckListDialogModelTest, StartsFromTheOptionsGiven)
{
    CheckListDialogModel dialog(FCString("/tmp"), CheckListOptions(0x10200), m_notices);
    EXPECT_FALSE(dialog.csv);
    EXPECT_FALSE(dialog.sceneList);
    EXPECT_TRUE(dialog.characterList);
    EXPECT_TRUE(dialog.listUnprinted);
    EXPECT_EQ(dialog.options().word(), 0x10200u);
}

TEST_F(CheckListDialogModelTest, AnEmptyFolderKeepsTheDialogOpenWithAMessage)
{
    CheckListDialogModel dialog = model("");
    EXPECT_FALSE(dialog.accept());
    EXPECT_EQ(dialog.message().toStdString(), sj("出力先フォルダを指定してください"));
    EXPECT_TRUE(m_dialogs.questions().empty());
}

TEST_F(CheckListDialogModelTest, AnExistingFolderGetsItsSeparatorAndNoQuestion)
{
    const std::string folder = m_folder.path().substr(0, m_folder.path().size() - 1);
    CheckListDialogModel dialog = model(folder);
    dialog.characterList = true;
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.folder().toStdString(), m_folder.path());
    EXPECT_EQ(dialog.options().word(), 0x301u);
    EXPECT_TRUE(dialog.message().isEmpty());
    EXPECT_TRUE(m_dialogs.questions().empty());
}

TEST_F(CheckListDialogModelTest, ARelativeFolderIsTakenAgainstTheCurrentDirectory)
{
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(m_folder.path().c_str()), 0);
    std::filesystem::create_directory("lists");
    CheckListDialogModel dialog = model("lists");
    const bool accepted = dialog.accept();
    ASSERT_EQ(chdir(previous), 0);
    free(previous);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(dialog.folder().toStdString(), m_folder.path() + "lists/");
}

TEST_F(CheckListDialogModelTest, AMissingFolderIsCreatedAfterTwoYes)
{
    const std::string path = m_folder.path() + "a/b/";
    m_dialogs.push(true);
    m_dialogs.push(true);
    CheckListDialogModel dialog = model(m_folder.path() + "a/b");
    ASSERT_TRUE(dialog.accept());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(dialog.folder().toStdString(), path);
    ASSERT_EQ(m_dialogs.questions().size(), 2u);
    EXPECT_EQ(m_dialogs.questions()[0].text, noFolderQuestion(path));
    EXPECT_EQ(m_dialogs.questions()[0].title, "quillon utility");
    EXPECT_EQ(m_dialogs.questions()[1].text, path + sj("\nを新規に作成します。よろしいですか？"));
    EXPECT_EQ(m_dialogs.questions()[1].title, sj("リスト出力先フォルダの作成"));
}

TEST_F(CheckListDialogModelTest, DecliningEitherQuestionKeepsTheDialogOpen)
{
    for (bool first : {false, true}) {
        ScriptedDialogHost host{first, false};
        UxDialogs notices(host);
        CheckListDialogModel dialog = model(m_folder.path() + "new", notices);
        EXPECT_FALSE(dialog.accept());
        EXPECT_TRUE(dialog.message().isEmpty());
        EXPECT_EQ(host.questions().size(), first ? 2u : 1u);
        EXPECT_FALSE(m_folder.exists("new"));
    }
}

TEST_F(CheckListDialogModelTest, AFolderThatCannotBeCreatedIsReported)
{
    m_folder.writeBytes("file", "not a folder");
    const std::string path = m_folder.path() + "file/sub/";
    m_dialogs.push(true);
    m_dialogs.push(true);
    CheckListDialogModel dialog = model(path);
    EXPECT_FALSE(dialog.accept());
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].title, sj("フォルダが作成できません"));
    EXPECT_EQ(m_dialogs.notices()[0].text,
              path + sj("\nを作成することが出来ません。\n書き込み禁止やドライブ間違い、"
                        "ディスク残量等を確認してください。"));
}

TEST_F(CheckListDialogModelTest, AFileIsNoFolder)
{
    m_folder.writeBytes("file", "x");
    EXPECT_FALSE(ConfirmedFolderCreation::folderExists(m_folder.path() + "file"));
    EXPECT_TRUE(ConfirmedFolderCreation::folderExists(m_folder.path()));
    // Asked, and the creation fails on the file in the way.
    m_dialogs.push(true);
    EXPECT_FALSE(ConfirmedFolderCreation::run(m_folder.path() + "file", "caption", m_notices));
    EXPECT_EQ(m_dialogs.questions().size(), 1u);
    EXPECT_EQ(m_dialogs.notices().size(), 1u);
}
