#include "ui/UxProgressDialog.h"

#include "ui/HeadlessProgressView.h"
#include "ui/ScriptedProgressView.h"

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

// Each test starts without a pending outside request.
class UxProgressDialogTest : public testing::Test {
protected:
    UxProgressDialogTest() { UxProgressDialog::clearCancelRequest(); }
    ~UxProgressDialogTest() override { UxProgressDialog::clearCancelRequest(); }

    ScriptedProgressView m_view;
};

} // namespace

TEST_F(UxProgressDialogTest, StepReportsReachingTheMaximumAndStaysThere)
{
    UxProgressDialog dialog(m_view);
    dialog.setupBar(true, 0, 0, 3);
    dialog.open(true);
    EXPECT_FALSE(dialog.step());
    EXPECT_FALSE(dialog.step());
    EXPECT_TRUE(dialog.step());
    EXPECT_TRUE(dialog.step());
    EXPECT_EQ(dialog.position(), 3);
    EXPECT_EQ(m_view.positions(), (std::vector<int>{1, 2, 3, 3}));

    dialog.setStepSize(10);
    dialog.setupBar(true, 0, 0, 100);
    dialog.setPosition(95);
    EXPECT_TRUE(dialog.step());
    EXPECT_EQ(dialog.position(), 100);
}

TEST_F(UxProgressDialogTest, OpenShowsTheStateOnceAndCloseHappensOnDestruction)
{
    {
        UxProgressDialog dialog(m_view);
        dialog.setTitle("T");
        dialog.setText("first");
        dialog.setupBar(true, 2, 0, 9);
        dialog.open(true);
        dialog.open(true);
        EXPECT_EQ(dialog.position(), 2);
        dialog.setText("second");
        EXPECT_TRUE(dialog.isOpen());
    }
    EXPECT_EQ(m_view.opens(), 1);
    EXPECT_EQ(m_view.closes(), 1);
    EXPECT_EQ(m_view.titles(), (std::vector<std::string>{"T"}));
    EXPECT_EQ(m_view.texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(m_view.maximum(), 9);
}

TEST_F(UxProgressDialogTest, CancelOnlySetsTheFlagTheCallerReads)
{
    m_view.cancelAfterSteps(2);
    UxProgressDialog dialog(m_view);
    dialog.setupBar(true, 0, 0, 10);
    dialog.open(true);
    int units = 0;
    for (int i = 0; i < 10; ++i) {
        ++units; // the unit of work
        dialog.step();
        dialog.pump();
        if (dialog.cancelled())
            break;
    }
    EXPECT_EQ(units, 2);
    EXPECT_TRUE(dialog.cancelled());

    // Opening again starts without the flag.
    dialog.close();
    dialog.open(true);
    EXPECT_FALSE(dialog.cancelled());
}

TEST_F(UxProgressDialogTest, ADialogThatCannotBeCancelledIgnoresTheButton)
{
    UxProgressDialog dialog(m_view);
    dialog.open(false);
    dialog.pressCancel();
    EXPECT_FALSE(dialog.cancelled());
    EXPECT_FALSE(m_view.lastOpenCancellable());
}

TEST_F(UxProgressDialogTest, AnOutsideRequestIsTakenByTheNextPumpOfACancellableDialog)
{
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    UxProgressDialog::requestCancel();
    EXPECT_FALSE(dialog.cancelled()) << "the unit in progress goes on";
    dialog.pump();
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_FALSE(UxProgressDialog::cancelRequested()) << "one request cancels one dialog";

    UxProgressDialog fixed(m_view);
    fixed.open(false);
    UxProgressDialog::requestCancel();
    fixed.pump();
    EXPECT_FALSE(fixed.cancelled());
    EXPECT_TRUE(UxProgressDialog::cancelRequested()) << "left for a dialog that can take it";

    UxProgressDialog closed(m_view);
    closed.pump();
    EXPECT_FALSE(closed.cancelled());
    EXPECT_TRUE(UxProgressDialog::cancelRequested());
}

TEST_F(UxProgressDialogTest, ScriptedCancelAtAPump)
{
    m_view.cancelAtPump(3);
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    dialog.pump();
    dialog.pump();
    EXPECT_FALSE(dialog.cancelled());
    dialog.pump();
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_EQ(m_view.pumps(), 3);
}

TEST(HeadlessProgressViewTest, LineShowsTitleTextCountAndBar)
{
    ScriptedProgressView quiet;
    UxProgressDialog dialog(quiet);
    dialog.setTitle("Load");
    dialog.setText("scene");
    dialog.setupBar(true, 0, 0, 4);
    dialog.open(true);
    dialog.step();
    EXPECT_EQ(HeadlessProgressView::lineFor(dialog), "Load: scene  1/4 [#####...............]");
    dialog.setupBar(false, 0, 0, 4);
    EXPECT_EQ(HeadlessProgressView::lineFor(dialog), "Load: scene");

    // Long texts are cut on a character boundary.
    dialog.setText(std::string(30, '\x82') + std::string("\xA0", 1));
    const std::string line = HeadlessProgressView::lineFor(dialog);
    EXPECT_LE(line.size(), std::string("Load: ").size() + 48 + 3);
}

TEST(HeadlessProgressViewTest, WritesOnlyWhenEnabled)
{
    std::FILE* shown = std::tmpfile();
    std::FILE* hidden = std::tmpfile();
    ASSERT_TRUE(shown && hidden);
    {
        HeadlessProgressView on(shown, true);
        HeadlessProgressView off(hidden, false);
        for (HeadlessProgressView* view : {&on, &off}) {
            UxProgressDialog dialog(*view);
            dialog.setText("a");
            dialog.setupBar(true, 0, 0, 2);
            dialog.open(true);
            dialog.step();
            dialog.step();
            dialog.close();
        }
    }
    const std::string text = contentOf(shown);
    EXPECT_EQ(text.rfind("\ra  0/2", 0), 0u) << text;
    EXPECT_NE(text.find("2/2 [####################]"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(contentOf(hidden), "");
    std::fclose(shown);
    std::fclose(hidden);
}
