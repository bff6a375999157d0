#include "app/FindFileModel.h"

#include "TestText.h"
#include "app/InputHistory.h"
#include "ui/UxListViewControl.h"

#include <array>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A list whose column 2 holds one file name per row, as the main list does.
void fillList(UxListViewControl& list, const std::vector<std::string>& fileNames)
{
    const std::array<UxListViewControl::ColumnDescriptor, 4> columns{
        {{"", 24}, {"info", 42}, {"name", 160}, {"end", -1}}};
    list.defineColumns(columns);
    for (const std::string& name : fileNames) {
        int row = list.setCell(list.rowCount(), 0, "");
        list.setCell(row, 2, name);
    }
}

std::vector<std::string> texts(const std::vector<FCString>& entries)
{
    std::vector<std::string> out;
    for (const FCString& entry : entries)
        out.push_back(entry.toStdString());
    return out;
}

// "ア" is 0x83 0x41: its trail byte is an "A", which a byte-wise lower-casing
// would turn into 0x61, making it "ヂ" (0x83 0x61).
const std::vector<std::string> FileNames = {
    "Scene02.screenplay.txt",     // 0
    "scene01.screenplay.txt",     // 1
    "SCENE01.screenplay.txt",     // 2: equal to 1 but for case
    "prologue.SCREENPLAY.TXT",    // 3
    "scene03.screenplay.txt.bak", // 4
    sj("ア.screenplay.txt"),      // 5
    sj("ヂ.screenplay.txt"),      // 6
    sj("第一話.screenplay.txt"),  // 7
    ".screenplay.txt",            // 8
};

struct FindCase {
    const char* label;
    std::string value;
    int row;
};

void PrintTo(const FindCase& c, std::ostream* os)
{
    *os << c.label;
}

class FindFileModelFindTest : public testing::TestWithParam<FindCase> {};

} // namespace

TEST_P(FindFileModelFindTest, FindsTheFirstRowWhoseFileNameMatches)
{
    UxListViewControl list;
    fillList(list, FileNames);
    EXPECT_EQ(FindFileModel::findRow(list, FCString(std::string_view(GetParam().value))),
              GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FindFileModelFindTest,
    testing::Values(FindCase{"MixedCaseValue", "Scene01", 1}, FindCase{"LowerValue", "scene02", 0},
                    FindCase{"UpperSuffixInList", "PROLOGUE", 3},
                    FindCase{"FullNameGetsTheSuffixTwice", "scene01.screenplay.txt", -1},
                    FindCase{"PrefixOnly", "scene0", -1},
                    FindCase{"ExtraExtensionInList", "scene03", -1},
                    FindCase{"DoubleByteName", sj("第一話"), 7},
                    FindCase{"TrailByteIsNotALetter", sj("ヂ"), 6},
                    FindCase{"TrailByteLetterKept", sj("ア"), 5}, FindCase{"EmptyValue", "", 8},
                    FindCase{"Missing", "scene99", -1}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.label); });

TEST(FindFileModelTest, TheRequestAsksForASceneNameWithSlotZero)
{
    InputHistory history;
    history.add(0, FCString("older"));
    history.add(0, FCString("newer"));
    history.add(1, FCString("/a folder/"));
    FindFileModel model(history);

    EXPECT_EQ(model.request().title().toStdString(), sj("シナリオ名の入力"));
    EXPECT_EQ(model.request().text().toStdString(),
              sj("*.screenplay.txt の * の部分を指定してください"));
    EXPECT_EQ(model.request().historySlot(), 0);
    EXPECT_TRUE(model.initialText().isEmpty());
    EXPECT_EQ(texts(model.historyEntries()), (std::vector<std::string>{"older", "newer"}));
    EXPECT_EQ(model.promptAreaText().toStdString(), model.request().text().toStdString());
}

TEST(FindFileModelTest, AnEmptyTextKeepsTheDialogOpenWithTheMessage)
{
    InputHistory history;
    FindFileModel model(history);

    EXPECT_FALSE(model.accept(""));
    EXPECT_EQ(model.message().toStdString(), sj("検索文字列を入力してください。"));
    EXPECT_EQ(model.promptAreaText().toStdString(), sj("検索文字列を入力してください。"));
    EXPECT_TRUE(model.value().isEmpty());
    EXPECT_TRUE(history.entries(0).empty());

    // The next OK with a text closes the dialog and the prompt comes back.
    EXPECT_TRUE(model.accept("Scene01"));
    EXPECT_TRUE(model.message().isEmpty());
    EXPECT_EQ(model.promptAreaText().toStdString(), model.request().text().toStdString());
    EXPECT_EQ(model.value().toStdString(), "Scene01");

    // Accepted texts become the newest entry of slot 0, each once.
    ASSERT_TRUE(model.accept("b"));
    ASSERT_TRUE(model.accept("Scene01"));
    EXPECT_EQ(texts(history.entries(0)), (std::vector<std::string>{"b", "Scene01"}));
    EXPECT_TRUE(history.entries(1).empty());
}

TEST(FindFileModelTest, RunSelectsAndFocusesTheRowAndKeepsOtherSelections)
{
    UxListViewControl list;
    fillList(list, FileNames);
    list.selectRow(4);

    EXPECT_EQ(FindFileModel::run(list, FCString("scene01")), 1);
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_EQ(list.focusedRow(), 1);
    EXPECT_TRUE(list.isSelected(4));
    EXPECT_FALSE(list.isSelected(2)) << "only the first equal row";

    // Nothing found: the selection and the focus stay as they were.
    EXPECT_EQ(FindFileModel::run(list, FCString("scene01.screenplay.txt")), -1);
    EXPECT_EQ(list.focusedRow(), 1);
    int selected = 0;
    for (int row = 0; row < list.rowCount(); ++row)
        selected += list.isSelected(row) ? 1 : 0;
    EXPECT_EQ(selected, 2);
}

TEST(FindFileModelTest, RowsWithoutAFileNameColumnAreSkipped)
{
    UxListViewControl list;
    const std::array<UxListViewControl::ColumnDescriptor, 2> one{{{"only", 10}, {"end", -1}}};
    list.defineColumns(one);
    list.setCell(0, 0, "scene01.screenplay.txt");
    EXPECT_EQ(FindFileModel::findRow(list, FCString("scene01")), -1);
    UxListViewControl empty;
    EXPECT_EQ(FindFileModel::run(empty, FCString("scene01")), -1);
}
