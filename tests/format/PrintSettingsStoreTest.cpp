#include "format/PrintSettingsStore.h"

#include "AppTestFolder.h"
#include "TestText.h"
#include "fc/UxRnf.h"
#include "format/PrintFormat.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace {

class PrintSettingsStoreTest : public AppTestFolder {
protected:
    std::string file() const { return at(PrintSettingsStore::FileName); }
    std::string folder() const { return m_folder + "/"; }

    static std::vector<FCString> names(std::initializer_list<std::string> list)
    {
        std::vector<FCString> out;
        for (const std::string& name : list)
            out.emplace_back(std::string_view(name));
        return out;
    }

    static std::vector<std::string> suppressed(const PrintFormat& format)
    {
        std::vector<std::string> out;
        for (const FCString& name : format.suppressedNames())
            out.push_back(name.toStdString());
        return out;
    }

    // A format in which every field differs from its initial value.
    static PrintFormat changedFormat()
    {
        PrintFormat format;
        format.setMode(PrintFormat::ModeCustom);
        format.setDefaultFont(0, FCString(std::string_view(sj("@游ゴシック"))));
        format.setDefaultFont(1, FCString("@d1"));
        format.setDefaultFont(2, FCString("@d2"));
        format.setCustomFont(0, FCString("@c0"), 100);
        format.setCustomFont(1, FCString("@c1"), 200);
        format.setCustomFont(2, FCString(std::string_view(sj("@表ソ明朝"))), 300);
        format.setCustomFontSize(12);
        format.setCustomLineWidth(18);
        format.setCustomLinesPerPage(53);
        format.setCustomCharsPerLine(48);
        format.setFlags(PrintFormat::FlagGeneric | PrintFormat::FlagAutoCalc | 0x80000000u);
        format.setDevice(OutputDevice::Bmp);
        format.setLogName(FCString(std::string_view(sj("/ログ/run.txt"))));
        format.setDestFolder(FCString("/pages/"));
        format.setCustomModeEmphasis(PrintFormat::EmphasisMesh3);
        format.setCustomColEmphasis(200);
        format.setBundleByActor(true);
        format.setTypesetting({TypesettingOptions::LineBreaking::Loose, true, true});
        format.rebuildSuppressed(names({sj("モブ"), "Extra"}));
        return format;
    }
};

void expectSameFormat(const PrintFormat& a, const PrintFormat& b)
{
    EXPECT_EQ(a.mode(), b.mode());
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        EXPECT_EQ(a.defaultFont(face), b.defaultFont(face)) << face;
        EXPECT_EQ(a.customFontName(face), b.customFontName(face)) << face;
        EXPECT_EQ(a.customWeight(face), b.customWeight(face)) << face;
    }
    EXPECT_EQ(a.customFontSize(), b.customFontSize());
    EXPECT_EQ(a.customLineWidth(), b.customLineWidth());
    EXPECT_EQ(a.customLinesPerPage(), b.customLinesPerPage());
    EXPECT_EQ(a.customCharsPerLine(), b.customCharsPerLine());
    EXPECT_EQ(a.flags(), b.flags());
    EXPECT_EQ(a.device(), b.device());
    EXPECT_EQ(a.logName(), b.logName());
    EXPECT_EQ(a.destFolder(), b.destFolder());
    EXPECT_EQ(a.suppressedText(), b.suppressedText());
    EXPECT_EQ(a.customModeEmphasis(), b.customModeEmphasis());
    EXPECT_TRUE(a.typesetting() == b.typesetting());
    EXPECT_EQ(a.customColEmphasis(), b.customColEmphasis());
    EXPECT_EQ(a.bundleByActor(), b.bundleByActor());
}

} // namespace

TEST_F(PrintSettingsStoreTest, PathIsTheFolderFollowedByTheFileName)
{
    EXPECT_EQ(PrintSettingsStore::pathIn(FCString("/scenes/")).toStdString(),
              "/scenes/quillon.settings.rnf");
}

