#include "gui/ListView.h"

#include "GuiTestSupport.h"
#include "TestText.h"
#include "gui/DialogBase.h"
#include "gui/ListViewDelegate.h"
#include "gui/ListViewModel.h"
#include "ui/ListCellColours.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr UxListViewControl::Colour NoSpeaker = UxListViewControl::rgb(0xC0, 0xC0, 0xE0);

// A parent that counts the wheel events that reach it.
class WheelCountingWidget : public QWidget {
public:
    int wheels = 0;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        ++wheels;
        event->accept();
    }
};

// A window with the list (five columns and the hidden key column, twelve
// rows, the first without speakers) and a line edit to take the focus away.
class ListViewTest : public testing::Test {
protected:
    ListViewTest()
    {
        const std::array<UxListViewControl::ColumnDescriptor, 7> columns{{{"", 24},
                                                                          {"info", 42},
                                                                          {"scene", 160},
                                                                          {"chara", 200},
                                                                          {"off", 200},
                                                                          {"", 0},
                                                                          {nullptr, -1}}};
        m_list.defineColumns(columns);
        for (int row = 0; row < 12; ++row) {
            const bool speakers = row != 0;
            const UxListViewControl::Colour background =
                speakers ? UxListViewControl::DefaultColour : NoSpeaker;
            m_list.setCell(row, 0, "", UxListViewControl::DefaultColour, background);
            m_list.updateCell(row, 1, "", UxListViewControl::DefaultColour, background);
            m_list.updateCell(row, 2, std::to_string(row).c_str(), UxListViewControl::DefaultColour,
                              background);
            m_list.setText(row, 5, std::to_string(100 + row));
            if (speakers)
                m_list.check(row);
        }
        auto* layout = new QVBoxLayout(&m_window);
        m_view = new ListView(&m_window);
        m_edit = new QLineEdit(&m_window);
        layout->addWidget(m_view);
        layout->addWidget(m_edit);
        m_view->setList(&m_list);
        m_window.resize(700, 300);
    }

    void showActive()
    {
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    // The colour in the middle of a cell as drawn now.
    QColor pixelAt(int row, int column)
    {
        const QImage image = m_view->viewport()->grab().toImage();
        const QRect cell = m_view->visualRect(m_view->model()->index(row, column));
        return image.pixelColor(cell.center());
    }

    QPoint cellCentre(int row, int column) const
    {
        return m_view->visualRect(m_view->model()->index(row, column)).center();
    }

    UxListViewControl m_list;
    QWidget m_window;
    ListView* m_view;
    QLineEdit* m_edit;
};

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Counts the cells the style measures for the views that use it.
class CellMeasuringStyle : public QProxyStyle {
public:
    CellMeasuringStyle() : QProxyStyle(QStringLiteral("Fusion")) {}
    mutable int measured = 0;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        if (type == CT_ItemViewItem)
            ++measured;
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
};

// Fusion, except that a cell's width is not its text's plus fixed margins:
// what the width becomes is the rule's.
class ReshapingStyle : public CellMeasuringStyle {
public:
    explicit ReshapingStyle(std::function<int(int)> width) : m_width(std::move(width)) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize measured = CellMeasuringStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_ItemViewItem)
            measured.setWidth(m_width(measured.width()));
        return measured;
    }

private:
    std::function<int(int)> m_width;
};

} // namespace

