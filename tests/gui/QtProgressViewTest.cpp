#include "gui/QtProgressView.h"

#include "GuiTestSupport.h"
#include "TestText.h"
#include "gui/ProgressDialog.h"
#include "ui/UxProgressDialog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Every test installs the window view, as the desktop program does.
class QtProgressViewTest : public testing::Test {
protected:
    QtProgressViewTest() { UxProgressDialog::clearCancelRequest(); }

    QPushButton* cancelButton(ProgressDialog* window)
    {
        return byAccessibleName<QPushButton>(window, QString::fromUtf8("キャンセル"));
    }

    QtProgressView m_view;
};

} // namespace

TEST_F(QtProgressViewTest, OpeningShowsTheStateAndUpdatesFollow)
{
    UxProgressDialog dialog(m_view);
    dialog.setTitle(sj("台本の取得"));
    dialog.setText(sj("指定されたフォルダにある *.screenplay.txt を取得しています"));
    dialog.setupBar(true, 0, 0, 4);
    EXPECT_EQ(m_view.windowOf(dialog), nullptr);
    dialog.open(true);

    ProgressDialog* window = m_view.windowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("台本の取得"));
    EXPECT_EQ(window->textOfControl(ProgressDialog::TextId),
              QString::fromUtf8("指定されたフォルダにある *.screenplay.txt を取得しています"));
    auto* bar = qobject_cast<QProgressBar*>(window->control(ProgressDialog::BarId));
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 0);
    ASSERT_NE(cancelButton(window), nullptr);
    EXPECT_TRUE(cancelButton(window)->isEnabled());

    dialog.setText(sj("一話"));
    dialog.step();
    dialog.step();
    // Changes this close to the last refresh wait for a pump once the
    // window is due for one.
    QTest::qWait(QtProgressView::RefreshInterval + 10);
    dialog.pump();
    EXPECT_EQ(window->shownText(), QString::fromUtf8("一話"));
    EXPECT_EQ(bar->value(), 2);

    dialog.close();
    EXPECT_EQ(m_view.windowOf(dialog), nullptr);
}

TEST_F(QtProgressViewTest, CancelTakesEffectOnlyWhenTheCallerNextReadsTheFlag)
{
    UxProgressDialog dialog(m_view);
    dialog.setupBar(true, 0, 0, 5);
    dialog.open(true);
    QPushButton* cancel = cancelButton(m_view.windowOf(dialog));
    ASSERT_NE(cancel, nullptr);

    std::vector<std::string> log;
    for (int unit = 0; unit < 5; ++unit) {
        log.push_back("start " + std::to_string(unit));
        if (unit == 2) {
            // The user presses cancel in the middle of the third unit.
            QTest::mouseClick(cancel, Qt::LeftButton);
            log.push_back(dialog.cancelled() ? "flag set" : "flag clear");
        }
        log.push_back("end " + std::to_string(unit));
        dialog.setText(std::to_string(unit));
        dialog.step();
        dialog.pump();
        if (dialog.cancelled())
            break;
    }
    EXPECT_EQ(log, (std::vector<std::string>{"start 0", "end 0", "start 1", "end 1", "start 2",
                                             "flag set", "end 2"}))
        << "the unit under way is finished and no further one starts";
    EXPECT_EQ(dialog.position(), 3);
    EXPECT_TRUE(m_view.windowOf(dialog)->isVisible()) << "the window stays until the caller closes";
}

TEST_F(QtProgressViewTest, PumpingDeliversAPressQueuedForTheWindow)
{
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    ProgressDialog* window = m_view.windowOf(dialog);
    // A queued click is what the window system delivers while work runs.
    QMetaObject::invokeMethod(cancelButton(window), "click", Qt::QueuedConnection);
    EXPECT_FALSE(dialog.cancelled()) << "nothing happens before the events are processed";
    dialog.pump();
    EXPECT_TRUE(dialog.cancelled());
}

TEST_F(QtProgressViewTest, PumpsInQuickSuccessionPassOverTheEventLoopOnlyNowAndThen)
{
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    ProgressDialog* window = m_view.windowOf(dialog);
    dialog.pump();
    // A burst of pumps, as a folder of small scenes gives them. One event
    // is kept waiting at a time: each pass over the event loop takes it and
    // counts, and the next pump posts another.
    int passes = 0;
    bool waiting = false;
    constexpr int Pumps = 2000;
    for (int i = 0; i < Pumps; ++i) {
        if (!waiting) {
            waiting = true;
            QMetaObject::invokeMethod(
                window,
                [&passes, &waiting] {
                    ++passes;
                    waiting = false;
                },
                Qt::QueuedConnection);
        }
        dialog.pump();
    }
    EXPECT_LT(passes, Pumps / 4);
    // A press still arrives, at the latest once the interval has passed.
    QMetaObject::invokeMethod(cancelButton(window), "click", Qt::QueuedConnection);
    QElapsedTimer waited;
    waited.start();
    while (!dialog.cancelled() && !waited.hasExpired(5000))
        dialog.pump();
    EXPECT_TRUE(dialog.cancelled());
}

