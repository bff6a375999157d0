#include "gui/DialogBase.h"

#include "GuiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <ostream>

namespace {

template <class T> T* addControl(QWidget* parent, int id, QRect geometry = QRect(0, 0, 40, 20))
{
    auto* widget = new T(parent);
    widget->setProperty(DialogBase::ControlIdProperty, id);
    widget->setGeometry(geometry);
    return widget;
}

struct MnemonicCase {
    const char* label;
    const char* expected;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const MnemonicCase& c, std::ostream* os)
{
    *os << "\"" << c.label << "\"";
}

class WithoutMnemonicsTest : public testing::TestWithParam<MnemonicCase> {};

} // namespace

TEST(DialogBaseTest, ControlsAreFoundAndReadByTheirIds)
{
    DialogBase dialog;
    addControl<QLineEdit>(&dialog, 1001)->setText("line");
    auto* combo = addControl<QComboBox>(&dialog, 1002);
    combo->setEditable(true);
    combo->addItem("first");
    combo->setEditText(QString::fromUtf8("編集中"));
    addControl<QTextEdit>(&dialog, 1003)->setPlainText("one\ntwo");
    addControl<QLabel>(&dialog, 1004)->setText("label");
    addControl<QPushButton>(&dialog, 1005)->setText("&Button");
    auto* group = addControl<QGroupBox>(&dialog, 1006);
    group->setTitle("frame");
    // A control inside a frame is found as well.
    addControl<QLineEdit>(group, 1007)->setText("nested");

    EXPECT_EQ(dialog.textOfControl(1001), QString("line"));
    EXPECT_EQ(dialog.textOfControl(1002), QString::fromUtf8("編集中"));
    EXPECT_EQ(dialog.textOfControl(1003), QString("one\ntwo"));
    EXPECT_EQ(dialog.textOfControl(1004), QString("label"));
    EXPECT_EQ(dialog.textOfControl(1005), QString("&Button"));
    EXPECT_EQ(dialog.textOfControl(1006), QString("frame"));
    EXPECT_EQ(dialog.textOfControl(1007), QString("nested"));
    EXPECT_EQ(dialog.control(1007)->parentWidget(), group);
    EXPECT_EQ(dialog.control(4242), nullptr);
    EXPECT_EQ(dialog.textOfControl(4242), QString());
}

TEST(DialogBaseTest, DisableSkipsNegativeIds)
{
    DialogBase dialog;
    auto* a = addControl<QPushButton>(&dialog, 1);
    auto* b = addControl<QPushButton>(&dialog, 2);
    auto* c = addControl<QPushButton>(&dialog, 3);
    dialog.disable({1, -1, 3, -2, 99});
    EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(c->isEnabled());
}

TEST(DialogBaseTest, CheckedRadioGivesThePositionOfTheFirstChecked)
{
    DialogBase dialog;
    std::vector<QRadioButton*> radios;
    for (int id = 0; id < 11; ++id) {
        radios.push_back(addControl<QRadioButton>(&dialog, 200 + id));
        radios.back()->setAutoExclusive(false);
    }
    EXPECT_EQ(dialog.checkedRadio({200, 201, 202}), -1);
    radios[2]->setChecked(true);
    EXPECT_EQ(dialog.checkedRadio({200, 201, 202}), 2);
    EXPECT_EQ(dialog.checkedRadio({202, 200}), 0) << "the position in the list, not the id";
    radios[1]->setChecked(true);
    EXPECT_EQ(dialog.checkedRadio({200, 201, 202}), 1) << "the first checked wins";
    EXPECT_EQ(dialog.checkedRadio({999, 202}), 1) << "an unknown id still takes a position";

    // Only the first ten ids count.
    radios[1]->setChecked(false);
    radios[2]->setChecked(false);
    radios[10]->setChecked(true);
    EXPECT_EQ(dialog.checkedRadio({200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210}), -1);
    EXPECT_EQ(dialog.checkedRadio({210}), 0);
}