TEST_F(ListViewTest, IsSetUpAsAReportListWithTheKeyColumnHidden)
{
    EXPECT_EQ(m_view->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(m_view->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(m_view->showGrid());
    EXPECT_TRUE(m_view->verticalHeader()->isHidden());
    EXPECT_TRUE(m_view->isColumnHidden(5));
    EXPECT_FALSE(m_view->isColumnHidden(4));
    EXPECT_EQ(m_view->columnWidth(2), 160);
    EXPECT_EQ(m_view->columnWidth(3), 200);
    EXPECT_EQ(m_view->model()->rowCount(), 12);

    // Widths set later follow, and width 0 hides, a positive one shows again.
    m_list.setColumnWidth(2, 90);
    EXPECT_EQ(m_view->columnWidth(2), 90);
    m_list.setColumnWidth(4, 0);
    EXPECT_TRUE(m_view->isColumnHidden(4));
    m_list.setColumnWidth(4, 50);
    EXPECT_FALSE(m_view->isColumnHidden(4));
    EXPECT_EQ(m_view->columnWidth(4), 50);
}

TEST_F(ListViewTest, ARowWithoutSpeakersKeepsATraceOfItsColourWhenSelected)
{
    showActive();
    EXPECT_EQ(pixelAt(0, 1), QColor(0xC0, 0xC0, 0xE0));
    EXPECT_EQ(pixelAt(1, 1), m_view->palette().color(QPalette::Base))
        << "a default cell is drawn in the view's own background";

    m_list.selectRow(0);
    ASSERT_TRUE(m_view->hasFocus());
    // (F0*59 + C0*196)/255, (00*59 + C0*196)/255, (D0*59 + E0*196)/255.
    EXPECT_EQ(pixelAt(0, 1), QColor(0xCB, 0x93, 0xDC));

    m_edit->setFocus();
    ASSERT_FALSE(m_view->hasFocus());
    // (60*59 + C0*196)/255, (A0*59 + C0*196)/255, (D8*59 + E0*196)/255.
    EXPECT_EQ(pixelAt(0, 1), QColor(0xA9, 0xB8, 0xDE));
    EXPECT_EQ(pixelAt(1, 1), m_view->palette().color(QPalette::Base));
}

TEST_F(ListViewTest, SelectingInTheListSelectsScrollsAndFocusesTheView)
{
    m_window.resize(700, 120); // a few rows visible, the last ones not
    showActive();
    m_edit->setFocus();
    m_list.selectRow(11);
    EXPECT_TRUE(m_view->selectionModel()->isRowSelected(11, QModelIndex()));
    EXPECT_EQ(m_view->currentIndex().row(), 11);
    EXPECT_TRUE(m_view->hasFocus());
    const QRect shown = m_view->visualRect(m_view->model()->index(11, 2));
    EXPECT_TRUE(m_view->viewport()->rect().intersects(shown)) << "row 11 was scrolled to";

    m_list.selectRow(3);
    EXPECT_TRUE(m_view->selectionModel()->isRowSelected(11, QModelIndex()))
        << "the list keeps several rows selected";
    m_list.deselectRow(11);
    EXPECT_FALSE(m_view->selectionModel()->isRowSelected(11, QModelIndex()));
    EXPECT_TRUE(m_view->selectionModel()->isRowSelected(3, QModelIndex()));
}

TEST_F(ListViewTest, TheUsersClicksSelectRowsInTheList)
{
    showActive();
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
    EXPECT_TRUE(m_list.isSelected(2));
    EXPECT_EQ(m_list.focusedRow(), 2);

    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(4, 3));
    EXPECT_TRUE(m_list.isSelected(2));
    EXPECT_TRUE(m_list.isSelected(4));
    EXPECT_EQ(m_list.focusedRow(), 4);

    // A plain click starts over with one row.
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, cellCentre(1, 2));
    EXPECT_TRUE(m_list.isSelected(1));
    EXPECT_FALSE(m_list.isSelected(2));
    EXPECT_FALSE(m_list.isSelected(4));
    EXPECT_EQ(m_list.nextSelectedRow(1), -1);

    // Shift extends from the current row.
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(3, 2));
    std::vector<int> selected;
    for (int row = m_list.nextSelectedRow(-1); row >= 0; row = m_list.nextSelectedRow(row))
        selected.push_back(row);
    EXPECT_EQ(selected, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_list.focusedRow(), 3);

    // Keys move the selection and the focused row with it.
    QTest::keyClick(m_view, Qt::Key_Down);
    EXPECT_EQ(m_list.nextSelectedRow(-1), 4);
    EXPECT_EQ(m_list.nextSelectedRow(4), -1);
    EXPECT_EQ(m_list.focusedRow(), 4);
    QTest::keyClick(m_view, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(m_list.isSelected(3));
    EXPECT_TRUE(m_list.isSelected(4));
    EXPECT_EQ(m_list.focusedRow(), 3);
}