TEST_F(QtProgressViewTest, ADialogThatCannotBeCancelledDisablesItsButton)
{
    UxProgressDialog dialog(m_view);
    dialog.open(false);
    ProgressDialog* window = m_view.windowOf(dialog);
    QPushButton* cancel = cancelButton(window);
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::keyClick(window, Qt::Key_Escape);
    window->close();
    dialog.pump();
    EXPECT_FALSE(dialog.cancelled());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(QtProgressViewTest, EscAndTheCloseBoxCountAsCancelAndKeepTheWindow)
{
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    ProgressDialog* window = m_view.windowOf(dialog);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_TRUE(window->isVisible());

    UxProgressDialog second(m_view);
    second.open(true);
    ProgressDialog* secondWindow = m_view.windowOf(second);
    ASSERT_NE(secondWindow, window);
    EXPECT_FALSE(secondWindow->close()) << "the close box does not take the window away";
    EXPECT_TRUE(second.cancelled());
    EXPECT_TRUE(secondWindow->isVisible());
}

TEST_F(QtProgressViewTest, AHiddenBarAndTheWindowKeepingOtherWindowsWaiting)
{
    UxProgressDialog dialog(m_view);
    dialog.setupBar(false, 0, 0, 10);
    dialog.open(true);
    ProgressDialog* window = m_view.windowOf(dialog);
    EXPECT_TRUE(window->control(ProgressDialog::BarId)->isHidden());
    // No other window takes input while the operation runs.
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), window);
    dialog.close();
    EXPECT_NE(QApplication::activeModalWidget(), window);
}

TEST_F(QtProgressViewTest, AnOwnerThatGoesFirstTakesTheWindowSafely)
{
    auto* owner = new QWidget;
    owner->show();
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(owner));
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    ASSERT_NE(m_view.windowOf(dialog), nullptr);
    EXPECT_EQ(m_view.windowOf(dialog)->parentWidget(), owner) << "opened over the active window";
    delete owner;
    EXPECT_EQ(m_view.windowOf(dialog), nullptr);
    // The work goes on and ends as usual.
    dialog.setText("x");
    dialog.step();
    dialog.pump();
    dialog.close();
    EXPECT_FALSE(dialog.isOpen());
}

TEST_F(QtProgressViewTest, ADelayedWindowAppearsWithTheStateOnceItsDelayHasPassed)
{
    struct Case {
        int delay;
        bool shown;
    };
    for (const Case& c : {Case{3600 * 1000, false}, Case{1, true}}) {
        UxProgressDialog dialog(m_view);
        dialog.setupBar(true, 0, 0, 4);
        dialog.setShowDelay(c.delay);
        dialog.open(true);
        EXPECT_EQ(m_view.windowOf(dialog), nullptr) << c.delay;
        dialog.setText(sj("一話"));
        dialog.step();
        dialog.step();
        QTest::qSleep(5);
        dialog.pump();
        ProgressDialog* window = m_view.windowOf(dialog);
        ASSERT_EQ(window != nullptr, c.shown) << c.delay;
        if (window) {
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(window->shownText(), QString::fromUtf8("一話"));
            EXPECT_EQ(window->position(), 2);
        }
        dialog.close();
        EXPECT_EQ(m_view.windowOf(dialog), nullptr);
    }
}

TEST_F(QtProgressViewTest, WhileItsWindowWaitsNoOtherWindowTakesInputOrCloses)
{
    QWidget other;
    auto* edit = new QLineEdit(&other);
    other.show();
    UxProgressDialog dialog(m_view);
    dialog.setShowDelay(3600 * 1000);
    dialog.open(true);
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(edit->text(), "");
    EXPECT_FALSE(other.close());
    // A question put while the work runs takes its answer.
    QDialog question;
    auto* answer = new QLineEdit(&question);
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    QTest::keyClicks(answer, "ab");
    EXPECT_EQ(answer->text(), "ab");
    question.hide();
    dialog.close();
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(edit->text(), "ab");
    EXPECT_TRUE(other.close());
}

TEST_F(QtProgressViewTest, EveryControlIsNamedByItsLabel)
{
    UxProgressDialog dialog(m_view);
    dialog.open(true);
    ProgressDialog* window = m_view.windowOf(dialog);
    auto* cancel = qobject_cast<QPushButton*>(window->control(ProgressDialog::CancelId));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(cancel->accessibleName(), cancel->text());
    EXPECT_EQ(announcedName(cancel), cancel->text());
}