TEST(DialogBaseTest, AnchoredControlsKeepTheirDistancesToTheEdges)
{
    DialogBase dialog;
    dialog.resize(400, 300);
    // Left 300, top 10, 80 x 20: right distance -20, bottom distance -270.
    auto* moving = addControl<QPushButton>(&dialog, 1, QRect(300, 10, 80, 20));
    // A line from x 20 to the right edge minus 20.
    auto* stretching = addControl<QLineEdit>(&dialog, 1002, QRect(20, 10, 360, 20));
    // Bottom right corner, 20 from each edge.
    auto* corner = addControl<QPushButton>(&dialog, 2, QRect(300, 250, 80, 30));
    // The list: stretches both ways.
    auto* list = addControl<QTableView>(&dialog, 1000, QRect(10, 40, 280, 200));
    auto* fixed = addControl<QLabel>(&dialog, 1003, QRect(5, 260, 50, 20));
    dialog.registerAnchor(1, DialogBase::FollowRight | 8); // 9: moves with the right edge
    dialog.registerAnchor(1002, DialogBase::FollowRight | DialogBase::StretchRight | 8); // 11
    dialog.registerAnchor(2, DialogBase::FollowRight | DialogBase::FollowBottom);        // 5
    dialog.registerAnchor(1000, 15);
    dialog.registerAnchor(1003, 0);

    dialog.resize(600, 500);
    dialog.applyAnchors();
    EXPECT_EQ(moving->geometry(), QRect(500, 10, 80, 20));
    EXPECT_EQ(stretching->geometry(), QRect(20, 10, 560, 20));
    EXPECT_EQ(corner->geometry(), QRect(500, 450, 80, 30));
    EXPECT_EQ(list->geometry(), QRect(10, 40, 480, 400));
    EXPECT_EQ(fixed->geometry(), QRect(5, 260, 50, 20));

    // Registering again replaces the record with the distances of now.
    moving->setGeometry(100, 100, 10, 10);
    dialog.registerAnchor(1, 0);
    dialog.resize(700, 500);
    dialog.applyAnchors();
    EXPECT_EQ(moving->geometry(), QRect(100, 100, 10, 10));
}

TEST(DialogBaseTest, ResizingTheShownWindowMovesTheAnchoredControls)
{
    DialogBase dialog;
    dialog.resize(400, 300);
    auto* corner = addControl<QPushButton>(&dialog, 2, QRect(300, 250, 80, 30));
    dialog.registerAnchor(2, DialogBase::FollowRight | DialogBase::FollowBottom);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.resize(500, 350);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.size(), QSize(500, 350), 2000);
    EXPECT_EQ(corner->geometry(), QRect(400, 300, 80, 30));
}

TEST(DialogBaseTest, ATinyWindowNeverGivesAControlLessThanFourPixels)
{
    DialogBase dialog;
    dialog.resize(400, 300);
    auto* list = addControl<QTableView>(&dialog, 1000, QRect(10, 40, 280, 200));
    auto* stretching = addControl<QLineEdit>(&dialog, 1002, QRect(20, 10, 360, 20));
    dialog.registerAnchor(1000, 15);
    dialog.registerAnchor(1002, 11);
    dialog.setMinimumSize(0, 0);
    dialog.resize(30, 20);
    dialog.applyAnchors();
    EXPECT_EQ(list->width(), 4);
    EXPECT_EQ(list->height(), 4);
    EXPECT_EQ(stretching->width(), 4);
    EXPECT_EQ(stretching->height(), 20) << "only the anchored direction changes";
    EXPECT_EQ(list->pos(), QPoint(10, 40));
}

TEST(DialogBaseTest, CentringRoundsTheLeftEdgeToEightPixelsAfterAddingFour)
{
    // A frameless owner, so that its frame is its geometry.
    QWidget owner(nullptr, Qt::FramelessWindowHint);
    owner.setGeometry(100, 50, 600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    ASSERT_EQ(owner.frameGeometry(), QRect(100, 50, 600, 400));

    DialogBase dialog(&owner);
    dialog.resize(190, 100);
    // x: 100 + (600 - 190) / 2 = 305, + 4 = 309, down to 304.
    // y: 50 + (400 - 100) / 2 = 200.
    dialog.centre();
    EXPECT_EQ(dialog.pos(), QPoint(304, 200));
    // Given positions are relative to the owner: 110 + 4 = 114, down to 112.
    dialog.centre(10, 20);
    EXPECT_EQ(dialog.pos(), QPoint(112, 70));
    dialog.centre(-1, 0);
    EXPECT_EQ(dialog.pos(), QPoint(304, 50));
    EXPECT_EQ(dialog.size(), QSize(190, 100)) << "centring never resizes";
}

TEST(DialogBaseTest, PlaceSizesMovesAndClampsToTheScreen)
{
    QWidget owner;
    owner.setGeometry(100, 50, 600, 400);
    DialogBase dialog(&owner);
    dialog.resize(190, 100);

    dialog.place(10, 20, 300, 150);
    EXPECT_EQ(dialog.pos(), QPoint(110, 70));
    EXPECT_EQ(dialog.size(), QSize(300, 150));
    dialog.place(0, 0, 0, -1);
    EXPECT_EQ(dialog.size(), QSize(300, 150)) << "no size given keeps the size";
    EXPECT_EQ(dialog.pos(), QPoint(100, 50));

    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.place(work.width() + 5000, work.height() + 5000, 0, 0, true);
    EXPECT_TRUE(work.contains(dialog.frameGeometry()))
        << "clamped into " << work.width() << "x" << work.height();
    EXPECT_EQ(dialog.frameGeometry().right(), work.right());
    dialog.place(-5000, -5000, 0, 0, true);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), work.topLeft());
    dialog.place(-5000, -5000, 0, 0, false);
    EXPECT_EQ(dialog.pos(), QPoint(-4900, -4950)) << "without clamping the window may leave";
}