TEST_F(ListViewTest, ClickingTheCheckBoxTogglesTheRowInTheList)
{
    showActive();
    const QModelIndex cell = m_view->model()->index(3, 0);
    QStyleOptionViewItem option;
    option.initFrom(m_view);
    option.rect = m_view->visualRect(cell);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        m_view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, m_view);
    ASSERT_TRUE(m_list.isChecked(3));
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(m_list.stateImage(3), UxListViewControl::StateCleared);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(m_list.stateImage(3), UxListViewControl::StateTicked);
}

TEST_F(ListViewTest, DoubleClickTellsTheRow)
{
    showActive();
    QSignalSpy doubled(m_view, &ListView::rowDoubleClicked);
    // A double click is a click followed by the second press.
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, cellCentre(5, 2));
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, cellCentre(5, 2));
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled[0][0].toInt(), 5);
}

namespace {

// A dialog with the list, a line edit and a default OK button.
class ListViewKeysTest : public testing::Test {
protected:
    ListViewKeysTest()
    {
        const std::array<UxListViewControl::ColumnDescriptor, 1> columns{{{"a", 50}}};
        m_list.defineColumns(columns);
        m_list.setCell(0, 0, "row");
        auto* layout = new QVBoxLayout(&m_dialog);
        m_view = new ListView(&m_dialog);
        m_edit = new QLineEdit(&m_dialog);
        auto* ok = new QPushButton("OK", &m_dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &m_dialog, &QDialog::accept);
        layout->addWidget(m_view);
        layout->addWidget(m_edit);
        layout->addWidget(ok);
        m_view->setList(&m_list);
    }
    ~ListViewKeysTest() override { m_view->setList(nullptr); }

    // Shows the dialog with the focus in the list and types the key there.
    void typeInList(Qt::Key key)
    {
        m_dialog.setResult(-1);
        m_dialog.show();
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
        m_view->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), m_view);
        QTest::keyClick(QApplication::focusWidget(), key);
    }

    UxListViewControl m_list;
    DialogBase m_dialog;
    ListView* m_view;
    QLineEdit* m_edit;
};

} // namespace

TEST_F(ListViewKeysTest, ReturnAndEscInTheListReachTheDialogByDefault)
{
    EXPECT_FALSE(m_view->keepsReturnAndEscape());
    const std::pair<Qt::Key, int> cases[] = {{Qt::Key_Return, QDialog::Accepted},
                                             {Qt::Key_Enter, QDialog::Accepted},
                                             {Qt::Key_Escape, QDialog::Rejected}};
    for (const auto& [key, result] : cases) {
        SCOPED_TRACE(key);
        typeInList(key);
        EXPECT_FALSE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), result);
    }
}

TEST_F(ListViewKeysTest, ReturnAndEscStayInAListThatKeepsThemButCloseFromElsewhere)
{
    m_view->setKeepsReturnAndEscape(true);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        typeInList(key);
        EXPECT_TRUE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), -1) << "nothing ended the dialog";
    }

    // The same keys typed elsewhere do reach the dialog.
    m_edit->setFocus();
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    m_dialog.show();
    m_edit->setFocus();
    QTest::keyClick(m_edit, Qt::Key_Escape);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
}