TEST_F(PrintSettingsStoreTest, EveryFieldSurvivesARoundTrip)
{
    PrintFormat saved = changedFormat();
    PrintSettingsStore::save(saved, file().c_str());

    std::string text = contentsOf(PrintSettingsStore::FileName);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("\nmode=0\n"), std::string::npos);
    EXPECT_NE(text.find("\nflags=-2130706430\n"), std::string::npos);
    EXPECT_NE(text.find("\ncustom.colEmphasis=200\n"), std::string::npos);
    EXPECT_NE(text.find(sj("NPChara0=モブ\n")), std::string::npos);
    EXPECT_NE(text.find("\nNPNumber=2\n"), std::string::npos);

    PrintFormat loaded;
    PrintSettingsStore::load(loaded, file().c_str());
    expectSameFormat(loaded, saved);
    EXPECT_TRUE(loaded.isSuppressed("Extra"));
    // Load writes the file back unchanged in content.
    EXPECT_EQ(contentsOf(PrintSettingsStore::FileName), text);
}

TEST_F(PrintSettingsStoreTest, SaveKeepsKeysOfOtherOrigins)
{
    writeFile(PrintSettingsStore::FileName, "zz.other=keep me\nmode=3\n");
    PrintSettingsStore::save(PrintFormat(), file().c_str());
    std::string text = contentsOf(PrintSettingsStore::FileName);
    EXPECT_NE(text.find("zz.other=keep me\n"), std::string::npos);
    EXPECT_NE(text.find("mode=1\n"), std::string::npos);
    EXPECT_EQ(text.find("mode=3"), std::string::npos);
}

TEST_F(PrintSettingsStoreTest, SavingNoNamesRemovesTheOnesTheLastSaveWrote)
{
    writeFile(PrintSettingsStore::FileName,
              "NPChara0=a\nNPChara1=b\nNPChara2=c\nNPChara3=hand\nNPNumber=3\n");
    PrintSettingsStore::save(PrintFormat(), file().c_str());
    UxRnf store;
    store.load(file().c_str());
    store.setAutoSave(false);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(store.contains("NPChara", i)) << i;
    EXPECT_TRUE(store.contains("NPChara3"));
    int32_t count = -1;
    EXPECT_TRUE(store.getNumber("NPNumber", count));
    EXPECT_EQ(count, 0);
}

TEST_F(PrintSettingsStoreTest, HandEditedNamesBeyondTheSavedOnesStay)
{
    writeFile(PrintSettingsStore::FileName,
              "NPChara0=n0\nNPChara1=n1\nNPChara2=n2\nNPChara3=n3\nNPChara4=n4\n");
    PrintFormat format;
    format.rebuildSuppressed(names({"new0", "new1"}));
    PrintSettingsStore::save(format, file().c_str());

    PrintFormat loaded;
    PrintSettingsStore::load(loaded, file().c_str());
    EXPECT_EQ(suppressed(loaded), (std::vector<std::string>{"new0", "new1", "n2", "n3", "n4"}));
}

TEST_F(PrintSettingsStoreTest, NamesStopAtTheFirstGap)
{
    writeFile(PrintSettingsStore::FileName, "NPChara0=first\nNPChara2=third\nNPNumber=3\n");
    PrintFormat format;
    format.rebuildSuppressed(names({"old"}));
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_EQ(suppressed(format), (std::vector<std::string>{"first"}));
    EXPECT_EQ(format.suppressedText().toStdString(), "first\n");
}

TEST_F(PrintSettingsStoreTest, LoadedValuesAreTakenAsTheFileHasThem)
{
    writeFile(PrintSettingsStore::FileName,
              "custom.colEmphasis=300\nmode=7\ncustom.modeEmphasis=-1\ndevice=0x1\n");
    PrintFormat format;
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_EQ(format.customColEmphasis(), 44);
    EXPECT_EQ(format.mode(), 7);
    EXPECT_EQ(format.fontSize(), 14);
    EXPECT_EQ(format.linesPerPage(), 47);
    EXPECT_EQ(format.targetFace(), format.defaultFont(0));
    EXPECT_EQ(format.customModeEmphasis(), -1);
    EXPECT_EQ(format.device(), OutputDevice::Bmp);
}

