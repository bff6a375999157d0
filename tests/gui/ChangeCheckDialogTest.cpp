#include "gui/ChangeCheckDialog.h"

#include "AppTestFolder.h"
#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "ScenarioTestFolder.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "gui/DesktopEnvironment.h"
#include "gui/MainWindow.h"
#include "platform/SystemClock.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxProgressDialog.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString valueOf(QWidget* widget)
{
    QAccessibleInterface* face = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return face ? face->text(QAccessible::Value) : QStringLiteral("<none>");
}

// Runs act on the next modal window opened over outer.
std::shared_ptr<bool> whenOpensOver(QWidget* outer, std::function<void(QWidget*)> act)
{
    auto ran = std::make_shared<bool>(false);
    auto timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, outer, act, ran] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != outer && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *ran = true;
            act(modal);
        }
    });
    timer->start();
    return ran;
}

// A scene loaded at start and its older version: さくら's line rewritten,
// 悠人's added.
class ChangeCheckDialogTest : public AppTestFolder {
protected:
    ChangeCheckDialogTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_old.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t1\n.悠人\t1\n"
                                          ".total\t2\n000101 さくら「a」\n000102 悠人「b」\n");
        m_scenario.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t1\n.悠人\t2\n"
                                               ".total\t3\n000101 さくら「a2」\n"
                                               "000102 悠人「b」\n000103 悠人「c」\n");
        ProgramStart::prepare(m_app, m_scenario.path());
    }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_old;
    ScriptedDialogHost m_host;
    ScriptedProgressView m_progress;
    const SystemClock m_clock;
    DesktopEnvironment m_environment{
        {.dialogs = m_host, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
    Quillon m_app;
};

} // namespace

TEST_F(ChangeCheckDialogTest, FromTheMenuAComparisonIsListedFilteredAndPrintedThroughThePrintForm)
{
    MainWindow window(m_app, m_environment);
    window.show();
    QAction* item = nullptr;
    for (QAction* action : window.menuBar()->findChildren<QAction*>())
        if (action->property(MainWindow::CommandIdProperty).toInt() == 40007)
            item = action;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u("(&4) 変更点の確認..."));

    QStringList all, filtered;
    QString count, filteredCount, printTitle;
    bool folderEnabledBefore = true, folderEnabled = false, printEnabledBefore = true,
         choiceShown = true;
    auto ran = whenModalOpens([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), u("変更点の確認"));
        expectButtonsAnnouncedByTheirLabels(modal);
        auto* folder = byAccessibleName<QComboBox>(modal, u("比較する台本フォルダ"));
        auto* folderRadio = byAccessibleName<QRadioButton>(modal, u("比較する台本フォルダ"));
        auto* compare = byAccessibleName<QPushButton>(modal, u("比較"));
        auto* filter = byAccessibleName<QComboBox>(modal, u("キャラクター"));
        auto* countField = byAccessibleName<QLineEdit>(modal, u("件数"));
        auto* table = byAccessibleName<QTableView>(modal, u("変更点"));
        auto* print = byAccessibleName<QPushButton>(modal, u("リテイク台本を印刷..."));
        ASSERT_TRUE(folder && folderRadio && compare && filter && countField && table && print);
        folderEnabledBefore = folder->isEnabled();
        printEnabledBefore = print->isEnabled();

        doAccessibly(folderRadio, QAccessibleActionInterface::toggleAction());
        folderEnabled = folder->isEnabled();
        setTextAccessibly(folder->lineEdit(), QString::fromStdString(m_old.path()));
        doAccessibly(compare, QAccessibleActionInterface::pressAction());
        // A press through the interface is an animated click: it lands once
        // the event loop has run its short timer.
        ASSERT_TRUE(QTest::qWaitFor([print] { return print->isEnabled(); }));
        all = readTable(table);
        count = valueOf(countField);

        ASSERT_EQ(filter->count(), 3);
        filter->setCurrentIndex(filter->findText(u("悠人")));
        filtered = readTable(table);
        filteredCount = valueOf(countField);

        auto printed = whenOpensOver(modal, [&](QWidget* form) {
            printTitle = form->windowTitle();
            auto* choice = byAccessibleName<QCheckBox>(form, u("変更された台詞のみ"));
            choiceShown = choice && choice->isVisible();
            QTest::keyClick(form, Qt::Key_Escape);
        });
        doAccessibly(print, QAccessibleActionInterface::pressAction());
        ASSERT_TRUE(QTest::qWaitFor([printed] { return *printed; }));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    item->trigger();
    ASSERT_TRUE(*ran);
    EXPECT_FALSE(folderEnabledBefore) << "the last print is the first source";
    EXPECT_TRUE(folderEnabled);
    EXPECT_FALSE(printEnabledBefore) << "nothing compared yet";
    EXPECT_EQ(all, QStringList({u("変更|000101|s01|さくら|「a」|「a2」"),
                                u("追加|000103|s01|悠人||「c」")}));
    EXPECT_EQ(count, u("2"));
    EXPECT_EQ(filtered, QStringList({u("追加|000103|s01|悠人||「c」")}));
    EXPECT_EQ(filteredCount, u("1"));
    EXPECT_EQ(printTitle, u("印刷の実行"));
    EXPECT_FALSE(choiceShown) << "the lines are chosen already";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
