#include "gui/PagePreviewDialog.h"

#include "AppTestFolder.h"
#include "GuiTestSupport.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/PreviewTestScenario.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "document/ScriptCatalogue.h"
#include "gui/DesktopEnvironment.h"
#include "gui/ListView.h"
#include "gui/MainWindow.h"
#include "platform/SystemClock.h"
#include "reports/PrintRun.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxProgressDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// The main window over the preview scenes; notices and progress are
// recorded instead of shown.
class PagePreviewDialogTest : public AppTestFolder {
protected:
    PagePreviewDialogTest()
    {
        UxProgressDialog::clearCancelRequest();
        writePreviewScenes(m_scenario);
        ProgramStart::prepare(m_app, m_scenario.path());
        m_window = std::make_unique<MainWindow>(m_app, m_environment);
        m_window->show();
    }

    UxListViewControl& list() { return m_window->model().list(); }
    int rowOf(const std::string& name)
    {
        for (int row = 0; row < list().rowCount(); ++row)
            if (list().cell(row, CatalogueListBinding::ColumnFileName)->text == name)
                return row;
        ADD_FAILURE() << "no row " << name;
        return -1;
    }
    // Clicks the row's file-name cell, as a user selects a scene.
    void select(int row)
    {
        ListView* view = m_window->listView();
        const QRect cell = view->visualRect(view->model()->index(row, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    PagePreviewDialog* openPreviewOf(const std::string& file)
    {
        select(rowOf(file));
        QPushButton* button =
            byAccessibleName<QPushButton>(m_window.get(), QString::fromUtf8("プレビュー..."));
        EXPECT_NE(button, nullptr);
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        return PagePreviewDialog::openOver(m_window.get());
    }
    template <class T> T* in(PagePreviewDialog* preview, const char* name)
    {
        T* widget = byAccessibleName<T>(preview, QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString pageText(PagePreviewDialog* preview)
    {
        return preview->textOfControl(PagePreviewDialog::PageLabelId);
    }
    // The PNG pages a print run writes for the scene's first character,
    // read back; the run's own settings stay as they were.
    std::vector<PreviewPng> pngPagesOfFirstCharacter(const std::string& scene,
                                                     const std::string& character)
    {
        const std::string destination = m_scenario.path() + "pages/";
        const OutputDevice device = m_app.outputDevice();
        m_app.setOutputDevice(OutputDevice::Png);
        m_app.setDestinationFolder(destination);
        {
            PrintRun run(m_app.context());
            (void)run.printScene(FCString(scene + ".screenplay.txt"),
                                 m_app.catalogue().record(m_window->model().rows().entryOfRow(
                                     rowOf(scene + ".screenplay.txt"))));
        }
        m_app.setOutputDevice(device);
        std::vector<std::string> paths;
        const std::string prefix = scene + "." + character + ".";
        for (const auto& entry : std::filesystem::directory_iterator(destination + scene))
            if (entry.path().filename().string().rfind(prefix, 0) == 0)
                paths.push_back(entry.path().string());
        std::sort(paths.begin(), paths.end());
        std::vector<PreviewPng> pages;
        for (const std::string& path : paths)
            pages.push_back(readPreviewPng(path));
        return pages;
    }

    ScenarioTestFolder m_scenario;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    const SystemClock m_clock;
    DesktopEnvironment m_environment{
        {.dialogs = m_dialogs, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
    Quillon m_app;
    std::unique_ptr<MainWindow> m_window;
};

// The share of the page's ink pixels (darker than mid-grey) that the drawn
// image has dark too, the image scaled to the page's size.
double inkFound(const PreviewPng& png, const QImage& drawn)
{
    const QImage image =
        drawn.convertToFormat(QImage::Format_Grayscale8)
            .scaled(png.width, png.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    long ink = 0;
    long found = 0;
    for (int y = 0; y < png.height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < png.width; ++x) {
            if (png.at(x, y) >= 128)
                continue;
            ++ink;
            found += row[x] < 224;
        }
    }
    return ink ? double(found) / double(ink) : 0;
}

} // namespace

TEST_F(PagePreviewDialogTest, TheButtonOpensTheSelectedSceneWithThePagesOfItsPngRun)
{
    const std::vector<PreviewPng> pngs = pngPagesOfFirstCharacter("long", "悠人");
    ASSERT_GE(pngs.size(), 3u);
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal()) << "the list and the settings stay at hand";
    EXPECT_EQ(pageText(preview), QString::fromUtf8("1 / %1 ページ").arg(qsizetype(pngs.size())));
    auto* combo = in<QComboBox>(preview, "台本");
    ASSERT_NE(combo, nullptr);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{QString::fromUtf8("悠人"), QString::fromUtf8("さくら"),
                                  QString::fromUtf8("店主")}));
    EXPECT_TRUE(preview->windowTitle().contains(QStringLiteral("long")));
}

TEST_F(PagePreviewDialogTest, ButtonsAndPageKeysTurnThePagesWithinTheScript)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    const int pages = preview->model().pageCount();
    ASSERT_GE(pages, 3);
    auto* previous = in<QPushButton>(preview, "前へ");
    auto* next = in<QPushButton>(preview, "次へ");
    ASSERT_TRUE(previous && next);
    EXPECT_FALSE(previous->isEnabled());
    const QImage first = preview->pageImage();

    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("2 / %1 ページ").arg(pages));
    EXPECT_NE(preview->pageImage(), first);
    // The keys work from the page area too, whose own scrolling would take
    // them otherwise.
    QWidget* area = preview->control(PagePreviewDialog::PageAreaId);
    ASSERT_NE(area, nullptr);
    area->setFocus();
    QTest::keyClick(area, Qt::Key_PageDown);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("3 / %1 ページ").arg(pages));
    QTest::keyClick(area, Qt::Key_PageUp);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("2 / %1 ページ").arg(pages));
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("1 / %1 ページ").arg(pages));
    EXPECT_EQ(preview->pageImage(), first);
    QTest::keyClick(area, Qt::Key_PageUp);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("1 / %1 ページ").arg(pages)) << "no page 0";
    for (int page = 1; page < pages + 2; ++page)
        QTest::keyClick(area, Qt::Key_PageDown);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("%1 / %1 ページ").arg(pages));
    EXPECT_FALSE(next->isEnabled());
}

