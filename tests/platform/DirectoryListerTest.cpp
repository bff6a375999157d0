#include "platform/DirectoryLister.h"

#include "TempFolder.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> namesIn(const std::string& folder, const std::string& pattern)
{
    std::vector<DirectoryEntry> entries;
    DirectoryLister::list(folder, pattern, entries);
    std::vector<std::string> names;
    for (const DirectoryEntry& e : entries)
        names.push_back(TextCodec::toUtf8(e.name));
    return names;
}

std::string sjis(const char* utf8)
{
    return TextCodec::fromUtf8(utf8);
}

} // namespace

TEST(DirectoryListerTest, ListsInTheOrderOfUpperCasedUtf16Names)
{
    TempFolder temp;
    for (const char* name : {"b", "A", "a_b", "ab", "Ｂ", "c.txt", "ｂ", "あ"})
        temp.write(name, "x");
    ASSERT_EQ(::mkdir((temp / "sub").c_str(), 0777), 0);
    // Upper-cased, "a_b" is "A_B", and "_" (U+005F) comes after "B"; kana
    // (U+3042) and full-width letters (U+FF22) come after ASCII. "Ｂ" and
    // "ｂ" are one name to NTFS; their bytes (82 61, 82 82) decide.
    const std::vector<std::string> expected = {"A",   "ab", "a_b", "b", "c.txt",
                                               "sub", "あ", "Ｂ",  "ｂ"};
    EXPECT_EQ(namesIn(temp.path(), "*"), expected);
    EXPECT_EQ(namesIn(temp.path() + "/", "*.*"), expected) << "a trailing / changes nothing";
}

TEST(DirectoryListerTest, EveryPrintableAsciiCharacterListsAsTheCodecHasIt)
{
    // One name per character (not "/"), between two letters, beside names
    // that need the converter: each listed name is the CP932 form of the
    // name on disk when that form gives the name back, in the order of the
    // upper-cased UTF-16 names.
    TempFolder temp;
    std::vector<std::pair<std::u16string, std::string>> expected;
    auto add = [&](const std::string& utf8) {
        temp.write(utf8.c_str(), "x");
        std::string cp932;
        std::string back;
        if (!TextCodec::fromUtf8Exact(utf8, cp932) || !TextCodec::toUtf8Exact(cp932, back) ||
            back != utf8)
            return;
        std::u16string key = TextCodec::toUtf16(cp932);
        for (char16_t& unit : key)
            unit = unit >= u'a' && unit <= u'z' ? char16_t(unit - 0x20) : unit;
        expected.emplace_back(key, utf8);
    };
    for (char c = 0x20; c < 0x7F; ++c) {
        if (c != '/')
            add(std::string("q") + c + "Q");
    }
    for (const char* name : {"q\xe3\x81\x82Q", "q\xef\xbd\x9eQ", "Q\xc2\xa5q"})
        add(name);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> names;
    for (const auto& [key, name] : expected)
        names.push_back(name);
    ASSERT_GT(names.size(), 90u);
    EXPECT_EQ(namesIn(temp.path(), "*"), names);
}

TEST(DirectoryListerTest, GivesFolderAndFileAttributesAndNeverDotEntries)
{
    TempFolder temp;
    temp.write(".profile", "x");
    temp.write("f.txt", "x");
    ASSERT_EQ(::mkdir((temp / "sub").c_str(), 0777), 0);
    ASSERT_EQ(::symlink((temp / "gone").c_str(), (temp / "dangling").c_str()), 0);
    std::vector<DirectoryEntry> entries;
    ASSERT_EQ(DirectoryLister::list(temp.path(), "*", entries), 0u);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, ".profile");
    EXPECT_EQ(entries[0].attributes, FileSystem::AttributeArchive | FileSystem::AttributeHidden);
    EXPECT_EQ(entries[1].name, "dangling");
    EXPECT_EQ(entries[2].name, "f.txt");
    EXPECT_EQ(entries[2].attributes, FileSystem::AttributeArchive);
    EXPECT_EQ(entries[3].name, "sub");
    EXPECT_EQ(entries[3].attributes, FileSystem::AttributeDirectory);
}

TEST(DirectoryListerTest, ReportsMissingFoldersAndEmptyResults)
{
    TempFolder temp;
    temp.write("a.txt", "x");
    std::vector<DirectoryEntry> entries{{"stale", 0}};
    EXPECT_EQ(DirectoryLister::list(temp.path(), "*.cpp", entries), WinError::FileNotFound);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(FileSystem::lastError(), WinError::FileNotFound);
    EXPECT_EQ(DirectoryLister::list(temp / "none", "*", entries), WinError::PathNotFound);
    EXPECT_EQ(DirectoryLister::list(temp / "a.txt", "*", entries), WinError::PathNotFound);
    EXPECT_EQ(DirectoryLister::list(temp.path() + "/\x80", "*", entries), WinError::PathNotFound);
    EXPECT_EQ(FileSystem::lastError(), WinError::PathNotFound);
}

TEST(DirectoryListerTest, LeavesOutNamesWithNoCp932Form)
{
    TempFolder temp;
    temp.write("ok.txt", "x");
    temp.write("face😀.txt", "x");
    temp.write("bad\xFF.txt", "x"); // not even UTF-8
    EXPECT_EQ(namesIn(temp.path(), "*.txt"), std::vector<std::string>{"ok.txt"});
}