TEST_F(PrintSettingsStoreTest, MissingKeysLeaveFieldsAsTheyWere)
{
    PrintFormat before = changedFormat();
    PrintFormat format = before;
    writeFile(PrintSettingsStore::FileName, "custom.fontName1=@only\n");
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_EQ(format.customFontName(1).toStdString(), "@only");
    EXPECT_EQ(format.customWeight(1), before.customWeight(1));
    // The automatic calculation flag stays without a flags key.
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagAutoCalc));
    format.setCustomFont(1, before.customFontName(1), before.customWeight(1));
    // No NPChara keys: the suppressed characters are cleared.
    EXPECT_TRUE(format.suppressedNames().empty());
    format.rebuildSuppressed(before.suppressedNames());
    expectSameFormat(format, before);
}

TEST_F(PrintSettingsStoreTest, AFolderWithoutSettingsGetsAnEmptyFile)
{
    PrintFormat format;
    PrintSettingsStore::load(format, PrintSettingsStore::pathIn(FCString(folder().c_str())).text());
    ASSERT_TRUE(exists(PrintSettingsStore::FileName));
    EXPECT_EQ(contentsOf(PrintSettingsStore::FileName), "");
    expectSameFormat(format, PrintFormat());
}

TEST_F(PrintSettingsStoreTest, AbsentPathDoesNothing)
{
    PrintFormat format = changedFormat();
    PrintSettingsStore::save(format, nullptr);
    PrintSettingsStore::save(format, "");
    PrintSettingsStore::load(format, nullptr);
    PrintSettingsStore::load(format, "");
    expectSameFormat(format, changedFormat());
    EXPECT_TRUE(std::filesystem::is_empty(m_folder));
}

TEST_F(PrintSettingsStoreTest, ABrokenFileLosesNothingThatCanBeRead)
{
    std::string broken = "mode=2\n";
    broken += std::string("\x00\xFF\x82", 3);
    broken += "\nzz.mine=1\ncustom.fontSize=1";
    broken += std::string("\x00", 1);
    broken += "9\ndestFolder=/cut/\x81";
    writeFile(PrintSettingsStore::FileName, broken);

    PrintFormat format;
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_EQ(format.mode(), 2);
    EXPECT_EQ(format.customFontSize(), 1);
    EXPECT_EQ(format.destFolder().toStdString(), "/cut/\x81");
    EXPECT_TRUE(m_prompt.questions().empty());

    UxRnf store;
    store.load(file().c_str());
    store.setAutoSave(false);
    EXPECT_TRUE(store.contains("zz.mine"));
    EXPECT_TRUE(store.contains("mode"));
    EXPECT_EQ(store.count(), 5);
}

TEST_F(PrintSettingsStoreTest, ASettingsFileThatIsNoFileIsNeitherReadNorWritten)
{
    // A folder, and a FIFO that would hang a read with a writer behind it.
    std::filesystem::create_directory(file());
    const std::string fifo = at("fifo.rnf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {file(), fifo}) {
        PrintFormat format = changedFormat();
        EXPECT_FALSE(PrintSettingsStore::load(format, path.c_str())) << path;
        expectSameFormat(format, changedFormat());
    }
    EXPECT_TRUE(std::filesystem::is_directory(file()));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(m_prompt.questions().empty());

    PrintFormat format;
    EXPECT_TRUE(PrintSettingsStore::load(format, at("missing.rnf").c_str()));
    writeFile(PrintSettingsStore::FileName + std::string(".2"), "mode=3\n");
    EXPECT_TRUE(PrintSettingsStore::load(format, at("quillon.settings.rnf.2").c_str()));
    EXPECT_EQ(format.mode(), 3);
}