TEST_F(PagePreviewDialogTest, ThePageHasInkWhereThePngPageHasItAtEveryZoom)
{
    const std::vector<PreviewPng> pngs = pngPagesOfFirstCharacter("long", "悠人");
    ASSERT_GE(pngs.size(), 2u);
    ASSERT_TRUE(pngs[1].ok);
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    preview->resize(900, 700);
    QTest::mouseClick(in<QPushButton>(preview, "次へ"), Qt::LeftButton);
    auto* view = preview->findChild<QScrollArea*>()->widget();
    auto shown = [&] { return qobject_cast<QLabel*>(view)->pixmap().toImage(); };

    QTest::mouseClick(in<QPushButton>(preview, "100%"), Qt::LeftButton);
    EXPECT_EQ(preview->zoom(), PagePreviewDialog::Zoom::ActualSize);
    const QImage actual = shown();
    ASSERT_EQ(actual.size(), QSize(pngs[1].width, pngs[1].height));
    EXPECT_EQ(inkFound(pngs[1], actual), 1.0);
    // Nor is there ink where the page has none: the images are one.
    long differing = 0;
    const QImage grey = actual.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            differing += grey.constScanLine(y)[x] != pngs[1].at(x, y);
    EXPECT_EQ(differing, 0);

    QTest::mouseClick(in<QPushButton>(preview, "ページ全体"), Qt::LeftButton);
    const QImage whole = shown();
    const QSize room = preview->findChild<QScrollArea*>()->maximumViewportSize();
    EXPECT_TRUE(whole.width() <= room.width() && whole.height() <= room.height());
    EXPECT_TRUE(whole.width() == room.width() || whole.height() == room.height());
    EXPECT_GT(inkFound(pngs[1], whole), 0.9);

    QTest::mouseClick(in<QPushButton>(preview, "幅に合わせる"), Qt::LeftButton);
    const QImage wide = shown();
    EXPECT_LE(wide.width(), room.width());
    EXPECT_GT(wide.width(), room.width() - 40);
    EXPECT_GT(inkFound(pngs[1], wide), 0.9);
}