TEST(DirectoryListerTest, FindsJapaneseNamesWithAPattern)
{
    TempFolder temp;
    temp.write("第1話.screenplay.txt", "x");
    temp.write("表紙.txt", "x");
    std::vector<DirectoryEntry> entries;
    ASSERT_EQ(DirectoryLister::list(temp.path(), "*.screenplay.txt", entries), 0u);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, sjis("第1話.screenplay.txt"));
    EXPECT_EQ(namesIn(temp.path(), sjis("表*")), std::vector<std::string>{"表紙.txt"});
}

TEST(DirectoryListerTest, MatchesWildcardsCharacterByCharacter)
{
    struct Case {
        std::string pattern;
        std::string name;
        bool matches;
    };
    const Case cases[] = {
        {"*", "", true},
        {"*", "abc", true},
        {"*.*", "abc", true}, // also names without a dot
        {"*.*", "a.b.c", true},
        {"readme.*", "readme", true},
        {"readme.*", "readme.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.cpp", "Scene.CPP", true}, // ASCII letters without regard to case
        {"A?C", "abc", true},
        {"a*c", "abbbc", true},
        {"a*c", "abcd", false},
        {"a*b*c", "aXbYbZc", true},
        {"", "a", false},
        {"?", "", false},
        {sjis("?"), sjis("ソ"), true}, // one double-byte character is one "?"
        {sjis("??"), sjis("ソ"), false},
        {sjis("*ソ"), sjis("アソ"), true},
        // The trail byte of ソ (83 5C) and 表 (95 5C) is the backslash byte.
        {"*\\", sjis("ソ"), false},
        {"*\\*", sjis("表紙"), false},
        {"\\*", "\\x", true},
        // Trail bytes 0x41 and 0x61 are no letters: ア (83 41) is not ャ (83 61).
        {sjis("ア"), sjis("ャ"), false},
        {sjis("ア*"), sjis("アイ"), true},
        // Case is folded for ASCII letters only.
        {sjis("Ａ"), sjis("ａ"), false},
        {std::string("\x81"), std::string("\x81"), true}, // a lone lead byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectoryLister::matches(c.pattern, c.name), c.matches)
            << "\"" << TextCodec::toUtf8(c.pattern) << "\" on \"" << TextCodec::toUtf8(c.name)
            << "\"";
}

TEST(DirectoryListerTest, NtfsOrderComparesUpperCasedCodeUnits)
{
    EXPECT_TRUE(DirectoryLister::ntfsLess("ab", "a_b"));
    EXPECT_FALSE(DirectoryLister::ntfsLess("a_b", "ab"));
    EXPECT_TRUE(DirectoryLister::ntfsLess("A", "b"));
    EXPECT_TRUE(DirectoryLister::ntfsLess("z", sjis("あ")));
    EXPECT_TRUE(DirectoryLister::ntfsLess(sjis("ア"), sjis("亜")));
    // One name to NTFS; the bytes keep the order strict.
    EXPECT_TRUE(DirectoryLister::ntfsLess("A", "a"));
    EXPECT_FALSE(DirectoryLister::ntfsLess("a", "A"));
    EXPECT_FALSE(DirectoryLister::ntfsLess("a", "a"));
}

TEST(DirectoryListerTest, TellsWhatEachEntryIsAndWhichNamesItLeftOut)
{
    TempFolder temp;
    temp.write("f.txt", "x");
    ASSERT_EQ(::mkdir((temp / "sub.txt").c_str(), 0777), 0);
    ASSERT_EQ(::mkfifo((temp / "pipe.txt").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("loop.txt", (temp / "loop.txt").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (temp / "lost.txt").c_str()), 0);
    ASSERT_EQ(::symlink("f.txt", (temp / "link.txt").c_str()), 0);
    // "é" has no CP932 form; only the name matching the pattern is given.
    temp.write("caf\xc3\xa9.txt", "x");
    temp.write("caf\xc3\xa9.cpp", "x");
    std::vector<DirectoryEntry> entries;
    std::vector<std::string> unnamed;
    ASSERT_EQ(DirectoryLister::list(temp.path(), "*.txt", entries, &unnamed), 0u);
    using Kind = FileSystem::EntryKind;
    struct Expected {
        const char* name;
        Kind kind;
        uint32_t linkError;
    };
    const Expected expected[] = {{"f.txt", Kind::File, 0},
                                 {"link.txt", Kind::File, 0},
                                 {"loop.txt", Kind::Special, WinError::CantResolveFilename},
                                 {"lost.txt", Kind::Special, WinError::FileNotFound},
                                 {"pipe.txt", Kind::Special, 0},
                                 {"sub.txt", Kind::Folder, 0}};
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, expected[i].name);
        EXPECT_EQ(entries[i].kind, expected[i].kind) << expected[i].name;
        EXPECT_EQ(entries[i].linkError, expected[i].linkError) << expected[i].name;
    }
    EXPECT_EQ(unnamed, std::vector<std::string>{"caf\xc3\xa9.txt"});
}
