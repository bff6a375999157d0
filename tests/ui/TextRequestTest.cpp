#include "ui/TextRequest.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

TEST(TextRequestTest, AnEmptyTitleShowsTheProgramsOwn)
{
    TextRequest request;
    EXPECT_TRUE(request.title().isEmpty());
    EXPECT_EQ(request.effectiveTitle().toStdString(), "quillon utility");
    EXPECT_EQ(request.historySlot(), 0);
    EXPECT_TRUE(request.value().isEmpty());

    request.setTitle(sj("シナリオ名の入力"));
    EXPECT_EQ(request.effectiveTitle().toStdString(), sj("シナリオ名の入力"));
    request.setTitle("");
    EXPECT_EQ(request.effectiveTitle().toStdString(), "quillon utility");
}

TEST(TextRequestTest, FieldsAreKeptAsGivenAndCopiesAreIndependent)
{
    const std::string prompt = sj("*.screenplay.txt の * の部分を指定してください");
    TextRequest request("t", prompt, "/data/", 1);
    EXPECT_EQ(request.title().toStdString(), "t");
    EXPECT_EQ(request.text().toStdString(), prompt);
    EXPECT_EQ(request.value().toStdString(), "/data/");
    EXPECT_EQ(request.historySlot(), 1);

    // The texts share their storage until one side writes.
    TextRequest copy = request;
    copy.setValue("/other/");
    copy.setHistorySlot(2);
    EXPECT_EQ(request.value().toStdString(), "/data/");
    EXPECT_EQ(request.historySlot(), 1);
    EXPECT_EQ(copy.value().toStdString(), "/other/");
}
