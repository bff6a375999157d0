#include "SmallWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

namespace {

// A key typed with the focus on one control of a window, and how the
// window ends.
struct KeyCase {
    std::string name;
    Window window;
    const char* focus; // the control's object name
    Qt::Key key;
    int result;
};

void PrintTo(const KeyCase& c, std::ostream* out)
{
    *out << c.name;
}

// Every key on every control: Return and Enter press the window's default
// button, Esc cancels.
std::vector<KeyCase> keyCases()
{
    struct Focus {
        const char* windowName;
        Window window;
        std::vector<const char*> controls;
        int accepted;
        int cancelled;
    };
    const std::vector<Focus> windows = {
        {"CharacterSelection",
         Window::CharacterSelection,
         {"listView", "okButton"},
         QDialog::Accepted,
         QDialog::Rejected},
        {"WordCounts",
         Window::WordCounts,
         {"listView", "totalEdit", "okButton"},
         QDialog::Accepted,
         QDialog::Rejected},
        {"About",
         Window::About,
         {"textBrowser", "pageRadio0", "okButton"},
         QDialog::Accepted,
         QDialog::Rejected},
        {"Find",
         Window::Find,
         {"inputCombo", "promptEdit"},
         FindDialog::OkId,
         FindDialog::CancelId},
        {"Folder",
         Window::Folder,
         {"inputCombo", "promptEdit", "keepWordTotalsBox"},
         FolderDialog::OkId,
         FolderDialog::CancelId},
        {"Notice", Window::Notice, {"textEdit", "okButton"}, QDialog::Accepted, QDialog::Rejected},
        {"Question",
         Window::Question,
         {"yesButton"},
         QuestionDialog::YesId,
         QuestionDialog::EscapeResult},
    };
    std::vector<KeyCase> cases;
    for (const Focus& w : windows) {
        for (const char* control : w.controls) {
            const std::string prefix = std::string(w.windowName) + "_" + control + "_";
            cases.push_back({prefix + "Return", w.window, control, Qt::Key_Return, w.accepted});
            cases.push_back({prefix + "Enter", w.window, control, Qt::Key_Enter, w.accepted});
            cases.push_back({prefix + "Esc", w.window, control, Qt::Key_Escape, w.cancelled});
        }
    }
    // A window without a default button only closes.
    for (const char* control : {"scriptCombo", "pageArea", "closeButton"})
        cases.push_back({std::string("PagePreview_") + control + "_Esc", Window::PagePreview,
                         control, Qt::Key_Escape, QDialog::Rejected});
    // Enter compares in the change check (its default button), so only Esc
    // ends it, from wherever the focus is.
    for (const char* control : {"sincePrintRadio", "folderRadio", "compareButton", "countEdit",
                                "tableView", "closeButton"})
        cases.push_back({std::string("ChangeCheck_") + control + "_Esc", Window::ChangeCheck,
                         control, Qt::Key_Escape, QDialog::Rejected});
    // A focused button takes Return for itself.
    cases.push_back({"Question_noButton_Return", Window::Question, "noButton", Qt::Key_Return,
                     QuestionDialog::NoId});
    return cases;
}

class DialogKeysTest : public SmallWindows, public testing::WithParamInterface<KeyCase> {};

} // namespace

TEST_P(DialogKeysTest, TheKeyEndsTheWindowFromTheFocusedControl)
{
    const KeyCase& c = GetParam();
    std::unique_ptr<DialogBase> dialog = make(c.window);
    // The find window takes OK only with something to find.
    if (c.window == Window::Find)
        dialog->findChild<QComboBox*>("inputCombo")->setEditText("scene01");
    dialog->setResult(-1);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QWidget* control = dialog->findChild<QWidget*>(c.focus);
    ASSERT_NE(control, nullptr);
    control->setFocus();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused == control || control->isAncestorOf(focused)) << "focus went elsewhere";

    QTest::keyClick(focused, c.key);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(SmallWindows, DialogKeysTest, testing::ValuesIn(keyCases()),
                         [](const testing::TestParamInfo<KeyCase>& info) {
                             return info.param.name;
                         });