TEST_F(ListViewTest, DroppedFilesBecomeRowsWhenDroppingIsOn)
{
    showActive();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/scenario/a.screenplay.txt"),
                  QUrl::fromLocalFile(QString::fromUtf8("/scenario/第二話.screenplay.txt")),
                  // No CP932 form: left out rather than listed wrongly.
                  QUrl::fromLocalFile(QString::fromUtf8("/scenario/\xF0\x9F\x98\x80.txt")),
                  QUrl("https://example.com/not-a-file")});
    const QPoint at = cellCentre(1, 2);
    // As a drag arrives: entering picks the widget that takes the drop.
    auto drop = [&] {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &enter);
        QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &event);
    };

    drop();
    EXPECT_EQ(m_list.rowCount(), 12) << "dropping is off by default";

    m_view->setDropColumn(2);
    m_view->setCheckDroppedRows(true);
    drop();
    ASSERT_EQ(m_list.rowCount(), 14);
    FCString text;
    ASSERT_TRUE(m_list.textOfCell(text, 12, 2));
    EXPECT_EQ(text.toStdString(), "/scenario/a.screenplay.txt");
    ASSERT_TRUE(m_list.textOfCell(text, 13, 2));
    EXPECT_EQ(text.toStdString(), sj("/scenario/第二話.screenplay.txt"));
    ASSERT_TRUE(m_list.textOfCell(text, 13, 0));
    EXPECT_EQ(text.toStdString(), "") << "column 0 stays empty when the path goes elsewhere";
    EXPECT_EQ(m_list.stateImage(13), UxListViewControl::StateTicked);
    EXPECT_EQ(m_view->model()->rowCount(), 14);

    m_view->setCheckDroppedRows(false);
    m_view->setDropColumn(0);
    drop();
    ASSERT_EQ(m_list.rowCount(), 16);
    ASSERT_TRUE(m_list.textOfCell(text, 14, 0));
    EXPECT_EQ(text.toStdString(), "/scenario/a.screenplay.txt");
    EXPECT_EQ(m_list.stateImage(14), UxListViewControl::StateCleared);
}

TEST_F(ListViewTest, AWheelOutsideTheListGoesToTheParentWhenAsked)
{
    WheelCountingWidget parent;
    auto* layout = new QVBoxLayout(&parent);
    ListView view(&parent);
    layout->addWidget(&view);
    view.setList(&m_list);
    parent.resize(300, 120);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    auto wheel = [&](QPoint at) {
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // Only a wheel from the window system travels on to the parent;
        // sendEvent() would mark it as the program's own.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(view.viewport(), &event);
    };
    const QPoint inside = view.viewport()->rect().center();
    const QPoint outside(inside.x(), view.viewport()->height() + 400);

    wheel(inside);
    wheel(outside);
    EXPECT_EQ(parent.wheels, 0) << "without the option the list takes every wheel";
    view.setWheelOutsideToParent(true);
    wheel(inside);
    EXPECT_EQ(parent.wheels, 0);
    wheel(outside);
    EXPECT_EQ(parent.wheels, 1);
}

TEST_F(ListViewTest, FittingAColumnKeepsTheWidthInTheList)
{
    m_list.setText(3, 3, std::string(80, 'W'));
    m_view->fitColumnToContents(3);
    EXPECT_EQ(m_list.columnWidth(3), m_view->columnWidth(3));
    EXPECT_GT(m_list.columnWidth(3), 200) << "80 W are wider than the defined 200 pixels";
}

TEST_F(ListViewTest, FittingColumnsOfRepeatedTextsGivesTheTableViewsWidths)
{
    // Names repeat down the columns, one text is longer far down, another
    // is shared by two columns, and one column stays empty.
    const std::array<std::string, 3> names{sj("ゆかり,蓮"), sj("ゆかり"), "Mob"};
    for (int row = 0; row < 12; ++row) {
        m_list.setText(row, 1, row % 2 ? "1 / 2" : "");
        m_list.setText(row, 3, names[std::size_t(row % 3)]);
    }
    m_list.setText(9, 2, sj("とても長いシーンの名前.screenplay.txt"));
    m_list.setText(10, 3, sj("とても長いシーンの名前.screenplay.txt"));
    showActive();
    for (const int column : {0, 1, 2, 3, 4}) {
        m_view->resizeColumnToContents(column);
        const int expected = m_view->columnWidth(column);
        m_view->setColumnWidth(column, 3);
        m_view->resizeToContents(std::array{column});
        EXPECT_EQ(m_view->columnWidth(column), expected) << column;
    }
}