TEST_F(PagePreviewDialogTest, ReturnInTheListOpensThePreviewAndEscStaysThere)
{
    select(rowOf("short.screenplay.txt"));
    ListView* view = m_window->listView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible()) << "Esc in the list does not close the window";
    EXPECT_EQ(PagePreviewDialog::openOver(m_window.get()), nullptr);
    QTest::keyClick(view, Qt::Key_Return);
    PagePreviewDialog* preview = PagePreviewDialog::openOver(m_window.get());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("1 / 1 ページ"));
    EXPECT_TRUE(m_window->isVisible());
    // Enter again turns the same preview, no second one opens.
    select(rowOf("long.screenplay.txt"));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Enter);
    EXPECT_EQ(m_window->findChildren<PagePreviewDialog*>().size(), 1);
    EXPECT_TRUE(preview->windowTitle().contains(QStringLiteral("long")));
}

TEST_F(PagePreviewDialogTest, WithoutASelectedRowTheWindowSaysSoAndOpensNothing)
{
    list().clearSelection();
    QTest::mouseClick(
        byAccessibleName<QPushButton>(m_window.get(), QString::fromUtf8("プレビュー...")),
        Qt::LeftButton);
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text, PagePreviewModel::noSelectionMessage());
    EXPECT_EQ(PagePreviewDialog::openOver(m_window.get()), nullptr);
}

TEST_F(PagePreviewDialogTest, ChoosingAnotherScriptDrawsItsPage)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    const QImage first = preview->pageImage();
    auto* combo = in<QComboBox>(preview, "台本");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    EXPECT_EQ(preview->model().chosen(), 2);
    EXPECT_NE(preview->pageImage(), first);
    EXPECT_EQ(pageText(preview).left(2), QStringLiteral("1 "));
}

TEST_F(PagePreviewDialogTest, ThePreviewFollowsThePrintSettingsWhenTheirDialogEnds)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    auto* combo = in<QComboBox>(preview, "台本");
    ASSERT_EQ(combo->count(), 3);
    auto answered = whenModalOpens([](QWidget* dialog) {
        auto* generic = qobject_cast<QCheckBox*>(static_cast<DialogBase*>(dialog)->control(1011));
        ASSERT_NE(generic, nullptr);
        ASSERT_FALSE(generic->isChecked());
        generic->click();
        QTimer::singleShot(3000, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    QTest::mouseClick(
        byAccessibleName<QPushButton>(m_window.get(), QString::fromUtf8("印刷設定...")),
        Qt::LeftButton);
    EXPECT_TRUE(*answered);
    ASSERT_TRUE(m_app.genericScript());
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(3), QString::fromUtf8("監督用"));
}

TEST_F(PagePreviewDialogTest, EveryControlIsNamedByItsLabel)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    for (const char* label : {"前へ", "次へ", "ページ全体", "幅に合わせる", "100%", "閉じる"})
        EXPECT_NE(byAccessibleName<QPushButton>(preview, QString::fromUtf8(label)), nullptr)
            << label;
    for (QAbstractButton* control : preview->findChildren<QAbstractButton*>())
        EXPECT_EQ(control->accessibleName(), DialogBase::withoutMnemonics(control->text()));
    EXPECT_NE(byAccessibleName<QComboBox>(preview, QString::fromUtf8("台本")), nullptr);
    EXPECT_NE(byAccessibleName<QScrollArea>(preview, QString::fromUtf8("ページ")), nullptr);
    // The page number is a value: its field is named, the number is its text.
    auto* page = qobject_cast<QLineEdit*>(preview->control(PagePreviewDialog::PageLabelId));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isReadOnly());
    EXPECT_EQ(announcedName(page), QString::fromUtf8("ページ番号"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(page)->text(QAccessible::Value),
              QString::fromUtf8("1 / %1 ページ").arg(preview->model().pageCount()));
    EXPECT_EQ(announcedName(byAccessibleName<QPushButton>(m_window.get(),
                                                          QString::fromUtf8("プレビュー..."))),
              QString::fromUtf8("プレビュー..."));
}

