#include "fc/UxRnf.h"

#include "AppTestFolder.h"
#include "TestText.h"
#include "fc/CannotOpenException.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/FileSystem.h"
#include "platform/TextCollator.h"
#include "platform/WinError.h"

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

class UxRnfTest : public AppTestFolder {
protected:
    std::string path() const { return at("test.rnf"); }

    // The lines of a written file, each checked to end in a single LF.
    std::vector<std::string> linesOf(const std::string& name) const
    {
        std::string text = contentsOf(name);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_TRUE(text.empty() || text.back() == '\n');
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static std::string textOf(const UxRnf& store, const char* key)
    {
        FCString value;
        if (!store.getText(key, value))
            return "<missing>";
        return value.toStdString();
    }
};

} // namespace

TEST_F(UxRnfTest, SavedLinesFollowTheKeyOrderOfTheCollator)
{
    {
        UxRnf store;
        store.setText("b", "2");
        store.setText("a", "1");
        store.setText("c", "3");
        store.save(path().c_str());
    }
    EXPECT_EQ(contentsOf("test.rnf"), "a=1\nb=2\nc=3\n");

    std::vector<std::string> keys = {
        "NPChara2", "NPChara10", "NPChara1", "NPNumber", "custom.fontSize",
        "B",        "a",         "mode",     "A",        "NPChara0"};
    {
        UxRnf store;
        for (const std::string& key : keys)
            store.setText(key.c_str(), "x");
        store.save(path().c_str());
    }
    std::vector<std::string> lines = linesOf("test.rnf");
    ASSERT_EQ(lines.size(), keys.size());
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string before = lines[i - 1].substr(0, lines[i - 1].find('='));
        std::string after = lines[i].substr(0, lines[i].find('='));
        EXPECT_LT(TextCollator::compare(before, after), 0) << before << " / " << after;
    }
}

TEST_F(UxRnfTest, ReadingIsLenient)
{
    struct Case {
        const char* file;
        const char* key;
        std::string value;
    } cases[] = {
        {"  key = some value\tcomment\n", "key", "some value"},
        {"key==x=y\n", "key", "x=y"},
        {"key\tvalue\n", "key", "value"},
        {"key\n", "key", ""},
        {"key=value  \n", "key", "value  "},
        {"\r\n\r\n;key=comment\r\nkey=v\r\r", "key", "v"},
        {"a=1\rkey=2\rb=3", "key", "2"},
        {"\t\x81\x40key=full-width blank\n", "key", "full-width blank"},
        {"mode=1\nmode=2\n", "mode", "1"},
        {";mode=1\n", "mode", "<missing>"},
    };
    for (const Case& c : cases) {
        writeFile("test.rnf", c.file);
        UxRnf store;
        EXPECT_TRUE(store.load(path().c_str())) << c.file;
        EXPECT_EQ(textOf(store, c.key), c.value) << c.file;
        store.setAutoSave(false);
    }
}

TEST_F(UxRnfTest, DoubleByteTextIsReadCharacterWise)
{
    // 表 is 0x95 0x5C and ソ is 0x83 0x5C: their trail bytes are no
    // delimiters.
    writeFile("test.rnf", sj("名前=表ソ 値\tコメント\n"));
    UxRnf store;
    ASSERT_TRUE(store.load(path().c_str()));
    FCString value;
    ASSERT_TRUE(store.getText(sj("名前").c_str(), value));
    EXPECT_EQ(value.toStdString(), sj("表ソ 値"));
}

TEST_F(UxRnfTest, LoadBindsThePathEvenWhenTheFileIsMissingOrEmpty)
{
    {
        UxRnf store;
        EXPECT_FALSE(store.load(path().c_str()));
        EXPECT_EQ(store.path().toStdString(), path());
    }
    // Auto-save leaves an empty file behind.
    ASSERT_TRUE(exists("test.rnf"));
    EXPECT_EQ(contentsOf("test.rnf"), "");

    UxRnf store;
    EXPECT_FALSE(store.load(path().c_str()));
    EXPECT_EQ(store.path().toStdString(), path());

    UxRnf unbound;
    EXPECT_FALSE(unbound.load(nullptr));
    EXPECT_TRUE(unbound.path().isEmpty());
}

TEST_F(UxRnfTest, LoadClearsTheStoreFirst)
{
    writeFile("test.rnf", "a=1\n");
    UxRnf store;
    store.setText("old", "x");
    ASSERT_TRUE(store.load(path().c_str()));
    EXPECT_FALSE(store.contains("old"));
    EXPECT_EQ(store.count(), 1);
}

TEST_F(UxRnfTest, DestructionWritesTheNormalisedFile)
{
    writeFile("test.rnf", "  zeta = 1\t;c\r\n;note\r\n\r\nalpha==2\r\nzeta=3\r\n");
    {
        UxRnf store;
        ASSERT_TRUE(store.load(path().c_str()));
        store.setNumber("beta", -7);
    }
    EXPECT_EQ(contentsOf("test.rnf"), "alpha=2\nbeta=-7\nzeta=1\n");

    {
        UxRnf store;
        store.load(path().c_str());
        store.setAutoSave(false);
        store.setText("gamma", "no");
    }
    EXPECT_EQ(contentsOf("test.rnf"), "alpha=2\nbeta=-7\nzeta=1\n");
}