TEST_F(ListViewTest, FittingAgainMeasuresOnlyNewTextsAndStillGivesTheTableViewsWidths)
{
    // Each step changes the list or the view, then fits the columns: the
    // widths must be the table view's own, and only what the last fit did
    // not measure is measured (-1: anything, as long as the widths hold).
    CellMeasuringStyle fusion;
    CellMeasuringStyle other;
    const std::string longName = sj("とても長いシーンの名前.screenplay.txt");
    struct Step {
        const char* what;
        std::function<void()> change;
        int measured;
    };
    const Step steps[] = {
        {"the first fit", [] {}, -1},
        {"the same texts again", [] {}, 0},
        {"one long name", [&] { m_list.setText(5, 2, longName); }, 1},
        {"the long name gone", [&] { m_list.setText(5, 2, "5"); }, 1},
        {"a name only the fit before last had", [&] { m_list.setText(5, 2, longName); }, 1},
        {"a larger font", [&] { m_view->setFont(QFont(m_view->font().family(), 20)); }, -1},
        {"another style", [&] { m_view->setStyle(&other); }, -1},
    };
    m_view->setStyle(&fusion);
    showActive();
    for (const Step& step : steps) {
        step.change();
        fusion.measured = other.measured = 0;
        m_view->resizeToContents(std::array{2, 3});
        const int measured = fusion.measured + other.measured;
        if (step.measured >= 0) {
            EXPECT_EQ(measured, step.measured) << step.what;
        }
        for (const int column : {2, 3}) {
            const int fitted = m_view->columnWidth(column);
            m_view->resizeColumnToContents(column);
            EXPECT_EQ(fitted, m_view->columnWidth(column)) << step.what << ", column " << column;
        }
    }
    m_view->setStyle(nullptr);
}

TEST_F(ListViewTest, AListFilledWithTextsLaidOutAheadIsFittedToTheStylesWidths)
{
    // Names of many lengths in an order that is not by length, one of them
    // a Japanese name, and names repeated down the characters column. The
    // file names are foreseen before the rows come, the characters arrive
    // with them. Fusion measures a cell as its text plus fixed margins; the
    // other styles do not, and their widths must hold all the same.
    struct Case {
        const char* style;
        std::function<int(int)> width;
        // At most this many cells are measured by the style (-1: any).
        int measured;
    };
    const Case cases[] = {
        {"Fusion", [](int width) { return width; }, 40},
        {"widths grown by a quarter", [](int width) { return width * 5 / 4; }, -1},
        {"long cells wider still", [](int width) { return width > 150 ? width + 40 : width; }, -1},
        {"rounded to 16 pixels", [](int width) { return (width + 15) / 16 * 16; }, -1},
    };
    const int rows = 400;
    std::vector<std::string> names;
    for (int row = 0; row < rows; ++row) {
        const int length = 1 + row * 37 % 61;
        names.push_back(row == 200
                            ? sj("とても長いシーンの名前.screenplay.txt")
                            : std::string(std::size_t(length), char('a' + row % 26)) + ".txt");
    }
    const std::vector<std::string_view> foreseen(names.begin(), names.end());
    const std::array<int, 2> fitted{2, 3};
    m_view->setMeasuredAhead(fitted);
    showActive();
    for (const Case& test : cases) {
        ReshapingStyle style(test.width);
        m_view->setStyle(&style);
        m_list.redrawOff();
        m_list.foresee(2, foreseen);
        m_list.clear();
        const std::array<UxListViewControl::ColumnDescriptor, 5> columns{
            {{"", 24}, {"info", 42}, {"scene", 160}, {"chara", 200}, {nullptr, -1}}};
        m_list.defineColumns(columns);
        for (int row = 0; row < rows; ++row) {
            m_list.setCell(row, 0, "");
            m_list.setText(row, 2, names[std::size_t(row)]);
            m_list.setText(row, 3, row % 3 ? "Mob" : sj("ゆかり,蓮"));
        }
        m_list.redrawOn();
        style.measured = 0;
        m_view->resizeToContents(fitted);
        if (test.measured >= 0) {
            EXPECT_LE(style.measured, test.measured) << test.style;
        }
        for (const int column : fitted) {
            const int width = m_view->columnWidth(column);
            m_view->resizeColumnToContents(column);
            EXPECT_EQ(width, m_view->columnWidth(column)) << test.style << ", column " << column;
        }
        m_view->setStyle(nullptr);
    }
}