TEST(DialogBaseTest, EveryWindowOpensWhollyInsideItsScreen)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // An owner with a frame: its dialogs get the same.
    QWidget owner;
    owner.setGeometry(work.x() + 10, work.y() + 30, 300, 200);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    struct Case {
        const char* what;
        QSize size;
        QSize minimum;
    };
    const Case cases[] = {
        // Centred over a small owner near the top, a tall dialog would
        // start above the screen.
        {"taller than its owner", QSize(200, work.height() - 40), QSize()},
        {"wider than its owner", QSize(work.width() - 20, 100), QSize()},
        // Larger than the screen: it gives up size, down to its minimum.
        {"larger than the screen", QSize(work.width() + 300, work.height() + 300), QSize(100, 80)},
    };
    for (const Case& c : cases) {
        DialogBase dialog(&owner);
        if (c.minimum.isValid())
            dialog.setMinimumSize(c.minimum);
        dialog.resize(c.size);
        dialog.centre();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog)) << c.what;
        EXPECT_TRUE(work.contains(dialog.frameGeometry()))
            << c.what << ": " << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y()
            << " " << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height();
        dialog.hide();
    }

    // A window that asks to stay where it is placed is left there.
    DialogBase free(&owner);
    free.setKeepInsideScreen(false);
    free.resize(200, 100);
    free.place(-5000, -5000, 0, 0);
    free.show();
    EXPECT_EQ(free.pos(), owner.frameGeometry().topLeft() + QPoint(-5000, -5000));
}

TEST(DialogBaseTest, ControlsAreNamedByTheLabelsTheUserSees)
{
    QWidget form;
    auto* open = new QPushButton(QString::fromUtf8("台本フォルダを指定する (&O)pen"), &form);
    auto* both = new QCheckBox("A&&B", &form);
    auto* radio = new QRadioButton(QString::fromUtf8("ＢＭＰ(&B)"), &form);
    auto* frame = new QGroupBox(QString::fromUtf8("総数"), &form);
    auto* inFrame = new QLineEdit(frame);
    auto* caption = new QLabel(QString::fromUtf8("フォント名(&F):"), &form);
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    caption->setBuddy(combo);
    auto* named = new QLineEdit(&form);
    named->setAccessibleName("kept");
    auto* table = new QTableView(&form);
    auto* unlabelled = new QLineEdit(&form);
    auto* plainLabel = new QLabel("static text", &form);

    DialogBase::nameControlsByLabels(&form);

    EXPECT_EQ(open->accessibleName(), QString::fromUtf8("台本フォルダを指定する (O)pen"));
    EXPECT_EQ(both->accessibleName(), QString("A&B"));
    EXPECT_EQ(radio->accessibleName(), QString::fromUtf8("ＢＭＰ(B)"));
    EXPECT_EQ(frame->accessibleName(), QString::fromUtf8("総数"));
    EXPECT_EQ(inFrame->accessibleName(), QString::fromUtf8("総数"));
    EXPECT_EQ(combo->accessibleName(), QString::fromUtf8("フォント名(F):"));
    EXPECT_EQ(named->accessibleName(), QString("kept"));
    EXPECT_EQ(unlabelled->accessibleName(), QString()) << "no label, no made-up name";
    EXPECT_EQ(plainLabel->accessibleName(), QString()) << "static text names itself";
    EXPECT_EQ(announcedName(plainLabel), QString("static text"));
    // A control's own parts are not controls of the form.
    EXPECT_EQ(combo->lineEdit()->accessibleName(), QString());
    EXPECT_EQ(announcedName(open), open->accessibleName());
    EXPECT_EQ(announcedName(combo), combo->accessibleName());
    EXPECT_EQ(table->horizontalHeader()->accessibleName(), QString());
}

TEST_P(WithoutMnemonicsTest, StripsMarksAndKeepsDoubledAmpersands)
{
    EXPECT_EQ(DialogBase::withoutMnemonics(QString::fromUtf8(GetParam().label)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(DialogBaseTest, WithoutMnemonicsTest,
                         testing::Values(MnemonicCase{"&Open", "Open"},
                                         MnemonicCase{"(&1) ワード数を確認する",
                                                      "(1) ワード数を確認する"},
                                         MnemonicCase{"A&&B", "A&B"}, MnemonicCase{"&&&x", "&x"},
                                         MnemonicCase{"end&", "end"}, MnemonicCase{"", ""},
                                         MnemonicCase{"plain", "plain"}));
