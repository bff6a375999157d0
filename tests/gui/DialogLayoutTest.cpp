#include "LayoutChecks.h"
#include "SmallWindows.h"

#include <QLayout>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

// A 1366 x 768 screen with a 48-pixel panel leaves a frame 720 pixels;
// the window manager's title bar takes about 40 of them.
constexpr int ScreenWidth = 1366;
constexpr int ClientHeightRoom = 720 - 40;

struct WindowCase {
    const char* name;
    Window window;
    QSize initial; // the size it opens at; empty: the size its content asks for
    int growingId; // the control that takes what the window grows by; -1 none
};

void PrintTo(const WindowCase& c, std::ostream* out)
{
    *out << c.name;
}

class DialogLayoutTest : public SmallWindows, public testing::WithParamInterface<WindowCase> {};

} // namespace

TEST_P(DialogLayoutTest, OpensAtItsSizeAndStaysWholeDownToItsMinimum)
{
    const WindowCase& c = GetParam();
    std::unique_ptr<DialogBase> dialog = make(c.window);
    ASSERT_NE(dialog->layout(), nullptr) << "a form placed by hand does not adapt";
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const QSize initial = c.initial.isEmpty() ? dialog->sizeHint() : c.initial;
    EXPECT_EQ(dialog->size(), initial);
    EXPECT_LE(dialog->width(), ScreenWidth);
    EXPECT_LE(dialog->height(), ClientHeightRoom);
    EXPECT_EQ(layoutProblems(dialog.get()), QStringList()) << "as it opens";

    const QSize minimum = dialog->minimumSize();
    EXPECT_FALSE(minimum.isEmpty()) << "the layout gives the window its minimum size";
    EXPECT_LE(minimum.width(), initial.width());
    EXPECT_LE(minimum.height(), initial.height());
    EXPECT_EQ(layoutProblemsAtMinimumSize(dialog.get()), QStringList()) << "at its minimum size";
    EXPECT_EQ(dialog->size(), minimum);

    // Text half as large again, as scaling the desktop makes it.
    QFont larger = dialog->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    dialog->setFont(larger);
    dialog->layout()->activate();
    EXPECT_EQ(layoutProblemsAtMinimumSize(dialog.get()), QStringList()) << "with larger text";
    EXPECT_LE(dialog->minimumSize().width(), ScreenWidth);
    EXPECT_LE(dialog->minimumSize().height(), ClientHeightRoom);
}

TEST_P(DialogLayoutTest, WhatShowsTheContentGrowsWithTheWindow)
{
    const WindowCase& c = GetParam();
    if (c.growingId < 0)
        GTEST_SKIP() << "nothing in this window grows";
    std::unique_ptr<DialogBase> dialog = make(c.window);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QWidget* content = dialog->control(c.growingId);
    ASSERT_NE(content, nullptr);
    const QSize before = content->size();
    dialog->resize(dialog->size() + QSize(100, 80));
    QApplication::processEvents();
    EXPECT_EQ(content->size(), before + QSize(100, 80));
    EXPECT_EQ(layoutProblems(dialog.get()), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    SmallWindows, DialogLayoutTest,
    testing::Values(
        WindowCase{"CharacterSelection",
                   Window::CharacterSelection,
                   {440, 338},
                   CharacterSelectionDialog::ListId},
        WindowCase{"WordCounts", Window::WordCounts, {360, 386}, WordCountDialog::ListId},
        WindowCase{"About", Window::About, {520, 402}, AboutDialog::TextId},
        WindowCase{"Find", Window::Find, {400, 170}, FindDialog::PromptId},
        WindowCase{"Folder", Window::Folder, {440, 210}, FolderDialog::PromptId},
        WindowCase{"Notice", Window::Notice, {440, 220}, NoticeDialog::TextId},
        WindowCase{"Question", Window::Question, {}, -1},
        WindowCase{"Progress", Window::Progress, {380, 120}, -1},
        WindowCase{"PagePreview", Window::PagePreview, {792, 602}, PagePreviewDialog::PageAreaId},
        WindowCase{"ChangeCheck", Window::ChangeCheck, {720, 520}, ChangeCheckDialog::TableId}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });
