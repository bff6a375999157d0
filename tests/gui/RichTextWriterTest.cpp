#include "gui/RichTextWriter.h"

#include "TestText.h"

#include <QTextBlock>
#include <QTextEdit>
#include <QTextFragment>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct FormatRun {
    QString text;
    QColor colour; // invalid: the box's own colour
    bool bold;
    bool italic;
    bool underline;
    bool strikeOut;
};

// The text box's content as runs of one format, block separators as "\n".
std::vector<FormatRun> runsOf(const QTextEdit& edit)
{
    std::vector<FormatRun> runs;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        if (block != edit.document()->begin())
            runs.push_back({"\n", {}, false, false, false, false});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush)
                                      ? format.foreground().color()
                                      : QColor();
            runs.push_back({fragment.text(), colour, format.fontWeight() == QFont::Bold,
                            format.fontItalic(), format.fontUnderline(), format.fontStrikeOut()});
        }
    }
    return runs;
}

} // namespace

TEST(RichTextWriterTest, PiecesGoInWithTheirFormats)
{
    QTextEdit edit;
    RichTextWriter::write(&edit, sj("前【0xFF0000,B】赤太【I】赤斜【-】元"));
    const std::vector<FormatRun> runs = runsOf(edit);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, QString::fromUtf8("前"));
    EXPECT_FALSE(runs[0].colour.isValid());
    EXPECT_FALSE(runs[0].bold);
    EXPECT_EQ(runs[1].text, QString::fromUtf8("赤太"));
    EXPECT_EQ(runs[1].colour, QColor(0xFF, 0, 0));
    EXPECT_TRUE(runs[1].bold);
    EXPECT_EQ(runs[2].text, QString::fromUtf8("赤斜"));
    EXPECT_EQ(runs[2].colour, QColor(0xFF, 0, 0)) << "the colour holds";
    EXPECT_FALSE(runs[2].bold) << "bold ends at the next block";
    EXPECT_TRUE(runs[2].italic);
    EXPECT_EQ(runs[3].text, QString::fromUtf8("元"));
    EXPECT_FALSE(runs[3].colour.isValid());
    for (const FormatRun& run : runs)
        EXPECT_FALSE(run.strikeOut);
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("前赤太赤斜元"));
}

TEST(RichTextWriterTest, AWriteReplacesWhatTheBoxHeld)
{
    QTextEdit edit;
    edit.setHtml("<s>struck</s> old text");
    RichTextWriter::write(&edit, sj("【U】新しい\n二行目"));
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("新しい\n二行目"));
    for (const FormatRun& run : runsOf(edit)) {
        if (run.text != "\n") {
            EXPECT_TRUE(run.underline) << run.text.toStdString();
            EXPECT_FALSE(run.strikeOut);
        }
    }
    RichTextWriter::write(&edit, "");
    EXPECT_EQ(edit.toPlainText(), QString());
}

TEST(RichTextWriterTest, PlainHelpTextsAppearAsTheyAre)
{
    QTextEdit edit;
    const std::string help = sj("フォントサイズ：8～72\tポイント <b>not html</b>");
    RichTextWriter::write(&edit, help);
    EXPECT_EQ(edit.toPlainText(),
              QString::fromUtf8("フォントサイズ：8～72\tポイント <b>not html</b>"));
    ASSERT_EQ(runsOf(edit).size(), 1u);
    EXPECT_FALSE(runsOf(edit)[0].bold);
}

TEST(RichTextWriterTest, OtherMarksCanBeGiven)
{
    QTextEdit edit;
    RichTextWriter::write(&edit, "a{b}bold{}plain", "{", "}");
    const std::vector<FormatRun> runs = runsOf(edit);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].text, QString("bold"));
    EXPECT_TRUE(runs[1].bold);
    EXPECT_FALSE(runs[2].bold);
}
