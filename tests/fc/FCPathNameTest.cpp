#include "fc/FCPathName.h"

#include "platform/ProgramFolders.h"
#include "platform/ScriptedPrompt.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder under /tmp, made the current directory for the test's life.
class PathFolder {
public:
    PathFolder() : m_saved(fs::current_path())
    {
        char pattern[] = "/tmp/quillon-path-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_path = fs::canonical(pattern).string();
        fs::current_path(m_path);
    }
    ~PathFolder()
    {
        fs::current_path(m_saved);
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    fs::path m_saved;
    std::string m_path;
};

std::string text(const FCPathName& path)
{
    return path.string().toStdString();
}

} // namespace

TEST(FCPathNameTest, RelativeTextsAreTakenAgainstTheCurrentDirectory)
{
    PathFolder folder;
    EXPECT_EQ(text(FCPathName("abc.txt")), folder.path() + "/abc.txt");
    EXPECT_EQ(text(FCPathName("sub/abc.txt")), folder.path() + "/sub/abc.txt");
    EXPECT_EQ(text(FCPathName("")), folder.path() + "/");
    EXPECT_EQ(text(FCPathName(static_cast<const char*>(nullptr))), folder.path() + "/");
    EXPECT_EQ(text(FCPathName()), folder.path() + "/");

    FCPathName relative("ignored");
    relative.setRelative("x/y");
    EXPECT_EQ(text(relative), folder.path() + "/x/y");
}

TEST(FCPathNameTest, AbsoluteAndHomeTextsResolveWithoutTheCurrentDirectory)
{
    PathFolder folder;
    EXPECT_EQ(text(FCPathName("/x")), "/x");
    EXPECT_EQ(text(FCPathName("/a/b/")), "/a/b/");

    std::string home = ProgramFolders::homeFolder();
    ASSERT_FALSE(home.empty());
    std::string homeWithSeparator = home == "/" ? "/" : home + "/";
    EXPECT_EQ(text(FCPathName("~/docs/a.txt")), homeWithSeparator + "docs/a.txt");
    EXPECT_EQ(text(FCPathName("~")), homeWithSeparator);
    // Only a leading "~" that names the home folder is special.
    EXPECT_EQ(text(FCPathName("~user")), folder.path() + "/~user");
}

TEST(FCPathNameTest, OpticalDrivePrefixNeedsADisc)
{
    std::string drive = ProgramFolders::opticalDrive();
    if (drive.empty()) {
        EXPECT_EQ(text(FCPathName("%:/setup/data.bin")), "%:/setup/data.bin");
        EXPECT_EQ(text(FCPathName("%:data.bin")), "%:data.bin");
    } else {
        EXPECT_EQ(text(FCPathName("%:/setup/data.bin")), drive + "setup/data.bin");
        EXPECT_EQ(text(FCPathName("%:data.bin")), drive + "data.bin");
    }
}

TEST(FCPathNameTest, PathsUseTheLargeAllocationUnit)
{
    EXPECT_EQ(FCPathName("/a/b").string().unit(), 512);
    FCPathName path("/a/b");
    path.replaceExtension(".png");
    EXPECT_EQ(path.string().unit(), 512);
}

TEST(FCPathNameTest, UnreadableCurrentDirectoryIsReportedAndLeavesThePathEmpty)
{
    PathFolder folder;
    fs::create_directory(folder.path() + "/gone");
    fs::current_path(folder.path() + "/gone");
    fs::remove(folder.path() + "/gone");

    ScriptedPrompt prompt;
    Prompt::Scope scope(prompt);
    FCPathName path("relative.txt");
    EXPECT_TRUE(path.isEmpty());
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions()[0].title, "FCString class");
    EXPECT_NE(prompt.questions()[0].text.find("FCPathName - create()"), std::string::npos);

    // An absolute text does not need the current directory.
    EXPECT_EQ(text(FCPathName("/abs")), "/abs");
    EXPECT_EQ(prompt.questions().size(), 1u);
}

struct ExtensionCase {
    const char* path;
    const char* extension;
    const char* expected;
};

class ReplaceExtensionTest : public testing::TestWithParam<ExtensionCase> {};