TEST_F(PagePreviewDialogTest, AnOpenPreviewFollowsTheCurrentRowUntilItIsClosed)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    select(rowOf("short.screenplay.txt"));
    EXPECT_EQ(pageText(preview), QString::fromUtf8("1 / 1 ページ"));
    EXPECT_TRUE(preview->windowTitle().contains(QStringLiteral("short")));

    QTest::mouseClick(in<QPushButton>(preview, "閉じる"), Qt::LeftButton);
    EXPECT_EQ(PagePreviewDialog::openOver(m_window.get()), nullptr);
    // A row change no longer opens it; the button opens a fresh one.
    select(rowOf("long.screenplay.txt"));
    EXPECT_EQ(PagePreviewDialog::openOver(m_window.get()), nullptr);
    PagePreviewDialog* again = openPreviewOf("short.screenplay.txt");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(pageText(again), QString::fromUtf8("1 / 1 ページ"));
}

TEST_F(PagePreviewDialogTest, ASceneWithoutPagesSaysSoInThePagesPlace)
{
    PagePreviewDialog* preview = openPreviewOf("silent.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(pageText(preview), QString::fromUtf8("0 / 0 ページ"));
    EXPECT_FALSE(in<QPushButton>(preview, "前へ")->isEnabled());
    EXPECT_FALSE(in<QPushButton>(preview, "次へ")->isEnabled());
    auto* view = qobject_cast<QLabel*>(preview->findChild<QScrollArea*>()->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->pixmap().isNull());
    EXPECT_EQ(view->text(), QString::fromUtf8("印刷されるページはありません。"));
    // A scene with pages takes the text away again.
    select(rowOf("short.screenplay.txt"));
    EXPECT_FALSE(view->pixmap().isNull());
}

TEST_F(PagePreviewDialogTest, AZoomToggledByAScreenReaderTakesEffect)
{
    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    auto* label = qobject_cast<QLabel*>(preview->findChild<QScrollArea*>()->widget());
    ASSERT_NE(label, nullptr);
    for (const auto& [name, zoom] : {std::pair{"100%", PagePreviewDialog::Zoom::ActualSize},
                                     std::pair{"幅に合わせる", PagePreviewDialog::Zoom::FitWidth},
                                     std::pair{"ページ全体", PagePreviewDialog::Zoom::FitPage}}) {
        SCOPED_TRACE(name);
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(in<QPushButton>(preview, name));
        ASSERT_TRUE(face && face->actionInterface());
        ASSERT_TRUE(face->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(preview->zoom(), zoom);
        if (zoom == PagePreviewDialog::Zoom::ActualSize)
            EXPECT_EQ(label->size(), preview->pageImage().size());
        else
            EXPECT_LT(label->width(), preview->pageImage().width());
    }
}

TEST_F(PagePreviewDialogTest, ThePageIsDrawnInTheScreensOwnPixels)
{
    // A page of one-pixel stripes, which any scaling down and up again
    // would blur.
    QImage page(1152, 864, QImage::Format_Grayscale8);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            page.scanLine(y)[x] = x % 2 ? 0 : 255;
    const QPixmap half = PagePreviewDialog::pagePixmap(page, QSize(576, 432), 2.0);
    EXPECT_EQ(half.devicePixelRatio(), 2.0);
    EXPECT_EQ(half.size(), QSize(1152, 864));
    EXPECT_EQ(half.deviceIndependentSize(), QSizeF(576, 432));
    EXPECT_EQ(half.toImage().convertToFormat(QImage::Format_Grayscale8), page)
        << "at twice the density the page's own pixels show";
    const QPixmap scaled = PagePreviewDialog::pagePixmap(page, QSize(300, 225), 1.5);
    EXPECT_EQ(scaled.size(), QSize(450, 338));
    EXPECT_EQ(scaled.devicePixelRatio(), 1.5);
    EXPECT_TRUE(PagePreviewDialog::pagePixmap(QImage(), QSize(10, 10), 2.0).isNull());

    PagePreviewDialog* preview = openPreviewOf("long.screenplay.txt");
    ASSERT_NE(preview, nullptr);
    auto* label = qobject_cast<QLabel*>(preview->findChild<QScrollArea*>()->widget());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pixmap().devicePixelRatio(), preview->devicePixelRatioF());
    preview->setPixelRatio(2.0);
    for (const char* zoom : {"ページ全体", "幅に合わせる", "100%"}) {
        SCOPED_TRACE(zoom);
        QTest::mouseClick(in<QPushButton>(preview, zoom), Qt::LeftButton);
        const QPixmap shown = label->pixmap();
        EXPECT_EQ(shown.devicePixelRatio(), 2.0);
        EXPECT_EQ(shown.size(), label->size() * 2);
    }
}
