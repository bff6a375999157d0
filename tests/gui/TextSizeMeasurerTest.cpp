#include "gui/TextSizeMeasurer.h"

#include "TestText.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

TEST(TextSizeMeasurerTest, LaysOutEachOneLineTextOnceInTheLatestFont)
{
    TextSizeMeasurer measurer;
    QFont small;
    small.setPixelSize(12);
    measurer.setFont(small);
    // Text with a line break or a tab is shown otherwise than as one line.
    for (const std::string& text :
         {std::string("scene-01.txt"), sj("第二話.screenplay.txt"), std::string("scene-01.txt"),
          std::string("two\nlines"), std::string("a\ttab"), std::string("")})
        measurer.add(text);
    TextSizeMeasurer::Sizes taken = measurer.take();
    EXPECT_EQ(taken.font, small);
    ASSERT_EQ(taken.sizes.size(), 3);
    // Sizes go by the text as the list holds it (CP932).
    const QString ascii = QStringLiteral("scene-01.txt");
    const QString japanese = QString::fromUtf8("第二話.screenplay.txt");
    for (const QString& text : {ascii, japanese}) {
        const std::string cp932 = sj(text.toStdString());
        const QSizeF size = taken.sizes.value(QByteArray::fromStdString(cp932));
        EXPECT_EQ(size, TextSizeMeasurer::layOut(text, small)) << text.toStdString();
        EXPECT_NEAR(size.width(), QFontMetricsF(small).horizontalAdvance(text), 1.0);
        EXPECT_GE(size.height(), QFontMetricsF(small).height() - 1);
    }
    ASSERT_TRUE(taken.sizes.contains(QByteArray()));
    EXPECT_EQ(taken.sizes.value(QByteArray()).width(), 0);

    // Handed over: nothing is left, and a text added again is laid out
    // again, in the font of the moment.
    EXPECT_TRUE(measurer.take().sizes.isEmpty());
    QFont large = small;
    large.setPixelSize(24);
    measurer.add("scene-01.txt");
    measurer.setFont(large);
    measurer.add("scene-01.txt");
    taken = measurer.take();
    EXPECT_EQ(taken.font, large);
    ASSERT_EQ(taken.sizes.size(), 1);
    const QByteArray key("scene-01.txt");
    EXPECT_EQ(taken.sizes.value(key), TextSizeMeasurer::layOut(ascii, large));
    EXPECT_GT(taken.sizes.value(key).width(), TextSizeMeasurer::layOut(ascii, small).width());
}
