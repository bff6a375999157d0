#include "gui/WordCountDialog.h"

#include "GuiTestSupport.h"
#include "TestText.h"
#include "document/ScriptInfo.h"
#include "gui/ListView.h"
#include "gui/ListViewModel.h"
#include "gui/NoticeDialog.h"
#include "gui/QtDialogHost.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

using Counts = std::vector<std::pair<std::string, int32_t>>;

class WordCountDialogTest : public testing::Test {
protected:
    // The totals of a scenario: names in UTF-8, kept as CP932.
    void fill(const Counts& counts, const std::string& sceneName = "")
    {
        m_totals.clear();
        m_totals.setSceneName(sj(sceneName));
        for (const auto& [name, count] : counts)
            m_totals.appendCharacter(sj(name), count);
    }

    void open() { open(m_notices); }
    void open(Notices& notices)
    {
        m_dialog = std::make_unique<WordCountDialog>(nullptr, m_totals, notices);
        m_dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(m_dialog->control(id)); }
    ListView* view() { return qobject_cast<ListView*>(m_dialog->control(WordCountDialog::ListId)); }
    QString shown(int row, int column)
    {
        return view()->model()->index(row, column).data(Qt::DisplayRole).toString();
    }
    void clickClipboard()
    {
        QTest::mouseClick(byAccessibleName<QPushButton>(m_dialog.get(), u("->clipboard")),
                          Qt::LeftButton);
    }

    ScriptInfo m_totals;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    std::unique_ptr<WordCountDialog> m_dialog;
};

} // namespace

TEST_F(WordCountDialogTest, ListsEveryCharacterWithItsCountAndTheSceneName)
{
    fill({{"春香", 12}, {"千早", 7}, {"律子", 0}}, "第3話");
    open();
    EXPECT_EQ(m_dialog->windowTitle(), u("ワード数一覧"));
    EXPECT_EQ(m_dialog->textOfControl(WordCountDialog::SceneId), u("第3話"));
    ASSERT_EQ(view()->model()->rowCount(), 3);
    ASSERT_EQ(view()->model()->columnCount(), 2);
    EXPECT_EQ(view()->model()->headerData(0, Qt::Horizontal).toString(), u("キャラ名"));
    EXPECT_EQ(view()->model()->headerData(1, Qt::Horizontal).toString(), u("ワード数"));
    EXPECT_EQ(m_dialog->list().columnWidth(0), 200);
    EXPECT_EQ(m_dialog->list().columnWidth(1), 100);
    const std::vector<std::pair<QString, QString>> expected = {
        {u("春香"), u("12")}, {u("千早"), u("7")}, {u("律子"), u("0")}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(shown(row, 0), expected[size_t(row)].first) << row;
        EXPECT_EQ(shown(row, 1), expected[size_t(row)].second) << row;
        // A word-count list has nothing to tick.
        EXPECT_FALSE(view()->model()->index(row, 0).data(Qt::CheckStateRole).isValid());
    }
}

TEST_F(WordCountDialogTest, TheTotalIsTheSumOfAllCounts)
{
    struct Case {
        Counts counts;
        const char* total;
    };
    const std::vector<Case> cases = {
        {{}, "0"},
        {{{"春香", 12}}, "12"},
        {{{"春香", 12}, {"千早", 7}, {"律子", 30}}, "49"},
        // Two large counts add up beyond what 32 bits hold.
        {{{"a", 2147483647}, {"b", 2147483647}}, "4294967294"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        fill(c.counts);
        open();
        EXPECT_EQ(edit(WordCountDialog::TotalId)->text(), u(c.total));
        EXPECT_TRUE(edit(WordCountDialog::TotalId)->isReadOnly());
        // The recorded count is left as the form has it.
        const QString recorded = edit(WordCountDialog::RecordedId)->text();
        EXPECT_TRUE(recorded.isEmpty() || recorded == u("0"));
    }
}

TEST_F(WordCountDialogTest, ClipboardGetsOneLinePerCharacterAndTheNoticeFollows)
{
    ScriptedDialogHost host;
    UxDialogs notices(host);
    fill({{"春香", 12}, {"千早", 7}});
    open(notices);
    clickClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u("春香, 12\n千早, 7\n"));
    ASSERT_EQ(host.notices().size(), 1u);
    EXPECT_EQ(host.notices()[0].title, sj("出力通知"));
    EXPECT_EQ(host.notices()[0].text, sj("ワード数一覧をクリップボードに出力しました"));
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(WordCountDialogTest, AnEmptyListStillReplacesTheClipboard)
{
    ScriptedDialogHost host;
    UxDialogs notices(host);
    QGuiApplication::clipboard()->setText(u("stale"));
    fill({});
    open(notices);
    clickClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(host.notices().size(), 1u);
}

TEST_F(WordCountDialogTest, TheNoticeWindowComesUpAndTheListStaysOpen)
{
    QtDialogHost host;
    UxDialogs notices(host);
    fill({{"春香", 12}});
    open(notices);
    QString title;
    QString text;
    auto ran = whenModalOpens([&](QWidget* modal) {
        auto* notice = qobject_cast<NoticeDialog*>(modal);
        ASSERT_NE(notice, nullptr);
        title = notice->windowTitle();
        text = notice->textOfControl(NoticeDialog::TextId);
        QTest::mouseClick(byAccessibleName<QPushButton>(notice, u("OK")), Qt::LeftButton);
    });
    clickClipboard();
    ASSERT_TRUE(*ran);
    EXPECT_EQ(title, u("出力通知"));
    EXPECT_EQ(text, u("ワード数一覧をクリップボードに出力しました"));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u("春香, 12\n"));
}

