// UTF-8 screenplays in the catalogue: the header of a UTF-8 twin reads as
// its Shift-JIS original, and a file with characters Shift-JIS cannot hold
// is named once per load.

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "document/CatalogueHeader.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

std::string shiftJisFixture()
{
    std::ifstream in(QUILLON_TEST_DATA "/shift-jis-scene-of-every-line-kind.screenplay.txt",
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf8Of(const std::string& cp932)
{
    std::string utf8;
    EXPECT_TRUE(TextCodec::toUtf8Exact(cp932, utf8));
    return utf8;
}

struct HeaderReading {
    bool hasScene;
    std::string scene;
    Entries entries;
    bool hasTotal;
    bool operator==(const HeaderReading&) const = default;
};

HeaderReading readingOf(const CatalogueHeader& header)
{
    HeaderReading reading{header.hasScene(), std::string(header.scene()), {}, header.hasTotal()};
    for (const CatalogueHeader::Entry& entry : header.entries())
        reading.entries.emplace_back(std::string(entry.name), entry.count);
    return reading;
}

class Utf8CatalogueTest : public testing::Test {
protected:
    Utf8CatalogueTest() { UxProgressDialog::clearCancelRequest(); }

    FolderLoad load()
    {
        ScriptInfo totals;
        UxProgressDialog progress(m_progress);
        return m_catalogue.loadFolder(FCString(m_folder.path()), totals, false, progress,
                                      m_notices);
    }
    std::string names(int index) const
    {
        return m_catalogue.record(index).characterNames().toStdString();
    }
    std::vector<std::pair<std::string, SkippedFiles::Reason>> told() const
    {
        std::vector<std::pair<std::string, SkippedFiles::Reason>> entries;
        for (const SkippedFiles::Entry& entry : m_catalogue.skippedFiles().entries())
            entries.emplace_back(entry.name, entry.reason);
        return entries;
    }

    ScenarioTestFolder m_folder;
    ScriptCatalogue m_catalogue;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
};

} // namespace

TEST_F(Utf8CatalogueTest, HeadersOfUtf8TwinsReadAsTheShiftJisOriginal)
{
    const std::string shiftJis = shiftJisFixture();
    const std::string utf8 = utf8Of(shiftJis);
    m_folder.writeBytes("sjis.screenplay.txt", shiftJis);
    m_folder.writeBytes("utf8.screenplay.txt", utf8);
    m_folder.writeBytes("bom.screenplay.txt", "\xEF\xBB\xBF" + utf8);

    CatalogueHeader original;
    ASSERT_TRUE(original.load((m_folder.path() + "sjis.screenplay.txt").c_str()));
    EXPECT_FALSE(original.readAsUtf8());
    const HeaderReading expected = readingOf(original);
    ASSERT_EQ(expected.entries.size(), 3u);
    EXPECT_EQ(expected.scene, sj("表の幕間"));

    for (const char* twin : {"utf8.screenplay.txt", "bom.screenplay.txt"}) {
        CatalogueHeader header;
        ASSERT_TRUE(header.load((m_folder.path() + twin).c_str())) << twin;
        EXPECT_TRUE(header.readAsUtf8()) << twin;
        EXPECT_EQ(header.substitutions(), 0u) << twin;
        EXPECT_EQ(readingOf(header), expected) << twin;
    }
}

TEST_F(Utf8CatalogueTest, CharactersReplacedInTheBodyCountThoughOnlyTheHeaderIsRead)
{
    m_folder.writeBytes("scene.screenplay.txt",
                        ".scene\tカフェ\n.A\t1\n.total\t1\n000001 A「caf\xC3\xA9」\n");
    CatalogueHeader header;
    ASSERT_TRUE(header.load((m_folder.path() + "scene.screenplay.txt").c_str()));
    EXPECT_EQ(std::string(header.scene()), sj("カフェ"));
    EXPECT_TRUE(header.readAsUtf8());
    EXPECT_EQ(header.substitutions(), 1u);

    // A later load of a Shift-JIS file forgets it.
    m_folder.write("plain.screenplay.txt", ".scene\t普通\n.total\t0\n");
    ASSERT_TRUE(header.load((m_folder.path() + "plain.screenplay.txt").c_str()));
    EXPECT_FALSE(header.readAsUtf8());
    EXPECT_EQ(header.substitutions(), 0u);
}

TEST_F(Utf8CatalogueTest, RowsOfUtf8TwinsMatchTheShiftJisRow)
{
    const std::string shiftJis = shiftJisFixture();
    const std::string utf8 = utf8Of(shiftJis);
    m_folder.writeBytes("1.screenplay.txt", shiftJis);
    m_folder.writeBytes("2.screenplay.txt", utf8);
    m_folder.writeBytes("3.screenplay.txt", "\xEF\xBB\xBF" + utf8);
    ASSERT_EQ(load(), FolderLoad::Loaded);
    ASSERT_EQ(m_catalogue.count(), 3);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(names(index), sj("悠人,さくら,ﾏｽﾀｰ")) << index;
        EXPECT_TRUE(m_catalogue.isTicked(index)) << index;
    }
    EXPECT_TRUE(m_catalogue.skippedFiles().empty());
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(Utf8CatalogueTest, FilesWithReplacedCharactersAreNamedOncePerLoad)
{
    // Two characters Shift-JIS lacks in one file, one in the header of
    // another: each file is named once.
    m_folder.writeBytes("a.screenplay.txt",
                        ".A\t1\n.total\t1\n000001 A「\xC3\xA9\xC3\xA9」\n000002 A「\xC3\xA9」\n");
    m_folder.writeBytes("b.screenplay.txt", ".\xF0\x9F\x98\x80\t1\n.total\t1\n");
    m_folder.writeBytes("c.screenplay.txt", ".scene\t表\n.total\t0\n");
    using Reason = SkippedFiles::Reason;
    const std::vector<std::pair<std::string, Reason>> expected{
        {"a.screenplay.txt", Reason::CharactersReplaced},
        {"b.screenplay.txt", Reason::CharactersReplaced}};

    ASSERT_EQ(load(), FolderLoad::Loaded);
    auto named = told();
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, expected);
    // The replaced name still makes a character of its own.
    int b = -1;
    for (int index = 0; index < m_catalogue.count(); ++index)
        if (m_catalogue.fileName(index).toStdString() == "b.screenplay.txt")
            b = index;
    ASSERT_GE(b, 0);
    EXPECT_EQ(names(b), "\x81\xAC");

    // The next load tells them again, once each.
    ASSERT_EQ(load(), FolderLoad::Loaded);
    named = told();
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, expected);
    // Telling the user is the caller's: the load shows no notice itself.
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST(SkippedFilesTest, ReplacedCharactersAreToldApartFromFilesLeftOut)
{
    SkippedFiles files;
    files.add("u.screenplay.txt", SkippedFiles::Reason::CharactersReplaced);
    EXPECT_FALSE(files.empty());
    EXPECT_EQ(files.noticeText(), sj("次のファイルはUTF-8として読み込みました。"
                                     "Shift-JISで表せない文字は「〓」に置き換えています。\n"
                                     "u.screenplay.txt\n"));

    files.add("fifo.screenplay.txt", SkippedFiles::Reason::NotARegularFile);
    EXPECT_EQ(files.noticeText(), sj("次のファイルは読み込まれませんでした。\n"
                                     "fifo.screenplay.txt：通常のファイルではありません\n"
                                     "\n"
                                     "次のファイルはUTF-8として読み込みました。"
                                     "Shift-JISで表せない文字は「〓」に置き換えています。\n"
                                     "u.screenplay.txt\n"));
}