TEST_F(PrintSettingsStoreTest, PdfDeviceAndBundlingHaveKeysOfTheirOwn)
{
    PrintFormat format;
    format.setDevice(OutputDevice::Pdf);
    format.setBundleByActor(true);
    PrintSettingsStore::save(format, file().c_str());
    const std::string saved = contentsOf(PrintSettingsStore::FileName);
    EXPECT_NE(saved.find("device=3\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("pdf.bundleByActor=1\n"), std::string::npos) << saved;

    PrintFormat loaded;
    PrintSettingsStore::load(loaded, file().c_str());
    EXPECT_EQ(loaded.device(), OutputDevice::Pdf);
    EXPECT_TRUE(loaded.bundleByActor());

    format.setBundleByActor(false);
    PrintSettingsStore::save(format, file().c_str());
    EXPECT_NE(contentsOf(PrintSettingsStore::FileName).find("pdf.bundleByActor=0\n"),
              std::string::npos);
    PrintSettingsStore::load(loaded, file().c_str());
    EXPECT_FALSE(loaded.bundleByActor());
}

TEST_F(PrintSettingsStoreTest, FilesWithoutTheBundlingKeyReadAsBefore)
{
    // A file of an earlier version: no bundling key, a file device.
    writeFile(PrintSettingsStore::FileName, "mode=2\ndevice=2\n");
    PrintFormat format;
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_FALSE(format.bundleByActor());
    EXPECT_EQ(format.device(), OutputDevice::Png);
    // A missing key leaves the field as it was, as every other key does.
    format.setBundleByActor(true);
    PrintSettingsStore::load(format, file().c_str());
    EXPECT_TRUE(format.bundleByActor());
    // Any number but 0 bundles.
    writeFile(PrintSettingsStore::FileName, "pdf.bundleByActor=7\n");
    PrintFormat other;
    PrintSettingsStore::load(other, file().c_str());
    EXPECT_TRUE(other.bundleByActor());
}

TEST_F(PrintSettingsStoreTest, TypesettingHasKeysOfItsOwn)
{
    PrintFormat format;
    format.setTypesetting({TypesettingOptions::LineBreaking::Strict, true, false});
    PrintSettingsStore::save(format, file().c_str());
    const std::string saved = contentsOf(PrintSettingsStore::FileName);
    // The store keeps its keys in order.
    EXPECT_NE(saved.find("\nlayout.kinsoku=1\nlayout.ruby=0\nlayout.uprightDigits=1\n"),
              std::string::npos)
        << saved;

    PrintFormat loaded;
    PrintSettingsStore::load(loaded, file().c_str());
    EXPECT_EQ(loaded.typesetting().lineBreaking, TypesettingOptions::LineBreaking::Strict);
    EXPECT_TRUE(loaded.typesetting().uprightDigits);
    EXPECT_FALSE(loaded.typesetting().ruby);
}

TEST_F(PrintSettingsStoreTest, TypesettingKeysReadAsTheirNumbersSay)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    const struct {
        const char* file;
        TypesettingOptions expected;
    } cases[] = {
        // A file of an earlier version: the plain grid.
        {"mode=2\n", {}},
        {"layout.kinsoku=2\nlayout.ruby=1\n", {LineBreaking::Loose, false, true}},
        {"layout.kinsoku=0\nlayout.uprightDigits=5\n", {LineBreaking::Off, true, false}},
        // A mode this version does not know breaks as the plain grid.
        {"layout.kinsoku=3\n", {}},
        {"layout.kinsoku=-1\n", {}},
    };
    for (const auto& c : cases) {
        writeFile(PrintSettingsStore::FileName, c.file);
        PrintFormat format;
        PrintSettingsStore::load(format, file().c_str());
        EXPECT_TRUE(format.typesetting() == c.expected) << c.file;
    }
}

TEST_F(PrintSettingsStoreTest, JobsAreWrittenOnlyOnceSetAndReadBack)
{
    PrintSettingsStore::save(PrintFormat(), file().c_str()); // one per core: no key
    EXPECT_EQ(contentsOf(PrintSettingsStore::FileName).find("print.jobs"), std::string::npos);
    PrintFormat format;
    for (auto [jobs, text, read] :
         {std::tuple{3, "print.jobs=3\n", 3}, std::tuple{0, "print.jobs=0\n", 0},
          std::tuple{-4, "print.jobs=0\n", 0}}) {
        format.setJobs(jobs);
        PrintSettingsStore::save(format, file().c_str());
        EXPECT_NE(contentsOf(PrintSettingsStore::FileName).find(text), std::string::npos) << jobs;
        PrintFormat loaded;
        loaded.setJobs(9);
        ASSERT_TRUE(PrintSettingsStore::load(loaded, file().c_str()));
        EXPECT_EQ(loaded.jobs(), read) << jobs;
    }
}