TEST_F(WordCountDialogTest, ResizingStretchesTheListAndMovesTheControlsBelowIt)
{
    fill({{"春香", 12}});
    open();
    struct Place {
        int id;
        QRect before;
    };
    std::vector<Place> places;
    for (int id :
         {WordCountDialog::SceneId, WordCountDialog::ListId, WordCountDialog::TotalId,
          WordCountDialog::RecordedId, WordCountDialog::ClipboardId, WordCountDialog::OkId})
        places.push_back({id, m_dialog->control(id)->geometry()});
    m_dialog->resize(m_dialog->size() + QSize(120, 80));
    QTest::qWait(20);

    const auto now = [&](int id) { return m_dialog->control(id)->geometry(); };
    const auto before = [&](int id) {
        for (const Place& place : places)
            if (place.id == id)
                return place.before;
        return QRect();
    };
    EXPECT_EQ(now(WordCountDialog::SceneId).width(),
              before(WordCountDialog::SceneId).width() + 120);
    EXPECT_EQ(now(WordCountDialog::ListId).size(),
              before(WordCountDialog::ListId).size() + QSize(120, 80));
    EXPECT_EQ(now(WordCountDialog::ListId).topLeft(), before(WordCountDialog::ListId).topLeft());
    for (int id :
         {WordCountDialog::TotalId, WordCountDialog::RecordedId, WordCountDialog::ClipboardId})
        EXPECT_EQ(now(id), before(id).translated(0, 80)) << id;
    EXPECT_EQ(now(WordCountDialog::OkId), before(WordCountDialog::OkId).translated(120, 80));
}

TEST_F(WordCountDialogTest, ShowReturnsWhenOkIsPressed)
{
    fill({{"春香", 12}});
    auto ran = whenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), u("ワード数一覧"));
        QTest::mouseClick(byAccessibleName<QPushButton>(modal, u("OK")), Qt::LeftButton);
    });
    WordCountDialog::show(nullptr, m_totals, m_notices);
    EXPECT_TRUE(*ran);
}

TEST_F(WordCountDialogTest, EveryControlIsNamedByItsLabel)
{
    fill({{"春香", 12}});
    open();
    const std::vector<std::pair<int, const char*>> expected = {
        {WordCountDialog::ListId, "ワード数一覧"},
        {WordCountDialog::TotalId, "総数"},
        {WordCountDialog::RecordedId, "収録数"},
        {WordCountDialog::ClipboardId, "->clipboard"},
        {WordCountDialog::OkId, "OK"},
    };
    for (const auto& [id, label] : expected) {
        QWidget* control = m_dialog->control(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(announcedName(control), u(label)) << id;
    }
    EXPECT_EQ(m_dialog->textOfControl(WordCountDialog::TotalLabelId), u("総数"));
    EXPECT_EQ(m_dialog->textOfControl(WordCountDialog::RecordedLabelId), u("収録数"));
}

TEST_F(WordCountDialogTest, TheCountsAreValuesAScreenReaderReadsWithTheirCaptions)
{
    fill({{"春香", 12}, {"千早", 7}});
    open();
    for (const auto& [id, caption, value] :
         {std::tuple{WordCountDialog::TotalId, "総数", "19"},
          std::tuple{WordCountDialog::RecordedId, "収録数", ""}}) {
        QLineEdit* field = edit(id);
        ASSERT_NE(field, nullptr) << caption;
        EXPECT_TRUE(field->isReadOnly()) << caption;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field);
        ASSERT_NE(face, nullptr) << caption;
        EXPECT_EQ(face->text(QAccessible::Name), u(caption));
        EXPECT_EQ(face->text(QAccessible::Value), u(value)) << caption;
    }
}
