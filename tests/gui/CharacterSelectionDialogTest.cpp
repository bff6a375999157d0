#include "gui/CharacterSelectionDialog.h"

#include "GuiTestSupport.h"
#include "TestText.h"
#include "document/ScriptInfo.h"
#include "gui/ListView.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

using Ticks = std::vector<bool>;

// A scene of four characters of which the second and the fourth are no
// print targets.
class CharacterSelectionDialogTest : public testing::Test {
protected:
    CharacterSelectionDialogTest()
    {
        m_scene.setSceneName("scene01");
        m_scene.appendCharacter(sj("春香"), 12);
        m_scene.appendCharacter(sj("千早"), 7);
        m_scene.appendCharacter(sj("律子"), 30);
        m_scene.appendCharacter(sj("雪歩"), 1);
        m_scene.clearPrintTargets();
        m_scene.addPrintTarget(sj("春香"));
        m_scene.addPrintTarget(sj("律子"));
        m_model.load(m_scene);
    }

    void open()
    {
        m_dialog = std::make_unique<CharacterSelectionDialog>(nullptr, m_model);
        m_dialog->show();
        m_dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    ListView* view()
    {
        return qobject_cast<ListView*>(m_dialog->control(CharacterSelectionDialog::ListId));
    }
    // The ticks as the window shows them.
    Ticks shownTicks()
    {
        Ticks ticks;
        for (int row = 0; row < view()->model()->rowCount(); ++row)
            ticks.push_back(view()->model()->index(row, 0).data(Qt::CheckStateRole).toInt() ==
                            Qt::Checked);
        return ticks;
    }
    Ticks modelTicks() const
    {
        Ticks ticks;
        for (const CharacterSelectionModel::Row& row : m_model.rows())
            ticks.push_back(row.ticked);
        return ticks;
    }
    void click(const char* label)
    {
        QPushButton* button = byAccessibleName<QPushButton>(m_dialog.get(), u(label));
        ASSERT_NE(button, nullptr) << label;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void doubleClickRow(int row)
    {
        const QRect cell = view()->visualRect(view()->model()->index(row, 1));
        // A double click is a click followed by the second press.
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // The user ticking or clearing a check box by hand.
    void tickByHand(int row, bool ticked)
    {
        view()->model()->setData(view()->model()->index(row, 0),
                                 ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    ScriptInfo m_scene;
    CharacterSelectionModel m_model;
    std::unique_ptr<CharacterSelectionDialog> m_dialog;
};

} // namespace

TEST_F(CharacterSelectionDialogTest, ShowsOneTickableRowPerCharacter)
{
    open();
    EXPECT_EQ(m_dialog->windowTitle(), u("印刷するキャラの選択"));
    QAbstractItemModel* rows = view()->model();
    ASSERT_EQ(rows->rowCount(), 4);
    ASSERT_EQ(rows->columnCount(), 3);
    const std::vector<std::pair<QString, int>> columns = {
        {QString(), 24}, {u("印刷するキャラ名"), 300}, {u("ワード数"), 64}};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(rows->headerData(column, Qt::Horizontal).toString(),
                  columns[size_t(column)].first);
        EXPECT_EQ(m_dialog->list().columnWidth(column), columns[size_t(column)].second);
    }
    const std::vector<std::pair<QString, QString>> expected = {
        {u("春香"), u("12")}, {u("千早"), u("7")}, {u("律子"), u("30")}, {u("雪歩"), u("1")}};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(rows->index(row, 1).data().toString(), expected[size_t(row)].first);
        EXPECT_EQ(rows->index(row, 2).data().toString(), expected[size_t(row)].second);
    }
    EXPECT_EQ(shownTicks(), (Ticks{true, false, true, false}));
}

TEST_F(CharacterSelectionDialogTest, SelectAllAndClearAllChangeEveryRowButNotTheModelYet)
{
    open();
    click("全て選択");
    EXPECT_EQ(shownTicks(), (Ticks{true, true, true, true}));
    click("全て解除");
    EXPECT_EQ(shownTicks(), (Ticks{false, false, false, false}));
    EXPECT_EQ(modelTicks(), (Ticks{true, false, true, false}));
}

TEST_F(CharacterSelectionDialogTest, DoubleClickTogglesThatRowOnly)
{
    open();
    doubleClickRow(1);
    EXPECT_EQ(shownTicks(), (Ticks{true, true, true, false}));
    doubleClickRow(0);
    EXPECT_EQ(shownTicks(), (Ticks{false, true, true, false}));
    doubleClickRow(1);
    EXPECT_EQ(shownTicks(), (Ticks{false, false, true, false}));
}

TEST_F(CharacterSelectionDialogTest, ButtonsKeepTheTicksMadeByHand)
{
    open();
    tickByHand(3, true);
    doubleClickRow(0);
    EXPECT_EQ(shownTicks(), (Ticks{false, false, true, true}));
    tickByHand(2, false);
    doubleClickRow(1);
    EXPECT_EQ(shownTicks(), (Ticks{false, true, false, true}));
}

TEST_F(CharacterSelectionDialogTest, OkWritesTheTicksIntoTheModel)
{
    struct Case {
        const char* name;
        std::vector<const char*> buttons;
        std::vector<int> doubleClicks;
        Ticks expected;
    };
    const std::vector<Case> cases = {
        {"unchanged", {}, {}, {true, false, true, false}},
        {"all", {"全て選択"}, {}, {true, true, true, true}},
        {"none", {"全て解除"}, {}, {false, false, false, false}},
        {"none then one", {"全て解除"}, {3}, {false, false, false, true}},
        {"toggled", {}, {0, 1}, {false, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_model.load(m_scene);
        open();
        for (const char* button : c.buttons)
            click(button);
        for (int row : c.doubleClicks)
            doubleClickRow(row);
        click("OK");
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(modelTicks(), c.expected);
    }
}

TEST_F(CharacterSelectionDialogTest, CancelChangesNothing)
{
    open();
    click("全て選択");
    doubleClickRow(2);
    click("中止");
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(modelTicks(), (Ticks{true, false, true, false}));
}

TEST_F(CharacterSelectionDialogTest, RunAnswersWhetherOkWasPressed)
{
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        m_model.load(m_scene);
        auto ran = whenModalOpens([ok](QWidget* modal) {
            QTest::mouseClick(byAccessibleName<QPushButton>(modal, u("全て解除")), Qt::LeftButton);
            QTest::mouseClick(byAccessibleName<QPushButton>(modal, ok ? u("OK") : u("中止")),
                              Qt::LeftButton);
        });
        EXPECT_EQ(CharacterSelectionDialog::run(nullptr, m_model), ok);
        EXPECT_TRUE(*ran);
        EXPECT_EQ(modelTicks(), ok ? Ticks(4, false) : (Ticks{true, false, true, false}));
    }
}

TEST_F(CharacterSelectionDialogTest, TheListFollowsTheWindowSize)
{
    open();
    const QRect list = m_dialog->control(CharacterSelectionDialog::ListId)->geometry();
    const QRect ok = m_dialog->control(CharacterSelectionDialog::OkId)->geometry();
    const QRect selectAll = m_dialog->control(CharacterSelectionDialog::SelectAllId)->geometry();
    m_dialog->resize(m_dialog->size() + QSize(60, 90));
    QTest::qWait(20);
    EXPECT_EQ(m_dialog->control(CharacterSelectionDialog::ListId)->geometry(),
              QRect(list.topLeft(), list.size() + QSize(60, 90)));
    EXPECT_EQ(m_dialog->control(CharacterSelectionDialog::OkId)->geometry(), ok.translated(60, 90));
    EXPECT_EQ(m_dialog->control(CharacterSelectionDialog::SelectAllId)->geometry(),
              selectAll.translated(0, 90));
}

TEST_F(CharacterSelectionDialogTest, EveryControlIsNamedByItsLabel)
{
    open();
    const std::vector<std::pair<int, const char*>> expected = {
        {CharacterSelectionDialog::ListId, "印刷するキャラの選択"},
        {CharacterSelectionDialog::SelectAllId, "全て選択"},
        {CharacterSelectionDialog::ClearAllId, "全て解除"},
        {CharacterSelectionDialog::OkId, "OK"},
        {CharacterSelectionDialog::CancelId, "中止"},
    };
    for (const auto& [id, label] : expected) {
        QWidget* control = m_dialog->control(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(announcedName(control), u(label)) << id;
    }
}

TEST_F(CharacterSelectionDialogTest, ReturnOnAFocusedButtonPressesThatButton)
{
    open();
    QPushButton* clearAll = byAccessibleName<QPushButton>(m_dialog.get(), u("全て解除"));
    ASSERT_NE(clearAll, nullptr);
    clearAll->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(shownTicks(), Ticks(4, false));
    // Back in the list, Return is OK again.
    view()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(modelTicks(), Ticks(4, false));
}