TEST_P(ReplaceExtensionTest, CutsOnlyTheFileNamesExtension)
{
    FCPathName path(GetParam().path);
    path.replaceExtension(GetParam().extension);
    EXPECT_EQ(text(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FCPathNameTest, ReplaceExtensionTest,
    testing::Values(ExtensionCase{"/a/prog.exe", ".configuration", "/a/prog.configuration"},
                    ExtensionCase{"/a.b/file", ".configuration", "/a.b/file.configuration"},
                    ExtensionCase{"/a/x.tar.gz", ".png", "/a/x.tar.png"},
                    ExtensionCase{"/a/quillon", ".log.txt", "/a/quillon.log.txt"},
                    ExtensionCase{"/a/folder/", ".png", "/a/folder/"},
                    ExtensionCase{"/a/b.", ".txt", "/a/b.txt"}));

struct HasExtensionCase {
    const char* path;
    const char* extension;
    bool expected;
};

class HasExtensionTest : public testing::TestWithParam<HasExtensionCase> {};

TEST_P(HasExtensionTest, ComparesTheLastExtensionWithoutCase)
{
    EXPECT_EQ(FCPathName(GetParam().path).hasExtension(GetParam().extension), GetParam().expected)
        << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(FCPathNameTest, HasExtensionTest,
                         testing::Values(HasExtensionCase{"/menu/Start.LNK", "lnk", true},
                                         HasExtensionCase{"/menu/start.lnk", "LNK", true},
                                         HasExtensionCase{"/menu/a.lnk.txt", "lnk", false},
                                         HasExtensionCase{"/menu/lnk", "lnk", false},
                                         HasExtensionCase{"/menu.lnk/", "lnk", false},
                                         HasExtensionCase{"/menu.lnk/start", "lnk", false},
                                         HasExtensionCase{"/menu/a.lnkx", "lnk", false},
                                         HasExtensionCase{"/menu/a.ln", "lnk", false}));

TEST(FCPathNameTest, SplitsIntoFolderAndFileName)
{
    FCPathName path("/a/b/c.txt");
    FCString folder("old");
    path.directoryPart(folder, true);
    EXPECT_EQ(folder.toStdString(), "/a/b/");
    path.directoryPart(folder, false);
    EXPECT_EQ(folder.toStdString(), "/a/b");
    EXPECT_EQ(path.fileNamePart().toStdString(), "c.txt");

    FCPathName directory("/a/b/");
    EXPECT_EQ(directory.fileNamePart().toStdString(), "");
    directory.directoryPart(folder, true);
    EXPECT_EQ(folder.toStdString(), "/a/b/");
}

TEST(FCPathNameTest, SeparatorIsAddedOnlyWhenMissing)
{
    FCPathName file("/a/b");
    EXPECT_TRUE(file.endsWithoutSeparator());
    file.addSeparator();
    EXPECT_EQ(text(file), "/a/b/");
    EXPECT_FALSE(file.endsWithoutSeparator());
    file.addSeparator();
    EXPECT_EQ(text(file), "/a/b/");

    // A failed path must not turn into the root folder.
    FCPathName empty(99999);
    EXPECT_FALSE(empty.endsWithoutSeparator());
    empty.addSeparator();
    EXPECT_TRUE(empty.isEmpty());
}

TEST(FCPathNameTest, DoubleByteNamesKeepTheirBytes)
{
    // "表" is 0x95 0x5C: its trail byte is a backslash, and the name must come
    // through the scans unchanged.
    const std::string name = "\x95\x5C.txt";
    FCPathName path(("/scenes/" + name).c_str());
    EXPECT_EQ(path.fileNamePart().toStdString(), name);
    EXPECT_TRUE(path.hasExtension("TXT"));
    path.replaceExtension(".bak");
    EXPECT_EQ(text(path), "/scenes/\x95\x5C.bak");
}

TEST(FCPathNameTest, ProgramFoldersComeFromThePlatform)
{
    PathFolder folder;
    ProgramFolders::Scope placement(folder.path() + "/");
    EXPECT_EQ(text(FCPathName(FCPathName::ProgramFolder)), folder.path() + "/");
    FCPathName withoutSeparator(0);
    withoutSeparator.setSpecialFolder(FCPathName::ProgramFolder, false);
    EXPECT_EQ(text(withoutSeparator), folder.path());
    EXPECT_EQ(text(FCPathName(FCPathName::ProgramFile)), ProgramFolders::programFile());
}

TEST(FCPathNameTest, SpecialFolderCodesMapToFixedFolders)
{
    PathFolder folder;
    FCPathName path;
    path.setSpecialFolder(FCPathName::WindowsFolder, true);
    EXPECT_EQ(text(path), "/etc/");
    path.setSpecialFolder(FCPathName::WindowsFolder, false);
    EXPECT_EQ(text(path), "/etc");
    path.setSpecialFolder(FCPathName::SystemFolder);
    EXPECT_EQ(text(path), "/usr/lib/");
    path.setSpecialFolder(FCPathName::SystemFolder, false);
    EXPECT_EQ(text(path), "/usr/lib");

    for (int code : {30585, 30588, 30589, 30590, 30591, 30592}) {
        path.setSpecialFolder(code, false);
        EXPECT_EQ(text(path), folder.path() + "/") << code;
    }
    for (int code : {10, 15, 18, 41, 44, 57, 60, 62, 30582, 30593, -1}) {
        path.setCurrentDirectory();
        path.setSpecialFolder(code);
        EXPECT_TRUE(path.isEmpty()) << code;
    }
}
