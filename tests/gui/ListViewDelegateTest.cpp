#include "gui/ListViewDelegate.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QColor White(0xFF, 0xFF, 0xFF);
const QColor Frame(0x00, 0x00, 0xFF);
const QColor Fill(0xFF, 0x00, 0x00);
const QColor OnFill(0x00, 0xFF, 0x00);
const QColor OnRest(0xFF, 0xFF, 0x00);
const QColor Inside(0xE0, 0xE0, 0xE0);
const QColor Shadow(0x00, 0x00, 0x00);

QImage gauge(QSize size, int percent, const QString& label)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(White);
    QPainter painter(&image);
    // Without smoothing every drawn pixel has exactly one of the colours.
    QFont font;
    font.setPixelSize(size.height() - 8);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    ListViewDelegate::paintGauge(&painter, QRect(QPoint(0, 0), size), percent, label,
                                 {Frame, Fill, OnFill, OnRest});
    return image;
}

int countColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                ++count;
        }
    }
    return count;
}

} // namespace

TEST(ListViewDelegateTest, AGaugeIsFramedShadedAndFilledToItsPercent)
{
    // A 100 x 20 cell: frame (2,0)-(97,17), inside (3,1)-(96,16), the
    // filled part from (4,2), 46 of 93 pixels wide at 50 percent.
    const QImage image = gauge(QSize(100, 20), 50, QString());
    struct Probe {
        int x, y;
        QColor expected;
        const char* what;
    };
    const Probe probes[] = {
        {1, 5, White, "left margin"},
        {98, 5, White, "right margin"},
        {50, 18, White, "bottom margin"},
        {2, 0, Frame, "frame top left"},
        {97, 17, Frame, "frame bottom right"},
        {50, 0, Frame, "frame top"},
        {3, 1, Shadow, "shadow corner"},
        {3, 12, Shadow, "shadow left"},
        {60, 1, Shadow, "shadow top"},
        {4, 2, Fill, "fill start"},
        {49, 16, Fill, "fill end"},
        {50, 10, Inside, "unfilled start"},
        {96, 16, Inside, "unfilled end"},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(image.pixelColor(p.x, p.y), p.expected) << p.what << " at " << p.x << "," << p.y;

    const QImage empty = gauge(QSize(100, 20), 0, QString());
    EXPECT_EQ(empty.pixelColor(4, 2), Inside);
    const QImage full = gauge(QSize(100, 20), 100, QString());
    EXPECT_EQ(full.pixelColor(96, 16), Fill);
}

TEST(ListViewDelegateTest, TheGaugeLabelChangesColourWhereTheFillEnds)
{
    const QImage image = gauge(QSize(240, 40), 50, QStringLiteral("MMMMMMMMMMMM"));
    // Inside (3,1)-(236,36); filled from x 4 for (233 * 50 / 100) = 116
    // pixels, so up to x 119; the rest from x 120.
    const QRect filled(4, 2, 116, 35);
    const QRect rest(120, 2, 117, 35);
    EXPECT_GT(countColour(image, filled, OnFill), 0);
    EXPECT_GT(countColour(image, rest, OnRest), 0);
    EXPECT_EQ(countColour(image, filled, OnRest), 0);
    EXPECT_EQ(countColour(image, rest, OnFill), 0);
}

TEST(ListViewDelegateTest, ACellTooSmallForAGaugeDrawsNothing)
{
    const QImage image = gauge(QSize(4, 2), 100, QStringLiteral("100%"));
    EXPECT_EQ(countColour(image, image.rect(), White), 8);
}