TEST_F(ListViewTest, ColumnsFittedAfterAReloadAreLaidOutAndPaintedOnce)
{
    showActive();
    PaintCounter painted;
    m_view->viewport()->installEventFilter(&painted);
    m_list.redrawOff();
    for (int row = 0; row < 12; ++row)
        m_list.setText(row, 2, std::string(row + 1, 'W'));
    m_list.redrawOn();
    m_view->resizeToContents(std::array{2, 3});
    const int fitted = m_view->columnWidth(2);
    // Enough passes for the paint and for any timer the view set itself.
    for (int pass = 0; pass < 5; ++pass)
        QCoreApplication::processEvents();
    EXPECT_EQ(painted.paints, 1);
    m_view->resizeColumnToContents(2);
    EXPECT_EQ(m_view->columnWidth(2), fitted);
}

TEST_F(ListViewTest, AReloadWithRedrawOffKeepsTheViewInStep)
{
    showActive();
    m_list.selectRow(4);
    QCoreApplication::processEvents();
    // While the rows go and come the list is not painted, neither emptied
    // nor half filled; once redrawing is back on it is.
    PaintCounter painted;
    for (QWidget* part : {m_view->viewport(), m_view->horizontalHeader()->viewport()})
        part->installEventFilter(&painted);
    m_list.redrawOff();
    m_list.clear();
    const std::array<UxListViewControl::ColumnDescriptor, 3> columns{
        {{"", 24}, {"key", 0}, {nullptr, -1}}};
    m_list.defineColumns(columns);
    for (int row = 0; row < 3000; ++row) {
        m_list.setCell(row, 0, "");
        m_list.setText(row, 1, std::to_string(row));
    }
    m_list.selectRow(2500);
    QCoreApplication::processEvents();
    EXPECT_EQ(painted.paints, 0);
    m_list.redrawOn();
    QCoreApplication::processEvents();
    EXPECT_GT(painted.paints, 0);
    EXPECT_EQ(m_view->model()->rowCount(), 3000);
    EXPECT_TRUE(m_view->isColumnHidden(1));
    EXPECT_EQ(m_view->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(m_view->selectionModel()->isRowSelected(2500, QModelIndex()));
    EXPECT_EQ(m_view->currentIndex().row(), 2500);
}

TEST_F(ListViewTest, UnderADarkPaletteEveryRowStaysReadable)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    m_view->setPalette(dark);
    showActive();
    // Row 0 has a light colour of its own, rows 1 and 2 the defaults; 0
    // and 1 are selected.
    m_list.selectRow(0);
    m_list.selectRow(1);
    for (bool focused : {true, false}) {
        if (focused)
            m_view->setFocus();
        else
            m_edit->setFocus();
        ASSERT_EQ(m_view->hasFocus(), focused);
        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE(testing::Message() << "row " << row << (focused ? " focused" : ""));
            const QModelIndex index = m_view->model()->index(row, 1);
            QStyleOptionViewItem option;
            option.initFrom(m_view);
            option.widget = m_view;
            if (m_view->selectionModel()->isRowSelected(row, QModelIndex()))
                option.state |= QStyle::State_Selected;
            const ListCellColours::Pair colours = m_view->cellDelegate()->coloursFor(option, index);
            EXPECT_GE(ListCellColours::contrastRatio(colours.text, colours.background),
                      ListCellColours::MinimumContrast)
                << std::hex << colours.text << " on " << colours.background;
            EXPECT_EQ(pixelAt(row, 1), ListViewModel::colourOf(colours.background))
                << "the cell is painted in those colours";
        }
    }
    // The selection still shows.
    m_view->setFocus();
    EXPECT_NE(pixelAt(1, 1), pixelAt(2, 1));
}