TEST_F(UxRnfTest, IndexedKeysAppendTheDecimalIndex)
{
    UxRnf store;
    store.setText("defaultFont", "f0", 0);
    store.setNumber("NPChara", 5, 12);
    EXPECT_EQ(textOf(store, "defaultFont0"), "f0");
    EXPECT_EQ(textOf(store, "NPChara12"), "5");
    FCString value;
    EXPECT_TRUE(store.getText("defaultFont", 0, value));
    EXPECT_FALSE(store.getText("defaultFont", 1, value));
    store.remove("NPChara", 12);
    EXPECT_FALSE(store.contains("NPChara12"));
}

TEST_F(UxRnfTest, NumbersAreReadLikeToInteger)
{
    writeFile("test.rnf", "dec=-42\nhex=0x1F\nbin=0b101\ntext=abc\nlead=12px\n");
    UxRnf store;
    ASSERT_TRUE(store.load(path().c_str()));
    std::pair<const char*, int32_t> expected[] = {
        {"dec", -42}, {"hex", 31}, {"bin", 5}, {"text", 0}, {"lead", 12}};
    for (const auto& [key, number] : expected) {
        int32_t out = 99;
        EXPECT_TRUE(store.getNumber(key, out)) << key;
        EXPECT_EQ(out, number) << key;
    }
    int32_t untouched = 99;
    EXPECT_FALSE(store.getNumber("missing", untouched));
    EXPECT_EQ(untouched, 99);
    store.setAutoSave(false);
}

TEST_F(UxRnfTest, NumberWithDefaultStoresTheDefaultOnlyWhenAsked)
{
    UxRnf store;
    store.setNumber("present", 3);
    int32_t out = 0;
    EXPECT_TRUE(store.getNumber(out, "present", 9, -1, true));
    EXPECT_EQ(out, 3);

    EXPECT_FALSE(store.getNumber(out, "quiet", 9));
    EXPECT_EQ(out, 9);
    EXPECT_FALSE(store.contains("quiet"));

    EXPECT_FALSE(store.getNumber(out, "stored", 11, 2, true));
    EXPECT_EQ(out, 11);
    EXPECT_EQ(textOf(store, "stored2"), "11");
}

TEST_F(UxRnfTest, ValuesAreCutAtTabsAndLineBreaks)
{
    {
        UxRnf store;
        store.setText("tab", "a\tb");
        store.setText("lf", "first\nnext=1");
        store.setText("cr", "first\rsecond");
        // ソ has the trail byte 0x5C; its pair is no TAB.
        store.setText("sjis", std::string_view(sj("ソ値")));
        store.save(path().c_str());
    }
    EXPECT_EQ(contentsOf("test.rnf"), "cr=first\nlf=first\n" + sj("sjis=ソ値") + "\ntab=a\n");
    UxRnf store;
    ASSERT_TRUE(store.load(path().c_str()));
    EXPECT_EQ(store.count(), 4);
    EXPECT_FALSE(store.contains("next"));
}

TEST_F(UxRnfTest, SaveOfAnEmptyStoreWritesOrDeletes)
{
    writeFile("test.rnf", "a=1\n");
    {
        UxRnf store;
        store.load(path().c_str());
        store.remove("a");
        store.save();
        EXPECT_EQ(contentsOf("test.rnf"), "");
        store.save(nullptr, true);
        EXPECT_FALSE(exists("test.rnf"));
        store.setAutoSave(false);
    }

    writeFile("test.rnf", "a=1\n");
    ASSERT_EQ(FileSystem::setAttributes(path(), FileSystem::AttributeReadOnly), WinError::Success);
    UxRnf store;
    store.save(path().c_str(), true);
    EXPECT_FALSE(exists("test.rnf"));
    EXPECT_EQ(store.path().toStdString(), path());
    EXPECT_TRUE(m_prompt.questions().empty());
    store.setAutoSave(false);
}

TEST_F(UxRnfTest, SaveWithoutPathOnAnUnboundStoreDoesNothing)
{
    UxRnf store;
    store.setText("a", "1");
    store.save();
    EXPECT_TRUE(store.path().isEmpty());
    EXPECT_TRUE(fs::is_empty(m_folder));
}

