#include "ui/UxDialogs.h"

#include "TestText.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/ScriptedDialogHost.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string contentOf(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[256];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    return text;
}

} // namespace

TEST(UxDialogsTest, TitlesDefaultToTheProgramsOwn)
{
    ScriptedDialogHost host{true};
    UxDialogs dialogs(host);
    dialogs.notice("text");
    dialogs.notice("text", "");
    dialogs.notice("text", "Quillon Utility");
    ASSERT_EQ(host.notices().size(), 3u);
    EXPECT_EQ(host.notices()[0].title, "quillon utility");
    EXPECT_EQ(host.notices()[1].title, "quillon utility");
    EXPECT_EQ(host.notices()[2].title, "Quillon Utility");
    EXPECT_TRUE(dialogs.question("q?"));
    EXPECT_EQ(host.questions()[0].title, "quillon utility");
}

TEST(UxDialogsTest, ScriptedAnswersComeFromTheQueueThenNo)
{
    ScriptedDialogHost host{false, true};
    UxDialogs dialogs(host);
    EXPECT_FALSE(dialogs.question("1"));
    EXPECT_TRUE(dialogs.question("2"));
    EXPECT_FALSE(dialogs.question("3"));
    ASSERT_EQ(host.questions().size(), 3u);
    EXPECT_EQ(host.questions()[2].text, "3");
}

TEST(UxDialogsTest, HeadlessHostPrintsNoticesInUtf8AndAnswersByPolicy)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    {
        HeadlessDialogHost host(false, out, err);
        UxDialogs dialogs(host);
        dialogs.notice(sj("読み込みました"));
        dialogs.notice("two\n");
        EXPECT_FALSE(dialogs.question(sj("作成しますか？")));
        host.setAnswerYes(true);
        EXPECT_TRUE(dialogs.question("again?"));
    }
    EXPECT_EQ(contentOf(out), "読み込みました\ntwo\n");
    const std::string asked = contentOf(err);
    EXPECT_NE(asked.find("作成しますか？ -> いいえ"), std::string::npos) << asked;
    EXPECT_NE(asked.find("again? -> はい"), std::string::npos) << asked;
    std::fclose(out);
    std::fclose(err);
}
