#include "gui/NoticeDialog.h"

#include "gui/NoticeTextEdit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A path of well over 200 characters, most of its names Japanese (which
// may otherwise break between any two characters), one with a hyphen.
QString longPath()
{
    return u("/home/収録スタッフ/プロジェクト/春の物語シリーズ第二期/シナリオ台本フォルダ/"
             "第十二話_本番収録用/scenes/chapter-twelve-final-version/"
             "出力されたチェックリストの一覧/キャラクター別の台本とページ数/"
             "監督用の台本を含む出力/二〇二四年度分/収録済みの音声と照らし合わせた結果/"
             "再収録が必要な台詞の一覧/"
             "@sceneCheckList.0000001f.txt");
}

NoticeTextEdit* textBox(NoticeDialog& notice)
{
    return qobject_cast<NoticeTextEdit*>(notice.control(NoticeDialog::TextId));
}

void showActive(NoticeDialog& notice)
{
    notice.show();
    notice.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&notice));
}

} // namespace

TEST(NoticeDialogTest, ALongPathWrapsOnlyAfterItsSlashesAndTheWindowFitsTheScreen)
{
    const QString path = longPath();
    ASSERT_GE(path.size(), 200);
    NoticeDialog notice(nullptr, path + u("\nが出力されました。"));
    showActive(notice);
    NoticeTextEdit* box = textBox(notice);
    ASSERT_NE(box, nullptr);

    const QTextBlock block = box->document()->firstBlock();
    const QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 1) << "a path wider than the screen wraps";
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const QString shown = NoticeTextEdit::withoutBreakMarks(
            block.text().mid(line.textStart(), line.textLength()));
        if (i + 1 < layout->lineCount()) {
            EXPECT_TRUE(shown.endsWith(u'/')) << "line " << i << ": " << shown.toStdString();
        }
        EXPECT_LE(line.naturalTextWidth(), box->viewport()->width()) << "line " << i;
    }
    EXPECT_FALSE(box->horizontalScrollBar()->isVisible()) << "every name fits the box";

    const QRect available = notice.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(notice.frameGeometry()))
        << notice.frameGeometry().width() << "x" << notice.frameGeometry().height();
    EXPECT_GT(notice.width(), 440) << "a long line widens the window";
}

TEST(NoticeDialogTest, ManyLinesStayOnTheScreenAndScroll)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << u("%1 行目のお知らせ").arg(i + 1);
    NoticeDialog notice(nullptr, lines.join(u'\n'));
    showActive(notice);
    EXPECT_TRUE(notice.screen()->availableGeometry().contains(notice.frameGeometry()));
    EXPECT_TRUE(textBox(notice)->verticalScrollBar()->isVisible());
}

TEST(NoticeDialogTest, TheUserCanResizeIt)
{
    NoticeDialog notice(nullptr, longPath());
    showActive(notice);
    EXPECT_TRUE(notice.isSizeGripEnabled());
    const QSize opened = notice.size();
    EXPECT_LT(notice.minimumSize().width(), opened.width());
    EXPECT_LT(notice.minimumSize().height(), opened.height());
    EXPECT_GT(notice.maximumSize().width(), opened.width());
    EXPECT_GT(notice.maximumSize().height(), opened.height());
    notice.resize(notice.minimumSize());
    EXPECT_EQ(notice.size(), notice.minimumSize());
}

TEST(NoticeDialogTest, SelectingAllAndCopyingGivesTheTextAsGiven)
{
    const QString text = u("パスが見つかりません。\n") + longPath() + u("\n別の/フォルダ を指定");
    NoticeDialog notice(nullptr, text);
    EXPECT_EQ(notice.text(), text);
    showActive(notice);
    NoticeTextEdit* box = textBox(notice);
    QClipboard* clipboard = QGuiApplication::clipboard();

    clipboard->clear();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), text) << "Ctrl+A, Ctrl+C";

    clipboard->clear();
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QAction* copy = menu->findChild<QAction*>("edit-copy");
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(clipboard->text(), text) << "the context menu's copy";

    // Part of a path, too, comes without the marks.
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(box->toPlainText().indexOf(u'/'));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    box->copy();
    EXPECT_EQ(clipboard->text(), longPath());
}

TEST(NoticeTextEditTest, PathsGetBreaksAfterTheirSlashesAndJoinersInTheirNames)
{
    const QString zw(NoticeTextEdit::BreakAfter);
    const QString wj(NoticeTextEdit::NoBreak);
    struct Case {
        const char* name;
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {"no path", u("パスはありません。 a-b c"), u("パスはありません。 a-b c")},
        {"path", u("/a/b"), u("/") + zw + u("a") + wj + u("/") + zw + u("b")},
        {"path among words", u("出力 /台本/ 完了"),
         u("出力 /") + zw + u("台") + wj + u("本") + wj + u("/ 完了")},
        {"path ends a line", u("/x\n次"), u("/") + zw + u("x\n次")},
        {"surrogate pair kept whole", u("/\U0001F600a"),
         u("/") + zw + u("\U0001F600") + wj + u("a")},
        {"empty", QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NoticeTextEdit::withPathBreaks(c.text), c.shown);
        EXPECT_EQ(NoticeTextEdit::withoutBreakMarks(c.shown), c.text);
    }
}