TEST_F(UxRnfTest, IniImportUsesSectionsAndTheLastOccurrence)
{
    writeFile("old.ini", "top=0\n[system]\nsx=5\n ; remark\nsx=6\n[ other ]\nkey = a b\n"
                         "[]\nbare=1\n[bad name]\nlost=1\n");
    UxRnf store;
    EXPECT_TRUE(store.importIni(at("old.ini").c_str()));
    EXPECT_EQ(textOf(store, ".top"), "0");
    EXPECT_EQ(textOf(store, "system.sx"), "6");
    EXPECT_EQ(textOf(store, "other.key"), "a b");
    EXPECT_EQ(textOf(store, ".bare"), "1");
    // A section name with a blank would make a key the file cannot hold.
    EXPECT_EQ(store.count(), 4);
    // An unbound store takes the INI's name with the new extension.
    EXPECT_EQ(store.path().toStdString(), at("old.configuration"));
    store.setAutoSave(false);
}

TEST_F(UxRnfTest, IniImportKeepsTheStoreAndItsPath)
{
    writeFile("old.ini", "[s]\na=new\n");
    UxRnf store;
    store.load(path().c_str());
    store.setText("s.a", "old");
    store.setText("keep", "1");
    EXPECT_TRUE(store.importIni(at("old.ini").c_str()));
    EXPECT_EQ(textOf(store, "s.a"), "new");
    EXPECT_EQ(textOf(store, "keep"), "1");
    EXPECT_EQ(store.path().toStdString(), path());
    EXPECT_FALSE(store.importIni(at("missing.ini").c_str()));
    store.setAutoSave(false);
}

TEST_F(UxRnfTest, RemoveIndexedCostsNoMoreThanTheEntries)
{
    UxRnf store;
    for (int i = 0; i < 3; ++i)
        store.setText("NPChara", "x", i);
    store.setText("NPChara05", "kept");
    store.setText("NPCharaX", "kept");
    store.setText("NPNumber", "kept");
    store.setText("NPChara", "kept", 9);

    store.removeIndexed("NPChara", 9);
    EXPECT_FALSE(store.contains("NPChara0"));
    EXPECT_FALSE(store.contains("NPChara2"));
    EXPECT_TRUE(store.contains("NPChara9"));

    store.setText("NPChara", "x", 1);
    // A hand-edited count as large as it gets goes through the entries.
    store.removeIndexed("NPChara", 2147483647);
    EXPECT_FALSE(store.contains("NPChara1"));
    EXPECT_FALSE(store.contains("NPChara9"));
    EXPECT_TRUE(store.contains("NPChara05"));
    EXPECT_TRUE(store.contains("NPCharaX"));
    EXPECT_TRUE(store.contains("NPNumber"));
    store.removeIndexed("NPChara", -1);
    EXPECT_EQ(store.count(), 3);
}

TEST_F(UxRnfTest, GarbageIsReadAsFarAsItGoesAndWrittenBackWhole)
{
    std::string garbage = "first=1\n";
    garbage += std::string("\x00\x01\xFF=\x82\x00z\n", 8);
    // UTF-8 あ ends in 0x82, a lead byte in Shift-JIS.
    garbage += "name=\xE3\x81\x82\nmode=2\n";
    garbage += "\x82\x0D\x0A";
    garbage += std::string(1000, '\xFC');
    garbage += "\nlast=\x81";
    writeFile("test.rnf", garbage);

    int32_t count = 0;
    {
        UxRnf store;
        ASSERT_TRUE(store.load(path().c_str()));
        EXPECT_EQ(textOf(store, "first"), "1");
        EXPECT_EQ(textOf(store, "mode"), "2");
        EXPECT_EQ(textOf(store, "name"), "\xE3\x81\x82");
        EXPECT_EQ(textOf(store, "last"), "\x81");
        count = store.count();
    }
    std::string written = contentsOf("test.rnf");
    UxRnf again;
    ASSERT_TRUE(again.load(path().c_str()));
    EXPECT_EQ(again.count(), count);
    EXPECT_EQ(again.fileText(), written);
    EXPECT_TRUE(m_prompt.questions().empty());
}

TEST_F(UxRnfTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    writeFile("test.rnf", "a=1\nb=2\n");
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied);
    m_prompt.push(Prompt::Answer::Cancel);
    {
        UxRnf store;
        EXPECT_THROW(store.load(path().c_str()), CannotOpenException);
        EXPECT_TRUE(store.path().isEmpty());
    }
    EXPECT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(contentsOf("test.rnf"), "a=1\nb=2\n");
}

TEST_F(UxRnfTest, AFileTooLargeForAStringIsLeftAlone)
{
    // Sparse: no disk space is taken.
    writeFile("test.rnf", "a=1\n");
    std::error_code error;
    fs::resize_file(path(), (uintmax_t(1) << 31) + 16, error);
    if (error)
        GTEST_SKIP() << "no sparse file here";
    {
        UxRnf store;
        EXPECT_THROW(store.load(path().c_str()), NotEnoughMemoryException);
    }
    EXPECT_EQ(fs::file_size(path()), (uintmax_t(1) << 31) + 16);
}

TEST_F(UxRnfTest, AFolderInTheWayIsNotBound)
{
    fs::create_directory(path());
    UxRnf store;
    EXPECT_FALSE(store.load(path().c_str()));
    EXPECT_TRUE(store.path().isEmpty());
}
